#include "textbox/TextScan.h"

#include "textbox/LineEnds.h"
#include "textbox/PlainBytes.h"
#include "textbox/TextCodec.h"

#include <algorithm>

void TextScan::character(char32_t ch, qint64 &breaks)
{
    if (LineEnds::startingWith(ch) && !LineEnds::joins(m_last, ch))
        ++breaks;
    m_last = ch;
}

void TextScan::endSequence()
{
    m_strayBytes += m_seen;
    m_needed = 0;
    m_seen = 0;
    m_last = 0;
}

void TextScan::add(QByteArrayView piece)
{
    const auto *bytes = reinterpret_cast<const uchar *>(piece.data());
    const qsizetype size = piece.size();
    const qint64 offset = m_size;
    m_size += size;
    // The marks are at most three bytes long.
    if (m_head.size() < 3)
        m_head.append(piece.first(std::min<qsizetype>(size, 3 - m_head.size())));
    if (m_utf16Order == 0 && offset < 2 && m_head.size() >= 2) {
        if (m_head.startsWith(TextCodec::byteOrderMark(TextEncoding::Utf16LE)))
            m_utf16Order = 1;
        else if (m_head.startsWith(TextCodec::byteOrderMark(TextEncoding::Utf16BE)))
            m_utf16Order = 2;
    }
    if (m_utf16Order != 0) {
        // The mark is no text.
        const qsizetype skip = std::clamp<qsizetype>(2 - offset, 0, size);
        addUtf16(bytes + skip, size - skip);
    }
    addUtf8(bytes, size);
}

void TextScan::addUtf8(const uchar *bytes, qsizetype size)
{
    qint64 breaks = 0;
    const std::array<bool, 256> &mayBeginEnd = LineEnds::firstBytes(TextEncoding::Utf8);
    for (qsizetype i = 0; i < size; ++i) {
        // Printable ASCII ends no line and no sequence is waiting for it.
        if (m_needed == 0 && i + PlainBytes::wordSize <= size && PlainBytes::isPlainWord(bytes + i)) {
            i += PlainBytes::wordSize - 1;
            m_last = bytes[i];
            continue;
        }
        const uchar byte = bytes[i];
        if (m_needed > 0) {
            if (byte >= m_low && byte <= m_high) {
                m_code = (m_code << 6) | (byte & 0x3F);
                ++m_seen;
                m_low = 0x80;
                m_high = 0xBF;
                if (--m_needed == 0) {
                    ++m_sequences;
                    m_seen = 0;
                    character(m_code, breaks);
                }
                continue;
            }
            // The sequence ends unfinished; byte begins anew.
            endSequence();
        }
        if (byte < 0x80) {
            if (mayBeginEnd[byte])
                character(byte, breaks);
            else
                m_last = byte;
            continue;
        }
        // The bytes that may follow each lead byte, as the path codec takes them: no overlong
        // form, no surrogate, nothing above U+10FFFF.
        m_low = 0x80;
        m_high = 0xBF;
        if (byte >= 0xC2 && byte <= 0xDF) {
            m_needed = 1;
            m_code = byte & 0x1F;
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            m_needed = 2;
            m_code = byte & 0x0F;
            m_low = byte == 0xE0 ? 0xA0 : 0x80;
            m_high = byte == 0xED ? 0x9F : 0xBF;
        } else if (byte >= 0xF0 && byte <= 0xF4) {
            m_needed = 3;
            m_code = byte & 0x07;
            m_low = byte == 0xF0 ? 0x90 : 0x80;
            m_high = byte == 0xF4 ? 0x8F : 0xBF;
        } else {
            ++m_strayBytes;
            m_last = 0;
            continue;
        }
        m_seen = 1;
    }
    m_breaks += breaks;
}

void TextScan::addUtf16(const uchar *bytes, qsizetype size)
{
    const bool bigEndian = m_utf16Order == 2;
    qsizetype i = 0;
    const auto unit = [&](uchar first, uchar second) {
        const char16_t code = bigEndian ? char16_t((first << 8) | second) : char16_t((second << 8) | first);
        if (LineEnds::startingWith(code) && !LineEnds::joins(m_utf16Last, code))
            ++m_utf16Breaks;
        m_utf16Last = code;
    };
    if (m_pendingByte >= 0 && size > 0) {
        unit(uchar(m_pendingByte), bytes[0]);
        m_pendingByte = -1;
        i = 1;
    }
    for (; i + 1 < size; i += 2)
        unit(bytes[i], bytes[i + 1]);
    if (i < size)
        m_pendingByte = bytes[i];
}

TextEncoding TextScan::encoding()
{
    if (!m_ended) {
        m_ended = true;
        if (m_needed > 0)
            endSequence();
    }
    if (m_utf16Order != 0 && m_size % 2 == 0)
        return m_utf16Order == 1 ? TextEncoding::Utf16LE : TextEncoding::Utf16BE;
    const bool utf8 = m_strayBytes == 0 || (m_sequences > 0 && m_sequences >= m_strayBytes);
    if (!utf8)
        return TextEncoding::Windows1252;
    return m_head.startsWith(TextCodec::byteOrderMark(TextEncoding::Utf8WithBom)) ? TextEncoding::Utf8WithBom
                                                                                 : TextEncoding::Utf8;
}

qint64 TextScan::lineCount() const
{
    // Whether the length is even is known only at the end.
    if (m_utf16Order != 0 && !m_ended)
        return std::min(m_utf16Breaks, m_breaks) + 1;
    const bool utf16 = m_utf16Order != 0 && m_size % 2 == 0;
    return (utf16 ? m_utf16Breaks : m_breaks) + 1;
}
