#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

// Where the viewer's Print puts the picture on the page, in twips from the printable area's
// top left corner: at the image's place in the viewer, at the picture's own size times the
// number in the zoom step's caption (divided by it for the "Size/" steps). Nothing for a
// caption off the ladder or an empty picture: then no page is printed.
namespace PrintLayout {

std::optional<QRectF> pageRect(const QString &caption, const QPointF &imageTopLeft, const QSizeF &pictureTwips);

QString noPrinterMessage();

} // namespace PrintLayout
