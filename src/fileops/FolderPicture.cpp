#include "fileops/FolderPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace FolderPicture {

namespace {
// The drawing's own coordinates: a 100 x 80 box.
constexpr qreal DrawingWidth = 100;
constexpr qreal DrawingHeight = 80;

QPainterPath folderShape(const QRectF &body, qreal tabWidth, qreal tabHeight)
{
    QPainterPath tab;
    tab.addRoundedRect(QRectF(body.left(), body.top() - tabHeight, tabWidth, tabHeight + 4), 3, 3);
    QPainterPath shape;
    shape.addRoundedRect(body, 4, 4);
    return shape.united(tab);
}

void drawFolder(QPainter &painter, const QRectF &body, const QColor &light, const QColor &dark)
{
    QLinearGradient fill(body.topLeft(), body.bottomRight());
    fill.setColorAt(0, light);
    fill.setColorAt(1, dark);
    painter.setBrush(fill);
    painter.setPen(QPen(dark.darker(150), 1.5));
    painter.drawPath(folderShape(body, body.width() * 0.4, 9));
    // The fold line across the folder's front.
    painter.setPen(QPen(light.lighter(130), 1.2));
    painter.drawLine(QPointF(body.left() + 4, body.top() + 8), QPointF(body.right() - 4, body.top() + 8));
}
} // namespace

QSizeF naturalSize()
{
    return QSizeF(DrawingWidth * 0.72, DrawingHeight * 0.72);
}

void paint(QPainter &painter, const QRectF &target)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(target.topLeft());
    painter.scale(target.width() / DrawingWidth, target.height() / DrawingHeight);
    drawFolder(painter, QRectF(32, 14, 62, 44), QColor(110, 150, 255), QColor(20, 50, 190));
    drawFolder(painter, QRectF(6, 32, 66, 44), QColor(120, 230, 120), QColor(0, 140, 30));
    painter.restore();
}

} // namespace FolderPicture
