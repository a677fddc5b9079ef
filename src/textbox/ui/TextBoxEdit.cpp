// The text box's edits: replacing text, undo and redo, the clipboard and moving the selection;
// its text, layout and painting are in TextBox.cpp, its keys and mouse in TextBoxInput.cpp.
#include "textbox/ui/TextBox.h"

#include "textbox/TextCodec.h"
#include "platform/ui/Clipboard.h"

#include <QAccessible>

#include <algorithm>

void TextBox::changed(qsizetype firstLine, qint64 position, const QString &removed, QStringView added)
{
    const qsizetype removedLines = removed.count(QLatin1Char('\n')) + 1;
    const qsizetype addedLines = added.count(QLatin1Char('\n')) + 1;
    // The first line keeps what it had laid out before the edit; the lines after the edit keep
    // their layouts under their new numbers.
    const auto found = m_layouts.find(firstLine);
    const std::unique_ptr<LineLayout> earlier = found != m_layouts.end() ? std::move(found->second) : nullptr;
    renumberLayouts(firstLine, removedLines, addedLines);
    if (removedLines == 1 && addedLines == 1)
        m_rows.setRows(firstLine, 1);
    else
        m_rows.replace(firstLine, removedLines, addedLines);
    if (earlier) {
        LineLayout &layout = layoutOf(firstLine);
        layout.takeSegmentsBefore(*earlier, position - m_lines.lineStart(firstLine));
        countRows(firstLine, layout);
    }
    if (m_top.line >= m_lines.lineCount()) {
        m_top = {m_lines.lineCount() - 1, 0};
        m_topColumn = -1;
    }
    // Where a long top line's top row begins moves with the text typed before it.
    const qint64 column = position - m_lines.lineStart(firstLine);
    if (m_topColumn >= 0 && firstLine == m_top.line && removedLines == 1 && addedLines == 1 && column < m_topColumn)
        m_topColumn = std::max(column, m_topColumn + added.size() - removed.size());
    if (m_topColumn >= 0)
        m_topColumn = std::min(m_topColumn, m_lines.lineLength(m_top.line));
    followTop();
    // The top line laid out again at once: typing in a line shown from one of its later rows
    // keeps the view where it is.
    setTop({m_top.line, std::min(m_top.row, rowsOf(m_top.line) - 1)});
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(this, int(position), removed, added.toString());
        QAccessible::updateAccessibility(&event);
    }
    Q_EMIT contentsChange(position, removed.size(), added.size());
}

void TextBox::replace(qint64 from, qint64 to, QStringView text, bool typed, const std::vector<TextLines::End> &ends)
{
    const qsizetype firstLine = m_lines.lineAt(from);
    releaseTexts(from, to);
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
    caretMoved();
}

void TextBox::releaseTexts(qint64 from, qint64 to)
{
    const qsizetype lastLine = m_lines.lineAt(to);
    for (auto it = m_layouts.lower_bound(m_lines.lineAt(from)); it != m_layouts.end() && it->first <= lastLine; ++it)
        it->second->releaseText();
}

void TextBox::insertText(QStringView text)
{
    if (!hasSelection() && text.isEmpty())
        return;
    replace(selectionStart(), selectionEnd(), text);
}

void TextBox::replaceText(qint64 from, qint64 to, QStringView text)
{
    from = std::clamp<qint64>(from, 0, characterCount());
    to = std::clamp<qint64>(to, 0, characterCount());
    if (from > to)
        std::swap(from, to);
    if (from != to || !text.isEmpty())
        replace(from, to, text);
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
    if (const std::optional<std::pair<qint64, qint64>> range = m_history.rangeToUndo())
        releaseTexts(range->first, range->second);
    if (const std::optional<EditHistory::Change> change = m_history.undo(m_lines))
        applyChange(*change);
}

void TextBox::redo()
{
    if (m_readOnly)
        return;
    if (const std::optional<std::pair<qint64, qint64>> range = m_history.rangeToRedo())
        releaseTexts(range->first, range->second);
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

void TextBox::offerSelection()
{
    if (hasSelection() && m_clipboard.supportsSelection())
        m_clipboard.setSelectionText(selectedText());
}

void TextBox::pasteSelectionAt(qint64 position)
{
    if (m_readOnly || !m_clipboard.supportsSelection())
        return;
    // Put in where clicked, beside a selection there rather than over it.
    setCursorPosition(position);
    insertText(TextCodec::withPlainLineBreaks(m_clipboard.selectionText()));
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

void TextBox::deleteBack()
{
    if (m_readOnly)
        return;
    if (hasSelection()) {
        insertText(QString());
        return;
    }
    if (m_position == 0)
        return;
    // One code point, as Qt's own boxes take: the last mark of a letter with marks, a pair whole,
    // a line break (whatever the file's ends) as one.
    const qint64 lineStart = m_lines.lineStart(m_lines.lineAt(m_position));
    qint64 from = m_position - 1;
    if (from > lineStart) {
        const QString before = m_lines.text(from - 1, m_position);
        if (before.at(0).isHighSurrogate() && before.at(1).isLowSurrogate())
            --from;
    }
    replace(from, m_position, QString());
}
