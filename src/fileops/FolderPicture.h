#pragma once

#include <QRectF>
#include <QSizeF>

class QPainter;

// The folder dialogs' background drawing: two tabbed file folders, a blue one behind a green
// one, drawn as vectors so it scales to any target.
namespace FolderPicture {

// The size at which the drawing is shown unscaled, in pixels.
QSizeF naturalSize();
void paint(QPainter &painter, const QRectF &target);

} // namespace FolderPicture
