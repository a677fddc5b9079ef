#include "picview/PictureFile.h"

#include "picview/WmfPlayer.h"
#include "platform/PathCodec.h"

#include <QBuffer>
#include <QImageReader>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

std::optional<QByteArray> readFile(const QString &path, qint64 maxBytes)
{
    if (path.isEmpty())
        return std::nullopt;
    const int fd = ::open(PathCodec::encode(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    std::optional<QByteArray> result;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= maxBytes) {
        QByteArray bytes;
        bytes.reserve(qsizetype(info.st_size));
        char chunk[65536];
        bool failed = false;
        // The file may grow while it is read: the limit holds for what is read.
        while (!failed) {
            const ssize_t got = ::read(fd, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 || bytes.size() + got > maxBytes)
                failed = true;
            else if (got == 0)
                break;
            else
                bytes.append(chunk, got);
        }
        if (!failed)
            result = bytes;
    }
    ::close(fd);
    return result;
}

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

std::optional<Picture> load(const QString &path)
{
    const std::optional<QByteArray> bytes = readFile(path, maxFileBytes);
    if (!bytes)
        return std::nullopt;
    return decode(*bytes);
}

} // namespace PictureFile
