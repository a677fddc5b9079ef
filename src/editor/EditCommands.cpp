#include "editor/EditCommands.h"

#include "textbox/ui/TextBox.h"
#include "textbox/TextCodec.h"
#include "platform/Clock.h"
#include "platform/ui/Clipboard.h"

#include <QLocale>
#include <QRegularExpression>

EditCommands::EditCommands(TextBox &box, Clipboard &clipboard, Clock &clock)
    : m_box(box), m_clipboard(clipboard), m_clock(clock)
{
}

QString EditCommands::selectedText() const
{
    return m_box.selectedText();
}

void EditCommands::CopySelectedText()
{
    m_clipboard.setText(selectedText());
}

void EditCommands::CutSelectedText()
{
    CopySelectedText();
    if (m_box.hasSelection())
        replaceSelection(QString());
}

void EditCommands::PasteClipboardText()
{
    replaceSelection(TextCodec::withPlainLineBreaks(m_clipboard.text()));
}

void EditCommands::deleteSelection()
{
    m_box.deleteForward();
}

void EditCommands::selectAll()
{
    m_box.selectAll();
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
    if (!m_box.hasSelection() && text.isEmpty())
        return;
    m_box.insertText(text);
}
