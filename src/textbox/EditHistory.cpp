#include "textbox/EditHistory.h"

#include <utility>

EditHistory::EditHistory(qint64 memoryLimit) : m_memoryLimit(memoryLimit) {}

qint64 EditHistory::memoryOf(const EditStep &step)
{
    return qint64(sizeof(EditStep)) + step.text.size() * qint64(sizeof(QChar))
        + qint64(step.ends.size() * sizeof(TextLines::End));
}

void EditHistory::record(qint64 position, TextLines::Removed removed, QStringView inserted, bool typed)
{
    if (removed.text.isEmpty() && inserted.isEmpty())
        return;
    dropFrom(m_done);
    const qint64 state = m_dropped + qint64(m_done);
    if (typed && m_typing && m_done > 0 && m_saved != state && removed.text.isEmpty()) {
        EditStep &last = m_steps[m_done - 1];
        // A word goes as one step: typing runs on after the last character typed, up to a blank.
        const bool joins = position == last.position + last.length && !(m_typedBlank && !inserted.front().isSpace());
        if (joins) {
            last.length += inserted.size();
            m_typedBlank = inserted.back().isSpace();
            return;
        }
    }
    m_steps.push_back(EditStep{position, inserted.size(), std::move(removed.text), std::move(removed.ends)});
    m_memory += memoryOf(m_steps.back());
    ++m_done;
    m_typing = typed && !inserted.isEmpty();
    m_typedBlank = m_typing && inserted.back().isSpace();
    keepToLimit();
}

EditHistory::Change EditHistory::swap(TextLines &lines, EditStep &step)
{
    Change change;
    change.position = step.position;
    // Shared with the step, not copied: once the lines hold it, only the change does.
    change.inserted = step.text;
    m_memory -= memoryOf(step);
    TextLines::Removed out = lines.replace(step.position, step.position + step.length, step.text, step.ends);
    step.length = change.inserted.size();
    step.text = std::move(out.text);
    step.ends = std::move(out.ends);
    m_memory += memoryOf(step);
    change.removed = step.text;
    return change;
}

std::optional<std::pair<qint64, qint64>> EditHistory::rangeToUndo() const
{
    if (m_done == 0)
        return std::nullopt;
    const EditStep &step = m_steps[m_done - 1];
    return std::pair(step.position, step.position + step.length);
}

std::optional<std::pair<qint64, qint64>> EditHistory::rangeToRedo() const
{
    if (m_done == m_steps.size())
        return std::nullopt;
    const EditStep &step = m_steps[m_done];
    return std::pair(step.position, step.position + step.length);
}

std::optional<EditHistory::Change> EditHistory::undo(TextLines &lines)
{
    if (m_done == 0)
        return std::nullopt;
    m_typing = false;
    --m_done;
    Change change = swap(lines, m_steps[m_done]);
    keepToLimit();
    return change;
}

std::optional<EditHistory::Change> EditHistory::redo(TextLines &lines)
{
    if (m_done == m_steps.size())
        return std::nullopt;
    m_typing = false;
    Change change = swap(lines, m_steps[m_done]);
    ++m_done;
    keepToLimit();
    return change;
}

void EditHistory::clear()
{
    m_steps.clear();
    m_done = 0;
    m_dropped = 0;
    m_saved = 0;
    m_typing = false;
    m_memory = 0;
}

void EditHistory::markSaved()
{
    m_saved = m_dropped + qint64(m_done);
    // Typing on would change the saved state's step.
    m_typing = false;
}

void EditHistory::setMemoryLimit(qint64 bytes)
{
    m_memoryLimit = bytes;
    keepToLimit();
}

void EditHistory::dropFrom(size_t index)
{
    while (m_steps.size() > index) {
        m_memory -= memoryOf(m_steps.back());
        m_steps.pop_back();
    }
    if (m_saved > m_dropped + qint64(m_steps.size()))
        m_saved = -1;
}

void EditHistory::keepToLimit()
{
    // The step kept whatever it holds: the one undo takes next, or with none, the one redo does.
    while (m_memory > m_memoryLimit && m_steps.size() > 1) {
        if (m_done > 1) {
            m_memory -= memoryOf(m_steps.front());
            m_steps.pop_front();
            --m_done;
            ++m_dropped;
            if (m_saved >= 0 && m_saved < m_dropped)
                m_saved = -1;
        } else {
            dropFrom(m_steps.size() - 1);
        }
    }
}
