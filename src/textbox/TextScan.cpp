#include "textbox/TextScan.h"

#include "textbox/PlainBytes.h"

namespace {

const QByteArray utf8Bom("\xEF\xBB\xBF", 3);

// The UTF-8 forms of U+2029, U+FDD0 and U+FDD1, as the last three bytes read.
constexpr quint32 paragraphSeparatorBytes = 0xE280A9;
constexpr quint32 fdd0Bytes = 0xEFB790;
constexpr quint32 fdd1Bytes = 0xEFB791;

} // namespace

TextScan::TextScan()
    // Any byte-order mark is read as a character like the rest: only validity counts here.
    : m_utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom)
{
}

void TextScan::add(QByteArrayView piece)
{
    if (m_head.size() < utf8Bom.size())
        m_head.append(piece.first(std::min(piece.size(), utf8Bom.size() - m_head.size())));
    if (m_utf8Valid) {
        m_scratch.resize(m_utf8.requiredSpace(piece.size()));
        m_utf8.appendToBuffer(m_scratch.data(), piece);
        m_utf8Valid = !m_utf8.hasError();
    }
    qint64 breaks = 0;
    bool pendingCr = m_pendingCr;
    quint32 last = m_lastBytes;
    const auto *bytes = reinterpret_cast<const uchar *>(piece.data());
    const qsizetype size = piece.size();
    for (qsizetype i = 0; i < size; ++i) {
        // A plain byte ends a pending CR as a lone one and any sequence of high bytes.
        if (i + PlainBytes::wordSize <= size && PlainBytes::isPlainWord(bytes + i)) {
            breaks += pendingCr ? 1 : 0;
            pendingCr = false;
            last = 0;
            i += PlainBytes::wordSize - 1;
            continue;
        }
        const uchar byte = bytes[i];
        if (pendingCr) {
            pendingCr = false;
            // A CR followed by LF is one break, counted at the LF.
            if (byte != '\n')
                ++breaks;
        }
        if (byte == '\n') {
            ++breaks;
        } else if (byte == '\r') {
            pendingCr = true;
        } else if (byte >= 0x80) {
            last = ((last << 8) | byte) & 0xFFFFFF;
            if (last == paragraphSeparatorBytes || last == fdd0Bytes || last == fdd1Bytes)
                ++breaks;
            continue;
        }
        last = 0;
    }
    m_breaks += breaks;
    m_pendingCr = pendingCr;
    m_lastBytes = last;
}

TextEncoding TextScan::encoding()
{
    if (!m_ended) {
        m_ended = true;
        // A sequence cut off at the end of the file is an error too: one more byte that can
        // continue no sequence makes the decoder say so.
        if (m_utf8Valid) {
            m_scratch.resize(m_utf8.requiredSpace(1));
            m_utf8.appendToBuffer(m_scratch.data(), "a");
            m_utf8Valid = !m_utf8.hasError();
        }
        m_scratch = QString();
    }
    if (!m_utf8Valid)
        return TextEncoding::Windows1252;
    return m_head == utf8Bom ? TextEncoding::Utf8WithBom : TextEncoding::Utf8;
}
