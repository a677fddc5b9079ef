#include "picview/PictureRender.h"

#include <QPainter>

const PictureRender::Drawing &PictureRender::draw(const Picture &picture, const QSize &size, const QRect &visible,
                                                  qreal pixelRatio)
{
    const QRect whole(QPoint(0, 0), size);
    const bool fits = qint64(size.width()) * size.height() * pixelRatio * pixelRatio <= maxPixels;
    const QRect area = fits ? whole : visible.intersected(whole);
    const bool kept = size == m_size && pixelRatio == m_pixelRatio && !m_drawing.image.isNull()
        && m_area.contains(area);
    if (kept || area.isEmpty())
        return m_drawing;

    m_size = size;
    m_pixelRatio = pixelRatio;
    m_area = area;
    m_drawing = Drawing();
    QImage image(area.size() * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return m_drawing;
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.translate(-area.topLeft());
    picture.draw(painter, QRectF(whole));
    painter.end();
    m_drawing = Drawing{image, area.topLeft()};
    return m_drawing;
}

void PictureRender::clear()
{
    m_size = QSize();
    m_area = QRect();
    m_drawing = Drawing();
}
