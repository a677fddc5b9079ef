#pragma once

#include "picview/WmfReader.h"

#include <QByteArray>
#include <QRectF>

#include <optional>

class QPainter;

// Windows metafiles, placeable or plain: checked once when read, then drawn with a painter so
// that the metafile's frame fills a target rectangle. See WmfPlayback for what is drawn.
namespace WmfPlayer {

// The header of a metafile the viewer can show: its records fit the file (Wmf::readHeader),
// its frame is set (a plain metafile without a window extent gets the bounds of what it
// draws), and drawing it at its own size stays within the work allowed (WmfWork). Nothing
// for any other bytes.
std::optional<Wmf::Header> inspect(const QByteArray &bytes);
// Plays a metafile that inspect accepted, its frame filling target.
void play(const QByteArray &bytes, const Wmf::Header &header, QPainter &painter, const QRectF &target);
// inspect, then play: any bytes at all, nothing drawn for those inspect refuses.
void play(const QByteArray &bytes, QPainter &painter, const QRectF &target);

// The size of the picture at its own size, in pixels at 96 to the inch.
QSizeF pixelSize(const Wmf::Header &header);

} // namespace WmfPlayer
