#include "picview/PrintLayout.h"

#include "picview/ZoomLadder.h"

namespace PrintLayout {

std::optional<QRectF> pageRect(const QString &caption, const QPointF &imageTopLeft, const QSizeF &pictureTwips)
{
    const std::optional<ZoomStep> step = ZoomLadder::step(caption);
    if (!step || pictureTwips.isEmpty())
        return std::nullopt;
    const double factor = step->printFactor();
    return QRectF(imageTopLeft, QSizeF(pictureTwips.width() * factor, pictureTwips.height() * factor));
}

QString noPrinterMessage()
{
    return QStringLiteral("No printer is available.");
}

} // namespace PrintLayout
