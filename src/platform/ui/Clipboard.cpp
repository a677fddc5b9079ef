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

bool QtClipboard::supportsSelection()
{
    return QGuiApplication::clipboard()->supportsSelection();
}

QString QtClipboard::selectionText()
{
    if (!supportsSelection())
        return QString();
    const QMimeData *data = QGuiApplication::clipboard()->mimeData(QClipboard::Selection);
    if (!data || !data->hasText())
        return QString();
    return data->text();
}

void QtClipboard::setSelectionText(const QString &text)
{
    // Qt warns of data set on a mode the platform lacks.
    if (supportsSelection())
        QGuiApplication::clipboard()->setText(text, QClipboard::Selection);
}
