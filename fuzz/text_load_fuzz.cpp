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

#include <QStringDecoder>

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

// Valid UTF-8 as the standard has it: no overlong form, no surrogate, nothing past U+10FFFF,
// no sequence cut off.
bool isUtf8(QByteArrayView bytes)
{
    const auto *b = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;) {
        const uchar lead = b[i];
        int more = 0;
        char32_t point = 0;
        if (lead < 0x80) {
            ++i;
            continue;
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
            return false;
        }
        if (i + more >= size)
            return false;
        for (int k = 1; k <= more; ++k) {
            if ((b[i + k] & 0xC0) != 0x80)
                return false;
            point = (point << 6) | (b[i + k] & 0x3F);
        }
        const char32_t least = more == 1 ? 0x80 : more == 2 ? 0x800 : 0x10000;
        if (point < least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
            return false;
        i += more + 1;
    }
    return true;
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

QString decoded(QByteArrayView bytes, bool utf8)
{
    if (!utf8)
        return TextCodec::fromWindows1252(bytes);
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

struct Line
{
    QString text;
    TextLines::End end;
};

// The file as plain reading gives it: split at each line end of its bytes, each piece decoded.
// breaksAnyEncoding counts the line ends the scan knows, whatever the encoding.
std::vector<Line> expectedLines(QByteArrayView bytes, TextEncoding encoding, qint64 &breaksAnyEncoding)
{
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
    const bool utf8 = isUtf8(bytes);
    check(utf8 == (encoding != TextEncoding::Windows1252), "the scan's encoding is not the bytes'");
    check((encoding == TextEncoding::Utf8WithBom) == (utf8 && bytes.startsWith("\xEF\xBB\xBF")), "BOM");

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
