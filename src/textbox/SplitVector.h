#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

// A sequence with a gap in its storage where the last insert or removal was: inserting or
// removing there costs the elements inserted or removed, and moving the gap costs the distance
// it moves, so edits near each other cost little however long the sequence is. Indexing
// costs one comparison more than a std::vector's. Used like a std::vector, but reserve() and
// shrink_to_fit() leave a little room (a 64th) for inserts, so that the first line inserted
// into a big table does not copy all of it. For values that can be copied as bytes.
template <typename T>
class SplitVector
{
    static_assert(std::is_trivially_copyable_v<T>);

public:
    SplitVector() = default;
    explicit SplitVector(size_t count, const T &value = T()) { assign(count, value); }

    size_t size() const { return m_body.size() - m_gapLength; }
    bool empty() const { return size() == 0; }
    size_t capacity() const { return m_body.size(); }

    const T &operator[](size_t i) const { return m_body[i < m_gapStart ? i : i + m_gapLength]; }
    T &operator[](size_t i) { return m_body[i < m_gapStart ? i : i + m_gapLength]; }
    const T &back() const { return (*this)[size() - 1]; }
    T &back() { return (*this)[size() - 1]; }

    void assign(size_t count, const T &value)
    {
        m_body.assign(count + spareFor(count), value);
        m_gapStart = count;
        m_gapLength = m_body.size() - count;
    }
    void clear()
    {
        m_gapStart = 0;
        m_gapLength = m_body.size();
    }
    void reserve(size_t count)
    {
        if (count + spareFor(count) > capacity())
            reallocate(count + spareFor(count), size());
    }
    void shrink_to_fit()
    {
        if (capacity() > size() + spareFor(size()))
            reallocate(size() + spareFor(size()), m_gapStart);
    }

    void push_back(const T &value) { insert(size(), size_t(1), value); }
    void insert(size_t at, size_t count, const T &value)
    {
        openGap(at, count);
        std::fill_n(m_body.begin() + qsizetype(at), count, value);
        m_gapStart += count;
        m_gapLength -= count;
    }
    // Inserts the values first..last (random access iterators) before index at.
    template <typename Iterator>
        requires(!std::is_integral_v<Iterator>)
    void insert(size_t at, Iterator first, Iterator last)
    {
        const size_t count = size_t(last - first);
        openGap(at, count);
        std::copy(first, last, m_body.begin() + qsizetype(at));
        m_gapStart += count;
        m_gapLength -= count;
    }
    void erase(size_t at, size_t count = 1)
    {
        if (count == 0)
            return;
        moveGapTo(at);
        m_gapLength += count;
    }

    // Calls stretch(T *first, T *last) for the one or two runs of storage that hold the
    // elements from..to, in order.
    template <typename Stretch>
    void forEachStretch(size_t from, size_t to, Stretch stretch)
    {
        T *body = m_body.data();
        if (from < std::min(to, m_gapStart))
            stretch(body + from, body + std::min(to, m_gapStart));
        if (std::max(from, m_gapStart) < to)
            stretch(body + std::max(from, m_gapStart) + m_gapLength, body + to + m_gapLength);
    }

private:
    static size_t spareFor(size_t count) { return count / 64 + 16; }

    void moveGapTo(size_t at)
    {
        T *body = m_body.data();
        if (at < m_gapStart)
            std::memmove(body + at + m_gapLength, body + at, (m_gapStart - at) * sizeof(T));
        else if (at > m_gapStart)
            std::memmove(body + m_gapStart, body + m_gapStart + m_gapLength, (at - m_gapStart) * sizeof(T));
        m_gapStart = at;
    }
    // A gap of count at least at index at.
    void openGap(size_t at, size_t count)
    {
        if (m_gapLength >= count) {
            moveGapTo(at);
            return;
        }
        // Grows by a quarter, so inserting one at a time costs a constant each on average.
        const size_t wanted = size() + count;
        reallocate(wanted + std::max(wanted / 4, spareFor(wanted)), at);
    }
    // New storage of capacity, its gap at index gapAt.
    void reallocate(size_t capacity, size_t gapAt)
    {
        moveGapTo(size());
        std::vector<T> body(capacity);
        const size_t count = size();
        std::copy_n(m_body.begin(), gapAt, body.begin());
        std::copy_n(m_body.begin() + qsizetype(gapAt), count - gapAt, body.end() - qsizetype(count - gapAt));
        m_body = std::move(body);
        m_gapStart = gapAt;
        m_gapLength = capacity - count;
    }

    std::vector<T> m_body;
    size_t m_gapStart = 0;
    size_t m_gapLength = 0;
};
