// What a save writes, in pieces: the same bytes as the whole, in pieces of a bounded size, for
// files still as they were read, edited, in every encoding, and emptied.

#include "textbox/TextEncoder.h"
#include "textbox/TextLines.h"
#include "textbox/TextScan.h"
#include "support/TestCase.h"

#include <QTest>

#include <functional>

namespace {

TextLines::Read load(const QByteArray &bytes)
{
    TextScan scan;
    scan.add(bytes);
    return TextLines::fromBytes(bytes, scan.encoding(), scan.lineCount());
}

QByteArray logLines(int count, const char *end)
{
    QByteArray bytes;
    for (int line = 0; line < count; ++line)
        bytes += "2026-12-10 09:30:00 request " + QByteArray::number(line) + " handled" + end;
    return bytes;
}

// ASCII bytes as UTF-16LE, after the mark.
QByteArray utf16le(const QByteArray &ascii)
{
    QByteArray bytes("\xFF\xFE");
    for (const char c : ascii)
        bytes.append(c).append('\0');
    return bytes;
}

// The pieces of a save, each checked against the bound, joined.
QByteArray joined(TextEncoder &encoder, bool *failed = nullptr)
{
    QByteArray all;
    // Each piece but the last fills the buffer; none goes much past it (one slice of a line
    // at most three bytes a character, and a line end), but a run of the file's own bytes,
    // which is no copy.
    const qsizetype most = 8 * TextEncoder::pieceBytes;
    qsizetype last = -1;
    for (;;) {
        const std::optional<QByteArrayView> piece = encoder.next();
        if (!piece) {
            if (failed)
                *failed = true;
            return all;
        }
        if (piece->isEmpty())
            return all;
        if (last >= 0 && last < TextEncoder::pieceBytes)
            qWarning("a piece of %lld bytes before the last", qlonglong(last));
        if (piece->size() > most)
            qWarning("a piece of %lld bytes", qlonglong(piece->size()));
        last = piece->size();
        all += *piece;
    }
}

using Edit = std::function<void(TextLines &)>;

} // namespace

Q_DECLARE_METATYPE(TextEncoding)
Q_DECLARE_METATYPE(Edit)

class TextEncoderTest : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); }
    void piecesMakeTheWholeSave_data();
    void piecesMakeTheWholeSave();
    void aCharacterTheEncodingCannotHoldEndsThePieces();
    void anEmptiedTextSavesAsAnEmptyFile_data();
    void anEmptiedTextSavesAsAnEmptyFile();
};

void TextEncoderTest::piecesMakeTheWholeSave_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<TextEncoding>("saveAs");
    const Edit none = [](TextLines &) {};
    const QByteArray log = logLines(120'000, "\n"); // about 5 MiB
    QTest::newRow("a log as it was read") << log << none << TextEncoding::Utf8;
    QTest::newRow("a log with a line typed in every thousand") << log << Edit([](TextLines &lines) {
        for (qsizetype line = 0; line < lines.lineCount(); line += 1000)
            lines.replace(lines.lineStart(line), lines.lineStart(line), QStringLiteral("\u00E9dit\u00E9 "));
    }) << TextEncoding::Utf8;
    QTest::newRow("a log with mixed ends, its main end given to new lines")
        << logLines(3, "\r\n") + logLines(2, "\r") + logLines(50'000, "\r\n") << Edit([](TextLines &lines) {
               lines.replace(lines.lineStart(2), lines.lineStart(2), QStringLiteral("new\nlines\n"));
           }) << TextEncoding::Utf8WithBom;
    QTest::newRow("a typed line of 3 MB, a pair at every slice's edge") << QByteArray("first\nlast\n")
                                                                         << Edit([](TextLines &lines) {
        QString typed;
        while (typed.size() < 1'500'000)
            typed += QString(TextEncoder::pieceBytes / 4 - 1, QLatin1Char('x')) + QStringLiteral("\U0001F600");
        lines.replace(6, 6, typed);
    }) << TextEncoding::Utf8;
    QTest::newRow("UTF-16 with an edit") << utf16le(logLines(40'000, "\r\n")) << Edit([](TextLines &lines) {
        lines.replace(lines.lineStart(20'000), lines.lineStart(20'001), QStringLiteral("\u4E2D\U0001F600\n"));
    }) << TextEncoding::Utf16LE;
    QTest::newRow("Windows-1252 saved as UTF-8") << logLines(30'000, "\r\n").replace("request", "requ\xEAte")
                                                 << none << TextEncoding::Utf8;
    QTest::newRow("UTF-8 with stray bytes, edited") << logLines(30'000, "\n").replace("handled", "g\xC3\xA9r\xC3\xA9 \xFF")
                                                    << Edit([](TextLines &lines) {
                                                           lines.replace(lines.lineStart(7) + 3, lines.lineStart(7) + 3,
                                                                         QStringLiteral("\u2192"));
                                                       }) << TextEncoding::Utf8;
}

void TextEncoderTest::piecesMakeTheWholeSave()
{
    QFETCH(QByteArray, file);
    QFETCH(Edit, edit);
    QFETCH(TextEncoding, saveAs);
    TextLines::Read read = load(file);
    edit(read.lines);
    TextFormat format = read.format;
    format.encoding = saveAs;
    const std::optional<QByteArray> whole = TextCodec::encode(read.lines.fileText(format.lineEnd), format);
    QVERIFY(whole);
    TextEncoder encoder(read.lines, format);
    QCOMPARE(encoder.size(), whole->size());
    const QByteArray pieces = joined(encoder);
    QCOMPARE(pieces.size(), whole->size());
    QVERIFY(pieces == *whole);
    // Once all is out, nothing more comes.
    QCOMPARE(encoder.next().value_or("-").size(), 0);
}

void TextEncoderTest::aCharacterTheEncodingCannotHoldEndsThePieces()
{
    TextLines::Read read = load(logLines(60'000, "\r\n").replace("request", "requ\xEAte"));
    QCOMPARE(read.format.encoding, TextEncoding::Windows1252);
    read.lines.replace(read.lines.lineStart(50'000), read.lines.lineStart(50'000), QStringLiteral("\u2192"));
    TextEncoder encoder(read.lines, read.format);
    bool failed = false;
    joined(encoder, &failed);
    QVERIFY(failed);
    QVERIFY(!encoder.next());
    QVERIFY(!read.lines.encode(read.format));
}

void TextEncoderTest::anEmptiedTextSavesAsAnEmptyFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("emptied");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("lines, all deleted") << QByteArray("one\r\ntwo\r\n") << true << QByteArray();
    QTest::newRow("one line, deleted") << QByteArray("one") << true << QByteArray();
    QTest::newRow("an empty file as it was") << QByteArray() << false << QByteArray();
    QTest::newRow("a file of one line end as it was") << QByteArray("\n") << false << QByteArray("\n");
    QTest::newRow("UTF-8 with its mark, all deleted: the mark stays") << QByteArray("\xEF\xBB\xBFone\n") << true
                                                                      << QByteArray("\xEF\xBB\xBF");
    QTest::newRow("UTF-16, all deleted: the mark stays") << QByteArray("\xFE\xFF\0a\0\n", 6) << true
                                                         << QByteArray("\xFE\xFF");
}

void TextEncoderTest::anEmptiedTextSavesAsAnEmptyFile()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, emptied);
    QFETCH(QByteArray, saved);
    TextLines::Read read = load(file);
    if (emptied)
        read.lines.replace(0, read.lines.characterCount(), QString());
    // Whether the file ended in a line end or not: a text with no characters gets none.
    for (const bool finalLineEnd : {true, false}) {
        TextFormat format = read.format;
        format.finalLineEnd = finalLineEnd || read.format.finalLineEnd;
        QCOMPARE(read.lines.encode(format).value_or("-"), saved);
        TextEncoder encoder(read.lines, format);
        QCOMPARE(encoder.size(), saved.size());
        QCOMPARE(TextCodec::encode(read.lines.fileText(format.lineEnd), format).value_or("-"), saved);
    }
    // A new document too.
    QCOMPARE(TextLines().encode(TextFormat()).value_or("-"), QByteArray());
}

QTEST_GUILESS_MAIN(TextEncoderTest)
#include "tst_textencoder.moc"
