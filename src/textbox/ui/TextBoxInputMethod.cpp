// The text box and an input method: the text it commits, replaces and is still composing, with
// the composing text's caret and looks; the keys and mouse are in TextBoxInput.cpp.
#include "textbox/ui/TextBox.h"

#include "textbox/TextCodec.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>

#include <algorithm>

void TextBox::inputMethodEvent(QInputMethodEvent *event)
{
    if (m_readOnly) {
        event->ignore();
        return;
    }
    const QString commit = TextCodec::withPlainLineBreaks(event->commitString());
    const bool input = !commit.isEmpty() || event->preeditString() != m_preedit || event->replacementLength() > 0;
    if (!input && event->attributes().isEmpty()) {
        event->ignore();
        return;
    }
    // What was being composed goes; the event says what is composed now.
    if (!m_preedit.isEmpty()) {
        m_preedit.clear();
        forgetLayoutFrom(m_position);
    }
    // Input replaces the selection: together with what is committed, one step to undo, unless
    // the input method names a range of its own to replace.
    bool committed = false;
    if (input && hasSelection()) {
        committed = event->replacementStart() == 0 && event->replacementLength() == 0;
        insertText(committed ? commit : QString());
    }
    if (!committed && (!commit.isEmpty() || event->replacementLength() > 0)) {
        // The range is counted from the caret, within its line: the surrounding text the input
        // method was told of.
        const qsizetype line = m_lines.lineAt(m_position);
        const qint64 start = m_lines.lineStart(line);
        const qint64 end = start + m_lines.lineLength(line);
        const qint64 from = std::clamp<qint64>(m_position + event->replacementStart(), start, end);
        const qint64 to = std::clamp<qint64>(from + event->replacementLength(), from, end);
        if (from != to || !commit.isEmpty())
            replace(from, to, commit);
    }
    m_preedit = event->preeditString();
    m_preeditCaret = int(m_preedit.size());
    m_preeditCaretShown = true;
    m_preeditFormats.clear();
    for (const QInputMethodEvent::Attribute &attribute : event->attributes()) {
        switch (attribute.type) {
        case QInputMethodEvent::Cursor:
            m_preeditCaret = std::clamp(attribute.start, 0, int(m_preedit.size()));
            m_preeditCaretShown = attribute.length != 0;
            break;
        case QInputMethodEvent::TextFormat: {
            const QTextCharFormat format = qvariant_cast<QTextFormat>(attribute.value).toCharFormat();
            if (format.isValid() && attribute.length > 0)
                m_preeditFormats.append({attribute.start, attribute.length, format});
            break;
        }
        case QInputMethodEvent::Selection: {
            // Counted from the start of the caret's line, the surrounding text.
            const qint64 start = m_lines.lineStart(m_lines.lineAt(m_position));
            select(start + attribute.start, start + attribute.start + attribute.length);
            break;
        }
        default:
            break;
        }
    }
    // Laid out in order of their starts, as QTextLayout wants them.
    std::stable_sort(m_preeditFormats.begin(), m_preeditFormats.end(),
                     [](const QTextLayout::FormatRange &a, const QTextLayout::FormatRange &b) { return a.start < b.start; });
    forgetLayoutFrom(m_position);
    viewport()->update();
    updateMicroFocus();
    event->accept();
}

void TextBox::commitPreedit()
{
    if (m_preedit.isEmpty())
        return;
    QGuiApplication::inputMethod()->commit();
    if (m_preedit.isEmpty())
        return;
    m_preedit.clear();
    m_preeditFormats.clear();
    forgetLayoutFrom(m_position);
    viewport()->update();
}

LineLayout::Preedit TextBox::preeditOf(qsizetype line) const
{
    if (m_preedit.isEmpty() || line != m_lines.lineAt(m_position))
        return {};
    return {m_position - m_lines.lineStart(line), m_preedit, m_preeditCaret, m_preeditCaretShown, m_preeditFormats};
}

QVariant TextBox::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const qsizetype line = m_lines.lineAt(m_position);
    const qint64 start = m_lines.lineStart(line);
    switch (query) {
    case Qt::ImCursorRectangle:
        // Within text being composed, at the input method's caret.
        return cursorRect(m_position);
    case Qt::ImCursorPosition:
        return int(m_position - start);
    case Qt::ImAnchorPosition:
        return int(std::clamp<qint64>(m_anchor - start, 0, m_lines.lineLength(line)));
    case Qt::ImSurroundingText:
        return m_lines.line(line);
    case Qt::ImCurrentSelection:
        return selectedText();
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}
