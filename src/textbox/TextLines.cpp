#include "textbox/TextLines.h"

#include "textbox/PlainBytes.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <iterator>

namespace {

constexpr qsizetype bomSize = 3;

// Counts of each line end found, by LineEnd.
using EndCounts = std::array<qint64, 6>;

TextFormat formatFrom(TextEncoding encoding, const EndCounts &counts, bool endsInLineEnd)
{
    TextFormat format;
    format.encoding = encoding;
    const qint64 crLf = counts[size_t(LineEnd::CrLf)];
    const qint64 lf = counts[size_t(LineEnd::Lf)];
    const qint64 cr = counts[size_t(LineEnd::Cr)];
    const qint64 paragraph = counts[size_t(LineEnd::ParagraphSeparator)];
    // CR LF wins a tie with LF; LF when there is no line end at all.
    if (crLf > 0 && crLf >= lf && crLf >= cr && crLf >= paragraph)
        format.lineEnd = LineEnd::CrLf;
    else if (paragraph > lf && paragraph > cr)
        format.lineEnd = LineEnd::ParagraphSeparator;
    else if (cr > lf)
        format.lineEnd = LineEnd::Cr;
    else
        format.lineEnd = LineEnd::Lf;
    format.finalLineEnd = endsInLineEnd;
    return format;
}

// The line end that begins at bytes[i], and how many bytes it takes: CR LF, LF and a lone CR
// in either encoding; U+2029, U+FDD0 and U+FDD1 in UTF-8.
std::optional<LineEnd> lineEndAt(const uchar *bytes, qsizetype i, qsizetype size, bool utf8, qsizetype &length)
{
    const uchar b = bytes[i];
    if (b == '\n') {
        length = 1;
        return LineEnd::Lf;
    }
    if (b == '\r') {
        const bool crLf = i + 1 < size && bytes[i + 1] == '\n';
        length = crLf ? 2 : 1;
        return crLf ? LineEnd::CrLf : LineEnd::Cr;
    }
    if (!utf8 || i + 2 >= size)
        return std::nullopt;
    length = 3;
    if (b == 0xE2 && bytes[i + 1] == 0x80 && bytes[i + 2] == 0xA9)
        return LineEnd::ParagraphSeparator;
    if (b == 0xEF && bytes[i + 1] == 0xB7 && (bytes[i + 2] == 0x90 || bytes[i + 2] == 0x91))
        return bytes[i + 2] == 0x90 ? LineEnd::Fdd0 : LineEnd::Fdd1;
    return std::nullopt;
}

// A line's text from its bytes. QString::fromUtf8 leaves out a byte-order mark at the start of
// what it reads; a line's is text (the file's own mark lies before the first line).
QString decodeLine(QByteArrayView bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::Windows1252)
        return TextCodec::fromWindows1252(bytes);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom).decode(bytes);
    return QString::fromUtf8(bytes);
}

} // namespace

TextLines::TextLines() : m_lines(1) {}

TextLines::TextLines(QStringView text) : TextLines()
{
    replace(0, 0, text);
}

TextLines::Read TextLines::fromBytes(QByteArray bytes, TextEncoding encoding, qint64 expectedLines)
{
    Read read;
    TextLines &lines = read.lines;
    lines.m_encoding = encoding;
    lines.m_lines.clear();
    const bool utf8 = encoding != TextEncoding::Windows1252;
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype size = bytes.size();
    // The byte-order mark is not text; a later one is.
    qsizetype lineFrom = encoding == TextEncoding::Utf8WithBom ? std::min(bomSize, size) : 0;
    qint32 length = 0;
    EndCounts counts{};
    bool endsInLineEnd = false;
    if (expectedLines > 0)
        lines.m_lines.reserve(size_t(expectedLines));
    for (qsizetype i = lineFrom; i < size;) {
        if (i + PlainBytes::wordSize <= size && PlainBytes::isPlainWord(data + i)) {
            length += qint32(PlainBytes::wordSize);
            i += PlainBytes::wordSize;
            continue;
        }
        const uchar b = data[i];
        // Most bytes are plain characters: a line end begins with CR, LF, 0xE2 or 0xEF.
        if (b > '\r' && b != 0xE2 && b != 0xEF) {
            // In UTF-8 a continuation byte adds no character; a four-byte one adds a pair.
            length += !utf8 || (b & 0xC0) != 0x80 ? 1 : 0;
            length += utf8 && b >= 0xF0 ? 1 : 0;
            ++i;
            continue;
        }
        qsizetype endLength = 0;
        const std::optional<LineEnd> end = lineEndAt(data, i, size, utf8, endLength);
        if (!end) {
            ++length;
            ++i;
            continue;
        }
        Line line;
        line.from = quint32(lineFrom);
        line.bytes = quint32(i - lineFrom);
        line.length = length;
        line.end = quint8(*end);
        lines.m_lines.push_back(line);
        ++counts[size_t(*end)];
        i += endLength;
        lineFrom = i;
        length = 0;
        endsInLineEnd = i == size;
    }
    Line last;
    last.from = quint32(lineFrom);
    last.bytes = quint32(size - lineFrom);
    last.length = length;
    lines.m_lines.push_back(last);
    if (lines.m_lines.capacity() > lines.m_lines.size() + lines.m_lines.size() / 8)
        lines.m_lines.shrink_to_fit();
    lines.m_bytes = std::move(bytes);
    read.format = formatFrom(encoding, counts, endsInLineEnd);
    return read;
}

QString TextLines::line(qsizetype line) const
{
    const Line &l = m_lines[size_t(line)];
    if (l.edited)
        return m_own[l.from];
    return decodeLine(QByteArrayView(m_bytes).sliced(l.from, l.bytes), m_encoding);
}

TextLines::End TextLines::lineEnd(qsizetype line) const
{
    const quint8 end = m_lines[size_t(line)].end;
    if (end == mainEnd)
        return std::nullopt;
    return LineEnd(end);
}

qint64 TextLines::characterCount() const
{
    const qsizetype last = lineCount() - 1;
    return lineStart(last) + m_lines.back().length;
}

void TextLines::knowStartsTo(qsizetype line) const
{
    if (line < m_startsKnown)
        return;
    if (m_starts.size() != m_lines.size())
        m_starts.resize(m_lines.size());
    qsizetype i = m_startsKnown;
    qint64 start = i == 0 ? 0 : m_starts[size_t(i - 1)] + m_lines[size_t(i - 1)].length + 1;
    for (; i <= line; ++i) {
        m_starts[size_t(i)] = start;
        start += m_lines[size_t(i)].length + 1;
    }
    m_startsKnown = line + 1;
}

void TextLines::startsChangedFrom(qsizetype line)
{
    m_startsKnown = std::min(m_startsKnown, line);
}

qint64 TextLines::lineStart(qsizetype line) const
{
    knowStartsTo(line);
    return m_starts[size_t(line)];
}

qsizetype TextLines::lineAt(qint64 position) const
{
    const qsizetype last = lineCount() - 1;
    if (position <= 0)
        return 0;
    // Most questions are about lines near those asked before: look among the starts known
    // first, and work out more only when position lies beyond them.
    while (m_startsKnown <= last
           && (m_startsKnown == 0 || m_starts[size_t(m_startsKnown - 1)] + m_lines[size_t(m_startsKnown - 1)].length < position))
        knowStartsTo(std::min(last, m_startsKnown + std::max<qsizetype>(m_startsKnown, 1024)));
    const auto known = m_starts.begin() + m_startsKnown;
    const auto after = std::upper_bound(m_starts.begin(), known, position);
    return std::max<qsizetype>(0, (after - m_starts.begin()) - 1);
}

void TextLines::appendLineTo(QString &out, qsizetype line) const
{
    const Line &l = m_lines[size_t(line)];
    if (l.edited)
        out += m_own[l.from];
    else
        out += decodeLine(QByteArrayView(m_bytes).sliced(l.from, l.bytes), m_encoding);
}

QString TextLines::text() const
{
    QString out;
    out.reserve(characterCount());
    for (qsizetype i = 0; i < lineCount(); ++i) {
        if (i > 0)
            out += QLatin1Char('\n');
        appendLineTo(out, i);
    }
    return out;
}

QString TextLines::text(qint64 from, qint64 to) const
{
    from = std::clamp<qint64>(from, 0, characterCount());
    to = std::clamp<qint64>(to, from, characterCount());
    const qsizetype first = lineAt(from);
    const qsizetype last = lineAt(to);
    if (first == last)
        return line(first).mid(from - lineStart(first), to - from);
    QString out;
    out.reserve(to - from);
    out += QStringView(line(first)).sliced(from - lineStart(first));
    for (qsizetype i = first + 1; i <= last; ++i) {
        out += QLatin1Char('\n');
        if (i < last)
            appendLineTo(out, i);
    }
    out += QStringView(line(last)).first(to - lineStart(last));
    return out;
}

LineEnd TextLines::endWritten(qsizetype line, LineEnd main, std::optional<LineEnd> before) const
{
    const LineEnd end = lineEnd(line).value_or(main);
    // A lone CR and the LF of an empty line after it would read back as one CR LF, and the
    // empty line would be lost: that LF goes out as CR LF. (A file never holds the pair, so
    // only an edit makes it.)
    if (end == LineEnd::Lf && before == LineEnd::Cr && m_lines[size_t(line)].length == 0)
        return LineEnd::CrLf;
    return end;
}

QString TextLines::fileText(LineEnd main) const
{
    QString out;
    out.reserve(characterCount() + lineCount());
    std::optional<LineEnd> before;
    for (qsizetype i = 0; i < lineCount(); ++i) {
        appendLineTo(out, i);
        if (i + 1 == lineCount())
            break;
        before = endWritten(i, main, before);
        out += TextCodec::lineEndText(*before);
    }
    return out;
}

bool TextLines::keepsFileBytes(qsizetype line, TextEncoding encoding) const
{
    // UTF-8 with or without a byte-order mark writes a line's characters alike.
    return !m_lines[size_t(line)].edited
        && (encoding == TextEncoding::Windows1252) == (m_encoding == TextEncoding::Windows1252);
}

std::optional<TextLines::Unencodable> TextLines::firstUnencodable(TextEncoding encoding, LineEnd main) const
{
    std::optional<LineEnd> before;
    for (qsizetype i = 0; i < lineCount(); ++i) {
        // A line still the file's bytes holds nothing its own encoding cannot write, nor
        // anything UTF-8 cannot.
        const bool fromFile = !m_lines[size_t(i)].edited
            && (keepsFileBytes(i, encoding) || encoding != TextEncoding::Windows1252);
        const QString text = fromFile ? QString() : line(i);
        if (const std::optional<qsizetype> column = TextCodec::firstUnencodable(text, encoding))
            return Unencodable{i, text, *column};
        if (i + 1 == lineCount())
            break;
        before = endWritten(i, main, before);
        const QStringView end = TextCodec::lineEndText(*before);
        if (TextCodec::firstUnencodable(end.toString(), encoding))
            return Unencodable{i, line(i) + end.toString(), lineLength(i)};
    }
    return std::nullopt;
}

std::optional<QByteArray> TextLines::encode(const TextFormat &format) const
{
    QByteArray out;
    out.reserve(m_bytes.size() + lineCount());
    if (format.encoding == TextEncoding::Utf8WithBom)
        out += "\xEF\xBB\xBF";
    const auto put = [&](QStringView text) {
        const std::optional<QByteArray> bytes = TextCodec::encodeText(text, format.encoding);
        if (bytes)
            out += *bytes;
        return bool(bytes);
    };
    std::optional<LineEnd> before;
    for (qsizetype i = 0; i < lineCount(); ++i) {
        const Line &l = m_lines[size_t(i)];
        if (keepsFileBytes(i, format.encoding))
            out.append(m_bytes.constData() + l.from, l.bytes);
        else if (!put(line(i)))
            return std::nullopt;
        if (i + 1 == lineCount())
            break;
        before = endWritten(i, format.lineEnd, before);
        if (!put(TextCodec::lineEndText(*before)))
            return std::nullopt;
    }
    // As the codec does: a text that does not end in a line end gets the main one, where the
    // format asks for it.
    const qsizetype last = lineCount() - 1;
    const bool empty = last == 0 && lineLength(0) == 0;
    const bool endsInLineEnd = lineLength(last) == 0 ? last > 0 : bool(TextCodec::lineEndStartingWith(line(last).back()));
    if (format.finalLineEnd && (empty || !endsInLineEnd) && !put(TextCodec::lineEndText(format.lineEnd)))
        return std::nullopt;
    return out;
}

TextLines::Line TextLines::ownLine(QString text, quint8 end)
{
    Line line;
    line.length = qint32(text.size());
    line.end = end;
    line.edited = true;
    if (m_freeOwn.empty()) {
        line.from = quint32(m_own.size());
        m_own.push_back(std::move(text));
    } else {
        line.from = m_freeOwn.back();
        m_freeOwn.pop_back();
        m_own[line.from] = std::move(text);
    }
    return line;
}

void TextLines::dropOwnText(const Line &line)
{
    if (!line.edited)
        return;
    m_own[line.from] = QString();
    m_freeOwn.push_back(line.from);
}

TextLines::Removed TextLines::replace(qint64 from, qint64 to, QStringView text, const std::vector<End> &ends)
{
    from = std::clamp<qint64>(from, 0, characterCount());
    to = std::clamp<qint64>(to, from, characterCount());
    const qsizetype first = lineAt(from);
    const qsizetype last = lineAt(to);
    const qint64 firstStart = lineStart(first);
    const qint64 lastStart = lineStart(last);

    Removed removed;
    removed.text = this->text(from, to);
    for (qsizetype i = first; i < last; ++i)
        removed.ends.push_back(lineEnd(i));

    const QString firstLine = line(first);
    const QString lastLine = last == first ? firstLine : line(last);
    const QStringView head = QStringView(firstLine).first(from - firstStart);
    const QStringView tail = QStringView(lastLine).sliced(to - lastStart);
    const quint8 lastEnd = m_lines[size_t(last)].end;
    // The lines replaced give their texts' places up; head and tail look into copies.
    for (qsizetype i = first; i <= last; ++i)
        dropOwnText(m_lines[size_t(i)]);

    std::vector<Line> lines;
    size_t breaks = 0;
    qsizetype pieceFrom = 0;
    for (qsizetype i = text.indexOf(QLatin1Char('\n')); i >= 0; i = text.indexOf(QLatin1Char('\n'), pieceFrom)) {
        QString piece = text.sliced(pieceFrom, i - pieceFrom).toString();
        if (lines.empty())
            piece.prepend(head);
        const End end = breaks < ends.size() ? ends[breaks] : End();
        lines.push_back(ownLine(std::move(piece), end ? quint8(*end) : mainEnd));
        ++breaks;
        pieceFrom = i + 1;
    }
    QString lastPiece = lines.empty() ? head.toString() : QString();
    lastPiece += text.sliced(pieceFrom);
    lastPiece += tail;
    lines.push_back(ownLine(std::move(lastPiece), lastEnd));

    // Lines that stay as many are written over; the rest go or come.
    const auto begin = m_lines.begin() + first;
    const qsizetype replaced = last - first + 1;
    const qsizetype common = std::min<qsizetype>(replaced, qsizetype(lines.size()));
    std::move(lines.begin(), lines.begin() + common, begin);
    if (replaced > common)
        m_lines.erase(begin + common, begin + replaced);
    else
        m_lines.insert(begin + common, std::make_move_iterator(lines.begin() + common),
                       std::make_move_iterator(lines.end()));
    if (qsizetype(lines.size()) != replaced)
        m_starts.resize(m_lines.size());
    startsChangedFrom(first + 1);
    return removed;
}
