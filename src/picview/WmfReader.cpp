#include "picview/WmfReader.h"

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

std::optional<Header> readHeader(const QByteArray &bytes)
{
    WmfReader reader(bytes.constData(), bytes.size());
    if (reader.u32() != placeableKey)
        return std::nullopt;
    reader.u16(); // handle
    const int left = reader.i16();
    const int top = reader.i16();
    const int right = reader.i16();
    const int bottom = reader.i16();
    const int inch = reader.u16();
    reader.u32(); // reserved
    reader.u16(); // checksum, which many writers get wrong
    const int type = reader.u16();
    const int headerWords = reader.u16();
    reader.u16(); // version
    reader.u32(); // size in words
    const int objects = reader.u16();
    reader.u32(); // largest record
    reader.u16(); // unused
    if (reader.failed() || inch == 0 || right == left || bottom == top || (type != 1 && type != 2)
        || headerWords != 9)
        return std::nullopt;

    // Every record inside the file, up to the end-of-file record.
    for (int records = 0; records < maxRecords; ++records) {
        const quint32 words = reader.u32();
        const quint16 function = reader.u16();
        if (reader.failed() || words < 3 || !reader.has(qsizetype(words - 3) * 2))
            return std::nullopt;
        if (function == 0)
            return Header{QRect(qMin(left, right), qMin(top, bottom), qAbs(right - left), qAbs(bottom - top)),
                          inch, objects};
        reader.skip(qsizetype(words - 3) * 2);
    }
    return std::nullopt;
}

} // namespace Wmf
