#pragma once

#include "platform/ui/Dialogs.h"

#include <QList>
#include <QStringList>

#include <deque>
#include <variant>

// Answers prompts from a script and records every request. A prompt that nobody scripted
// fails the running test and is answered with the box's first button or a cancel.
class ScriptedDialogs : public Dialogs
{
public:
    using Dialogs::message;

    void answerMessage(MessageAnswer answer) { m_script.emplace_back(answer); }
    void answerColor(std::optional<QColor> color) { m_script.emplace_back(color); }
    void answerText(std::optional<QString> text) { m_script.emplace_back(TextAnswer{text}); }
    // The print dialog: true prints, false cancels.
    void answerPrint(bool print) { m_script.emplace_back(PrintAnswer{print}); }
    // Answers every message box with OK (or Yes) without scripting each one.
    void acceptAllMessages(bool accept = true) { m_acceptAllMessages = accept; }

    MessageAnswer message(const MessageRequest &request) override;
    std::optional<QColor> chooseColor(const QColor &initial) override;
    std::optional<QString> inputText(const QString &prompt, const QString &title,
                                     const QString &initial) override;
    std::optional<QString> openFileName(const FileDialogRequest &request) override;
    std::optional<QString> saveFileName(const FileDialogRequest &request) override;
    bool printDialog(QPrinter &printer, const PrintDialogRequest &request) override;

    const QList<MessageRequest> &messages() const { return m_messages; }
    QStringList messageTexts() const;
    const QList<QColor> &colorRequests() const { return m_colorRequests; }
    const QStringList &inputPrompts() const { return m_inputPrompts; }
    const QList<FileDialogRequest> &fileRequests() const { return m_fileRequests; }
    const QList<PrintDialogRequest> &printRequests() const { return m_printRequests; }
    bool scriptIsEmpty() const { return m_script.empty(); }
    void clear();

private:
    struct TextAnswer { std::optional<QString> text; };
    struct PrintAnswer { bool print; };
    using Answer = std::variant<MessageAnswer, std::optional<QColor>, TextAnswer, PrintAnswer>;
    template <typename T> bool take(T &out, const char *what);

    std::deque<Answer> m_script;
    bool m_acceptAllMessages = false;
    QList<MessageRequest> m_messages;
    QList<QColor> m_colorRequests;
    QStringList m_inputPrompts;
    QList<FileDialogRequest> m_fileRequests;
    QList<PrintDialogRequest> m_printRequests;
};
