#pragma once

#include <QDateTime>
#include <QString>

class Clipboard;
class Clock;
class TextBox;

// The Edit menu's commands on the editor's text box. Every change goes through the box, so it
// marks the text changed and can be undone; Copy and Select All change no text.
class EditCommands
{
public:
    EditCommands(TextBox &box, Clipboard &clipboard, Clock &clock);

    // The selection to the clipboard; with nothing selected the clipboard gets the empty text.
    void CopySelectedText();
    // Copy, then the selection removed.
    void CutSelectedText();
    // The selection (or the caret) replaced by the clipboard's text; with no text there the
    // selection is removed.
    void PasteClipboardText();
    // The selection, or the one character (a line break included) after the caret, removed;
    // nothing at the very end of the text.
    void deleteSelection();
    void selectAll();
    // The selection replaced by the clock's date and time.
    void insertTimeDate();

    // The selected text, line breaks as "\n".
    QString selectedText() const;

    // The short date, a blank and the long time, in the user's regional format; at midnight
    // only the date.
    static QString timeDateText(const QDateTime &when);

private:
    void replaceSelection(const QString &text);

    TextBox &m_box;
    Clipboard &m_clipboard;
    Clock &m_clock;
};
