#pragma once

#include "platform/ui/Dialogs.h"

#include <QFileDialog>

#include <memory>

class QMessageBox;

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
    bool printDialog(QPrinter &printer, const PrintDialogRequest &request) override;

    // The box message() shows, built but not yet shown. Its text is plain text, whatever
    // characters it holds.
    static std::unique_ptr<QMessageBox> messageBox(const MessageRequest &request, QWidget *parent = nullptr);
    // The dialog openFileName() (AcceptOpen) or saveFileName() (AcceptSave) shows, built but not
    // yet shown. Its file types show their captions alone.
    static std::unique_ptr<QFileDialog> fileDialog(const FileDialogRequest &request, QFileDialog::AcceptMode mode,
                                                   QWidget *parent = nullptr);
};
