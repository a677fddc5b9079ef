#include "textbox/TextLines.h"

#include "textbox/PlainBytes.h"

#include <QList>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstring>

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
    if (line == m_decodedLine)
        return m_decoded;
    QString text = decodeLine(QByteArrayView(m_bytes).sliced(l.from, l.bytes), m_encoding);
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
