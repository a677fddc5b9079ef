#include "platform/ui/QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>

namespace {
QMessageBox::Icon toIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

std::optional<QString> chosenFile(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

QString filePath(const FileDialogRequest &request)
{
    if (request.fileName.isEmpty())
        return request.folder;
    return request.folder.isEmpty() ? request.fileName : request.folder + QLatin1Char('/') + request.fileName;
}
} // namespace

std::unique_ptr<QMessageBox> QtDialogs::messageBox(const MessageRequest &request, QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(toIcon(request.icon), request.title, QString(),
                                             request.buttons == MessageButtons::YesNo
                                                 ? QMessageBox::Yes | QMessageBox::No
                                                 : QMessageBox::Ok,
                                             parent);
    // Messages name files and quote what the user typed: "<b>x</b>.txt" is a name, not markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(request.text);
    if (request.defaultButton == MessageAnswer::No)
        box->setDefaultButton(QMessageBox::No);
    else if (request.defaultButton == MessageAnswer::Yes)
        box->setDefaultButton(QMessageBox::Yes);
    return box;
}

MessageAnswer QtDialogs::message(const MessageRequest &request)
{
    const std::unique_ptr<QMessageBox> box = messageBox(request, QApplication::activeWindow());
    const int answer = box->exec();
    if (request.buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

std::optional<QColor> QtDialogs::chooseColor(const QColor &initial)
{
    QColorDialog dialog(initial, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

std::optional<QString> QtDialogs::inputText(const QString &prompt, const QString &title, const QString &initial)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    for (QLabel *label : dialog.findChildren<QLabel *>())
        label->setTextFormat(Qt::PlainText);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

std::unique_ptr<QFileDialog> QtDialogs::fileDialog(const FileDialogRequest &request, QFileDialog::AcceptMode mode,
                                                   QWidget *parent)
{
    auto dialog = std::make_unique<QFileDialog>(parent, request.title, filePath(request), request.filter);
    // Each file type shows its caption as it stands, without the patterns Qt would append.
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setAcceptMode(mode);
    const bool existing = mode == QFileDialog::AcceptOpen && request.fileMustExist;
    dialog->setFileMode(existing ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!request.selectedFilter.isEmpty())
        dialog->selectNameFilter(request.selectedFilter);
    return dialog;
}

std::optional<QString> QtDialogs::openFileName(const FileDialogRequest &request)
{
    return chosenFile(*fileDialog(request, QFileDialog::AcceptOpen, QApplication::activeWindow()));
}

std::optional<QString> QtDialogs::saveFileName(const FileDialogRequest &request)
{
    return chosenFile(*fileDialog(request, QFileDialog::AcceptSave, QApplication::activeWindow()));
}

bool QtDialogs::printDialog(QPrinter &printer, const PrintDialogRequest &request)
{
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setOption(QAbstractPrintDialog::PrintSelection, request.selectionChoice);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, request.printToFile);
    return dialog.exec() == QDialog::Accepted;
}
