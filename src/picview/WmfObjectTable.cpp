#include "picview/WmfObjectTable.h"

#include <bit>

namespace {
constexpr int wordBits = 64;
}

WmfObjectTable::WmfObjectTable(int slotCount) : m_slots(qMax(0, slotCount))
{
    // Room for every slot at once (never more than the records create): growing would move
    // the objects again and again.
    m_objects.reserve(size_t(m_slots));
    const int words = (m_slots + wordBits - 1) / wordBits;
    m_free.assign(size_t(words), 0);
    m_wordsWithFree.assign(size_t((words + wordBits - 1) / wordBits), 0);
    for (int word = 0; word < words; ++word) {
        const int slotsInWord = qMin(wordBits, m_slots - word * wordBits);
        m_free[size_t(word)] = slotsInWord == wordBits ? ~quint64(0) : (quint64(1) << slotsInWord) - 1;
        m_wordsWithFree[size_t(word / wordBits)] |= quint64(1) << (word % wordBits);
    }
}

void WmfObjectTable::markFree(int index, bool free)
{
    const size_t word = size_t(index / wordBits);
    const quint64 bit = quint64(1) << (index % wordBits);
    m_free[word] = free ? (m_free[word] | bit) : (m_free[word] & ~bit);
    const quint64 wordBit = quint64(1) << (word % wordBits);
    quint64 &summary = m_wordsWithFree[word / wordBits];
    summary = m_free[word] ? (summary | wordBit) : (summary & ~wordBit);
}

bool WmfObjectTable::add(Wmf::GdiObject object)
{
    for (size_t group = 0; group < m_wordsWithFree.size(); ++group) {
        if (!m_wordsWithFree[group])
            continue;
        const size_t word = group * wordBits + size_t(std::countr_zero(m_wordsWithFree[group]));
        const int slot = int(word) * wordBits + std::countr_zero(m_free[word]);
        markFree(slot, false);
        if (size_t(slot) >= m_objects.size())
            m_objects.resize(size_t(slot) + 1);
        m_objects[size_t(slot)] = std::move(object);
        return true;
    }
    return false;
}

void WmfObjectTable::remove(int index)
{
    if (index < 0 || index >= m_slots || size_t(index) >= m_objects.size()
        || std::holds_alternative<std::monostate>(m_objects[size_t(index)]))
        return;
    m_objects[size_t(index)] = std::monostate();
    markFree(index, true);
}

const Wmf::GdiObject *WmfObjectTable::at(int index) const
{
    if (index < 0 || size_t(index) >= m_objects.size()
        || std::holds_alternative<std::monostate>(m_objects[size_t(index)]))
        return nullptr;
    return &m_objects[size_t(index)];
}
