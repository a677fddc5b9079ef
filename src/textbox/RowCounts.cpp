#include "textbox/RowCounts.h"

#include <algorithm>

void RowCounts::reset(qsizetype count)
{
    m_rows.assign(count, [](qsizetype) { return qint64(1); });
}

void RowCounts::replace(qsizetype first, qsizetype removed, qsizetype added)
{
    const qsizetype common = std::min(removed, added);
    for (qsizetype line = first; line < first + common; ++line)
        setRows(line, 1);
    m_rows.remove(first + common, removed - common);
    m_rows.insert(first + common, added - common, [](qsizetype) { return qint64(1); });
}

RowCounts::Place RowCounts::placeOf(qint64 row) const
{
    if (lineCount() == 0)
        return {};
    if (row >= total())
        return {lineCount() - 1, rows(lineCount() - 1) - 1};
    row = std::max<qint64>(row, 0);
    const qsizetype line = m_rows.partAt(row);
    return {line, int(row - m_rows.start(line))};
}
