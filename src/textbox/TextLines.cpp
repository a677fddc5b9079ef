#include "textbox/TextLines.h"

#include "textbox/PlainBytes.h"
#include "textbox/TextEncoder.h"
#include "platform/PathCodec.h"

#include <QList>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

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

// Where a file's lines end, and how long each is in characters (UTF-16 code units).
class LineFinder
{
public:
    LineFinder(const QByteArray &bytes, TextEncoding encoding)
        : m_data(reinterpret_cast<const uchar *>(bytes.constData())), m_size(bytes.size()), m_encoding(encoding)
    {
    }

    // Calls line(from, to, length, end) for every line but the last, then gives the last one's
    // length. Whether every high byte was part of a valid UTF-8 sequence is known after.
    template <typename Line>
    qint32 find(qsizetype from, const Line &line)
    {
        switch (m_encoding) {
        case TextEncoding::Utf16LE:
        case TextEncoding::Utf16BE:
            return findUnits(from, line);
        case TextEncoding::Windows1252:
            return findBytes(from, line, false);
        case TextEncoding::Utf8:
        case TextEncoding::Utf8WithBom:
            break;
        }
        return findBytes(from, line, true);
    }
    bool validUtf8() const { return m_validUtf8; }

private:
    template <typename Line>
    qint32 findBytes(qsizetype i, const Line &line, bool utf8)
    {
        const std::array<bool, 256> &mayBeginEnd = LineEnds::firstBytes(m_encoding);
        const QByteArrayView all(m_data, m_size);
        qint32 length = 0;
        while (i < m_size) {
            if (i + PlainBytes::wordSize <= m_size && PlainBytes::isPlainWord(m_data + i)) {
                length += qint32(PlainBytes::wordSize);
                i += PlainBytes::wordSize;
                continue;
            }
            const uchar b = m_data[i];
            if (mayBeginEnd[b]) {
                if (const std::optional<LineEnds::Found> end = LineEnds::at(all.sliced(i), m_encoding)) {
                    line(i, i + end->size, length, end->end);
                    i += end->size;
                    length = 0;
                    continue;
                }
            }
            if (!utf8 || b < 0x80) {
                ++length;
                ++i;
                continue;
            }
            // A byte of no sequence is a character of its own; a four-byte one is a pair.
            const int sequence = PathCodec::utf8SequenceLength(m_data + i, m_size - i);
            if (sequence == 0)
                m_validUtf8 = false;
            length += sequence == 4 ? 2 : 1;
            i += std::max(sequence, 1);
        }
        return length;
    }

    template <typename Line>
    qint32 findUnits(qsizetype i, const Line &line)
    {
        const bool bigEndian = m_encoding == TextEncoding::Utf16BE;
        const QByteArrayView all(m_data, m_size);
        qint32 length = 0;
        for (; i + 1 < m_size; i += 2) {
            const char16_t unit = bigEndian ? char16_t((m_data[i] << 8) | m_data[i + 1])
                                            : char16_t((m_data[i + 1] << 8) | m_data[i]);
            if (LineEnds::mayBeginWith(unit)) {
                if (const std::optional<LineEnds::Found> end = LineEnds::at(all.sliced(i), m_encoding)) {
                    line(i, i + end->size, length, end->end);
                    i += end->size - 2;
                    length = 0;
                    continue;
                }
            }
            ++length;
        }
        return length;
    }

    const uchar *m_data;
    qsizetype m_size;
    TextEncoding m_encoding;
    bool m_validUtf8 = true;
};

// text put into string at at, where it lies: what follows moves up within string's own
// storage, which grows at its end (with room for more). QString's replace() makes a new string
// of the whole line whenever it grows, and its insert() at the start does too: for a line of
// millions of characters that costs more than moving them.
void insertInPlace(QString &string, qsizetype at, QStringView text)
{
    if (text.isEmpty())
        return;
    const qsizetype size = string.size();
    string.resize(size + text.size());
    QChar *data = string.data();
    std::memmove(data + at + text.size(), data + at, size_t(size - at) * sizeof(QChar));
    std::copy(text.begin(), text.end(), data + at);
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
    const qsizetype size = bytes.size();
    // The byte-order mark is not text; a later one is.
    const QByteArrayView mark = TextCodec::byteOrderMark(encoding);
    qsizetype lineFrom = bytes.startsWith(mark) ? mark.size() : 0;
    EndCounts counts{};
    bool endsInLineEnd = false;
    if (expectedLines > 0)
        lines.m_lines.reserve(size_t(expectedLines));
    LineFinder finder(bytes, encoding);
    const qint32 lastLength = finder.find(lineFrom, [&](qsizetype endFrom, qsizetype endTo, qint32 length, LineEnd end) {
        Line line;
        line.from = quint32(lineFrom);
        line.bytes = quint32(endFrom - lineFrom);
        line.length = length;
        line.end = quint8(end);
        lines.m_lines.push_back(line);
        ++counts[size_t(end)];
        lineFrom = endTo;
        endsInLineEnd = endTo == size;
    });
    Line last;
    last.from = quint32(lineFrom);
    last.bytes = quint32(size - lineFrom);
    last.length = lastLength;
    lines.m_lines.push_back(last);
    if (lines.m_lines.capacity() > lines.m_lines.size() + lines.m_lines.size() / 8)
        lines.m_lines.shrink_to_fit();
    lines.m_validUtf8 = finder.validUtf8();
    lines.m_bytes = std::move(bytes);
    read.format = formatFrom(encoding, counts, endsInLineEnd);
    return read;
}

QString TextLines::fileLine(const Line &line) const
{
    return TextCodec::toText(QByteArrayView(m_bytes).sliced(line.from, line.bytes), m_encoding, m_validUtf8);
}

QString TextLines::line(qsizetype line) const
{
    const Line &l = m_lines[size_t(line)];
    if (l.edited)
        return m_own[l.from];
    if (line == m_decodedLine)
        return m_decoded;
    QString text = fileLine(l);
    // A long line is asked for again as it is shown and when it is first edited: it is read
    // once.
    if (text.size() > keptDecoded) {
        m_decodedLine = line;
        m_decoded = text;
    }
    return text;
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
    knowStarts();
    // The last line counts a break too.
    return m_starts.total() - 1;
}

void TextLines::knowStarts() const
{
    if (m_starts.count() == lineCount())
        return;
    m_starts.assign(lineCount(), [this](qsizetype line) { return qint64(m_lines[size_t(line)].length) + 1; });
}

qint64 TextLines::lineStart(qsizetype line) const
{
    knowStarts();
    return m_starts.start(line);
}

qsizetype TextLines::lineAt(qint64 position) const
{
    knowStarts();
    return m_starts.partAt(position);
}

void TextLines::appendLineTo(QString &out, qsizetype line) const
{
    const Line &l = m_lines[size_t(line)];
    if (l.edited)
        out += m_own[l.from];
    else
        out += fileLine(l);
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
        out += LineEnds::text(*before);
    }
    return out;
}

bool TextLines::keepsFileBytes(qsizetype line, TextEncoding encoding) const
{
    return !m_lines[size_t(line)].edited && TextCodec::writesAlike(encoding, m_encoding);
}

std::optional<QByteArrayView> TextLines::fileBytes(qsizetype line, TextEncoding encoding) const
{
    if (!keepsFileBytes(line, encoding))
        return std::nullopt;
    const Line &l = m_lines[size_t(line)];
    return QByteArrayView(m_bytes).sliced(l.from, l.bytes);
}

std::optional<TextLines::Unencodable> TextLines::firstUnencodable(TextEncoding encoding, LineEnd main) const
{
    // A line still the file's bytes holds nothing its own encoding cannot write; what UTF-8
    // and Windows-1252 read, UTF-8 can write (a byte of no sequence as that byte).
    const bool utf8Reads = m_encoding == TextEncoding::Windows1252 || TextCodec::writesAlike(m_encoding, TextEncoding::Utf8);
    const bool fileLinesFit = TextCodec::writesAlike(encoding, m_encoding)
        || (TextCodec::writesAlike(encoding, TextEncoding::Utf8) && utf8Reads);
    std::optional<LineEnd> before;
    for (qsizetype i = 0; i < lineCount(); ++i) {
        if (m_lines[size_t(i)].edited || !fileLinesFit) {
            const QString text = line(i);
            if (const std::optional<qsizetype> column = TextCodec::firstUnencodable(text, encoding))
                return Unencodable{i, text, *column};
        }
        if (i + 1 == lineCount())
            break;
        before = endWritten(i, main, before);
        // The encoding has no bytes for an end it cannot hold.
        if (LineEnds::bytes(*before, encoding).isEmpty())
            return Unencodable{i, line(i) + LineEnds::text(*before).toString(), lineLength(i)};
    }
    return std::nullopt;
}

std::optional<QByteArray> TextLines::encode(const TextFormat &format) const
{
    TextEncoder encoder(*this, format);
    QByteArray out;
    out.reserve(encoder.size());
    for (;;) {
        const std::optional<QByteArrayView> piece = encoder.next();
        if (!piece)
            return std::nullopt;
        if (piece->isEmpty())
            return out;
        out += *piece;
    }
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

QString TextLines::takeText(qsizetype line)
{
    const Line &l = m_lines[size_t(line)];
    QString text;
    if (l.edited)
        text = std::move(m_own[l.from]);
    else if (line == m_decodedLine)
        text = std::move(m_decoded);
    else
        text = this->line(line);
    m_decodedLine = -1;
    m_decoded = QString();
    return text;
}

void TextLines::replaceInLine(qsizetype line, qsizetype column, qsizetype removed, QStringView text, Removed &out)
{
    Line &l = m_lines[size_t(line)];
    // The line's text changes where it lies, so a long line is not copied for each key: no
    // other string may share it meanwhile.
    if (!l.edited)
        l = ownLine(takeText(line), l.end);
    QString &own = m_own[l.from];
    out.text = own.mid(column, removed);
    own.remove(column, removed);
    insertInPlace(own, column, text);
    l.length = qint32(own.size());
    m_starts.changeLength(line, qint64(text.size()) - removed);
}

TextLines::Removed TextLines::replace(qint64 from, qint64 to, QStringView text, const std::vector<End> &ends)
{
    from = std::clamp<qint64>(from, 0, characterCount());
    to = std::clamp<qint64>(to, from, characterCount());
    const qsizetype first = lineAt(from);
    const qsizetype last = lineAt(to);
    const qsizetype head = from - lineStart(first);
    const qsizetype tailFrom = to - lineStart(last);

    Removed removed;
    if (first == last && !text.contains(QLatin1Char('\n'))) {
        replaceInLine(first, head, to - from, text, removed);
        return removed;
    }
    removed.text = this->text(from, to);
    for (qsizetype i = first; i < last; ++i)
        removed.ends.push_back(lineEnd(i));

    // The longer of the head and the tail keeps its line's text, changed where it lies; the
    // shorter is copied. So breaking or joining a long line copies its shorter part alone.
    const bool keepHead = head >= lineLength(last) - tailFrom;
    QString kept = takeText(keepHead ? first : last);
    QString shorter;
    {
        // No copy of kept may stay: it changes in place.
        const QString other = first == last ? QString() : line(keepHead ? last : first);
        const QStringView from = first == last ? QStringView(kept) : QStringView(other);
        const QStringView part = keepHead ? from.sliced(tailFrom) : from.first(head);
        // A whole other line is taken as it is, not copied.
        shorter = first != last && part.size() == other.size() ? other : part.toString();
    }
    if (keepHead)
        kept.truncate(head);
    else
        kept.remove(0, tailFrom);
    const quint8 lastEnd = m_lines[size_t(last)].end;
    for (qsizetype i = first; i <= last; ++i)
        dropOwnText(m_lines[size_t(i)]);

    const QList<QStringView> pieces = text.split(QLatin1Char('\n'));
    std::vector<Line> lines;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const bool firstNew = i == 0;
        const bool lastNew = i + 1 == pieces.size();
        QString lineText;
        if ((firstNew && keepHead) || (lastNew && !keepHead)) {
            lineText = std::move(kept);
            if (keepHead)
                lineText += pieces[i];
            else
                lineText.prepend(pieces[i]);
            if (firstNew && lastNew && keepHead)
                lineText += shorter;
            else if (firstNew && lastNew)
                lineText.prepend(shorter);
        } else if (firstNew) {
            lineText = std::move(shorter);
            lineText += pieces[i];
        } else if (lastNew && pieces[i].isEmpty()) {
            lineText = std::move(shorter);
        } else if (lastNew) {
            lineText = pieces[i].toString();
            lineText += shorter;
        } else {
            lineText = pieces[i].toString();
        }
        const End end = size_t(i) < ends.size() ? ends[size_t(i)] : End();
        lines.push_back(ownLine(std::move(lineText), lastNew ? lastEnd : end ? quint8(*end) : mainEnd));
    }

    // Lines that stay as many are written over; the rest go or come, in the table and in
    // the starts alike.
    const qsizetype replaced = last - first + 1;
    const qsizetype added = qsizetype(lines.size());
    const qsizetype common = std::min(replaced, added);
    for (qsizetype i = 0; i < common; ++i) {
        m_lines[size_t(first + i)] = lines[size_t(i)];
        m_starts.setLength(first + i, qint64(lines[size_t(i)].length) + 1);
    }
    m_lines.erase(size_t(first + common), size_t(replaced - common));
    m_starts.remove(first + common, replaced - common);
    m_lines.insert(size_t(first + common), lines.begin() + common, lines.end());
    m_starts.insert(first + common, added - common,
                    [&](qsizetype i) { return qint64(lines[size_t(common + i)].length) + 1; });
    return removed;
}
