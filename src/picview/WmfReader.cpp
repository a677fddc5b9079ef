#include "picview/WmfReader.h"

#include "picview/WmfObjects.h"

quint8 WmfReader::u8()
{
    if (!has(1)) {
        m_failed = true;
        return 0;
    }
    return quint8(m_data[m_position++]);
}

quint16 WmfReader::u16()
{
    if (!has(2)) {
        m_failed = true;
        return 0;
    }
    const quint16 value = quint16(quint8(m_data[m_position]) | (quint8(m_data[m_position + 1]) << 8));
    m_position += 2;
    return value;
}

quint32 WmfReader::u32()
{
    const quint32 low = u16();
    const quint32 high = u16();
    return low | (high << 16);
}

QByteArray WmfReader::bytes(qsizetype count)
{
    if (!has(count)) {
        m_failed = true;
        return QByteArray();
    }
    const QByteArray result(m_data + m_position, count);
    m_position += count;
    return result;
}

void WmfReader::skip(qsizetype count)
{
    if (!has(count)) {
        m_failed = true;
        m_position = m_size;
        return;
    }
    m_position += count;
}

namespace Wmf {

namespace {

// The fixed map modes and their units: one unit a pixel (at 96 to the inch), 0.1 mm,
// 0.01 mm, 0.01 inch, 0.001 inch and the twip. The isotropic and anisotropic modes scale
// the window the records set.
struct FixedMapMode
{
    int mode;
    int unitsPerInch;
    bool yUp;
};
constexpr FixedMapMode fixedMapModes[] = {
    {1, 96, false}, {2, 254, true}, {3, 2540, true}, {4, 100, true}, {5, 1000, true}, {6, 1440, true},
};
// The mode a device context starts in, and the one a mode it does not know leaves it in.
constexpr int textMapMode = 1;
constexpr int isotropicMapMode = 7;
constexpr int anisotropicMapMode = 8;

const FixedMapMode *fixedMapMode(int mode)
{
    for (const FixedMapMode &fixed : fixedMapModes) {
        if (fixed.mode == mode)
            return &fixed;
    }
    return nullptr;
}

// The first window origin, window extent and map mode the records set, and how many objects
// they create.
struct FirstSettings
{
    std::optional<QPoint> origin;
    std::optional<QSize> extent;
    std::optional<int> mapMode;
    int objectsCreated = 0;
};

// Walks every record up to the end-of-file record; false when one does not fit the file or
// the end never comes.
bool walkRecords(WmfReader &reader, FirstSettings &first)
{
    for (int records = 0; records < maxRecords; ++records) {
        const quint32 words = reader.u32();
        const quint16 function = reader.u16();
        if (reader.failed() || words < 3 || !reader.has(qsizetype(words - 3) * 2))
            return false;
        if (function == EndOfFile)
            return true;
        WmfReader params(reader.here(), qsizetype(words - 3) * 2);
        first.objectsCreated += createsObject(function);
        if (function == SetMapMode && !first.mapMode) {
            const int mode = params.u16();
            if (!params.failed())
                first.mapMode = mode;
        } else if (function == SetWindowOrg || function == SetWindowExt) {
            const int y = params.i16();
            const int x = params.i16();
            if (!params.failed() && function == SetWindowOrg && !first.origin)
                first.origin = QPoint(x, y);
            if (!params.failed() && function == SetWindowExt && !first.extent && x != 0 && y != 0)
                first.extent = QSize(qAbs(x), qAbs(y));
        }
        reader.skip(qsizetype(words - 3) * 2);
    }
    return false;
}

} // namespace

std::optional<Header> readHeader(const QByteArray &bytes)
{
    WmfReader reader(bytes.constData(), bytes.size());
    Header header;
    const bool placeable = reader.u32() == placeableKey;
    int left = 0, top = 0, right = 0, bottom = 0;
    if (placeable) {
        reader.u16(); // handle
        left = reader.i16();
        top = reader.i16();
        right = reader.i16();
        bottom = reader.i16();
        header.unitsPerInch = reader.u16();
        reader.u32(); // reserved
        reader.u16(); // checksum, which many writers get wrong
        if (reader.failed() || header.unitsPerInch == 0 || right == left || bottom == top)
            return std::nullopt;
    } else {
        reader = WmfReader(bytes.constData(), bytes.size());
    }
    header.recordsOffset = reader.position() + metaHeaderBytes;
    const int type = reader.u16();
    const int headerWords = reader.u16();
    reader.u16(); // version
    reader.u32(); // size in words
    header.objectCount = reader.u16();
    reader.u32(); // largest record
    reader.u16(); // unused
    if (reader.failed() || (type != 1 && type != 2) || headerWords != 9)
        return std::nullopt;

    FirstSettings first;
    if (!walkRecords(reader, first))
        return std::nullopt;
    header.objectCount = qMin(header.objectCount, first.objectsCreated);
    if (placeable) {
        header.bounds = QRect(qMin(left, right), qMin(top, bottom), qAbs(right - left), qAbs(bottom - top));
        return header;
    }
    const int mapMode = first.mapMode.value_or(textMapMode);
    if (mapMode == isotropicMapMode || mapMode == anisotropicMapMode) {
        header.unitsPerInch = scalableUnitsPerInch;
        if (first.extent)
            header.bounds = QRect(first.origin.value_or(QPoint()), *first.extent);
        else
            header.mapping = Mapping::FixedUnits;
        return header;
    }
    const FixedMapMode *fixed = fixedMapMode(mapMode);
    if (!fixed)
        fixed = fixedMapMode(textMapMode);
    header.mapping = Mapping::FixedUnits;
    header.unitsPerInch = fixed->unitsPerInch;
    header.yUp = fixed->yUp;
    // Counted from the window origin: the extent is the frame's size.
    if (first.extent)
        header.bounds = QRect(QPoint(), *first.extent);
    return header;
}

} // namespace Wmf
