// libFuzzer target: any bytes as a file the editor loads. The load scan, read in pieces of
// any size, must learn the encoding and line count that a plain reading of the bytes gives;
// the lines must be that reading split at every line end the box knows, each keeping its end,
// and found again by position; an unedited save, and an edit undone, must give the very bytes
// back; and the load job must take a file at its limits and refuse one a byte or a line over.

#include "textbox/EditHistory.h"
#include "textbox/TextCodec.h"
#include "textbox/TextLines.h"
#include "textbox/TextLoadJob.h"
#include "textbox/TextScan.h"
#include "platform/FileReader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <thread>

namespace {

void check(bool ok, const char *what)
{
    if (!ok) {
        fprintf(stderr, "text_load_fuzz: %s\n", what);
        abort();
    }
}

// The length of the valid UTF-8 sequence at b[i] as the standard has it (no overlong form, no
// surrogate, nothing past U+10FFFF, nothing cut off), with its code point; 0 where none starts.
int sequenceAt(const uchar *b, qsizetype size, qsizetype i, char32_t &point)
{
    const uchar lead = b[i];
    int more = 0;
    if (lead < 0x80) {
        point = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        more = 1;
        point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        more = 2;
        point = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        more = 3;
        point = lead & 0x07;
    } else {
        return 0;
    }
    if (i + more >= size)
        return 0;
    for (int k = 1; k <= more; ++k) {
        if ((b[i + k] & 0xC0) != 0x80)
            return 0;
        point = (point << 6) | (b[i + k] & 0x3F);
    }
    const char32_t least = more == 1 ? 0x80 : more == 2 ? 0x800 : 0x10000;
    if (point < least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
        return 0;
    return more + 1;
}

// The encoding a plain reading gives: UTF-16 after its byte-order mark (an even length); UTF-8
// when no byte stands outside a valid sequence, or when the valid sequences of more than one
// byte are at least as many as such stray bytes; Windows-1252 otherwise.
TextEncoding plainEncoding(QByteArrayView bytes)
{
    if (bytes.size() % 2 == 0 && bytes.startsWith("\xFF\xFE"))
        return TextEncoding::Utf16LE;
    if (bytes.size() % 2 == 0 && bytes.startsWith("\xFE\xFF"))
        return TextEncoding::Utf16BE;
    const auto *b = reinterpret_cast<const uchar *>(bytes.data());
    qint64 sequences = 0;
    qint64 stray = 0;
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t point = 0;
        const int length = sequenceAt(b, bytes.size(), i, point);
        if (length == 0)
            ++stray;
        else if (length > 1)
            ++sequences;
        i += std::max(length, 1);
    }
    if (stray > 0 && (sequences == 0 || sequences < stray))
        return TextEncoding::Windows1252;
    return bytes.startsWith("\xEF\xBB\xBF") ? TextEncoding::Utf8WithBom : TextEncoding::Utf8;
}

bool isUtf16(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE;
}

// The line ends in their byte forms, as the box reads them.
std::optional<LineEnd> byteLineEnd(QByteArrayView bytes, qsizetype i, bool utf8, qsizetype &length)
{
    const auto at = [&](qsizetype k) { return k < bytes.size() ? uchar(bytes[k]) : 0; };
    length = 1;
    if (at(i) == '\r' && at(i + 1) == '\n') {
        length = 2;
        return LineEnd::CrLf;
    }
    if (at(i) == '\r')
        return LineEnd::Cr;
    if (at(i) == '\n')
        return LineEnd::Lf;
    if (i + 3 > bytes.size())
        return std::nullopt;
    const QByteArrayView three = bytes.sliced(i, 3);
    std::optional<LineEnd> end;
    if (three == "\xE2\x80\xA9")
        end = LineEnd::ParagraphSeparator;
    else if (three == "\xEF\xB7\x90")
        end = LineEnd::Fdd0;
    else if (three == "\xEF\xB7\x91")
        end = LineEnd::Fdd1;
    length = end ? 3 : 1;
    // In Windows-1252 these bytes are letters, but the scan counts them all the same.
    return utf8 || !end ? end : std::nullopt;
}

// UTF-8 bytes as text, every byte outside a valid sequence as U+DC80..U+DCFF, as the path
// codec reads it; Windows-1252 otherwise.
QString decoded(QByteArrayView bytes, bool utf8)
{
    if (!utf8)
        return TextCodec::fromWindows1252(bytes);
    const auto *b = reinterpret_cast<const uchar *>(bytes.data());
    QString text;
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t point = 0;
        const int length = sequenceAt(b, bytes.size(), i, point);
        if (length == 0) {
            text += QChar(char16_t(0xDC00 + b[i]));
            ++i;
            continue;
        }
        // By hand: QString::fromUcs4 would take a U+FEFF for a byte-order mark and drop it.
        if (QChar::requiresSurrogates(point)) {
            text += QChar(QChar::highSurrogate(point));
            text += QChar(QChar::lowSurrogate(point));
        } else {
            text += QChar(char16_t(point));
        }
        i += length;
    }
    return text;
}

struct Line
{
    QString text;
    TextLines::End end;
};

// A UTF-16 file as plain reading gives it, after its mark: split at each line end of its units.
std::vector<Line> expectedUtf16Lines(QByteArrayView bytes, bool bigEndian, qint64 &breaks)
{
    QString units;
    for (qsizetype i = 2; i + 1 < bytes.size(); i += 2) {
        const uchar first = uchar(bytes[i]);
        const uchar second = uchar(bytes[i + 1]);
        units += QChar(char16_t(bigEndian ? (first << 8) | second : (second << 8) | first));
    }
    std::vector<Line> lines;
    breaks = 0;
    qsizetype from = 0;
    for (qsizetype i = 0; i < units.size(); ++i) {
        const char16_t unit = units.at(i).unicode();
        std::optional<LineEnd> end;
        if (unit == u'\r' && i + 1 < units.size() && units.at(i + 1) == u'\n')
            end = LineEnd::CrLf;
        else if (unit == u'\r')
            end = LineEnd::Cr;
        else if (unit == u'\n')
            end = LineEnd::Lf;
        else if (unit == 0x2029)
            end = LineEnd::ParagraphSeparator;
        else if (unit == 0xFDD0)
            end = LineEnd::Fdd0;
        else if (unit == 0xFDD1)
            end = LineEnd::Fdd1;
        if (!end)
            continue;
        ++breaks;
        lines.push_back({units.sliced(from, i - from), end});
        if (end == LineEnd::CrLf)
            ++i;
        from = i + 1;
    }
    lines.push_back({units.sliced(from), std::nullopt});
    return lines;
}

// The file as plain reading gives it: split at each line end of its bytes, each piece decoded.
// breaksAnyEncoding counts the line ends the scan knows, whatever the encoding.
std::vector<Line> expectedLines(QByteArrayView bytes, TextEncoding encoding, qint64 &breaksAnyEncoding)
{
    if (isUtf16(encoding))
        return expectedUtf16Lines(bytes, encoding == TextEncoding::Utf16BE, breaksAnyEncoding);
    const bool utf8 = encoding != TextEncoding::Windows1252;
    std::vector<Line> lines;
    qsizetype from = encoding == TextEncoding::Utf8WithBom ? 3 : 0;
    breaksAnyEncoding = 0;
    for (qsizetype i = from; i < bytes.size();) {
        qsizetype length = 1;
        const std::optional<LineEnd> end = byteLineEnd(bytes, i, utf8, length);
        qsizetype anyLength = 1;
        if (byteLineEnd(bytes, i, true, anyLength))
            ++breaksAnyEncoding;
        if (!end) {
            // A letter of three bytes is no line end in Windows-1252, nor anything within it.
            i += utf8 ? 1 : anyLength;
            continue;
        }
        lines.push_back({decoded(bytes.sliced(from, i - from), utf8), end});
        i += length;
        from = i;
    }
    lines.push_back({decoded(bytes.sliced(from), utf8), std::nullopt});
    return lines;
}

// A file held in memory, read as the system reader reads one: refused whole when longer than
// allowed, handed out in pieces otherwise.
class MemoryReader : public FileReader
{
public:
    MemoryReader(QByteArray bytes, qsizetype piece) : m_bytes(std::move(bytes)), m_piece(piece) {}
    qint64 length(const QString &) override { return m_bytes.size(); }
    FileContents readFileInPieces(const QString &, qint64 maxSize,
                                  const std::function<bool(QByteArrayView)> &consume) override
    {
        FileContents contents;
        if (m_bytes.size() > maxSize) {
            contents.tooLarge = true;
            return contents;
        }
        for (qsizetype at = 0; at < m_bytes.size(); at += m_piece) {
            if (!consume(QByteArrayView(m_bytes).sliced(at, std::min(m_piece, m_bytes.size() - at))))
                break;
        }
        return contents;
    }

private:
    QByteArray m_bytes;
    qsizetype m_piece;
};

TextLoadOutcome load(const QByteArray &bytes, qsizetype piece, TextLoadLimits limits, qsizetype &lines)
{
    auto reader = std::make_shared<MemoryReader>(bytes, piece);
    const std::weak_ptr<MemoryReader> readerLeft = reader;
    const std::shared_ptr<TextLoadJob> job = TextLoadJob::start(std::move(reader), QStringLiteral("file"), limits);
    while (job->outcome() == TextLoadOutcome::Running)
        std::this_thread::yield();
    const std::optional<TextLines::Read> read = job->take();
    lines = read ? read->lines.lineCount() : 0;
    // The worker lets its reader go as it ends: everything it made is freed within the run, so
    // the leak check has nothing to look into.
    while (!readerLeft.expired())
        std::this_thread::yield();
    return job->outcome();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // The scan: the same from any pieces, and what a plain reading of the bytes says.
    TextScan whole;
    whole.add(bytes);
    const TextEncoding encoding = whole.encoding();
    const qsizetype piece = 1 + qsizetype(size % 7);
    TextScan pieces;
    for (qsizetype at = 0; at < bytes.size(); at += piece)
        pieces.add(QByteArrayView(bytes).sliced(at, std::min(piece, bytes.size() - at)));
    check(pieces.encoding() == encoding && pieces.lineCount() == whole.lineCount(), "the pieces change the scan");
    check(encoding == plainEncoding(bytes), "the scan's encoding is not the bytes'");

    // The lines: the plain reading, each with its end, and found again by position.
    qint64 breaksAnyEncoding = 0;
    const std::vector<Line> expected = expectedLines(bytes, encoding, breaksAnyEncoding);
    check(whole.lineCount() == breaksAnyEncoding + 1, "the scan's line count is not the bytes'");
    TextLines::Read read = TextLines::fromBytes(bytes, encoding, whole.lineCount());
    TextLines &lines = read.lines;
    check(lines.lineCount() == qsizetype(expected.size()), "line count");
    qint64 start = 0;
    for (qsizetype i = 0; i < lines.lineCount(); ++i) {
        const Line &line = expected[size_t(i)];
        check(lines.line(i) == line.text && lines.lineLength(i) == line.text.size(), "a line's text");
        check(lines.lineEnd(i) == line.end, "a line's end");
        check(lines.lineStart(i) == start, "a line's start");
        check(lines.lineAt(start) == i && lines.lineAt(start + lines.lineLength(i)) == i, "the line at a position");
        start += lines.lineLength(i) + 1;
    }
    check(lines.characterCount() == start - 1, "character count");
    check(read.format.encoding == encoding, "format's encoding");
    check(read.format.finalLineEnd == (expected.size() > 1 && expected.back().text.isEmpty()), "final line end");

    // An unedited save gives the bytes back, by the lines and by the codec.
    check(lines.encode(read.format) == bytes, "an unedited save changes the bytes");
    check(TextCodec::encode(lines.fileText(read.format.lineEnd), read.format) == bytes, "the codec changes the bytes");

    // An edit, undone: the same bytes again.
    const qint64 count = lines.characterCount();
    const qint64 from = count > 0 ? qint64(size * 31 % size_t(count + 1)) : 0;
    const qint64 to = std::min(count, from + qint64(size % 5));
    EditHistory history;
    const QString inserted = QStringLiteral("x\ny");
    history.record(from, lines.replace(from, to, inserted), inserted);
    check(lines.characterCount() == count - (to - from) + inserted.size(), "an edit's count");
    check(history.undo(lines).has_value(), "undo");
    check(lines.encode(read.format) == bytes, "an edit undone changes the bytes");

    // The limits: a file right at them loads, one a byte or a line over is refused.
    const qint64 fileLines = whole.lineCount();
    qsizetype loaded = 0;
    check(load(bytes, piece, {qint64(size), fileLines}, loaded) == TextLoadOutcome::Loaded
              && loaded == lines.lineCount(),
          "a file at the limits is not loaded");
    if (size > 0)
        check(load(bytes, piece, {qint64(size) - 1, fileLines}, loaded) == TextLoadOutcome::TooLarge,
              "a file a byte over is loaded");
    check(load(bytes, piece, {qint64(size), fileLines - 1}, loaded) == TextLoadOutcome::TooLarge,
          "a file a line over is loaded");
    return 0;
}
