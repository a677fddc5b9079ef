#include "editor/EditCommands.h"

#include "editor/TextCodec.h"
#include "platform/Clock.h"
#include "platform/ui/Clipboard.h"

#include <QLocale>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// The text between the selection's ends, with the box's paragraph marks as "\n" (selectedText
// would give U+2029 instead).
QString selectionText(const QTextCursor &cursor)
{
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

} // namespace

EditCommands::EditCommands(QPlainTextEdit &box, Clipboard &clipboard, Clock &clock)
    : m_box(box), m_clipboard(clipboard), m_clock(clock)
{
}

QString EditCommands::selectedText() const
{
    return selectionText(m_box.textCursor());
}

void EditCommands::CopySelectedText()
{
    m_clipboard.setText(selectedText());
}

void EditCommands::CutSelectedText()
{
    CopySelectedText();
    if (m_box.textCursor().hasSelection())
        replaceSelection(QString());
}

void EditCommands::PasteClipboardText()
{
    replaceSelection(TextCodec::withPlainLineBreaks(m_clipboard.text()));
}

void EditCommands::deleteSelection()
{
    QTextCursor cursor = m_box.textCursor();
    // A line break is one character in the box, so it goes as one, whatever the file's ends.
    if (cursor.selectionStart() >= m_box.document()->characterCount() - 1)
        return;
    if (!cursor.hasSelection()) {
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        m_box.setTextCursor(cursor);
    }
    replaceSelection(QString());
}

void EditCommands::selectAll()
{
    QTextCursor cursor = m_box.textCursor();
    cursor.setPosition(0);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    m_box.setTextCursor(cursor);
}

void EditCommands::insertTimeDate()
{
    replaceSelection(timeDateText(m_clock.now()));
}

QString EditCommands::timeDateText(const QDateTime &when)
{
    const QLocale locale;
    const QString date = locale.toString(when.date(), QLocale::ShortFormat);
    if (when.time() == QTime(0, 0))
        return date;
    // The long time without the time zone that some locales add to it.
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b\\s*")));
    return date + QLatin1Char(' ') + locale.toString(when.time(), format.trimmed());
}

void EditCommands::replaceSelection(const QString &text)
{
    QTextCursor cursor = m_box.textCursor();
    if (!cursor.hasSelection() && text.isEmpty())
        return;
    cursor.insertText(text);
    m_box.setTextCursor(cursor);
}
