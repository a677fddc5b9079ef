#pragma once

#include <QByteArray>
#include <QRectF>

class QPainter;

// Plays the records of a placeable Windows metafile with a painter, so that the metafile's
// frame fills target: window origin and extent, pens, brushes and fonts, lines and shapes,
// text, pattern fills, device-independent bitmaps, saved states and clip rectangles. Records
// it does not know are skipped by their size; a record whose sizes, counts or indexes do not
// fit the bytes it has or the object table is skipped too. Playing never reads outside bytes.
namespace WmfPlayer {

void play(const QByteArray &bytes, QPainter &painter, const QRectF &target);

} // namespace WmfPlayer
