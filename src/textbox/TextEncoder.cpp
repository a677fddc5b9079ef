#include "textbox/TextEncoder.h"

#include "textbox/TextLines.h"

namespace {

// Characters of an edited line encoded at a time: at most three bytes each in UTF-8.
constexpr qsizetype sliceCharacters = TextEncoder::pieceBytes / 4;
// The file's bytes are handed over without a copy, this much at a time.
constexpr qsizetype runPieceBytes = 8 * TextEncoder::pieceBytes;

} // namespace

TextEncoder::TextEncoder(const TextLines &lines, const TextFormat &format) : m_lines(lines), m_format(format)
{
    m_buffer.reserve(pieceBytes + sliceCharacters * 4);
}

bool TextEncoder::needsFinalEnd() const
{
    // An empty text stays empty; one that ends in a line end has its end already.
    const qsizetype last = m_lines.lineCount() - 1;
    if (!m_format.finalLineEnd || (last == 0 && m_lines.lineLength(0) == 0))
        return false;
    const bool endsInLineEnd = m_lines.lineLength(last) == 0
        ? last > 0
        : bool(LineEnds::startingWith(m_lines.line(last).back().unicode()));
    return !endsInLineEnd;
}

qint64 TextEncoder::size() const
{
    const TextEncoding encoding = m_format.encoding;
    qint64 total = TextCodec::byteOrderMark(encoding).size();
    std::optional<LineEnd> before;
    for (qsizetype i = 0; i < m_lines.lineCount(); ++i) {
        if (const std::optional<QByteArrayView> bytes = m_lines.fileBytes(i, encoding))
            total += bytes->size();
        else
            total += TextCodec::encodedSize(m_lines.line(i), encoding);
        if (i + 1 == m_lines.lineCount())
            break;
        before = m_lines.endWritten(i, m_format.lineEnd, before);
        total += LineEnds::bytes(*before, encoding).size();
    }
    if (needsFinalEnd())
        total += LineEnds::bytes(m_format.lineEnd, encoding).size();
    return total;
}

bool TextEncoder::startEnd(LineEnd end)
{
    m_end = LineEnds::bytes(end, m_format.encoding);
    return !m_end.isEmpty();
}

bool TextEncoder::startLine()
{
    const TextEncoding encoding = m_format.encoding;
    const qsizetype count = m_lines.lineCount();
    if (const std::optional<QByteArrayView> first = m_lines.fileBytes(m_line, encoding)) {
        // The lines after it whose bytes follow on in the file, each with its own end, go too.
        const char *from = first->data();
        const char *to = from + first->size();
        for (;;) {
            const qsizetype line = m_line++;
            if (line + 1 == count)
                break;
            const LineEnd end = m_lines.endWritten(line, m_format.lineEnd, m_before);
            m_before = end;
            if (m_lines.lineEnd(line) != end) {
                if (!startEnd(end))
                    return false;
                break;
            }
            to += LineEnds::bytes(end, encoding).size();
            const std::optional<QByteArrayView> next = m_lines.fileBytes(m_line, encoding);
            if (!next || next->data() != to)
                break;
            to += next->size();
        }
        m_fileBytes = QByteArrayView(from, to - from);
        return true;
    }
    m_text = m_lines.line(m_line);
    m_column = 0;
    const qsizetype line = m_line++;
    if (line + 1 == count)
        return true;
    m_before = m_lines.endWritten(line, m_format.lineEnd, m_before);
    return startEnd(*m_before);
}

std::optional<QByteArrayView> TextEncoder::next()
{
    if (m_failed)
        return std::nullopt;
    m_buffer.resize(0);
    if (!m_started) {
        m_started = true;
        m_buffer += TextCodec::byteOrderMark(m_format.encoding);
    }
    while (m_buffer.size() < pieceBytes) {
        // A long run of the file's bytes goes out as it lies, in pieces of a few MiB.
        if (m_buffer.isEmpty() && m_fileBytes.size() >= pieceBytes) {
            const QByteArrayView piece = m_fileBytes.first(std::min(m_fileBytes.size(), runPieceBytes));
            m_fileBytes = m_fileBytes.sliced(piece.size());
            return piece;
        }
        if (!m_fileBytes.isEmpty()) {
            const qsizetype take = std::min(m_fileBytes.size(), pieceBytes - m_buffer.size());
            m_buffer += m_fileBytes.first(take);
            m_fileBytes = m_fileBytes.sliced(take);
            continue;
        }
        if (m_column < m_text.size()) {
            qsizetype take = std::min(m_text.size() - m_column, sliceCharacters);
            // A pair stays whole.
            if (m_column + take < m_text.size() && m_text.at(m_column + take - 1).isHighSurrogate())
                --take;
            if (!TextCodec::appendEncoded(m_buffer, QStringView(m_text).sliced(m_column, take), m_format.encoding)) {
                m_failed = true;
                return std::nullopt;
            }
            m_column += take;
            if (m_column == m_text.size()) {
                m_text = QString();
                m_column = 0;
            }
            continue;
        }
        if (!m_end.isEmpty()) {
            m_buffer += m_end;
            m_end = QByteArrayView();
            continue;
        }
        if (m_line < m_lines.lineCount()) {
            if (!startLine()) {
                m_failed = true;
                return std::nullopt;
            }
            continue;
        }
        if (!m_finalDone) {
            m_finalDone = true;
            if (needsFinalEnd() && !startEnd(m_format.lineEnd)) {
                m_failed = true;
                return std::nullopt;
            }
            continue;
        }
        break;
    }
    return QByteArrayView(m_buffer);
}
