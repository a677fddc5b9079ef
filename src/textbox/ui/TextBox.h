#pragma once

#include "textbox/EditHistory.h"
#include "textbox/RowCounts.h"
#include "textbox/TextLines.h"
#include "textbox/ui/LineLayout.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QPointer>
#include <QTextOption>

#include <map>
#include <memory>
#include <optional>

class Clipboard;
class QMimeData;

// The editor's text box: plain text in lines that wrap at the box's width, a caret and a
// selection, typing, the usual keys and mouse, undo and redo. It lays out only the lines it
// shows, so a file of half a million lines opens as fast as a short one, and of a long line only
// the part it shows (LineLayout); the text itself is TextLines, which keeps a file's lines as
// its bytes until they are edited.
class TextBox : public QAbstractScrollArea
{
    Q_OBJECT

    enum class Move { Left, Right, WordLeft, WordRight, Up, Down, RowStart, RowEnd, PageUp, PageDown, Start, End };
    // What a press selects and its drag then extends the selection by.
    enum class Unit { Character, Word, Line };
    // Space between the box's edge and its text, as a plain text box leaves.
    static constexpr int margin = 4;

public:
    // A word longer than this many characters breaks anywhere; other lines break at blanks.
    static constexpr qsizetype longWord = LineLayout::longWord;

    explicit TextBox(Clipboard &clipboard, QWidget *parent = nullptr);
    ~TextBox() override;

    const TextLines &lines() const { return m_lines; }
    // A new text: the caret at its start, nothing to undo.
    void setLines(TextLines lines);
    void setPlainText(QStringView text);
    // The text, line breaks as "\n".
    QString toPlainText() const { return m_lines.text(); }
    qint64 characterCount() const { return m_lines.characterCount(); }

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    qint64 position() const { return m_position; }
    qint64 anchor() const { return m_anchor; }
    qint64 selectionStart() const { return std::min(m_anchor, m_position); }
    qint64 selectionEnd() const { return std::max(m_anchor, m_position); }
    bool hasSelection() const { return m_anchor != m_position; }
    QString selectedText() const { return m_lines.text(selectionStart(), selectionEnd()); }
    // The caret to position; the selection from anchor to it.
    void select(qint64 anchor, qint64 position);
    void setCursorPosition(qint64 position) { select(position, position); }
    void selectAll() { select(0, characterCount()); }

    // Replaces the selection by text ("\n" for line breaks), as one step to undo.
    void insertText(QStringView text);
    // Replaces the characters from..to by text, as one step to undo; the caret goes after it.
    void replaceText(qint64 from, qint64 to, QStringView text);
    // The selection removed, or else the character after the caret (a line break is one,
    // whatever the file's ends); nothing at the very end.
    void deleteForward() { deleteOrRemove(Move::Right); }
    // The selection moved to position, as a drag within the box moves it: one step to undo,
    // every line keeping its own end; nothing when position lies within the selection.
    void moveSelectionTo(qint64 position);
    void undo();
    void redo();
    bool canUndo() const { return m_history.canUndo(); }
    // Whether the text differs from the one marked unchanged (a new text is): undoing or
    // redoing back to that one makes it unchanged again.
    bool isModified() const { return m_history.isModified(); }
    // false: the text as it stands is the unchanged one; true: no text the history reaches is.
    void setModified(bool modified);
    const EditHistory &history() const { return m_history; }

    // Scrolls as little as needed to show position.
    void showPosition(qint64 position);
    // The position shown at point of the viewport; above the text its start, below it its end.
    qint64 positionAt(QPoint point) const;
    // Where a caret at position shows, in the box's coordinates.
    QRect cursorRect(qint64 position) const;

    // How line wraps: at blanks, or anywhere when it holds a word longer than longWord (a long
    // line's segments each by their own words).
    static QTextOption::WrapMode wrapModeFor(QStringView line) { return LineLayout::wrapModeFor(line); }
    // The direction a line reads in: that of its first strong character, left to right when it
    // has none. A line laid out in parts takes it from its start.
    static Qt::LayoutDirection directionOf(QStringView line) { return LineLayout::directionOf(line); }
    // The rows line takes at the box's width (a long line's segments not laid out estimated).
    int rowsOf(qsizetype line) const;
    // A row of line as the box lays it out; valid until the line changes or the box paints.
    LineLayout::Row rowOf(qsizetype line, int row) const;
    // The row of line that column shows on (a column where rows meet: the later row).
    LineLayout::Row rowShowing(qsizetype line, qint64 column) const;
    // The width the box lays its lines out in.
    qreal layoutWidth() const;
    // The characters the box holds laid out: those shown, and a bounded number more.
    qsizetype layoutCharacters() const;

Q_SIGNALS:
    // Characters from position on were replaced: removed of them by added others.
    void contentsChange(qint64 position, qint64 removed, qint64 added);
    void cursorPositionChanged();

protected:
    bool event(QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private:
    LineLayout &layoutOf(qsizetype line) const;
    // The rows line takes as laid out so far, in the row counts.
    void countRows(qsizetype line, LineLayout &layout) const;
    // Text being composed, with its caret and looks, as the layout of the caret's line shows it.
    LineLayout::Preedit preeditOf(qsizetype line) const;
    // Whether the line position lies in reads from right to left.
    bool isRightToLeftAt(qint64 position) const;
    // Left and Right (and by words) as the line reads: in a right-to-left line Left goes on to
    // the next character, which shows on the left; at a line's end on to the next line.
    qint64 horizontalMove(Move move) const;
    // Home and End: the caret's row's end on the side it is read from, or on the other side.
    qint64 rowEndAt(bool home) const;
    // The input method is asked to commit what it is composing; what it keeps goes.
    void commitPreedit();
    void forgetLayouts();
    // The layout of position's line laid out anew from position on.
    void forgetLayoutFrom(qint64 position);
    // Lines first..first+removed replaced by added others: the layouts of those go, the ones
    // after them are kept under their new numbers.
    void renumberLayouts(qsizetype first, qsizetype removed, qsizetype added);
    // Beyond the rows shown (of each line its first and last), at most a bounded number of
    // lines and characters stay laid out.
    struct ShownRows
    {
        qsizetype line;
        int first;
        int last;
    };
    void keepLayoutsShown(const std::vector<ShownRows> &shown);
    // Every line laid out again (a new width or font).
    void layOutAnew();
    static int rowHeightOf(const QFont &font);
    // The row height and average character width of the box's font.
    void measureFont();
    // The first row shown, counted from the top of the text.
    qint64 topRow() const;
    // The line and row shown on top; in a line laid out in segments also where that row
    // begins, so that segments laid out above it in its line do not move what is shown.
    void setTop(RowCounts::Place top);
    void followTop() const;
    // In a line laid out in segments, the rows from above before to below after column's row
    // laid out, so that a move over them counts them as they are.
    void layOutRowsAround(qsizetype line, qint64 column, qint64 above, qint64 below) const;
    qint64 moved(Move move) const;
    qint64 verticalMove(int rows) const;
    bool handleKey(QKeyEvent *event);
    bool isEditingKey(QKeyEvent *event) const;
    void moveCaret(qint64 position, bool keepAnchor);
    // The word (without the blanks after it) or the line (with its break) around position.
    std::pair<qint64, qint64> unitAt(qint64 position, Unit unit) const;
    void selectWordAt(qint64 position);
    // A drag after a double or triple click takes whole words or lines.
    void extendSelection(qint64 position);
    // The selection made by hand becomes the X primary selection.
    void offerSelection();
    void pasteSelectionAt(qint64 position);
    // A drop from this box moves its text, or with Ctrl copies it; one from elsewhere copies.
    Qt::DropAction dropActionFor(const QDropEvent *event) const;
    bool isFromHere(const QDropEvent *event) const;
    // Replaces from..to, recording the step; the caret goes after the new text.
    // ends, where given, are the ends of text's line breaks.
    void replace(qint64 from, qint64 to, QStringView text, bool typed = false,
                 const std::vector<TextLines::End> &ends = {});
    // The layouts of the lines from..to let go of their texts, so that a long line changes in
    // place.
    void releaseTexts(qint64 from, qint64 to);
    // The ends of the line breaks between from and to.
    std::vector<TextLines::End> endsBetween(qint64 from, qint64 to) const;
    void startDrag();
    // An undo or redo made: shown, reported, the caret after what it put in.
    void applyChange(const EditHistory::Change &change);
    void changed(qsizetype firstLine, qint64 position, const QString &removed, QStringView added);
    void copy();
    void cut();
    void paste();
    void deleteOrRemove(Move move);
    // Backspace: the selection, or else the code point before the caret, so that a letter keeps
    // its marks but the last.
    void deleteBack();

    // The caret's line and its row within it, from the top of the text.
    qint64 rowOfPosition(qint64 position) const;
    int visibleRows() const;
    int rowsShownBefore(int boxHeight) const;
    // No empty room below the text's end while lines above the top could fill it.
    void keepTextInView();
    void ensureCaretVisible();
    void scrollToRow(qint64 row);
    void updateScrollBar();
    void restartBlink();
    // A screen reader follows the caret and the selection.
    // The caret shown where it now is: in view, blinking anew, and told of.
    void caretMoved();
    void tellAssistiveTools();
    int rowHeight() const { return m_rowHeight; }

    Clipboard &m_clipboard;
    TextLines m_lines;
    EditHistory m_history;
    mutable RowCounts m_rows;
    mutable std::map<qsizetype, std::unique_ptr<LineLayout>> m_layouts;
    // The first line shown and its first row shown; -1 or where that row begins.
    mutable RowCounts::Place m_top;
    mutable qint64 m_topColumn = -1;
    qint64 m_anchor = 0;
    qint64 m_position = 0;
    // Up and Down keep to the column they started from.
    mutable qreal m_wantedX = -1;
    bool m_readOnly = false;
    bool m_caretShown = true;
    bool m_dragging = false;
    bool m_settingScroll = false;
    int m_rowHeight = 1;
    qreal m_averageCharWidth = 1;
    QBasicTimer m_blink;
    QBasicTimer m_dragScroll;
    QPoint m_dragPoint;
    // The input method's text being composed, not yet part of the text, with its caret (hidden
    // when the input method asks) and its looks, from the text's start.
    QString m_preedit;
    int m_preeditCaret = 0;
    bool m_preeditCaretShown = true;
    QList<QTextLayout::FormatRange> m_preeditFormats;
    // What a press selects, and what the double or triple click selected first.
    Unit m_unit = Unit::Character;
    std::pair<qint64, qint64> m_unitSelected;
    // A press soon after a double click at the same place is a triple click.
    QBasicTimer m_tripleClick;
    QPoint m_tripleClickAt;
    // The data of the drag this box started, while it lasts.
    QPointer<QMimeData> m_dragData;
    // A press in the selection, which may begin a drag of it.
    std::optional<QPoint> m_dragFrom;
    // Where dragged text would drop, shown as a caret; -1 while nothing is dragged over.
    qint64 m_dropAt = -1;
    // The text dragged from here was dropped here too (and moved or copied already).
    bool m_droppedHere = false;
};
