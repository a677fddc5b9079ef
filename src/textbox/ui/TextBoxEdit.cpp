// The text box's edits: replacing text, undo and redo, the clipboard and moving the selection;
// its text, layout and painting are in TextBox.cpp, its keys and mouse in TextBoxInput.cpp.
#include "textbox/ui/TextBox.h"

#include "textbox/TextCodec.h"
#include "platform/ui/Clipboard.h"

#include <QAccessible>

void TextBox::changed(qsizetype firstLine, qint64 position, const QString &removed, QStringView added)
{
    const qsizetype removedLines = removed.count(QLatin1Char('\n')) + 1;
    const qsizetype addedLines = added.count(QLatin1Char('\n')) + 1;
    if (removedLines == 1 && addedLines == 1) {
        m_layouts.erase(firstLine);
        m_rows.setRows(firstLine, 1);
    } else {
        // The lines after the change moved: their layouts are kept under the old numbers.
        forgetLayoutsFrom(firstLine);
        m_rows.replace(firstLine, removedLines, addedLines);
    }
    if (m_top.line >= m_lines.lineCount())
        m_top = {m_lines.lineCount() - 1, 0};
    // The top line laid out again at once: typing in a line shown from one of its later rows
    // keeps the view where it is.
    m_top.row = std::min(m_top.row, rowsOf(m_top.line) - 1);
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(this, int(position), removed, added.toString());
        QAccessible::updateAccessibility(&event);
    }
    Q_EMIT contentsChange(position, removed.size(), added.size());
}

void TextBox::replace(qint64 from, qint64 to, QStringView text, bool typed, const std::vector<TextLines::End> &ends)
{
    const qsizetype firstLine = m_lines.lineAt(from);
    TextLines::Removed removed = m_lines.replace(from, to, text, ends);
    // Shared, not copied: the history keeps it; the step is recorded before the change is told,
    // so that whoever hears of it finds the history as it now is.
    const QString removedText = removed.text;
    m_history.record(from, std::move(removed), text, typed);
    changed(firstLine, from, removedText, text);
    const qint64 caret = from + text.size();
    m_anchor = m_position = caret;
    m_wantedX = -1;
    if (!typed)
        m_history.closeTyping();
    ensureCaretVisible();
    restartBlink();
    viewport()->update();
    tellAssistiveTools();
    Q_EMIT cursorPositionChanged();
}

void TextBox::insertText(QStringView text)
{
    if (!hasSelection() && text.isEmpty())
        return;
    replace(selectionStart(), selectionEnd(), text);
}

void TextBox::applyChange(const EditHistory::Change &change)
{
    changed(m_lines.lineAt(change.position), change.position, change.removed, change.inserted);
    const qint64 caret = change.position + change.inserted.size();
    select(caret, caret);
}

void TextBox::setModified(bool modified)
{
    if (modified)
        m_history.forgetSaved();
    else
        m_history.markSaved();
}

std::vector<TextLines::End> TextBox::endsBetween(qint64 from, qint64 to) const
{
    std::vector<TextLines::End> ends;
    for (qsizetype line = m_lines.lineAt(from); line < m_lines.lineAt(to); ++line)
        ends.push_back(m_lines.lineEnd(line));
    return ends;
}

void TextBox::moveSelectionTo(qint64 position)
{
    const qint64 start = selectionStart();
    const qint64 end = selectionEnd();
    if (m_readOnly || start == end || (position >= start && position <= end))
        return;
    // The stretch from the selection to position replaced by the same text in the new order:
    // one step to undo, and the breaks in it keep their ends.
    const bool down = position > end;
    const qint64 from = down ? start : position;
    const qint64 to = down ? position : end;
    const qint64 otherFrom = down ? end : position;
    const qint64 otherTo = down ? position : start;
    const QString moved = m_lines.text(start, end);
    const QString other = m_lines.text(otherFrom, otherTo);
    std::vector<TextLines::End> ends = endsBetween(down ? otherFrom : start, down ? otherTo : end);
    const std::vector<TextLines::End> second = endsBetween(down ? start : otherFrom, down ? end : otherTo);
    ends.insert(ends.end(), second.begin(), second.end());
    replace(from, to, down ? other + moved : moved + other, false, ends);
    const qint64 movedFrom = down ? to - moved.size() : from;
    select(movedFrom, movedFrom + moved.size());
}

void TextBox::undo()
{
    if (m_readOnly)
        return;
    if (const std::optional<EditHistory::Change> change = m_history.undo(m_lines))
        applyChange(*change);
}

void TextBox::redo()
{
    if (m_readOnly)
        return;
    if (const std::optional<EditHistory::Change> change = m_history.redo(m_lines))
        applyChange(*change);
}

void TextBox::copy()
{
    if (hasSelection())
        m_clipboard.setText(selectedText());
}

void TextBox::cut()
{
    copy();
    if (!m_readOnly && hasSelection())
        insertText(QString());
}

void TextBox::paste()
{
    if (!m_readOnly)
        insertText(TextCodec::withPlainLineBreaks(m_clipboard.text()));
}

void TextBox::deleteOrRemove(Move move)
{
    if (m_readOnly)
        return;
    if (hasSelection()) {
        insertText(QString());
        return;
    }
    const qint64 to = moved(move);
    if (to != m_position)
        replace(std::min(to, m_position), std::max(to, m_position), QString());
}
