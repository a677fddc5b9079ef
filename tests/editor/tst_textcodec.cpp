// Text files to text and back: encodings, line ends and the final line end.

#include "editor/TextCodec.h"
#include "support/TestCase.h"

#include <QTest>

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
    QTest::newRow("no final line end") << QByteArray("one\r\ntwo");
    QTest::newRow("NUL byte") << QByteArray("a\0b\n", 4);
    QTest::newRow("NUL in Windows-1252") << QByteArray("\xE9\0\xE8\n", 4);
    QTest::newRow("only line ends") << QByteArray("\r\n\r\n");
    QTest::newRow("no-break space in UTF-8") << QByteArray("a\xC2\xA0" "b\n");
}

void TextCodecTest::unchangedTextGivesTheSameBytes()
{
    QFETCH(QByteArray, bytes);
    const DecodedText decoded = TextCodec::decode(bytes);
    const std::optional<QByteArray> saved = TextCodec::encode(decoded.text, decoded.format);
    QVERIFY(saved);
    QCOMPARE(saved->toHex(' '), bytes.toHex(' '));
}

void TextCodecTest::everyByteSurvivesWindows1252()
{
    // Each byte next to one that is never UTF-8, so the file is read as Windows-1252.
    for (int b = 0; b < 256; ++b) {
        const QByteArray bytes = QByteArray(1, char(0xFF)) + char(b);
        const DecodedText decoded = TextCodec::decode(bytes);
        QCOMPARE(decoded.format.encoding, TextEncoding::Windows1252);
        if (b == '\r' || b == '\n')
            continue;
        QCOMPARE(decoded.text.size(), 2);
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
    QTest::newRow("BOM is not text") << QByteArray("\xEF\xBB\xBFx\r\n") << "x\n" << TextEncoding::Utf8WithBom
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
    QTest::newRow("mostly CR LF") << QByteArray("a\r\nb\r\nc\nd") << "a\nb\nc\nd" << TextEncoding::Utf8
                                  << LineEnd::CrLf << false;
    QTest::newRow("mostly LF") << QByteArray("a\nb\nc\r\nd\n") << "a\nb\nc\nd\n" << TextEncoding::Utf8
                               << LineEnd::Lf << true;
    QTest::newRow("mostly CR") << QByteArray("a\rb\rc\n") << "a\nb\nc\n" << TextEncoding::Utf8 << LineEnd::Cr
                               << true;
}

void TextCodecTest::decoding()
{
    QFETCH(QByteArray, bytes);
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
    QTest::newRow("last line end deleted comes back") << QByteArray("a\r\nb\r\n") << "a\nb" << QByteArray("a\r\nb\r\n");
    QTest::newRow("line typed at the end gets one") << QByteArray("a\n") << "a\nb" << QByteArray("a\nb\n");
    QTest::newRow("file without one stays without") << QByteArray("a\rb") << "a\nbc" << QByteArray("a\rbc");
    QTest::newRow("saving twice adds nothing") << QByteArray("x\r\n") << "x\n" << QByteArray("x\r\n");
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
}

void TextCodecTest::charactersTheEncodingCannotHoldFailTheSave()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, typed);
    QFETCH(bool, fits);
    const DecodedText decoded = TextCodec::decode(file);
    QCOMPARE(TextCodec::encode(decoded.text + typed, decoded.format).has_value(), fits);
}

QTEST_GUILESS_MAIN(TextCodecTest)
#include "tst_textcodec.moc"
