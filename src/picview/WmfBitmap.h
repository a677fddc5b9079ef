#pragma once

#include <QColor>
#include <QImage>

#include <optional>

// The bitmaps a metafile carries: device-independent bitmaps (the bitmap records and DIB pattern
// brushes) and the old monochrome bitmaps of pattern brushes.
namespace WmfBitmap {

struct DibHeader
{
    int width = 0;
    // Negative for a top-down bitmap.
    int height = 0;
    int bitCount = 0;

    qint64 pixels() const { return qint64(width) * qAbs(height); }
};

// What the device-independent bitmap at data declares, when it is within the limits on size.
std::optional<DibHeader> dibHeader(const char *data, qsizetype size);
// The device-independent bitmap at data (header, colours, bits); a null image when damaged.
QImage decodeDib(const char *data, qsizetype size);
// The one-bit device-independent bitmap at data as a monochrome image whose indexes are the
// bitmap's own (the image reader may swap them); a null image for another kind or when damaged.
QImage decodeMonochromeDib(const char *data, qsizetype size);
// width x height pixels of one bit, top row first, rowBytes to a row; a null image when the
// data is short or the size outside the limits.
QImage monochromeRows(const char *data, qsizetype size, int width, int height, int rowBytes);
// A monochrome pattern drawn in two colours: its pixels of index 0 in text, of index 1 in back.
QImage twoColoured(const QImage &monochrome, const QColor &text, const QColor &back);

} // namespace WmfBitmap
