#include "web/SitePictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace SitePictures {

namespace {

// Runs draw in the drawing's own coordinates (size), scaled onto target.
template <typename Draw>
void paintScaled(QPainter &painter, const QRectF &target, const QSizeF &size, Draw draw)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(target.topLeft());
    painter.scale(target.width() / size.width(), target.height() / size.height());
    draw();
    painter.restore();
}

QPainterPath star(const QPointF &centre, qreal radius)
{
    QPainterPath path;
    for (int point = 0; point < 10; ++point) {
        const qreal r = point % 2 == 0 ? radius : radius * 0.45;
        const qreal angle = -M_PI / 2 + point * M_PI / 5;
        const QPointF corner = centre + QPointF(r * qCos(angle), r * qSin(angle));
        if (point == 0)
            path.moveTo(corner);
        else
            path.lineTo(corner);
    }
    path.closeSubpath();
    return path;
}

} // namespace

QSizeF keywordSize()
{
    return QSizeF(369, 251);
}

void paintKeyword(QPainter &painter, const QRectF &target)
{
    paintScaled(painter, target, keywordSize(), [&painter] {
        QLinearGradient sky(0, 0, 0, 251);
        sky.setColorAt(0, QColor(232, 244, 255));
        sky.setColorAt(1, QColor(150, 196, 240));
        painter.fillRect(QRectF(0, 0, 369, 251), sky);

        // The globe, with a meridian, its outline and the equator.
        const QRectF globe(120, 60, 120, 120);
        QRadialGradient sea(globe.center() - QPointF(20, 20), 80);
        sea.setColorAt(0, QColor(120, 190, 255));
        sea.setColorAt(1, QColor(20, 80, 170));
        painter.setBrush(sea);
        painter.setPen(QPen(QColor(15, 55, 120), 2));
        painter.drawEllipse(globe);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(220, 240, 255, 170), 1.5));
        painter.drawEllipse(globe.adjusted(30, 0, -30, 0));
        painter.drawLine(QPointF(globe.center().x(), globe.top()), QPointF(globe.center().x(), globe.bottom()));
        painter.drawLine(QPointF(globe.left(), globe.center().y()), QPointF(globe.right(), globe.center().y()));

        // The magnifying glass over the globe's lower right.
        const QRectF lens(190, 120, 70, 70);
        painter.setPen(QPen(QColor(70, 70, 80), 7, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(lens.center() + QPointF(25, 25), lens.center() + QPointF(62, 62));
        painter.setPen(QPen(QColor(90, 90, 100), 5));
        painter.setBrush(QColor(255, 255, 255, 70));
        painter.drawEllipse(lens);
    });
}

QSizeF newsSize()
{
    return QSizeF(290, 216);
}

void paintNews(QPainter &painter, const QRectF &target)
{
    paintScaled(painter, target, newsSize(), [&painter] {
        const QColor red(200, 20, 40);
        const QColor blue(20, 40, 140);
        painter.fillRect(QRectF(0, 0, 290, 216), blue);
        painter.fillRect(QRectF(10, 10, 270, 196), red);
        painter.fillRect(QRectF(22, 22, 246, 172), blue);
        painter.fillRect(QRectF(34, 34, 222, 148), Qt::white);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        for (int i = 0; i < 8; ++i) {
            painter.drawPath(star(QPointF(35 + i * 31, 16), 5));
            painter.drawPath(star(QPointF(35 + i * 31, 200), 5));
        }
    });
}

QSizeF auctionSize()
{
    return QSizeF(120, 90);
}

void paintAuction(QPainter &painter, const QRectF &target)
{
    paintScaled(painter, target, auctionSize(), [&painter] {
        const QColor wood(150, 90, 40);
        painter.setPen(QPen(wood.darker(160), 1.5));
        painter.setBrush(wood);
        painter.drawRoundedRect(QRectF(20, 70, 60, 12), 3, 3);
        painter.save();
        painter.translate(60, 40);
        painter.rotate(-35);
        painter.drawRoundedRect(QRectF(-4, -2, 60, 8), 3, 3); // the handle
        painter.setBrush(wood.lighter(120));
        painter.drawRoundedRect(QRectF(-22, -14, 22, 32), 5, 5); // the head
        painter.restore();
    });
}

QSizeF startSize()
{
    return QSizeF(427, 285);
}

void paintStart(QPainter &painter, const QRectF &target)
{
    paintScaled(painter, target, startSize(), [&painter] {
        QLinearGradient sky(0, 0, 0, 285);
        sky.setColorAt(0, QColor(255, 255, 255));
        sky.setColorAt(1, QColor(190, 215, 245));
        painter.fillRect(QRectF(0, 0, 427, 285), sky);
        // The screen.
        painter.setPen(QPen(QColor(60, 60, 70), 3));
        painter.setBrush(QColor(40, 90, 160));
        painter.drawRoundedRect(QRectF(40, 70, 130, 95), 6, 6);
        painter.drawLine(QPointF(105, 165), QPointF(105, 185));
        painter.drawLine(QPointF(75, 188), QPointF(135, 188));
        // The globe, and the link between them.
        painter.setBrush(QColor(70, 150, 230));
        painter.drawEllipse(QRectF(270, 60, 110, 110));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(300, 60, 50, 110));
        painter.drawLine(QPointF(270, 115), QPointF(380, 115));
        painter.setPen(QPen(QColor(230, 140, 20), 4, Qt::DashLine));
        painter.drawLine(QPointF(175, 115), QPointF(265, 115));
    });
}

} // namespace SitePictures
