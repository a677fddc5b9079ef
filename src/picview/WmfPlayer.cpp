#include "picview/WmfPlayer.h"

#include "picview/WmfPlayback.h"

namespace WmfPlayer {

namespace {
constexpr qreal pixelsPerInch = 96;
}

QSizeF pixelSize(const Wmf::Header &header)
{
    return QSizeF(header.bounds.size()) * (pixelsPerInch / header.unitsPerInch);
}

std::optional<Wmf::Header> inspect(const QByteArray &bytes)
{
    std::optional<Wmf::Header> header = Wmf::readHeader(bytes);
    if (!header)
        return std::nullopt;
    if (header->bounds.isEmpty()) {
        // Played over the whole logical plane, in pixels at the picture's own size, what the
        // records draw is its frame.
        const qreal pixelsPerUnit = pixelsPerInch / header->unitsPerInch;
        const QRectF plane(-qreal(1 << 20), -qreal(1 << 20), qreal(1 << 21), qreal(1 << 21));
        const QRectF planePixels(plane.topLeft() * pixelsPerUnit, plane.size() * pixelsPerUnit);
        WmfPlayback measure(*header, plane, planePixels, nullptr);
        measure.run(bytes);
        const QRectF drawn = measure.drawnBounds();
        header->bounds = QRectF(drawn.topLeft() / pixelsPerUnit, drawn.size() / pixelsPerUnit).toAlignedRect();
        if (measure.spent() || header->bounds.isEmpty())
            return std::nullopt;
    }
    const QSizeF pixels = pixelSize(*header);
    WmfPlayback measure(*header, header->bounds, QRectF(0, 0, qMax(1.0, pixels.width()), qMax(1.0, pixels.height())),
                        nullptr);
    measure.run(bytes);
    if (measure.spent())
        return std::nullopt;
    return header;
}

void play(const QByteArray &bytes, const Wmf::Header &header, QPainter &painter, const QRectF &target)
{
    if (header.bounds.isEmpty() || header.unitsPerInch <= 0 || target.isEmpty() || !target.isValid())
        return;
    WmfPlayback playback(header, header.bounds, target, &painter);
    playback.run(bytes);
}

void play(const QByteArray &bytes, QPainter &painter, const QRectF &target)
{
    if (const std::optional<Wmf::Header> header = inspect(bytes))
        play(bytes, *header, painter, target);
}

} // namespace WmfPlayer
