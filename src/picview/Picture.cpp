#include "picview/Picture.h"

#include "picview/WmfPlayer.h"

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

Picture Picture::metafile(const QByteArray &bytes, const Wmf::Header &header)
{
    Picture picture;
    const QSize frameUnits = header.bounds.size();
    if (frameUnits.isEmpty() || header.unitsPerInch <= 0)
        return picture;
    picture.m_kind = Kind::Metafile;
    picture.m_bytes = bytes;
    picture.m_header = header;
    picture.m_twips = QSizeF(frameUnits.width() * twipsPerInch / header.unitsPerInch,
                             frameUnits.height() * twipsPerInch / header.unitsPerInch);
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
    if (m_kind == Kind::Metafile) {
        WmfPlayer::play(m_bytes, m_header, painter, target);
        return;
    }
    painter.save();
    // Reduced pictures are smoothed; enlarged ones keep their pixels sharp.
    const bool reducing = target.width() < m_image.width() || target.height() < m_image.height();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, reducing);
    painter.drawImage(target, m_image);
    painter.restore();
}

QImage Picture::toImage() const
{
    if (m_kind != Kind::Metafile)
        return m_image;
    const double pixelsPerTwip = dotsPerInch / twipsPerInch;
    QSizeF size(m_twips.width() * pixelsPerTwip, m_twips.height() * pixelsPerTwip);
    if (size.width() > maxImageSide || size.height() > maxImageSide)
        size.scale(maxImageSide, maxImageSide, Qt::KeepAspectRatio);
    QImage image(qMax(1, qRound(size.width())), qMax(1, qRound(size.height())), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    draw(painter, QRectF(image.rect()));
    return image;
}
