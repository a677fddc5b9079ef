#pragma once

#include "picview/WmfReader.h"

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QSizeF>

class QPainter;

// A picture read from a file: its kind, what it draws, the file's own bytes and its size at
// 96 dots per inch, in twips (1/1440 inch) and in HIMETRIC (1/100 mm). A null picture is the
// empty picture.
class Picture
{
public:
    enum class Kind { None, Bitmap, Icon, Metafile };

    static constexpr double dotsPerInch = 96;
    static constexpr double twipsPerInch = 1440;
    static constexpr double himetricPerInch = 2540;

    Picture() = default;
    // A raster picture (bitmap or icon) of the decoded image and the bytes it came from.
    static Picture raster(Kind kind, const QImage &image, const QByteArray &bytes);
    // A metafile of the header that WmfPlayer::inspect gave for its bytes.
    static Picture metafile(const QByteArray &bytes, const Wmf::Header &header);

    bool isNull() const { return m_kind == Kind::None; }
    Kind kind() const { return m_kind; }
    const QByteArray &bytes() const { return m_bytes; }
    QSizeF twipsSize() const { return m_twips; }
    // Rounded to whole hundredths of a millimetre, as a picture object reports it.
    QSize himetricSize() const;

    // Draws the whole picture scaled into target (a metafile by playing its records, at the
    // painter's own resolution).
    void draw(QPainter &painter, const QRectF &target) const;
    // The picture drawn at its own size at 96 dots per inch, for the clipboard; a metafile on
    // white, and never more than maxImageSide pixels on a side.
    QImage toImage() const;

    static constexpr int maxImageSide = 16384;

private:
    Kind m_kind = Kind::None;
    QImage m_image;
    QByteArray m_bytes;
    Wmf::Header m_header;
    QSizeF m_twips;
};
