#pragma once

#include "platform/ui/Dialogs.h"

class QtDialogs : public Dialogs
{
public:
    using Dialogs::message;
    MessageAnswer message(const MessageRequest &request) override;
    std::optional<QColor> chooseColor(const QColor &initial) override;
    std::optional<QString> inputText(const QString &prompt, const QString &title,
                                     const QString &initial) override;
    std::optional<QString> openFileName(const FileDialogRequest &request) override;
    std::optional<QString> saveFileName(const FileDialogRequest &request) override;
};
