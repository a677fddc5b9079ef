#include "support/ScriptedDialogs.h"

#include <QTest>

template <typename T>
bool ScriptedDialogs::take(T &out, const char *what)
{
    if (!m_script.empty() && std::holds_alternative<T>(m_script.front())) {
        out = std::get<T>(m_script.front());
        m_script.pop_front();
        return true;
    }
    QTest::qFail(QByteArray("unscripted prompt: ").append(what).constData(), __FILE__, __LINE__);
    return false;
}

MessageAnswer ScriptedDialogs::message(const MessageRequest &request)
{
    m_messages.append(request);
    const MessageAnswer first = request.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    if (m_acceptAllMessages && (m_script.empty() || !std::holds_alternative<MessageAnswer>(m_script.front())))
        return first;
    MessageAnswer answer = first;
    if (!take(answer, qPrintable(QStringLiteral("message \"%1\"").arg(request.text))))
        return first;
    return answer;
}

std::optional<QColor> ScriptedDialogs::chooseColor(const QColor &initial)
{
    m_colorRequests.append(initial);
    std::optional<QColor> answer;
    take(answer, "colour dialog");
    return answer;
}

std::optional<QString> ScriptedDialogs::inputText(const QString &prompt, const QString &, const QString &)
{
    m_inputPrompts.append(prompt);
    TextAnswer answer;
    take(answer, qPrintable(QStringLiteral("input \"%1\"").arg(prompt)));
    return answer.text;
}

std::optional<QString> ScriptedDialogs::openFileName(const FileDialogRequest &request)
{
    m_fileRequests.append(request);
    TextAnswer answer;
    take(answer, "open dialog");
    return answer.text;
}

std::optional<QString> ScriptedDialogs::saveFileName(const FileDialogRequest &request)
{
    m_fileRequests.append(request);
    TextAnswer answer;
    take(answer, "save dialog");
    return answer.text;
}

bool ScriptedDialogs::printDialog(QPrinter &, const PrintDialogRequest &request)
{
    m_printRequests.append(request);
    PrintAnswer answer{false};
    take(answer, "print dialog");
    return answer.print;
}

QStringList ScriptedDialogs::messageTexts() const
{
    QStringList texts;
    for (const MessageRequest &request : m_messages)
        texts << request.text;
    return texts;
}

void ScriptedDialogs::clear()
{
    m_script.clear();
    m_messages.clear();
    m_colorRequests.clear();
    m_inputPrompts.clear();
    m_fileRequests.clear();
    m_printRequests.clear();
}
