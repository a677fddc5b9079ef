#include "platform/ui/QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

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

QString filePath(const FileDialogRequest &request)
{
    if (request.fileName.isEmpty())
        return request.folder;
    return request.folder.isEmpty() ? request.fileName : request.folder + QLatin1Char('/') + request.fileName;
}
} // namespace

MessageAnswer QtDialogs::message(const MessageRequest &request)
{
    QMessageBox box(toIcon(request.icon), request.title, request.text,
                    request.buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No
                                                             : QMessageBox::Ok,
                    QApplication::activeWindow());
    if (request.defaultButton == MessageAnswer::No)
        box.setDefaultButton(QMessageBox::No);
    else if (request.defaultButton == MessageAnswer::Yes)
        box.setDefaultButton(QMessageBox::Yes);
    const int answer = box.exec();
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
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                               QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> QtDialogs::openFileName(const FileDialogRequest &request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, filePath(request), request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!request.selectedFilter.isEmpty())
        dialog.selectNameFilter(request.selectedFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtDialogs::saveFileName(const FileDialogRequest &request)
{
    QString selected = request.selectedFilter;
    const QString path = QFileDialog::getSaveFileName(QApplication::activeWindow(), request.title,
                                                      filePath(request), request.filter, &selected);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}
