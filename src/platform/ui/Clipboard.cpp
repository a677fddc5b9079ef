#include "platform/ui/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

void QtClipboard::clear()
{
    QGuiApplication::clipboard()->clear();
}

QString QtClipboard::text()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText())
        return QString();
    return data->text();
}

void QtClipboard::setText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

QImage QtClipboard::image()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasImage())
        return QImage();
    return QGuiApplication::clipboard()->image();
}

void QtClipboard::setImage(const QImage &image)
{
    QGuiApplication::clipboard()->setImage(image);
}
