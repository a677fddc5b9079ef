// Text files to text and back: encodings, line ends and the final line end; the pieces a
// load reads a file in.

#include "textbox/TextCodec.h"
#include "textbox/TextLines.h"
#include "textbox/TextScan.h"
#include "platform/PathCodec.h"
#include "support/FuzzSeeds.h"
#include "support/TestCase.h"

#include <QStringDecoder>
#include <QTest>

namespace {

// The character that stands for a byte of no UTF-8 sequence, as the path codec reads it.
QString rawByte(int byte)
{
    return QString(QChar(char16_t(0xDC00 + byte)));
}

} // namespace

Q_DECLARE_METATYPE(TextEncoding)
Q_DECLARE_METATYPE(LineEnd)

class TextCodecTest : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void unchangedTextGivesTheSameBytes_data();
    void unchangedTextGivesTheSameBytes();
    void everyByteSurvivesWindows1252();
    void decoding_data();
    void decoding();
    void savingAddsALineEndOnlyWhereTheFileHadOne_data();
    void savingAddsALineEndOnlyWhereTheFileHadOne();
    void charactersTheEncodingCannotHoldFailTheSave_data();
    void charactersTheEncodingCannotHoldFailTheSave();
    void scanKnowsEncodingAndLinesFirst_data();
    void scanKnowsEncodingAndLinesFirst();
    void anyPiecesGiveTheSameText_data();
    void anyPiecesGiveTheSameText();
    void textPutInHasPlainBreaks_data();
    void textPutInHasPlainBreaks();
};

void TextCodecTest::unchangedTextGivesTheSameBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("UTF-8") << QByteArray("gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80\n");
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBFline one\nline two\n");
    QTest::newRow("BOM only") << QByteArray("\xEF\xBB\xBF");
    QTest::newRow("Windows-1252 bytes 0x80-0xFF") << [] {
        QByteArray high;
        for (int b = 0x80; b <= 0xFF; ++b)
            high.append(char(b));
        return high + "\r\n";
    }();
    QTest::newRow("undefined 1252 bytes and no-break space")
        << QByteArray("a\x81" "b\x8D" "c\x8F\x90\x9D" "d\xA0" "e\r\n");
    QTest::newRow("CR LF") << QByteArray("one\r\ntwo\r\n\r\nthree\r\n");
    QTest::newRow("LF") << QByteArray("one\ntwo\n\nthree\n");
    QTest::newRow("CR") << QByteArray("one\rtwo\r\rthree\r");
    QTest::newRow("mixed CR LF and LF") << QByteArray("a\r\nb\nc\r\n");
    QTest::newRow("lone CR in an LF file") << QByteArray("a\nb\rc\n");
    QTest::newRow("LF CR, not CR LF") << QByteArray("a\n\rb\n\r");
    QTest::newRow("no final line end") << QByteArray("one\r\ntwo");
    QTest::newRow("U+2029 and U+2028") << QByteArray("a\xE2\x80\xA9" "b\xE2\x80\xA8" "c\n");
    QTest::newRow("U+FDD0 and U+FDD1") << QByteArray("a\xEF\xB7\x90" "b\xEF\xB7\x91" "c");
    QTest::newRow("NUL byte") << QByteArray("a\0b\n", 4);
    QTest::newRow("NUL in Windows-1252") << QByteArray("\xE9\0\xE8\n", 4);
    QTest::newRow("only line ends") << QByteArray("\r\n\r\n");
    QTest::newRow("no-break space in UTF-8") << QByteArray("a\xC2\xA0" "b\n");
    QTest::newRow("UTF-8 with stray bytes") << QByteArray("caf\xC3\xA9\xFF\r\n\xC3\xA8\x80\xE2\x82\r\n");
    QTest::newRow("UTF-8 mark and a stray byte") << QByteArray("\xEF\xBB\xBF\xC3\xA9\xFE\n");
    QTest::newRow("UTF-16LE") << QByteArray("\xFF\xFEx\0\xE9\0\r\0\n\0\x3D\xD8\x00\xDE\r\0\n\0", 18);
    QTest::newRow("UTF-16BE") << QByteArray("\xFE\xFF\0x\0\xE9\0\r\0\n\xD8\x3D\xDE\x00", 14);
    QTest::newRow("UTF-16 lone surrogates") << QByteArray("\xFF\xFE\x00\xDC\x00\xD8", 6);
    QTest::newRow("UTF-16 mark only") << QByteArray("\xFF\xFE");
}

void TextCodecTest::unchangedTextGivesTheSameBytes()
{
    QFETCH(QByteArray, bytes);
    // Each file here is a seed of the load's fuzz target, as are those of the tests below.
    QVERIFY(FuzzSeeds::write("PANOPTRA_TEXT_CORPUS", bytes));
    const DecodedText decoded = TextCodec::decode(bytes);
    const std::optional<QByteArray> saved = TextCodec::encode(decoded.text, decoded.format);
    QVERIFY(saved);
    QCOMPARE(saved->toHex(' '), bytes.toHex(' '));
}

void TextCodecTest::everyByteSurvivesWindows1252()
{
    // Each byte between two that are never UTF-8 (and make no UTF-16 file of whole code
    // units), so the file is read as Windows-1252.
    for (int b = 0; b < 256; ++b) {
        const QByteArray bytes = QByteArray(1, char(0xFF)) + char(b) + char(0xFF);
        const DecodedText decoded = TextCodec::decode(bytes);
        QCOMPARE(decoded.format.encoding, TextEncoding::Windows1252);
        QCOMPARE(decoded.text.size(), 3);
        QCOMPARE(TextCodec::encode(decoded.text, decoded.format).value_or("-"), bytes);
    }
}

void TextCodecTest::decoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<LineEnd>("lineEnd");
    QTest::addColumn<bool>("finalLineEnd");
    QTest::newRow("plain ASCII is UTF-8") << QByteArray("abc") << "abc" << TextEncoding::Utf8 << LineEnd::Lf << false;
    QTest::newRow("UTF-8 letters") << QByteArray("\xC3\xA9t\xC3\xA9\n") << QStringLiteral("\u00E9t\u00E9\n")
                                   << TextEncoding::Utf8 << LineEnd::Lf << true;
    QTest::newRow("BOM is not text") << QByteArray("\xEF\xBB\xBFx\r\n") << "x\r\n" << TextEncoding::Utf8WithBom
                                     << LineEnd::CrLf << true;
    QTest::newRow("Latin-1 letter is 1252") << QByteArray("caf\xE9") << QStringLiteral("caf\u00E9")
                                            << TextEncoding::Windows1252 << LineEnd::Lf << false;
    QTest::newRow("euro sign 0x80") << QByteArray("\x80 5") << QStringLiteral("\u20AC 5")
                                    << TextEncoding::Windows1252 << LineEnd::Lf << false;
    QTest::newRow("overlong UTF-8 is not UTF-8") << QByteArray("\xC0\xAF") << QStringLiteral("\u00C0\u00AF")
                                                 << TextEncoding::Windows1252 << LineEnd::Lf << false;
    QTest::newRow("encoded surrogate is not UTF-8") << QByteArray("\xED\xA0\x80")
                                                    << QStringLiteral("\u00ED\u00A0\u20AC")
                                                    << TextEncoding::Windows1252 << LineEnd::Lf << false;
    QTest::newRow("cut UTF-8 sequence") << QByteArray("ab\xE2\x82") << QStringLiteral("ab\u00E2\u201A")
                                        << TextEncoding::Windows1252 << LineEnd::Lf << false;
    QTest::newRow("line ends stay in the text") << QByteArray("a\r\nb\rc\n") << "a\r\nb\rc\n" << TextEncoding::Utf8
                                                << LineEnd::CrLf << true;
    QTest::newRow("mostly CR LF") << QByteArray("a\r\nb\r\nc\nd") << "a\r\nb\r\nc\nd" << TextEncoding::Utf8
                                  << LineEnd::CrLf << false;
    QTest::newRow("CR LF wins a tie") << QByteArray("a\r\nb\n") << "a\r\nb\n" << TextEncoding::Utf8
                                      << LineEnd::CrLf << true;
    QTest::newRow("mostly LF") << QByteArray("a\nb\nc\r\nd\n") << "a\nb\nc\r\nd\n" << TextEncoding::Utf8
                               << LineEnd::Lf << true;
    QTest::newRow("mostly CR") << QByteArray("a\rb\rc\n") << "a\rb\rc\n" << TextEncoding::Utf8 << LineEnd::Cr
                               << true;
    QTest::newRow("mostly U+2029") << QByteArray("a\xE2\x80\xA9" "b\xE2\x80\xA9" "c\n")
                                   << QStringLiteral("a\u2029b\u2029c\n") << TextEncoding::Utf8
                                   << LineEnd::ParagraphSeparator << true;
    QTest::newRow("U+2028 ends no line") << QByteArray("a\xE2\x80\xA8" "b") << QStringLiteral("a\u2028b")
                                         << TextEncoding::Utf8 << LineEnd::Lf << false;
    QTest::newRow("ends in U+2029") << QByteArray("a\xE2\x80\xA9") << QStringLiteral("a\u2029") << TextEncoding::Utf8
                                    << LineEnd::ParagraphSeparator << true;
    QTest::newRow("those bytes in 1252 are letters") << QByteArray("\xE9t\xE9\xE2\x80\xA9")
                                                     << QStringLiteral("\u00E9t\u00E9\u00E2\u20AC\u00A9")
                                                     << TextEncoding::Windows1252 << LineEnd::Lf << false;
    QTest::newRow("UTF-8 with a stray byte is UTF-8") << QByteArray("d\xC3\xA9j\xC3\xA0 \xFF\n")
                                                      << (QStringLiteral("d\u00E9j\u00E0 ") + rawByte(0xFF) + QStringLiteral("\n")) << TextEncoding::Utf8
                                                      << LineEnd::Lf << true;
    QTest::newRow("as many stray bytes as sequences") << QByteArray("\xC3\xA9\xE9")
                                                      << (QStringLiteral("\u00E9") + rawByte(0xE9)) << TextEncoding::Utf8
                                                      << LineEnd::Lf << false;
    QTest::newRow("more stray bytes than sequences") << QByteArray("\xC3\xA9\xE9\xE8")
                                                     << QStringLiteral("\u00C3\u00A9\u00E9\u00E8")
                                                     << TextEncoding::Windows1252 << LineEnd::Lf << false;
    QTest::newRow("UTF-16LE mark") << QByteArray("\xFF\xFEx\0\r\0\n\0", 8) << QStringLiteral("x\r\n")
                                   << TextEncoding::Utf16LE << LineEnd::CrLf << true;
    QTest::newRow("UTF-16BE mark") << QByteArray("\xFE\xFF\0x\x20\x29", 6) << QStringLiteral("x\u2029")
                                   << TextEncoding::Utf16BE << LineEnd::ParagraphSeparator << true;
}

void TextCodecTest::decoding()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(FuzzSeeds::write("PANOPTRA_TEXT_CORPUS", bytes));
    QFETCH(QString, text);
    QFETCH(TextEncoding, encoding);
    QFETCH(LineEnd, lineEnd);
    QFETCH(bool, finalLineEnd);
    const DecodedText decoded = TextCodec::decode(bytes);
    QCOMPARE(decoded.text, text);
    QCOMPARE(decoded.format.encoding, encoding);
    QCOMPARE(decoded.format.lineEnd, lineEnd);
    QCOMPARE(decoded.format.finalLineEnd, finalLineEnd);
}

void TextCodecTest::savingAddsALineEndOnlyWhereTheFileHadOne_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("edited");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("last line end deleted comes back") << QByteArray("a\r\nb\r\n") << "a\r\nb" << QByteArray("a\r\nb\r\n");
    QTest::newRow("line typed at the end gets one") << QByteArray("a\n") << "a\nb" << QByteArray("a\nb\n");
    QTest::newRow("file without one stays without") << QByteArray("a\rb") << "a\rbc" << QByteArray("a\rbc");
    QTest::newRow("saving twice adds nothing") << QByteArray("x\r\n") << "x\r\n" << QByteArray("x\r\n");
    QTest::newRow("a text ending in a lone CR has one") << QByteArray("a\n") << "a\r" << QByteArray("a\r");
    QTest::newRow("the main end is the one added") << QByteArray("a\rb\rc\n") << "a\rb\rc" << QByteArray("a\rb\rc\r");
}

void TextCodecTest::savingAddsALineEndOnlyWhereTheFileHadOne()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, edited);
    QFETCH(QByteArray, saved);
    const TextFormat format = TextCodec::decode(file).format;
    QCOMPARE(TextCodec::encode(edited, format).value_or("-"), saved);
    // A new document ends in a line end, in the form of this system.
    QCOMPARE(TextCodec::encode(QStringLiteral("new"), TextFormat()).value_or("-"), QByteArray("new\n"));
}

void TextCodecTest::charactersTheEncodingCannotHoldFailTheSave_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("fits");
    QTest::newRow("CJK in 1252") << QByteArray("caf\xE9") << QStringLiteral("\u4E2D") << false;
    QTest::newRow("C1 control that 1252 has a letter for") << QByteArray("caf\xE9") << QStringLiteral("\u0080") << false;
    QTest::newRow("euro in 1252") << QByteArray("caf\xE9") << QStringLiteral("\u20AC") << true;
    QTest::newRow("CJK in UTF-8") << QByteArray("plain") << QStringLiteral("\u4E2D") << true;
    QTest::newRow("lone surrogate at the end") << QByteArray("plain") << QString(QChar(0xD800)) << false;
    QTest::newRow("lone surrogate inside") << QByteArray("plain") << QString(QChar(0xDC00)) + QLatin1Char('x') << false;
    QTest::newRow("a stray byte's character in UTF-8") << QByteArray("plain") << QString(QChar(0xDCFF)) << true;
    QTest::newRow("a stray byte's character in 1252") << QByteArray("caf\xE9") << QString(QChar(0xDCFF)) << false;
    QTest::newRow("CJK in UTF-16") << QByteArray("\xFF\xFE") << QStringLiteral("\u4E2D") << true;
    QTest::newRow("lone surrogate in UTF-16") << QByteArray("\xFE\xFF") << QString(QChar(0xD800)) << true;
}

void TextCodecTest::charactersTheEncodingCannotHoldFailTheSave()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, typed);
    QFETCH(bool, fits);
    const DecodedText decoded = TextCodec::decode(file);
    QCOMPARE(TextCodec::encode(decoded.text + typed, decoded.format).has_value(), fits);
}

void TextCodecTest::scanKnowsEncodingAndLinesFirst_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<qint64>("lines");
    QTest::newRow("empty file") << QByteArray() << TextEncoding::Utf8 << qint64(1);
    QTest::newRow("CR LF and LF") << QByteArray("a\r\nb\nc") << TextEncoding::Utf8 << qint64(3);
    QTest::newRow("lone CR") << QByteArray("a\rb\r\r") << TextEncoding::Utf8 << qint64(4);
    QTest::newRow("line ends only") << QByteArray("\n\n\n") << TextEncoding::Utf8 << qint64(4);
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF" "a\n") << TextEncoding::Utf8WithBom << qint64(2);
    QTest::newRow("U+2029 and U+FDD0 end lines") << QByteArray("a\xE2\x80\xA9" "b\xEF\xB7\x90")
                                                 << TextEncoding::Utf8 << qint64(3);
    QTest::newRow("U+2028 does not") << QByteArray("a\xE2\x80\xA8" "b") << TextEncoding::Utf8 << qint64(1);
    QTest::newRow("a cut sequence at the end") << QByteArray("ab\n\xE2\x82") << TextEncoding::Windows1252
                                               << qint64(2);
    QTest::newRow("a lone continuation byte") << QByteArray("a\x80") << TextEncoding::Windows1252 << qint64(1);
    QTest::newRow("UTF-8 but for a stray byte") << QByteArray("\xC3\xA9\n\xFF") << TextEncoding::Utf8 << qint64(2);
    QTest::newRow("UTF-16LE, CR LF counted once") << QByteArray("\xFF\xFE\r\0\n\0\n\0\x0A\x0D", 10)
                                                  << TextEncoding::Utf16LE << qint64(3);
    QTest::newRow("UTF-16BE ends") << QByteArray("\xFE\xFF\0\r\x20\x29\xFD\xD0\x0D\x0A", 10)
                                   << TextEncoding::Utf16BE << qint64(4);
    QTest::newRow("an odd byte after a UTF-16 mark") << QByteArray("\xFF\xFE\n") << TextEncoding::Windows1252
                                                     << qint64(2);
}

void TextCodecTest::scanKnowsEncodingAndLinesFirst()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(FuzzSeeds::write("PANOPTRA_TEXT_CORPUS", bytes));
    QFETCH(TextEncoding, encoding);
    QFETCH(qint64, lines);
    // Whole, and a byte at a time: a BOM, a CR LF or a sequence cut between two reads.
    TextScan whole;
    whole.add(bytes);
    TextScan bytewise;
    for (const char c : bytes)
        bytewise.add(QByteArrayView(&c, 1));
    // The encoding first: until it is known, a file that may be UTF-16 counts the fewer lines.
    for (TextScan *scan : {&whole, &bytewise}) {
        QCOMPARE(scan->encoding(), encoding);
        QCOMPARE(scan->lineCount(), lines);
    }
}

void TextCodecTest::anyPiecesGiveTheSameText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("mixed line ends") << QByteArray("a\r\nb\nc\rd\r\n\r\re\n");
    QTest::newRow("ends in a CR") << QByteArray("a\nb\r");
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF\xC3\xA9t\xC3\xA9\r\n\xF0\x9F\x98\x80\r\n");
    QTest::newRow("a second BOM is text") << QByteArray("\xEF\xBB\xBF" "a\xEF\xBB\xBF");
    QTest::newRow("a BOM starting a line is text") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF" "a\n\xEF\xBB\xBF" "b\n");
    QTest::newRow("Windows-1252") << QByteArray("caf\xE9\r\n\x80\x81\r\x9F\n");
    QTest::newRow("every break the box knows") << QByteArray("a\xE2\x80\xA9" "b\xEF\xB7\x90" "c\xEF\xB7\x91" "d\xE2\x80\xA8");
    QTest::newRow("UTF-8 with stray bytes") << QByteArray("\xC3\xA9\xC3\xA9\xC3\xA9\r\xF0\x9F\x98\r\n\xE2\x80\xA9\xFF\xC3\xA8\n");
    QTest::newRow("UTF-16LE, every break") << QByteArray("\xFF\xFE" "a\0\r\0\n\0\r\0\r\0\n\0\x29\x20\xD0\xFD\xD1\xFD" "b\0", 22);
    QTest::newRow("UTF-16BE, every break") << QByteArray("\xFE\xFF\0\r\0\n\0\n\0\r\x20\x29\xFD\xD0\xFD\xD1\0b", 18);
}

// What a load shows and saves does not depend on how the reads cut the file: the scan learns
// the same encoding and line count from any pieces, and the lines read from the bytes are
// the text decode gives, every byte-order mark after the file's own one kept.
void TextCodecTest::anyPiecesGiveTheSameText()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(FuzzSeeds::write("PANOPTRA_TEXT_CORPUS", bytes));
    const DecodedText decoded = TextCodec::decode(bytes);
    TextScan whole;
    whole.add(bytes);
    const TextEncoding encoding = whole.encoding();
    const TextLines::Read read = TextLines::fromBytes(bytes, encoding);
    QCOMPARE(read.format, decoded.format);
    QCOMPARE(read.lines.fileText(read.format.lineEnd), decoded.text);
    QCOMPARE(whole.lineCount(), qint64(read.lines.lineCount()));

    // The text as decoders that know nothing of lines read it.
    const QByteArray fileText = bytes.sliced(TextCodec::byteOrderMark(encoding).size());
    QString plain;
    if (encoding == TextEncoding::Windows1252)
        plain = TextCodec::fromWindows1252(fileText);
    else if (encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE)
        plain = QStringDecoder(encoding == TextEncoding::Utf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                               QStringConverter::Flag::ConvertInitialBom)
                    .decode(fileText);
    else
        plain = PathCodec::decode(fileText);
    QCOMPARE(decoded.text, plain);
    const QString text = read.lines.text();
    QCOMPARE(text.count(QLatin1Char('\n')) + 1, read.lines.lineCount());
    for (const QChar other : {QChar(u'\r'), QChar(0x2029), QChar(0xFDD0), QChar(0xFDD1)})
        QVERIFY(!text.contains(other));

    for (const qsizetype size : {1, 2, 3, 5}) {
        TextScan pieces;
        for (qsizetype from = 0; from < bytes.size(); from += size)
            pieces.add(QByteArrayView(bytes).sliced(from, std::min(size, bytes.size() - from)));
        QCOMPARE(pieces.encoding(), encoding);
        QCOMPARE(pieces.lineCount(), whole.lineCount());
    }
}

void TextCodecTest::textPutInHasPlainBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("plain");
    QTest::newRow("none") << QStringLiteral("a\u2028b") << QStringLiteral("a\u2028b");
    QTest::newRow("LF stays") << QStringLiteral("a\nb\n") << QStringLiteral("a\nb\n");
    QTest::newRow("CR LF and a lone CR") << QStringLiteral("a\r\nb\rc\n\r") << QStringLiteral("a\nb\nc\n\n");
    QTest::newRow("every end of the table") << QStringLiteral("a\u2029b\uFDD0c\uFDD1d\r\r\n")
                                            << QStringLiteral("a\nb\nc\nd\n\n");
}

// Whatever ends a line in a file ends one in the box: put in, it reads back as those lines.
void TextCodecTest::textPutInHasPlainBreaks()
{
    QFETCH(QString, text);
    QFETCH(QString, plain);
    QCOMPARE(TextCodec::withPlainLineBreaks(text), plain);
    TextLines lines(plain);
    const TextLines::Read again = TextLines::fromBytes(lines.encode(TextFormat()).value_or("-"), TextEncoding::Utf8);
    QCOMPARE(again.lines.text(), lines.text() + (plain.endsWith(QLatin1Char('\n')) || plain.isEmpty() ? QString() : QStringLiteral("\n")));
}

QTEST_GUILESS_MAIN(TextCodecTest)
#include "tst_textcodec.moc"
