#include "picview/WmfBitmap.h"

#include "picview/WmfReader.h"

#include <climits>
#include <cstring>

namespace WmfBitmap {

namespace {
struct DibLayout
{
    DibHeader header;
    quint32 headerSize = 0;
    quint32 compression = 0;
    // Where the bits start, counted from the start of the bitmap.
    qint64 bitsOffset = 0;
};

std::optional<DibLayout> dibLayout(const char *data, qsizetype size)
{
    WmfReader reader(data, size);
    DibLayout layout;
    layout.headerSize = reader.u32();
    quint32 colorsUsed = 0;
    DibHeader &header = layout.header;
    if (layout.headerSize == 12) {
        header.width = reader.u16();
        header.height = reader.u16();
        reader.u16();
        header.bitCount = reader.u16();
    } else if (layout.headerSize >= 40) {
        header.width = qint32(reader.u32());
        header.height = qint32(reader.u32());
        reader.u16();
        header.bitCount = reader.u16();
        layout.compression = reader.u32();
        reader.skip(12);
        colorsUsed = reader.u32();
    }
    const int absHeight = header.height == INT_MIN ? 0 : qAbs(header.height);
    if (reader.failed() || header.width <= 0 || absHeight == 0 || header.width > Wmf::maxBitmapSide
        || absHeight > Wmf::maxBitmapSide || header.pixels() > Wmf::maxBitmapPixels || header.bitCount <= 0
        || header.bitCount > 32 || colorsUsed > 256)
        return std::nullopt;
    const qint64 colors = colorsUsed ? colorsUsed : (header.bitCount <= 8 ? (1 << header.bitCount) : 0);
    layout.bitsOffset = qint64(layout.headerSize) + colors * (layout.headerSize == 12 ? 3 : 4);
    if (layout.headerSize == 40 && layout.compression == 3)
        layout.bitsOffset += 12;
    if (layout.bitsOffset > size)
        return std::nullopt;
    return layout;
}
} // namespace

std::optional<DibHeader> dibHeader(const char *data, qsizetype size)
{
    if (const std::optional<DibLayout> layout = dibLayout(data, size))
        return layout->header;
    return std::nullopt;
}

QImage decodeDib(const char *data, qsizetype size)
{
    const std::optional<DibLayout> layout = dibLayout(data, size);
    if (!layout)
        return QImage();
    // With a file header in front, the bitmap is a BMP file for the image reader.
    QByteArray file("BM");
    const quint32 fileSize = quint32(14 + size);
    for (quint32 value : {fileSize, quint32(0), quint32(14 + layout->bitsOffset)}) {
        for (int shift = 0; shift < 32; shift += 8)
            file.append(char((value >> shift) & 0xff));
    }
    file.append(data, size);
    return QImage::fromData(file, "BMP");
}

QImage decodeMonochromeDib(const char *data, qsizetype size)
{
    const std::optional<DibLayout> layout = dibLayout(data, size);
    if (!layout || layout->header.bitCount != 1 || layout->compression != 0)
        return QImage();
    const DibHeader &header = layout->header;
    const int rowBytes = ((header.width + 31) / 32) * 4;
    const QImage rows = monochromeRows(data + layout->bitsOffset, size - layout->bitsOffset, header.width,
                                       qAbs(header.height), rowBytes);
    // A positive height counts rows from the bottom.
    return header.height > 0 ? rows.mirrored(false, true) : rows;
}

QImage monochromeRows(const char *data, qsizetype size, int width, int height, int rowBytes)
{
    if (width <= 0 || height <= 0 || width > Wmf::maxBitmapSide || height > Wmf::maxBitmapSide
        || rowBytes < (width + 7) / 8 || qint64(rowBytes) * height > size)
        return QImage();
    QImage image(width, height, QImage::Format_Mono);
    if (image.isNull())
        return image;
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), data + qsizetype(y) * rowBytes, size_t((width + 7) / 8));
    return image;
}

QImage twoColoured(const QImage &monochrome, const QColor &text, const QColor &back)
{
    // The indexes stay as the bitmap gave them; only the colours they stand for change.
    const QImage::Format format = monochrome.format();
    if (format != QImage::Format_Mono && format != QImage::Format_MonoLSB && format != QImage::Format_Indexed8)
        return QImage();
    QImage image = monochrome;
    image.setColorTable({text.rgb(), back.rgb()});
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace WmfBitmap
