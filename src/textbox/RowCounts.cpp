#include "textbox/RowCounts.h"

#include <algorithm>

void RowCounts::reset(qsizetype count)
{
    m_rows.assign(size_t(count), 1);
    build();
}

void RowCounts::replace(qsizetype first, qsizetype removed, qsizetype added)
{
    const auto begin = m_rows.begin() + first;
    if (removed == added) {
        for (qsizetype i = 0; i < added; ++i)
            setRows(first + i, 1);
        return;
    }
    const qsizetype common = std::min(removed, added);
    std::fill(begin, begin + common, 1);
    if (removed > common)
        m_rows.erase(begin + common, begin + removed);
    else
        m_rows.insert(begin + common, size_t(added - common), 1);
    build();
}

void RowCounts::build()
{
    const size_t n = m_rows.size();
    m_tree.assign(n + 1, 0);
    m_total = 0;
    for (size_t i = 1; i <= n; ++i) {
        m_tree[i] += m_rows[i - 1];
        m_total += m_rows[i - 1];
        const size_t parent = i + (i & (~i + 1));
        if (parent <= n)
            m_tree[parent] += m_tree[i];
    }
}

void RowCounts::setRows(qsizetype line, int rows)
{
    const int change = rows - m_rows[size_t(line)];
    if (change == 0)
        return;
    m_rows[size_t(line)] = rows;
    m_total += change;
    for (size_t i = size_t(line) + 1; i < m_tree.size(); i += i & (~i + 1))
        m_tree[i] += change;
}

qint64 RowCounts::rowsBefore(qsizetype line) const
{
    qint64 sum = 0;
    for (size_t i = size_t(line); i > 0; i -= i & (~i + 1))
        sum += m_tree[i];
    return sum;
}

RowCounts::Place RowCounts::placeOf(qint64 row) const
{
    if (m_rows.empty())
        return {};
    if (row >= m_total)
        return {lineCount() - 1, m_rows.back() - 1};
    row = std::max<qint64>(row, 0);
    // Walks down the tree to the last line whose rows before it are at most row.
    size_t line = 0;
    size_t step = 1;
    while (step * 2 < m_tree.size())
        step *= 2;
    for (; step > 0; step /= 2) {
        if (line + step < m_tree.size() && m_tree[line + step] <= row) {
            line += step;
            row -= m_tree[line];
        }
    }
    return {qsizetype(line), int(row)};
}
