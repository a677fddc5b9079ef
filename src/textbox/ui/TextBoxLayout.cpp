// The text box's layouts: each line's LineLayout, kept under the line's number through edits
// above it, its rows counted, and painting; the rest of the box is in TextBox.cpp.
#include "textbox/ui/TextBox.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal tabStop = 80;
// Lines, and characters, laid out and kept beyond those shown; more are dropped at a paint.
constexpr size_t keptLayouts = 2000;
constexpr qsizetype keptCharacters = 256 * 1024;

} // namespace

qreal TextBox::layoutWidth() const
{
    return std::max(1, viewport()->width() - 2 * margin);
}

LineLayout &TextBox::layoutOf(qsizetype line) const
{
    const auto found = m_layouts.find(line);
    if (found != m_layouts.end())
        return *found->second;
    const LineLayout::Style style{font(), layoutWidth(), m_rowHeight, tabStop, m_averageCharWidth};
    auto layout = std::make_unique<LineLayout>(m_lines.line(line), style, preeditOf(line));
    LineLayout &made = *m_layouts.emplace(line, std::move(layout)).first->second;
    countRows(line, made);
    return made;
}

void TextBox::countRows(qsizetype line, LineLayout &layout) const
{
    m_rows.setRows(line, layout.rows());
}

int TextBox::rowsOf(qsizetype line) const
{
    LineLayout &layout = layoutOf(line);
    countRows(line, layout);
    return layout.rows();
}

LineLayout::Row TextBox::rowOf(qsizetype line, int row) const
{
    LineLayout &layout = layoutOf(line);
    const LineLayout::Row found = layout.rowAt(row);
    countRows(line, layout);
    return found;
}

LineLayout::Row TextBox::rowShowing(qsizetype line, qint64 column) const
{
    LineLayout &layout = layoutOf(line);
    const LineLayout::Row found = layout.rowOf(column);
    countRows(line, layout);
    return found;
}

qsizetype TextBox::layoutCharacters() const
{
    qsizetype characters = 0;
    for (const auto &[line, layout] : m_layouts)
        characters += layout->laidOutCharacters();
    return characters;
}

void TextBox::forgetLayouts()
{
    m_layouts.clear();
    m_rows.reset(m_lines.lineCount());
}

void TextBox::forgetLayoutFrom(qint64 position)
{
    const qsizetype line = m_lines.lineAt(position);
    const auto found = m_layouts.find(line);
    if (found == m_layouts.end())
        return;
    const std::unique_ptr<LineLayout> earlier = std::move(found->second);
    m_layouts.erase(found);
    LineLayout &layout = layoutOf(line);
    layout.takeSegmentsBefore(*earlier, position - m_lines.lineStart(line));
    countRows(line, layout);
}

void TextBox::renumberLayouts(qsizetype first, qsizetype removed, qsizetype added)
{
    m_layouts.erase(m_layouts.lower_bound(first), m_layouts.lower_bound(first + removed));
    const qsizetype shift = added - removed;
    if (shift == 0)
        return;
    std::vector<std::pair<qsizetype, std::unique_ptr<LineLayout>>> after;
    for (auto it = m_layouts.lower_bound(first + removed); it != m_layouts.end(); it = m_layouts.erase(it))
        after.emplace_back(it->first + shift, std::move(it->second));
    for (auto &[line, layout] : after)
        m_layouts.emplace_hint(m_layouts.end(), line, std::move(layout));
}

void TextBox::layOutAnew()
{
    // The top line stays on top, shown from its first row.
    const qsizetype top = m_top.line;
    forgetLayouts();
    setTop({top, 0});
}

void TextBox::keepLayoutsShown(const std::vector<ShownRows> &shown)
{
    if (shown.empty() || (m_layouts.size() <= keptLayouts && layoutCharacters() <= keptCharacters))
        return;
    const qsizetype first = shown.front().line;
    const qsizetype last = shown.back().line;
    for (auto it = m_layouts.begin(); it != m_layouts.end();)
        it = it->first < first || it->first > last ? m_layouts.erase(it) : std::next(it);
    for (const ShownRows &rows : shown) {
        if (const auto found = m_layouts.find(rows.line); found != m_layouts.end())
            found->second->dropSegmentsOutside(rows.first, rows.last);
    }
}

void TextBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const QRect area = event->rect();
    const int height = viewport()->height();
    const qint64 selFrom = selectionStart();
    const qint64 selTo = selectionEnd();
    const bool caret = hasFocus() && m_caretShown && !m_readOnly;
    LineLayout::Marks marks;
    marks.highlight = palette().brush(QPalette::Highlight);
    marks.highlightedText = palette().brush(QPalette::HighlightedText);
    marks.breakWidth = QFontMetricsF(font()).horizontalAdvance(QLatin1Char(' '));
    // Lines laid out since the last paint may have more rows than counted, and the text's end
    // may have come up.
    keepTextInView();
    std::vector<ShownRows> shown;
    qreal y = margin - qreal(m_top.row) * m_rowHeight;
    for (qsizetype line = m_top.line; line < m_lines.lineCount() && y < height; ++line) {
        LineLayout &layout = layoutOf(line);
        const qint64 start = m_lines.lineStart(line);
        const qint64 end = start + m_lines.lineLength(line);
        marks.selectionFrom = selFrom - start;
        marks.selectionTo = selTo - start;
        marks.caret = caret && m_position >= start && m_position <= end ? m_position - start : -1;
        marks.drop = m_dropAt >= start && m_dropAt <= end ? m_dropAt - start : -1;
        layout.draw(painter, QPointF(margin, y), area, marks);
        countRows(line, layout);
        const int firstShown = int(std::max<qreal>(0, (margin - y) / m_rowHeight));
        const int lastShown = int(std::ceil((height - y) / m_rowHeight));
        shown.push_back({line, firstShown, lastShown});
        y += qreal(layout.rows()) * m_rowHeight;
    }
    // Laying out what is shown may have changed the rows of the text: the bar follows.
    updateScrollBar();
    keepLayoutsShown(shown);
}
