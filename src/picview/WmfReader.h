#pragma once

#include <QByteArray>
#include <QRect>

#include <optional>

// Bounds-checked little-endian reading of a Windows metafile: every read that would pass the
// end of its span gives 0 and marks the reader as failed, so a damaged record never reads
// outside the file.
class WmfReader
{
public:
    WmfReader(const char *data, qsizetype size) : m_data(data), m_size(size) {}

    bool failed() const { return m_failed; }
    qsizetype position() const { return m_position; }
    qsizetype remaining() const { return m_size - m_position; }
    bool has(qsizetype bytes) const { return bytes >= 0 && bytes <= remaining(); }

    quint8 u8();
    quint16 u16();
    qint16 i16() { return qint16(u16()); }
    quint32 u32();
    // The next count bytes (fewer only when the reader failed).
    QByteArray bytes(qsizetype count);
    void skip(qsizetype count);
    // The rest of the span from here.
    const char *here() const { return m_data + m_position; }

private:
    const char *m_data;
    qsizetype m_size;
    qsizetype m_position = 0;
    bool m_failed = false;
};

// The layout of a metafile and the facts the viewer needs of it.
namespace Wmf {

constexpr quint32 placeableKey = 0x9AC6CDD7;
constexpr int placeableHeaderBytes = 22;
constexpr int metaHeaderBytes = 18;
// Limits on what a metafile may ask for.
constexpr int maxRecords = 200000;
constexpr int maxBitmapSide = 16384;
constexpr qint64 maxBitmapPixels = qint64(16) << 20;
// A plain metafile in a scalable map mode (isotropic or anisotropic) states no unit: its
// window is taken in twips. Without a map mode it is in the default one, a unit a pixel.
constexpr int scalableUnitsPerInch = 1440;

enum Function : quint16 {
    EndOfFile = 0x0000, SetMapMode = 0x0103, SetWindowOrg = 0x020B, SetWindowExt = 0x020C,
};

// How the records' logical units reach the picture's frame.
enum class Mapping {
    // The window the records set (origin and extent) is stretched over the frame: a
    // placeable metafile, or a plain one that sets a window extent in a scalable map mode.
    WindowToFrame,
    // One logical unit is one frame unit counted from the window origin, whatever extent the
    // records set; y runs up when yUp (the fixed map modes other than one unit a pixel).
    FixedUnits,
};

struct Header
{
    // The picture's frame in frame units, and how many of them make an inch. Empty for a plain
    // metafile that sets no window extent: the bounds of what it draws are its frame.
    QRect bounds;
    int unitsPerInch = 0;
    // The slots of the object table: as many as the header says, but never more than the
    // records create (which fills the table no sooner).
    int objectCount = 0;
    // Where the first record starts.
    qsizetype recordsOffset = 0;
    Mapping mapping = Mapping::WindowToFrame;
    bool yUp = false;
};

// The header of a metafile, placeable (with its 22-byte header) or plain (the standard header
// first), whose records all lie inside bytes and end with the end-of-file record; nothing for
// any other data. What the records draw is not looked at (WmfPlayer::inspect does that).
std::optional<Header> readHeader(const QByteArray &bytes);

} // namespace Wmf
