#include "editor/TextSlicer.h"

#include <utility>

namespace {

constexpr qsizetype bomSize = 3;

qint64 &countOf(std::array<qint64, 6> &counts, LineEnd lineEnd)
{
    return counts[static_cast<size_t>(lineEnd)];
}

} // namespace

void TextSlice::append(const TextSlice &next)
{
    text += next.text;
    lineEnds.insert(lineEnds.end(), next.lineEnds.begin(), next.lineEnds.end());
    bytes += next.bytes;
}

TextSlice TextSlice::takeWholeLines()
{
    TextSlice lines;
    const qsizetype cut = text.lastIndexOf(QLatin1Char('\n')) + 1;
    if (cut == 0)
        return lines;
    lines.text = text.first(cut);
    text.remove(0, cut);
    // Every line end noted so far lies in the lines taken.
    lines.lineEnds = std::exchange(lineEnds, {});
    lines.bytes = std::exchange(bytes, 0);
    return lines;
}

QString TextSlice::fileText() const
{
    return withLineEnds(text, QLatin1Char('\n'), [this](size_t i) { return lineEnds[i]; });
}

TextSlicer::TextSlicer(TextEncoding encoding)
    // The byte-order mark is skipped here; any later one is text.
    : m_encoding(encoding),
      m_utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom),
      m_bomLeft(encoding == TextEncoding::Utf8WithBom ? bomSize : 0)
{
}

TextSlice TextSlicer::add(QByteArrayView piece)
{
    const qint64 bytes = piece.size();
    if (m_bomLeft > 0) {
        const qsizetype skipped = std::min(m_bomLeft, piece.size());
        piece = piece.sliced(skipped);
        m_bomLeft -= skipped;
    }
    TextSlice slice = split(m_encoding == TextEncoding::Windows1252 ? TextCodec::fromWindows1252(piece)
                                                                    : m_utf8.decode(piece),
                            false);
    slice.bytes = bytes;
    return slice;
}

TextSlice TextSlicer::finish()
{
    return split(QString(), true);
}

TextSlice TextSlicer::split(const QString &text, bool last)
{
    TextSlice slice;
    // Never longer than the text: a line end is one or two characters, its break one.
    slice.text.resize(text.size() + (m_heldCr ? 1 : 0));
    QChar *out = slice.text.data();
    auto lineBreak = [&](LineEnd lineEnd) {
        *out++ = QLatin1Char('\n');
        slice.lineEnds.push_back(lineEnd);
        ++countOf(m_counts, lineEnd);
        m_endsInLineEnd = true;
    };

    const QChar *in = text.constData();
    const QChar *end = in + text.size();
    if (m_heldCr) {
        if (in == end && !last)
            return slice;
        m_heldCr = false;
        if (in != end && *in == QLatin1Char('\n')) {
            lineBreak(LineEnd::CrLf);
            ++in;
        } else {
            lineBreak(LineEnd::Cr);
        }
    }
    for (; in != end; ++in) {
        const char16_t ch = in->unicode();
        // Most characters are none of the six that end a line.
        if (ch > u'\r' && ch != 0x2029 && ch != 0xFDD0 && ch != 0xFDD1) {
            *out++ = *in;
            m_endsInLineEnd = false;
            continue;
        }
        const std::optional<LineEnd> lineEnd = TextCodec::lineEndStartingWith(*in);
        if (!lineEnd) {
            *out++ = *in;
            m_endsInLineEnd = false;
        } else if (*lineEnd != LineEnd::Cr) {
            lineBreak(*lineEnd);
        } else if (in + 1 != end) {
            const bool crLf = in[1] == QLatin1Char('\n');
            lineBreak(crLf ? LineEnd::CrLf : LineEnd::Cr);
            in += crLf ? 1 : 0;
        } else if (last) {
            lineBreak(LineEnd::Cr);
        } else {
            // The next piece says whether an LF follows.
            m_heldCr = true;
        }
    }
    slice.text.truncate(out - slice.text.constData());
    return slice;
}

TextFormat TextSlicer::format() const
{
    TextFormat format;
    format.encoding = m_encoding;
    const qint64 crLf = m_counts[size_t(LineEnd::CrLf)];
    const qint64 lf = m_counts[size_t(LineEnd::Lf)];
    const qint64 cr = m_counts[size_t(LineEnd::Cr)];
    const qint64 paragraph = m_counts[size_t(LineEnd::ParagraphSeparator)];
    if (crLf > 0 && crLf >= lf && crLf >= cr && crLf >= paragraph)
        format.lineEnd = LineEnd::CrLf;
    else if (paragraph > lf && paragraph > cr)
        format.lineEnd = LineEnd::ParagraphSeparator;
    else if (cr > lf)
        format.lineEnd = LineEnd::Cr;
    else
        format.lineEnd = LineEnd::Lf;
    format.finalLineEnd = m_endsInLineEnd;
    return format;
}
