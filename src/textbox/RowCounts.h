#pragma once

#include "textbox/Partitioning.h"

#include <QtGlobal>

// How many rows on screen each line of a text takes, and the sums of them, so that a row's line
// and a line's first row are found in logarithmic time, and lines laid out anew, added or
// removed change the sums in place: at a cost of the distance from the change before, never of
// the number of lines. A line not laid out yet counts one row, as it would if nothing wrapped:
// only the lines shown are ever laid out.
class RowCounts
{
public:
    // count lines of one row each.
    void reset(qsizetype count);
    // The lines first..first+removed are replaced by added lines of one row each.
    void replace(qsizetype first, qsizetype removed, qsizetype added);
    void setRows(qsizetype line, int rows) { m_rows.setLength(line, rows); }
    int rows(qsizetype line) const { return int(m_rows.length(line)); }

    qsizetype lineCount() const { return m_rows.count(); }
    qint64 total() const { return m_rows.total(); }
    // The rows of every line before line.
    qint64 rowsBefore(qsizetype line) const { return m_rows.start(line); }

    struct Place
    {
        qsizetype line = 0;
        // The row within the line.
        int row = 0;
    };
    // The line that holds row (counted from 0 over the whole text); past the end, the last row.
    Place placeOf(qint64 row) const;

private:
    Partitioning<qint64> m_rows;
};
