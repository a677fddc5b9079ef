#pragma once

#include <QtGlobal>

#include <vector>

// How many rows on screen each line of a text takes, and the sums of them, so that a row's line
// and a line's first row are found in logarithmic time. A line not laid out yet counts one row,
// as it would if nothing wrapped: only the lines shown are ever laid out.
class RowCounts
{
public:
    // count lines of one row each.
    void reset(qsizetype count);
    // The lines first..first+removed are replaced by added lines of one row each.
    void replace(qsizetype first, qsizetype removed, qsizetype added);
    void setRows(qsizetype line, int rows);
    int rows(qsizetype line) const { return m_rows[size_t(line)]; }

    qsizetype lineCount() const { return qsizetype(m_rows.size()); }
    qint64 total() const { return m_total; }
    // The rows of every line before line.
    qint64 rowsBefore(qsizetype line) const;

    struct Place
    {
        qsizetype line = 0;
        // The row within the line.
        int row = 0;
    };
    // The line that holds row (counted from 0 over the whole text); past the end, the last row.
    Place placeOf(qint64 row) const;

private:
    void build();

    std::vector<int> m_rows;
    // A Fenwick tree over m_rows, 1-based.
    std::vector<qint64> m_tree;
    qint64 m_total = 0;
};
