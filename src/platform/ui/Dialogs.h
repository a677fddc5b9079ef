#pragma once

#include <QColor>
#include <QString>

#include <optional>

class QPrinter;
class QWidget;

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Information, Critical, Exclamation, Question };
enum class MessageAnswer { Ok, Yes, No };

struct MessageRequest
{
    QString text; // shown as plain text: a file named "<b>x</b>.txt" shows those characters
    QString title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    // The button that Enter presses; the box's first button when none is named.
    std::optional<MessageAnswer> defaultButton = std::nullopt;
};

struct FileDialogRequest
{
    QString title;
    QString folder;
    QString fileName;
    QString filter; // Qt filter text, "Text (*.txt);;All files (*)"
    // The entry of filter shown first; "" for the first one.
    QString selectedFilter = QString();
    // An open dialog returns only the name of a file that exists.
    bool fileMustExist = true;
};

// The print dialog's choices that a caller turns off.
struct PrintDialogRequest
{
    bool selectionChoice = true; // the "Selection" print range is offered
    bool printToFile = true;     // the "Print to file" choice is shown
};

// Every modal box and common dialog goes through here, so that tests can answer them.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // The application's title, used by every message box that names no title of its own.
    static QString applicationTitle() { return QStringLiteral("Panoptra"); }

    virtual MessageAnswer message(const MessageRequest &request) = 0;
    // A message with only an OK button, no icon and the application's title.
    MessageAnswer message(const QString &text, MessageIcon icon = MessageIcon::None)
    {
        return message(MessageRequest{text, applicationTitle(), MessageButtons::Ok, icon});
    }

    // The colour dialog opened on initial; nothing when the user cancels.
    virtual std::optional<QColor> chooseColor(const QColor &initial) = 0;
    // A line of text; nothing when the user cancels.
    virtual std::optional<QString> inputText(const QString &prompt, const QString &title,
                                             const QString &initial) = 0;
    virtual std::optional<QString> openFileName(const FileDialogRequest &request) = 0;
    virtual std::optional<QString> saveFileName(const FileDialogRequest &request) = 0;
    // The print dialog on printer, which takes the user's choices; false when the user cancels.
    virtual bool printDialog(QPrinter &printer, const PrintDialogRequest &request) = 0;
};
