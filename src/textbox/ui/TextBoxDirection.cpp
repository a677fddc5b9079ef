// The text box's reading directions: the caret's moves along a line as the line reads. Which
// way a line reads, and its alignment, are the line's layout's (LineLayout).
#include "textbox/ui/TextBox.h"

#include <algorithm>

namespace {

// Far enough beyond either end of a row that the place nearest to it is that end of the row.
constexpr qreal beyondRow = 1e6;

// A place on row where a caret shows on that row: a wrapped row's end is the next row's start,
// and a place within a pair (or any other cluster) is no place at all.
qsizetype keptOnRow(LineLayout &layout, const LineLayout::Row &row, qsizetype column)
{
    const qsizetype end = row.textStart() + row.textLength();
    if (!row.isLast() && column >= end)
        column = layout.previousCursorPosition(end);
    if (!layout.isValidCursorPosition(column))
        column = layout.previousCursorPosition(column);
    return std::max(row.textStart(), column);
}

} // namespace

bool TextBox::isRightToLeftAt(qint64 position) const
{
    return layoutOf(m_lines.lineAt(position)).direction() == Qt::RightToLeft;
}

qint64 TextBox::horizontalMove(Move move) const
{
    const qsizetype line = m_lines.lineAt(m_position);
    const qint64 start = m_lines.lineStart(line);
    const qint64 column = m_position - start;
    const qint64 length = m_lines.lineLength(line);
    LineLayout &layout = layoutOf(line);
    // As QTextCursor moves in a block read from right to left: Left goes on to the next character
    // (or word), which shows to the left, and Right back.
    const bool leftwards = move == Move::Left || move == Move::WordLeft;
    const bool onwards = leftwards == (layout.direction() == Qt::RightToLeft);
    const QTextLayout::CursorMode mode =
        move == Move::Left || move == Move::Right ? QTextLayout::SkipCharacters : QTextLayout::SkipWords;
    if (onwards && column < length)
        return start + layout.nextCursorPosition(column, mode);
    if (!onwards && column > 0)
        return start + layout.previousCursorPosition(column, mode);
    // At the line's end: on to the next line's start, or back to the end of the one before.
    if (onwards)
        return line + 1 < m_lines.lineCount() ? start + length + 1 : m_position;
    return std::max<qint64>(0, start - 1);
}

qint64 TextBox::rowEndAt(bool home) const
{
    const qsizetype line = m_lines.lineAt(m_position);
    const qint64 start = m_lines.lineStart(line);
    LineLayout &layout = layoutOf(line);
    const LineLayout::Row row = rowShowing(line, m_position - start);
    // Where a click beyond the row's end on that side puts the caret: Home the side the row is
    // read from (the right, in a line read from right to left), End the other.
    const bool right = home == (layout.direction() == Qt::RightToLeft);
    const qreal x = right ? row.x() + row.width() + beyondRow : row.x() - beyondRow;
    return start + keptOnRow(layout, row, row.xToCursor(x));
}
