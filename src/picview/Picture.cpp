#include "picview/Picture.h"

#include <QPainter>

Picture Picture::raster(Kind kind, const QImage &image, const QByteArray &bytes)
{
    Picture picture;
    if (image.isNull())
        return picture;
    picture.m_kind = kind;
    picture.m_image = image;
    picture.m_bytes = bytes;
    const double twipsPerPixel = twipsPerInch / dotsPerInch;
    picture.m_twips = QSizeF(image.width() * twipsPerPixel, image.height() * twipsPerPixel);
    return picture;
}

QSize Picture::himetricSize() const
{
    const double perTwip = himetricPerInch / twipsPerInch;
    return QSize(qRound(m_twips.width() * perTwip), qRound(m_twips.height() * perTwip));
}

void Picture::draw(QPainter &painter, const QRectF &target) const
{
    if (isNull() || target.isEmpty())
        return;
    painter.save();
    // Reduced pictures are smoothed; enlarged ones keep their pixels sharp.
    const bool reducing = target.width() < m_image.width() || target.height() < m_image.height();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, reducing);
    painter.drawImage(target, m_image);
    painter.restore();
}

QImage Picture::toImage() const
{
    return m_image;
}
