// The text box's text, layout, painting and scrolling; its edits are in TextBoxEdit.cpp, its keys
// and mouse in TextBoxInput.cpp.
#include "textbox/ui/TextBox.h"

#include "textbox/ui/TextBoxAccessible.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal tabStop = 80;
// Lines laid out and kept beyond those shown; more are dropped at the next paint.
constexpr size_t keptLayouts = 2000;

} // namespace

TextBox::TextBox(Clipboard &clipboard, QWidget *parent) : QAbstractScrollArea(parent), m_clipboard(clipboard)
{
    // Qt keeps one list of the factories it asks for accessible interfaces: the first box adds ours.
    static const bool accessible = [] {
        QAccessible::installFactory(&TextBoxAccessible::create);
        return true;
    }();
    Q_UNUSED(accessible);
    setAttribute(Qt::WA_InputMethodEnabled);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    m_rowHeight = rowHeightOf(font());
    m_rows.reset(1);
    verticalScrollBar()->setSingleStep(1);
}

TextBox::~TextBox() = default;

void TextBox::setLines(TextLines lines)
{
    const qint64 removed = m_lines.characterCount();
    m_lines = std::move(lines);
    m_history.clear();
    forgetLayouts();
    m_top = {};
    m_anchor = m_position = 0;
    m_wantedX = -1;
    m_preedit.clear();
    updateScrollBar();
    viewport()->update();
    Q_EMIT contentsChange(0, removed, m_lines.characterCount());
    Q_EMIT cursorPositionChanged();
}

void TextBox::setPlainText(QStringView text)
{
    setLines(TextLines(text));
}

void TextBox::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    setAttribute(Qt::WA_InputMethodEnabled, !readOnly);
}

void TextBox::select(qint64 anchor, qint64 position)
{
    const qint64 end = characterCount();
    // Text being composed goes with the caret to its new line.
    if (!m_preedit.isEmpty())
        m_layouts.erase(m_lines.lineAt(m_position));
    m_anchor = std::clamp<qint64>(anchor, 0, end);
    m_position = std::clamp<qint64>(position, 0, end);
    if (!m_preedit.isEmpty())
        m_layouts.erase(m_lines.lineAt(m_position));
    m_wantedX = -1;
    m_history.closeTyping();
    ensureCaretVisible();
    restartBlink();
    viewport()->update();
    tellAssistiveTools();
    Q_EMIT cursorPositionChanged();
}

void TextBox::tellAssistiveTools()
{
    if (!QAccessible::isActive())
        return;
    QAccessibleTextCursorEvent caret(this, int(m_position));
    QAccessible::updateAccessibility(&caret);
    QAccessibleTextSelectionEvent selection(this, int(selectionStart()), int(selectionEnd()));
    QAccessible::updateAccessibility(&selection);
}

void TextBox::moveCaret(qint64 position, bool keepAnchor)
{
    const qreal wantedX = m_wantedX;
    select(keepAnchor ? m_anchor : position, position);
    m_wantedX = wantedX;
}

QTextOption::WrapMode TextBox::wrapModeFor(QStringView line)
{
    if (line.size() > longWord) {
        qsizetype run = 0;
        for (const QChar ch : line) {
            run = ch.isSpace() ? 0 : run + 1;
            if (run > longWord)
                return QTextOption::WrapAnywhere;
        }
    }
    return QTextOption::WrapAtWordBoundaryOrAnywhere;
}

QTextOption TextBox::textOptionFor(QStringView line)
{
    QTextOption option;
    option.setWrapMode(wrapModeFor(line));
    option.setTabStopDistance(tabStop);
    const Qt::LayoutDirection direction = directionOf(line);
    option.setTextDirection(direction);
    // Absolute: a right-to-left line's "right" is not to be read as its start.
    option.setAlignment(Qt::AlignAbsolute | (direction == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft));
    return option;
}

qreal TextBox::layoutWidth() const
{
    return std::max(1, viewport()->width() - 2 * margin);
}

QTextLayout &TextBox::layoutOf(qsizetype line) const
{
    auto found = m_layouts.find(line);
    if (found != m_layouts.end())
        return *found->second;
    const QString text = m_lines.line(line);
    auto layout = std::make_unique<QTextLayout>(text, font());
    layout->setTextOption(textOptionFor(text));
    applyPreedit(*layout, line);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    int rows = 0;
    for (QTextLine row = layout->createLine(); row.isValid(); row = layout->createLine()) {
        row.setLineWidth(layoutWidth());
        row.setPosition(QPointF(0, qreal(rows) * m_rowHeight));
        ++rows;
    }
    layout->endLayout();
    m_rows.setRows(line, std::max(rows, 1));
    return *m_layouts.emplace(line, std::move(layout)).first->second;
}

int TextBox::rowsOf(qsizetype line) const
{
    return layoutOf(line).lineCount();
}

QTextLine TextBox::rowOf(qsizetype line, int row) const
{
    return layoutOf(line).lineAt(row);
}

void TextBox::forgetLayouts()
{
    m_layouts.clear();
    m_rows.reset(m_lines.lineCount());
}

void TextBox::layOutAnew()
{
    // The top line stays on top, shown from its first row.
    const qsizetype top = m_top.line;
    forgetLayouts();
    m_top = {top, 0};
}

int TextBox::rowHeightOf(const QFont &font)
{
    return std::max(1, int(std::ceil(QFontMetricsF(font).lineSpacing())));
}

qint64 TextBox::topRow() const
{
    return m_rows.rowsBefore(m_top.line) + m_top.row;
}

void TextBox::forgetLayoutsFrom(qsizetype line)
{
    for (auto it = m_layouts.begin(); it != m_layouts.end();)
        it = it->first >= line ? m_layouts.erase(it) : std::next(it);
}

int TextBox::visibleRows() const
{
    return std::max(1, (viewport()->height() - margin) / m_rowHeight);
}

void TextBox::updateScrollBar()
{
    m_settingScroll = true;
    QScrollBar *bar = verticalScrollBar();
    const qint64 total = m_rows.total();
    bar->setRange(0, int(std::clamp<qint64>(total - visibleRows(), 0, INT_MAX)));
    bar->setPageStep(visibleRows());
    bar->setValue(int(std::min<qint64>(topRow(), INT_MAX)));
    m_settingScroll = false;
}

void TextBox::scrollContentsBy(int, int)
{
    if (m_settingScroll)
        return;
    m_top = m_rows.placeOf(verticalScrollBar()->value());
    viewport()->update();
}

void TextBox::scrollToRow(qint64 row)
{
    m_top = m_rows.placeOf(std::max<qint64>(row, 0));
    keepTextInView();
    updateScrollBar();
    viewport()->update();
}

qint64 TextBox::rowOfPosition(qint64 position) const
{
    const qsizetype line = m_lines.lineAt(position);
    const QTextLayout &layout = layoutOf(line);
    const int column = int(position - m_lines.lineStart(line));
    return m_rows.rowsBefore(line) + layout.lineForTextPosition(column).lineNumber();
}

void TextBox::ensureCaretVisible()
{
    showPosition(m_position);
}

void TextBox::showPosition(qint64 position)
{
    position = std::clamp<qint64>(position, 0, characterCount());
    // The lines from the top to position's laid out first, as many as can show: an edit
    // counts the lines it made one row each, and a wrapped one would push position lower.
    const qsizetype shownLine = m_lines.lineAt(position);
    for (qsizetype line = m_top.line; line < shownLine && line - m_top.line < visibleRows(); ++line)
        rowsOf(line);
    const qint64 shownRow = rowOfPosition(position);
    if (shownRow < topRow()) {
        scrollToRow(shownRow);
        return;
    }
    if (shownRow < topRow() + visibleRows())
        return;
    // position on the last row shown: the lines above it laid out first, so their rows are known.
    qint64 rowsAbove = shownRow - m_rows.rowsBefore(shownLine);
    for (qsizetype above = shownLine - 1; above >= 0 && rowsAbove < visibleRows(); --above)
        rowsAbove += rowsOf(above);
    scrollToRow(rowOfPosition(position) - (visibleRows() - 1));
}

QRect TextBox::cursorRect(qint64 position) const
{
    position = std::clamp<qint64>(position, 0, characterCount());
    const qsizetype line = m_lines.lineAt(position);
    const int column = layoutColumn(line, position);
    const QTextLine row = layoutOf(line).lineForTextPosition(column);
    const qint64 rowsDown = m_rows.rowsBefore(line) + row.lineNumber() - topRow();
    // In the box's own coordinates: the viewport lies inside its frame.
    const QPoint inViewport(int(row.cursorToX(column)) + margin, int(rowsDown * m_rowHeight) + margin);
    return QRect(viewport()->geometry().topLeft() + inViewport, QSize(1, m_rowHeight));
}

void TextBox::restartBlink()
{
    m_caretShown = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flash > 0)
        m_blink.start(flash / 2, this);
    else
        m_blink.stop();
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
    const qreal breakWidth = QFontMetricsF(font()).horizontalAdvance(QLatin1Char(' '));
    // Lines laid out since the last paint may have more rows than counted, and the text's end
    // may have come up.
    keepTextInView();
    qreal y = margin - qreal(m_top.row) * m_rowHeight;
    qsizetype line = m_top.line;
    for (; line < m_lines.lineCount() && y < height; ++line) {
        QTextLayout &layout = layoutOf(line);
        const qint64 start = m_lines.lineStart(line);
        const qint64 end = start + m_lines.lineLength(line);
        QList<QTextLayout::FormatRange> selections;
        if (selFrom < selTo && selFrom <= end && selTo > start) {
            QTextLayout::FormatRange range;
            range.start = int(std::max(selFrom, start) - start);
            range.length = int(std::min(selTo, end + 1) - start) - range.start;
            range.format.setBackground(palette().brush(QPalette::Highlight));
            range.format.setForeground(palette().brush(QPalette::HighlightedText));
            selections.append(range);
        }
        const QPointF origin(margin, y);
        layout.draw(&painter, origin, selections, area);
        // A selected line break shows as a blank's width of selection after its line.
        if (selFrom <= end && selTo > end) {
            const QTextLine last = layout.lineAt(layout.lineCount() - 1);
            const bool leftwards = layout.textOption().textDirection() == Qt::RightToLeft;
            const qreal x = last.cursorToX(int(end - start)) - (leftwards ? breakWidth : 0);
            painter.fillRect(QRectF(origin.x() + x, origin.y() + last.y(), breakWidth, m_rowHeight),
                             palette().brush(QPalette::Highlight));
        }
        // Where dragged text would drop.
        if (m_dropAt >= start && m_dropAt <= end)
            layout.drawCursor(&painter, origin, int(m_dropAt - start), 1);
        // Within text being composed, the caret stands where the input method says.
        if (caret && m_preeditCaretShown && m_position >= start && m_position <= end)
            layout.drawCursor(&painter, origin, layoutColumn(line, m_position), 1);
        y += qreal(layout.lineCount()) * m_rowHeight;
    }
    // Laying out what is shown may have changed the rows of the text: the bar follows.
    updateScrollBar();
    if (m_layouts.size() > keptLayouts) {
        for (auto it = m_layouts.begin(); it != m_layouts.end();)
            it = it->first < m_top.line || it->first >= line ? m_layouts.erase(it) : std::next(it);
    }
}

void TextBox::resizeEvent(QResizeEvent *event)
{
    // A caret in view stays in view when the lines wrap anew.
    const qint64 caretRow = rowOfPosition(m_position);
    const bool caretInView = caretRow >= topRow() && caretRow < topRow() + rowsShownBefore(event->oldSize().height());
    QAbstractScrollArea::resizeEvent(event);
    layOutAnew();
    keepTextInView();
    if (caretInView)
        ensureCaretVisible();
    updateScrollBar();
}

int TextBox::rowsShownBefore(int boxHeight) const
{
    // The viewport had the box's height less its frame.
    const int frame = height() - viewport()->height();
    return std::max(1, (boxHeight - frame - margin) / m_rowHeight);
}

void TextBox::keepTextInView()
{
    const int shown = visibleRows();
    qint64 rows = -m_top.row;
    for (qsizetype line = m_top.line; line < m_lines.lineCount() && rows < shown; ++line)
        rows += rowsOf(line);
    // The end of the text stands above the bottom of the box: the lines above it come down.
    for (qint64 missing = shown - rows; missing > 0 && (m_top.line > 0 || m_top.row > 0);) {
        if (m_top.row == 0)
            m_top = {m_top.line - 1, rowsOf(m_top.line - 1)};
        const int up = int(std::min<qint64>(m_top.row, missing));
        m_top.row -= up;
        missing -= up;
    }
}

void TextBox::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_rowHeight = rowHeightOf(font());
        layOutAnew();
        updateScrollBar();
        viewport()->update();
    }
}

void TextBox::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_blink.timerId()) {
        m_caretShown = !m_caretShown;
        viewport()->update();
    } else if (event->timerId() == m_tripleClick.timerId()) {
        m_tripleClick.stop();
    } else if (event->timerId() == m_dragScroll.timerId()) {
        const int y = m_dragPoint.y();
        if (y < 0 || y > viewport()->height()) {
            QScrollBar *bar = verticalScrollBar();
            bar->setValue(bar->value() + (y < 0 ? -1 : 1));
            extendSelection(positionAt(m_dragPoint));
        }
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

void TextBox::focusInEvent(QFocusEvent *event)
{
    restartBlink();
    viewport()->update();
    QAbstractScrollArea::focusInEvent(event);
}

void TextBox::focusOutEvent(QFocusEvent *event)
{
    m_blink.stop();
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(event);
}

qint64 TextBox::positionAt(QPoint point) const
{
    qint64 row = qint64(std::floor(qreal(point.y() - margin) / m_rowHeight)) + m_top.row;
    qsizetype line = m_top.line;
    while (row < 0 && line > 0)
        row += rowsOf(--line);
    if (row < 0)
        return 0;
    while (row >= rowsOf(line) && line + 1 < m_lines.lineCount())
        row -= rowsOf(line++);
    const QTextLayout &layout = layoutOf(line);
    if (row >= layout.lineCount())
        return m_lines.lineStart(line) + m_lines.lineLength(line);
    return m_lines.lineStart(line) + layout.lineAt(int(row)).xToCursor(point.x() - margin);
}

qint64 TextBox::verticalMove(int rows) const
{
    qsizetype line = m_lines.lineAt(m_position);
    const QTextLayout *layout = &layoutOf(line);
    const int column = int(m_position - m_lines.lineStart(line));
    const QTextLine current = layout->lineForTextPosition(column);
    if (m_wantedX < 0)
        m_wantedX = current.cursorToX(column);
    int row = current.lineNumber() + rows;
    while (row < 0 && line > 0) {
        layout = &layoutOf(--line);
        row += layout->lineCount();
    }
    while (row >= layout->lineCount() && line + 1 < m_lines.lineCount()) {
        row -= layout->lineCount();
        layout = &layoutOf(++line);
    }
    if (row < 0)
        return 0;
    if (row >= layout->lineCount())
        return characterCount();
    return m_lines.lineStart(line) + layout->lineAt(row).xToCursor(m_wantedX);
}

qint64 TextBox::moved(Move move) const
{
    switch (move) {
    case Move::Left:
    case Move::WordLeft:
    case Move::Right:
    case Move::WordRight:
        return horizontalMove(move);
    case Move::Up:
        return verticalMove(-1);
    case Move::Down:
        return verticalMove(1);
    case Move::PageUp:
        return verticalMove(-visibleRows());
    case Move::PageDown:
        return verticalMove(visibleRows());
    case Move::RowStart:
        return rowEndAt(true);
    case Move::RowEnd:
        return rowEndAt(false);
    case Move::Start:
        return 0;
    case Move::End:
        return characterCount();
    }
    return m_position;
}
