#pragma once

#include "picview/Picture.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

// The last drawing of a picture at one size, kept so that repaints show it again without
// drawing it anew: a metafile is played once per size, not once per paint. A drawing larger
// than maxPixels is made only of the part that can be seen, and made again when another part
// comes into view.
class PictureRender
{
public:
    static constexpr qint64 maxPixels = qint64(4096) * 4096;

    // The picture drawn into a target of size (its own coordinates from 0, 0), covering at
    // least visible of it; at is where the image's top left corner lies in the target.
    struct Drawing
    {
        QImage image;
        QPoint at;
    };

    const Drawing &draw(const Picture &picture, const QSize &size, const QRect &visible, qreal pixelRatio);
    void clear();

private:
    QSize m_size;
    QRect m_area;
    qreal m_pixelRatio = 0;
    Drawing m_drawing;
};
