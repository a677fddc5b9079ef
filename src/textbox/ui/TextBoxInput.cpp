// The text box's keys, mouse, drag and drop and context menu; its text and painting are in
// TextBox.cpp, its edits in TextBoxEdit.cpp, its input method in TextBoxInputMethod.cpp.
#include "textbox/ui/TextBox.h"

#include "textbox/TextCodec.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <functional>

namespace {

struct MoveKey
{
    QKeySequence::StandardKey move;
    QKeySequence::StandardKey select;
};

// A character a key press types; control characters type nothing (Ctrl+A gives "\x01").
bool typesText(const QString &text)
{
    return !text.isEmpty()
        && std::none_of(text.begin(), text.end(), [](QChar ch) { return ch.category() == QChar::Other_Control; });
}

// The modifiers a keyboard layout makes its characters with: Shift, and AltGr, which comes as
// the group switch (or on some keyboards as Ctrl+Alt). Ctrl, Alt or Meta alone make shortcuts.
constexpr Qt::KeyboardModifiers layoutModifiers = Qt::ShiftModifier | Qt::KeypadModifier | Qt::GroupSwitchModifier;

bool typesWith(Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers others = modifiers & ~layoutModifiers;
    return others == Qt::NoModifier || others == (Qt::ControlModifier | Qt::AltModifier);
}

} // namespace

bool TextBox::event(QEvent *event)
{
    // The box's own keys go to it before any window shortcut (a menu's keys are held back for
    // the menu by the window's filter).
    if (event->type() == QEvent::ShortcutOverride && isEditingKey(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

bool TextBox::focusNextPrevChild(bool next)
{
    // Tab types a tab into a box that can be edited; a read-only one passes the focus on.
    if (!m_readOnly)
        return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

bool TextBox::isEditingKey(QKeyEvent *event) const
{
    static const std::array standard{
        QKeySequence::Undo, QKeySequence::Redo, QKeySequence::Cut, QKeySequence::Copy, QKeySequence::Paste,
        QKeySequence::SelectAll, QKeySequence::Delete, QKeySequence::DeleteStartOfWord,
        QKeySequence::DeleteEndOfWord, QKeySequence::MoveToStartOfDocument, QKeySequence::MoveToEndOfDocument,
        QKeySequence::SelectStartOfDocument, QKeySequence::SelectEndOfDocument, QKeySequence::MoveToNextWord,
        QKeySequence::MoveToPreviousWord, QKeySequence::SelectNextWord, QKeySequence::SelectPreviousWord,
    };
    for (const QKeySequence::StandardKey key : standard) {
        if (event->matches(key))
            return true;
    }
    // A character typed with AltGr too goes to the box before the window's shortcuts.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~layoutModifiers;
    return modifiers == Qt::NoModifier && (typesText(event->text()) || event->key() == Qt::Key_Backspace);
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    if (handleKey(event))
        event->accept();
    else
        QAbstractScrollArea::keyPressEvent(event);
}

bool TextBox::handleKey(QKeyEvent *event)
{
    static const std::array<std::pair<MoveKey, Move>, 12> moves{{
        {{QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar}, Move::Left},
        {{QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar}, Move::Right},
        {{QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord}, Move::WordLeft},
        {{QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord}, Move::WordRight},
        {{QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine}, Move::Up},
        {{QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine}, Move::Down},
        {{QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine}, Move::RowStart},
        {{QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine}, Move::RowEnd},
        {{QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage}, Move::PageUp},
        {{QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage}, Move::PageDown},
        {{QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument}, Move::Start},
        {{QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument}, Move::End},
    }};
    for (const auto &[keys, move] : moves) {
        const bool selecting = event->matches(keys.select);
        if (!selecting && !event->matches(keys.move))
            continue;
        // Left and Right on a selection go to its end on that side.
        if (!selecting && hasSelection() && (move == Move::Left || move == Move::Right)) {
            const bool toEnd = (move == Move::Right) != isRightToLeftAt(m_position);
            setCursorPosition(toEnd ? selectionEnd() : selectionStart());
            return true;
        }
        const bool vertical = move == Move::Up || move == Move::Down || move == Move::PageUp || move == Move::PageDown;
        if (!vertical)
            m_wantedX = -1;
        moveCaret(moved(move), selecting);
        if (!vertical)
            m_wantedX = -1;
        if (selecting)
            offerSelection();
        return true;
    }
    const std::array<std::pair<QKeySequence::StandardKey, std::function<void()>>, 10> commands{{
        {QKeySequence::Undo, [this] { undo(); }},
        {QKeySequence::Redo, [this] { redo(); }},
        {QKeySequence::Cut, [this] { cut(); }},
        {QKeySequence::Copy, [this] { copy(); }},
        {QKeySequence::Paste, [this] { paste(); }},
        {QKeySequence::SelectAll, [this] { selectAll(); offerSelection(); }},
        {QKeySequence::Delete, [this] { deleteOrRemove(Move::Right); }},
        {QKeySequence::DeleteEndOfWord, [this] { deleteOrRemove(Move::WordRight); }},
        {QKeySequence::DeleteStartOfWord, [this] { deleteOrRemove(Move::WordLeft); }},
        {QKeySequence::Backspace, [this] { deleteBack(); }},
    }};
    for (const auto &[key, command] : commands) {
        if (event->matches(key)) {
            command();
            return true;
        }
    }
    if (event->key() == Qt::Key_Backspace && !(event->modifiers() & Qt::ControlModifier)) {
        deleteBack();
        return true;
    }
    if (m_readOnly)
        return false;
    // Enter breaks the line, with Shift too: a line separator is no line end a file holds.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        insertText(u"\n");
        return true;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (event->key() == Qt::Key_Tab && modifiers == Qt::NoModifier) {
        insertText(u"\t");
        return true;
    }
    // What the layout typed is typed, whatever it took to type it (AltGr for "@" on a German one).
    if (typesText(event->text()) && typesWith(event->modifiers())) {
        // Typing over a selection starts a step the word typed after it joins.
        replace(selectionStart(), selectionEnd(), event->text(), true);
        return true;
    }
    return false;
}

void TextBox::mousePressEvent(QMouseEvent *event)
{
    // A click ends what the input method was composing, before it counts the places.
    if (event->button() == Qt::LeftButton || event->button() == Qt::MiddleButton)
        commitPreedit();
    // The middle button pastes when it is let go.
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const qint64 position = positionAt(point);
    // The third click selects the line, and a drag from it whole lines.
    if (m_tripleClick.isActive() && (point - m_tripleClickAt).manhattanLength() < QApplication::startDragDistance()) {
        m_tripleClick.stop();
        m_unit = Unit::Line;
        m_unitSelected = unitAt(position, Unit::Line);
        m_dragging = true;
        select(m_unitSelected.first, m_unitSelected.second);
        return;
    }
    m_unit = Unit::Character;
    // A press in the selection may begin to drag it; the caret moves only on release.
    if (!(event->modifiers() & Qt::ShiftModifier) && position > selectionStart() && position < selectionEnd()) {
        m_dragFrom = point;
        return;
    }
    m_dragging = true;
    m_wantedX = -1;
    moveCaret(position, event->modifiers() & Qt::ShiftModifier);
}

void TextBox::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragFrom && (event->buttons() & Qt::LeftButton)
        && (event->position().toPoint() - *m_dragFrom).manhattanLength() >= QApplication::startDragDistance()) {
        m_dragFrom.reset();
        startDrag();
        return;
    }
    if (!m_dragging || !(event->buttons() & Qt::LeftButton))
        return;
    m_dragPoint = event->position().toPoint();
    extendSelection(positionAt(m_dragPoint));
    // Dragging above or below the box scrolls it on.
    if (m_dragPoint.y() < 0 || m_dragPoint.y() > viewport()->height())
        m_dragScroll.start(50, this);
    else
        m_dragScroll.stop();
}

void TextBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::MiddleButton) {
        pasteSelectionAt(positionAt(event->position().toPoint()));
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
        m_dragScroll.stop();
        // Pressed in the selection and let go without a drag: a click there.
        if (m_dragFrom) {
            m_dragFrom.reset();
            setCursorPosition(positionAt(event->position().toPoint()));
        } else {
            offerSelection();
        }
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void TextBox::extendSelection(qint64 position)
{
    if (m_unit == Unit::Character) {
        moveCaret(position, true);
        return;
    }
    // The word or line clicked stays selected, and the selection grows from it by whole ones.
    const auto [from, to] = m_unitSelected;
    const auto [unitFrom, unitTo] = unitAt(position, m_unit);
    if (position < from)
        select(to, std::min(unitFrom, position));
    else if (position > to)
        select(from, std::max(unitTo, position));
    else
        select(from, to);
}

void TextBox::startDrag()
{
    auto *data = new QMimeData;
    data->setText(selectedText());
    // Qt ends the drag object itself once it is over.
    auto *drag = new QDrag(this);
    drag->setMimeData(data);
    m_dragData = data;
    m_droppedHere = false;
    // Asked for as a move (QDrag's own default is a copy, which would double the text dropped
    // within the box); Ctrl held at the drop makes it a copy.
    const Qt::DropAction action = m_readOnly ? drag->exec(Qt::CopyAction, Qt::CopyAction)
                                             : drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    // Moved into another window or program: the text goes from here.
    if (action == Qt::MoveAction && !m_droppedHere && !m_readOnly)
        insertText(QString());
}

void TextBox::dragEnterEvent(QDragEnterEvent *event)
{
    if (m_readOnly || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    dragMoveEvent(event);
}

void TextBox::dragMoveEvent(QDragMoveEvent *event)
{
    if (m_readOnly || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    m_dropAt = positionAt(event->position().toPoint());
    event->setDropAction(dropActionFor(event));
    event->accept();
    viewport()->update();
}

bool TextBox::isFromHere(const QDropEvent *event) const
{
    // Qt knows the source only while its own drag loop runs; the data itself tells it as well.
    return event->source() == this || (m_dragData && event->mimeData() == m_dragData.data());
}

Qt::DropAction TextBox::dropActionFor(const QDropEvent *event) const
{
    // Decided here, not taken from the event, whose action is the platform's guess.
    const bool move = isFromHere(event) && !(event->modifiers() & Qt::ControlModifier)
        && (event->possibleActions() & Qt::MoveAction);
    return move ? Qt::MoveAction : Qt::CopyAction;
}

void TextBox::dragLeaveEvent(QDragLeaveEvent *event)
{
    m_dropAt = -1;
    viewport()->update();
    event->accept();
}

void TextBox::dropEvent(QDropEvent *event)
{
    m_dropAt = -1;
    if (m_readOnly || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    const qint64 position = positionAt(event->position().toPoint());
    const bool here = isFromHere(event);
    const Qt::DropAction action = dropActionFor(event);
    if (here && action == Qt::MoveAction) {
        moveSelectionTo(position);
    } else {
        setCursorPosition(position);
        insertText(TextCodec::withPlainLineBreaks(event->mimeData()->text()));
    }
    m_droppedHere = here;
    event->setDropAction(action);
    event->accept();
    setFocus();
}

void TextBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // The word clicked, and a drag from it whole words; a third click soon after, the line.
    const QPoint point = event->position().toPoint();
    m_dragFrom.reset();
    selectWordAt(positionAt(point));
    m_unit = Unit::Word;
    m_dragging = true;
    m_tripleClickAt = point;
    m_tripleClick.start(QApplication::doubleClickInterval(), this);
}

std::pair<qint64, qint64> TextBox::unitAt(qint64 position, Unit unit) const
{
    const qsizetype line = m_lines.lineAt(position);
    const qint64 start = m_lines.lineStart(line);
    const int length = int(m_lines.lineLength(line));
    if (unit == Unit::Line)
        return {start, start + length + (line + 1 < m_lines.lineCount() ? 1 : 0)};
    if (unit == Unit::Character || length == 0)
        return {position, position};
    LineLayout &layout = layoutOf(line);
    const int column = int(position - start);
    const int wordEnd = column >= length ? length : layout.nextCursorPosition(column, QTextLayout::SkipWords);
    const int wordStart = layout.previousCursorPosition(std::min(wordEnd, length), QTextLayout::SkipWords);
    // A word's skip takes the blanks after it too; they are no part of the word.
    const QString text = layout.text();
    int end = wordEnd;
    while (end > wordStart && text.at(end - 1).isSpace())
        --end;
    return {start + wordStart, start + (end > wordStart ? end : wordEnd)};
}

void TextBox::selectWordAt(qint64 position)
{
    m_unitSelected = unitAt(position, Unit::Word);
    if (m_unitSelected.first != m_unitSelected.second)
        select(m_unitSelected.first, m_unitSelected.second);
    else
        m_unitSelected = {m_position, m_position};
}

void TextBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    const auto add = [&](const QString &caption, QKeySequence::StandardKey key, bool enabled,
                         std::function<void()> command) {
        QAction *action = menu.addAction(caption, this, std::move(command));
        action->setShortcut(key);
        action->setEnabled(enabled);
    };
    const bool editable = !m_readOnly;
    add(tr("&Undo"), QKeySequence::Undo, editable && m_history.canUndo(), [this] { undo(); });
    add(tr("&Redo"), QKeySequence::Redo, editable && m_history.canRedo(), [this] { redo(); });
    menu.addSeparator();
    add(tr("Cu&t"), QKeySequence::Cut, editable && hasSelection(), [this] { cut(); });
    add(tr("&Copy"), QKeySequence::Copy, hasSelection(), [this] { copy(); });
    add(tr("&Paste"), QKeySequence::Paste, editable, [this] { paste(); });
    add(tr("Delete"), QKeySequence::Delete, editable && hasSelection(), [this] { insertText(QString()); });
    menu.addSeparator();
    add(tr("Select All"), QKeySequence::SelectAll, characterCount() > 0, [this] {
        selectAll();
        offerSelection();
    });
    menu.exec(event->globalPos());
}
