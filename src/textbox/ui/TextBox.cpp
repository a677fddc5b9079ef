// The text box's text, layout, painting and scrolling; its edits are in TextBoxEdit.cpp, its keys
// and mouse in TextBoxInput.cpp.
#include "textbox/ui/TextBox.h"

#include "textbox/ui/TextBoxAccessible.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QScrollBar>
#include <QStyleHints>

#include <algorithm>
#include <cmath>

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
    measureFont();
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
    setTop({});
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
        forgetLayoutFrom(m_position);
    m_anchor = std::clamp<qint64>(anchor, 0, end);
    m_position = std::clamp<qint64>(position, 0, end);
    if (!m_preedit.isEmpty())
        forgetLayoutFrom(m_position);
    m_wantedX = -1;
    m_history.closeTyping();
    caretMoved();
}

void TextBox::caretMoved()
{
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

int TextBox::rowHeightOf(const QFont &font)
{
    return std::max(1, int(std::ceil(QFontMetricsF(font).lineSpacing())));
}

void TextBox::measureFont()
{
    m_rowHeight = rowHeightOf(font());
    m_averageCharWidth = std::max<qreal>(1, QFontMetricsF(font()).averageCharWidth());
}

qint64 TextBox::topRow() const
{
    followTop();
    return m_rows.rowsBefore(m_top.line) + m_top.row;
}

void TextBox::setTop(RowCounts::Place top)
{
    m_top = top;
    m_topColumn = -1;
    if (top.line < m_lines.lineCount() && layoutOf(top.line).isSegmented()) {
        const LineLayout::Row row = rowOf(top.line, top.row);
        m_top.row = row.lineNumber();
        m_topColumn = row.textStart();
    }
}

void TextBox::followTop() const
{
    if (m_topColumn >= 0)
        m_top.row = rowShowing(m_top.line, m_topColumn).lineNumber();
}

void TextBox::layOutRowsAround(qsizetype line, qint64 column, qint64 above, qint64 below) const
{
    if (!layoutOf(line).isSegmented())
        return;
    // Laying a segment out changes the rows of the line, and so which rows are around column:
    // again until they hold still.
    for (int pass = 0; pass < 3; ++pass) {
        const int row = rowShowing(line, column).lineNumber();
        const int rows = rowsOf(line);
        for (qint64 around = std::max<qint64>(0, row - above); around <= std::min<qint64>(rows - 1, row + below); ++around)
            rowOf(line, int(around));
        if (rowShowing(line, column).lineNumber() == row && rowsOf(line) == rows)
            return;
    }
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
    setTop(m_rows.placeOf(verticalScrollBar()->value()));
    viewport()->update();
}

void TextBox::scrollToRow(qint64 row)
{
    setTop(m_rows.placeOf(std::max<qint64>(row, 0)));
    keepTextInView();
    updateScrollBar();
    viewport()->update();
}

qint64 TextBox::rowOfPosition(qint64 position) const
{
    const qsizetype line = m_lines.lineAt(position);
    return m_rows.rowsBefore(line) + rowShowing(line, position - m_lines.lineStart(line)).lineNumber();
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
    // In a long line, the rows a screenful above position laid out too.
    layOutRowsAround(shownLine, position - m_lines.lineStart(shownLine), visibleRows(), 0);
    const qint64 shownRow = rowOfPosition(position);
    if (shownRow < topRow()) {
        scrollToRow(shownRow);
        return;
    }
    if (shownRow < topRow() + visibleRows())
        return;
    // position on the last row shown: the lines above it laid out first, so their rows are known.
    qint64 rowsAbove = shownRow - m_rows.rowsBefore(shownLine);
    for (qsizetype above = shownLine - 1; above >= 0 && rowsAbove < visibleRows(); --above) {
        layOutRowsAround(above, m_lines.lineLength(above), visibleRows() - rowsAbove, 0);
        rowsAbove += rowsOf(above);
    }
    scrollToRow(rowOfPosition(position) - (visibleRows() - 1));
}

QRect TextBox::cursorRect(qint64 position) const
{
    position = std::clamp<qint64>(position, 0, characterCount());
    const qsizetype line = m_lines.lineAt(position);
    const qint64 column = position - m_lines.lineStart(line);
    const LineLayout::Row row = rowShowing(line, column);
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
    followTop();
    const int shown = visibleRows();
    qint64 rows = -m_top.row;
    for (qsizetype line = m_top.line; line < m_lines.lineCount() && rows < shown; ++line)
        rows += rowsOf(line);
    // The end of the text stands above the bottom of the box: the lines above it come down.
    RowCounts::Place top = m_top;
    for (qint64 missing = shown - rows; missing > 0 && (top.line > 0 || top.row > 0);) {
        if (top.row == 0) {
            layOutRowsAround(top.line - 1, m_lines.lineLength(top.line - 1), missing, 0);
            top = {top.line - 1, rowsOf(top.line - 1)};
        }
        const int up = int(std::min<qint64>(top.row, missing));
        top.row -= up;
        missing -= up;
    }
    if (top.line != m_top.line || top.row != m_top.row)
        setTop(top);
}

void TextBox::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        measureFont();
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
    followTop();
    qint64 row = qint64(std::floor(qreal(point.y() - margin) / m_rowHeight)) + m_top.row;
    qsizetype line = m_top.line;
    while (row < 0 && line > 0)
        row += rowsOf(--line);
    if (row < 0)
        return 0;
    while (row >= rowsOf(line) && line + 1 < m_lines.lineCount())
        row -= rowsOf(line++);
    if (row >= rowsOf(line))
        return m_lines.lineStart(line) + m_lines.lineLength(line);
    return m_lines.lineStart(line) + rowOf(line, int(row)).xToCursor(point.x() - margin);
}

qint64 TextBox::verticalMove(int rows) const
{
    qsizetype line = m_lines.lineAt(m_position);
    const qint64 column = m_position - m_lines.lineStart(line);
    // The rows moved over counted as they are laid out, in long lines too.
    layOutRowsAround(line, column, std::max(-rows, 0), std::max(rows, 0));
    const LineLayout::Row current = rowShowing(line, column);
    if (m_wantedX < 0)
        m_wantedX = current.cursorToX(column);
    qint64 row = qint64(current.lineNumber()) + rows;
    while (row < 0 && line > 0) {
        --line;
        layOutRowsAround(line, m_lines.lineLength(line), -row, 0);
        row += rowsOf(line);
    }
    while (row >= rowsOf(line) && line + 1 < m_lines.lineCount()) {
        row -= rowsOf(line++);
        layOutRowsAround(line, 0, 0, row);
    }
    if (row < 0)
        return 0;
    if (row >= rowsOf(line))
        return characterCount();
    return m_lines.lineStart(line) + rowOf(line, int(row)).xToCursor(m_wantedX);
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
