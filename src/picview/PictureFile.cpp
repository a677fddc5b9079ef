#include "picview/PictureFile.h"

#include "picview/WmfPlayer.h"
#include "platform/FileServices.h"

#include <QBuffer>
#include <QImageReader>

namespace PictureFile {

namespace {
// The formats the viewer reads, by the name Qt's readers give them, and the kind of each.
struct RasterFormat
{
    const char *name;
    Picture::Kind kind;
};
constexpr RasterFormat rasterFormats[] = {
    {"bmp", Picture::Kind::Bitmap}, {"gif", Picture::Kind::Bitmap}, {"jpeg", Picture::Kind::Bitmap},
    {"jpg", Picture::Kind::Bitmap}, {"ico", Picture::Kind::Icon},   {"cur", Picture::Kind::Icon},
};

std::optional<Picture::Kind> kindOf(const QByteArray &format)
{
    for (const RasterFormat &known : rasterFormats) {
        if (format == known.name)
            return known.kind;
    }
    return std::nullopt;
}

bool fitsLimits(const QSize &size)
{
    return size.width() > 0 && size.height() > 0 && size.width() <= maxSide && size.height() <= maxSide
        && qint64(size.width()) * size.height() * 4 <= maxDecodedBytes;
}
} // namespace

std::optional<Picture> decode(const QByteArray &bytes)
{
    if (const std::optional<Wmf::Header> header = WmfPlayer::inspect(bytes)) {
        const Picture picture = Picture::metafile(bytes, *header);
        const QSizeF pixels = picture.twipsSize() * (Picture::dotsPerInch / Picture::twipsPerInch);
        if (picture.isNull() || pixels.width() > maxSide || pixels.height() > maxSide)
            return std::nullopt;
        return picture;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return std::nullopt;
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const std::optional<Picture::Kind> kind = kindOf(reader.format());
    if (!kind)
        return std::nullopt;
    // A reader that cannot tell the size first is still held to the limit by Qt's own
    // allocation limit, set to ours; the decoded image is checked again below.
    if (reader.supportsOption(QImageIOHandler::Size) && !fitsLimits(reader.size()))
        return std::nullopt;
    QImageReader::setAllocationLimit(int(maxDecodedBytes >> 20));
    const QImage image = reader.read();
    if (image.isNull() || !fitsLimits(image.size()))
        return std::nullopt;
    return Picture::raster(*kind, image, bytes);
}

std::optional<Picture> load(FileServices &files, const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    const FileContents contents = files.readFile(path, maxFileBytes);
    if (contents.error != 0 || contents.tooLarge)
        return std::nullopt;
    return decode(contents.data);
}

} // namespace PictureFile
