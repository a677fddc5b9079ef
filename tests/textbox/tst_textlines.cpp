// The editor's text as lines: a file's bytes read into lines, each keeping its own line end
// through the edits; positions; and what a replace hands back so that undo restores the bytes.

#include "textbox/TextLines.h"
#include "textbox/TextScan.h"
#include "TextLinesModel.h"
#include "support/TestCase.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <functional>

namespace {

// The character that stands for a byte of no UTF-8 sequence, as the path codec reads it.
QString rawByte(int byte)
{
    return QString(QChar(char16_t(0xDC00 + byte)));
}

using Edit = std::function<void(Loaded &)>;

} // namespace

Q_DECLARE_METATYPE(TextEncoding)
Q_DECLARE_METATYPE(LineEnd)
Q_DECLARE_METATYPE(Edit)

class TextLinesTest : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void fromBytes_data();
    void fromBytes();
    void editsChangeOnlyTheLinesTheyTouch_data();
    void editsChangeOnlyTheLinesTheyTouch();
    void textWithLineBreaks();
    void everyLineReadsBackAfterASave_data();
    void everyLineReadsBackAfterASave();
};

void TextLinesTest::fromBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QStringList>("lines");
    // What each line ends in, as characters; the last line none.
    QTest::addColumn<QStringList>("ends");
    QTest::addColumn<LineEnd>("lineEnd");
    QTest::addColumn<bool>("finalLineEnd");

    const auto utf8 = TextEncoding::Utf8;
    const auto cp1252 = TextEncoding::Windows1252;
    const QString crLf = QStringLiteral("\r\n");
    const QString lf = QStringLiteral("\n");
    const QString cr = QStringLiteral("\r");
    const QString none;
    QTest::newRow("empty file") << QByteArray() << utf8 << QStringList{""} << QStringList{none} << LineEnd::Lf << false;
    QTest::newRow("no final line end") << QByteArray("one\r\ntwo") << utf8 << QStringList{"one", "two"}
                                       << QStringList{crLf, none} << LineEnd::CrLf << false;
    QTest::newRow("only line ends") << QByteArray("\n\n") << utf8 << QStringList{"", "", ""}
                                    << QStringList{lf, lf, none} << LineEnd::Lf << true;
    QTest::newRow("CR at the very end") << QByteArray("a\nb\r") << utf8 << QStringList{"a", "b", ""}
                                        << QStringList{lf, cr, none} << LineEnd::Lf << true;
    QTest::newRow("CR at the very end of a CR file") << QByteArray("a\rb\r") << utf8 << QStringList{"a", "b", ""}
                                                     << QStringList{cr, cr, none} << LineEnd::Cr << true;
    // CR LF is one end wherever it stands; CR CR LF and LF CR are two.
    QTest::newRow("CR LF split nowhere") << QByteArray("\r\r\n\n\ra\r\n") << utf8
                                         << QStringList{"", "", "", "", "a", ""}
                                         << QStringList{cr, crLf, lf, cr, crLf, none} << LineEnd::CrLf << true;
    QTest::newRow("lone CR") << QByteArray("a\rb") << utf8 << QStringList{"a", "b"} << QStringList{cr, none}
                             << LineEnd::Cr << false;
    QTest::newRow("CR LF wins a tie") << QByteArray("a\r\nb\nc") << utf8 << QStringList{"a", "b", "c"}
                                      << QStringList{crLf, lf, none} << LineEnd::CrLf << false;
    QTest::newRow("U+2029, U+FDD0 and U+FDD1 end lines")
        << QByteArray("a\xE2\x80\xA9" "b\xEF\xB7\x90" "c\xEF\xB7\x91" "d\xE2\x80\xA9") << utf8
        << QStringList{"a", "b", "c", "d", ""}
        << QStringList{QStringLiteral("\u2029"), QStringLiteral("\uFDD0"), QStringLiteral("\uFDD1"),
                       QStringLiteral("\u2029"), none}
        << LineEnd::ParagraphSeparator << true;
    QTest::newRow("U+2028 is no line end") << QByteArray("a\xE2\x80\xA8" "b\n") << utf8
                                           << QStringList{QStringLiteral("a\u2028b"), ""} << QStringList{lf, none}
                                           << LineEnd::Lf << true;
    QTest::newRow("characters next to U+2029 and U+FDD0") << QByteArray("\xE2\x80\xAA\xEF\xB7\x92\xE2\x81\xA9")
                                                          << utf8 << QStringList{QStringLiteral("\u202A\uFDD2\u2069")}
                                                          << QStringList{none} << LineEnd::Lf << false;
    QTest::newRow("those bytes in Windows-1252 are letters") << QByteArray("\xE9t\xE9\xE2\x80\xA9\n") << cp1252
                                                             << QStringList{QStringLiteral("\u00E9t\u00E9\u00E2\u20AC\u00A9"), ""}
                                                             << QStringList{lf, none} << LineEnd::Lf << true;
    // A byte of no UTF-8 sequence is a character of its own, as a path's raw byte is.
    QTest::newRow("UTF-8 but for a stray byte") << QByteArray("caf\xC3\xA9 \xFF\r\nna\xC3\xAFve\r\n") << utf8
                                                << QStringList{(QStringLiteral("caf\u00E9 ") + rawByte(0xFF)), QStringLiteral("na\u00EFve"), ""}
                                                << QStringList{crLf, crLf, none} << LineEnd::CrLf << true;
    QTest::newRow("stray continuation bytes, each a character") << QByteArray("\xC3\xA9\xC3\xA8\x80\x80x") << utf8
                                                                << QStringList{(QStringLiteral("\u00E9\u00E8") + rawByte(0x80) + rawByte(0x80) + QStringLiteral("x"))}
                                                                << QStringList{none} << LineEnd::Lf << false;
    QTest::newRow("a cut sequence before a line end") << QByteArray("\xC3\xA9\xC3\xA9\xE2\x82\n") << utf8
                                                      << QStringList{(QStringLiteral("\u00E9\u00E9") + rawByte(0xE2) + rawByte(0x82)), ""}
                                                      << QStringList{lf, none} << LineEnd::Lf << true;
    QTest::newRow("U+2029 right after a stray byte") << QByteArray("\xC3\xA9\xE9\xE2\x80\xA9x") << utf8
                                                     << QStringList{(QStringLiteral("\u00E9") + rawByte(0xE9)), "x"}
                                                     << QStringList{QStringLiteral("\u2029"), none}
                                                     << LineEnd::ParagraphSeparator << false;
    QTest::newRow("UTF-16LE") << QByteArray("\xFF\xFE" "a\0\r\0\n\0\xE9\0\x29\x20" "b\0", 14) << TextEncoding::Utf16LE
                              << QStringList{"a", QStringLiteral("\u00E9"), "b"}
                              << QStringList{crLf, QStringLiteral("\u2029"), none} << LineEnd::CrLf << false;
    QTest::newRow("UTF-16BE") << QByteArray("\xFE\xFF\0a\0\n\xD8\x3D\xDE\x00\0\r\x0A\x0D", 14) << TextEncoding::Utf16BE
                              << QStringList{"a", QStringLiteral("\U0001F600"), QStringLiteral("\u0A0D")}
                              << QStringList{lf, cr, none} << LineEnd::Lf << false;
    QTest::newRow("UTF-16 keeps a lone surrogate") << QByteArray("\xFF\xFE\x00\xD8x\0\n\0", 8) << TextEncoding::Utf16LE
                                                   << QStringList{QString(QChar(0xD800)) + QLatin1Char('x'), ""}
                                                   << QStringList{lf, none} << LineEnd::Lf << true;
    QTest::newRow("UTF-16 mark only") << QByteArray("\xFE\xFF") << TextEncoding::Utf16BE << QStringList{""}
                                      << QStringList{none} << LineEnd::Lf << false;
    QTest::newRow("a UTF-16 mark before an odd byte is Windows-1252") << QByteArray("\xFF\xFE" "a") << cp1252
                                                                      << QStringList{QStringLiteral("\u00FF\u00FEa")}
                                                                      << QStringList{none} << LineEnd::Lf << false;
    QTest::newRow("4-byte UTF-8 is a surrogate pair")
        << QByteArray("\xF0\x9F\x98\x80x\n\xF4\x8F\xBF\xBF") << utf8
        << QStringList{QStringLiteral("\U0001F600x"), QStringLiteral("\U0010FFFF")} << QStringList{lf, none}
        << LineEnd::Lf << false;
    QTest::newRow("2- and 3-byte UTF-8") << QByteArray("\xC3\xA9\xE2\x82\xAC\r\n\xEF\xBF\xBD") << utf8
                                         << QStringList{QStringLiteral("\u00E9\u20AC"), QStringLiteral("\uFFFD")}
                                         << QStringList{crLf, none} << LineEnd::CrLf << false;
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF" "a\r\nb") << TextEncoding::Utf8WithBom
                                    << QStringList{"a", "b"} << QStringList{crLf, none} << LineEnd::CrLf << false;
    QTest::newRow("BOM only") << QByteArray("\xEF\xBB\xBF") << TextEncoding::Utf8WithBom << QStringList{""}
                              << QStringList{none} << LineEnd::Lf << false;
    QTest::newRow("a second BOM is text") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF" "a\n") << TextEncoding::Utf8WithBom
                                          << QStringList{QStringLiteral("\uFEFFa"), ""} << QStringList{lf, none}
                                          << LineEnd::Lf << true;
    QTest::newRow("a BOM starting a later line") << QByteArray("a\n\xEF\xBB\xBF\xEF\xBB\xBF" "b\n\xEF\xBB\xBF") << utf8
                                                 << QStringList{"a", QStringLiteral("\uFEFF\uFEFFb"),
                                                                QStringLiteral("\uFEFF")}
                                                 << QStringList{lf, lf, none} << LineEnd::Lf << false;
    QTest::newRow("a BOM inside a line") << QByteArray("a\xEF\xBB\xBF" "b") << utf8
                                         << QStringList{QStringLiteral("a\uFEFFb")} << QStringList{none}
                                         << LineEnd::Lf << false;
    QTest::newRow("Windows-1252 bytes 0x80-0x9F") << [] {
        QByteArray high;
        for (int b = 0x80; b <= 0x9F; ++b)
            high.append(char(b));
        return high + "\r\n\xA0\xFF\r";
    }() << cp1252 << QStringList{QStringLiteral("\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021"
                                                 "\u02C6\u2030\u0160\u2039\u0152\u008D\u017D\u008F"
                                                 "\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014"
                                                 "\u02DC\u2122\u0161\u203A\u0153\u009D\u017E\u0178"),
                                 QStringLiteral("\u00A0\u00FF"), ""}
        << QStringList{crLf, cr, none} << LineEnd::CrLf << true;
    QTest::newRow("NUL bytes") << QByteArray("a\0b\n\0", 5) << utf8
                               << QStringList{QString::fromLatin1("a\0b", 3), QString(QChar(0))}
                               << QStringList{lf, none} << LineEnd::Lf << false;
    QTest::newRow("NUL in Windows-1252") << QByteArray("\xE9\0\r\n", 4) << cp1252
                                         << QStringList{QString::fromLatin1("\xE9\0", 2), ""}
                                         << QStringList{crLf, none} << LineEnd::CrLf << true;
    QTest::newRow("control bytes below CR are characters") << QByteArray("\t\x0B\x0C\x01\x0E\n") << utf8
                                                           << QStringList{"\t\x0B\x0C\x01\x0E", ""}
                                                           << QStringList{lf, none} << LineEnd::Lf << true;
}

void TextLinesTest::fromBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, encoding);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, ends);
    QFETCH(LineEnd, lineEnd);
    QFETCH(bool, finalLineEnd);
    QCOMPARE(ends.size(), lines.size());

    TextScan scan;
    scan.add(bytes);
    QCOMPARE(scan.encoding(), encoding);
    const TextLines::Read read = TextLines::fromBytes(bytes, encoding);
    const TextLines &text = read.lines;
    QCOMPARE(read.format.encoding, encoding);
    QCOMPARE(read.format.lineEnd, lineEnd);
    QCOMPARE(read.format.finalLineEnd, finalLineEnd);
    QCOMPARE(text.lineCount(), lines.size());
    // The scan counts the bytes of U+2029 and the like before it knows the encoding: in
    // Windows-1252 it may count more lines than there are, never fewer.
    if (encoding == TextEncoding::Windows1252)
        QVERIFY(scan.lineCount() >= qint64(lines.size()));
    else
        QCOMPARE(scan.lineCount(), qint64(lines.size()));
    QString fileText;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QCOMPARE(text.line(i), lines[i]);
        QCOMPARE(text.lineLength(i), text.line(i).size());
        QCOMPARE(endText(text.lineEnd(i)), ends[i]);
        fileText += lines[i] + ends[i];
    }
    QCOMPARE(text.text(), lines.join(QLatin1Char('\n')));
    QCOMPARE(text.characterCount(), text.text().size());
    // Every line has its own end, so the main one changes nothing.
    QCOMPARE(text.fileText(lineEnd), fileText);
    QCOMPARE(text.fileText(LineEnd::Fdd1), fileText);
    QCOMPARE(TextCodec::encode(fileText, read.format).value_or("(cannot encode)"), bytes);
}

void TextLinesTest::editsChangeOnlyTheLinesTheyTouch_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QByteArray>("saved");
    // Lines 0 to 3 end in CR LF, LF, CR and CR LF; CR LF is the main line end.
    QTest::newRow("no edit") << Edit([](Loaded &) {}) << QByteArray("one\r\ntwo\nthree\rfour\r\n");
    QTest::newRow("typing in line 1") << Edit([](Loaded &f) { f.lines.replace(f.lineBreak(1), f.lineBreak(1), u"X"); })
                                      << QByteArray("one\r\ntwoX\nthree\rfour\r\n");
    QTest::newRow("Enter in line 1") << Edit([](Loaded &f) {
        f.lines.replace(f.lineStart(1) + 2, f.lineStart(1) + 2, u"\n");
    }) << QByteArray("one\r\ntw\r\no\nthree\rfour\r\n");
    QTest::newRow("Delete at the end of line 1") << Edit([](Loaded &f) {
        f.lines.replace(f.lineBreak(1), f.lineBreak(1) + 1, u"");
    }) << QByteArray("one\r\ntwothree\rfour\r\n");
    QTest::newRow("Backspace at the start of line 2") << Edit([](Loaded &f) {
        f.lines.replace(f.lineStart(2) - 1, f.lineStart(2), u"");
    }) << QByteArray("one\r\ntwothree\rfour\r\n");
    QTest::newRow("line 1 removed with its break") << Edit([](Loaded &f) {
        f.lines.replace(f.lineStart(1), f.lineStart(2), u"");
    }) << QByteArray("one\r\nthree\rfour\r\n");
    QTest::newRow("line 1's break and line 2 removed") << Edit([](Loaded &f) {
        f.lines.replace(f.lineBreak(1), f.lineBreak(2), u"");
    }) << QByteArray("one\r\ntwo\rfour\r\n");
    QTest::newRow("typing over lines 0 to 2") << Edit([](Loaded &f) {
        f.lines.replace(2, f.lineStart(2) + 2, u"Y");
    }) << QByteArray("onYree\rfour\r\n");
    QTest::newRow("pasting two lines into line 1") << Edit([](Loaded &f) {
        f.lines.replace(f.lineStart(1), f.lineStart(1), u"p\nq");
    }) << QByteArray("one\r\np\r\nqtwo\nthree\rfour\r\n");
    QTest::newRow("a pasted break given an end of its own") << Edit([](Loaded &f) {
        f.lines.replace(f.lineStart(1), f.lineStart(1), u"p\nq\nr", {LineEnd::Cr});
    }) << QByteArray("one\r\np\rq\r\nrtwo\nthree\rfour\r\n");
    QTest::newRow("a line added at the end") << Edit([](Loaded &f) {
        f.lines.replace(f.lineStart(4), f.lineStart(4), u"five\n");
    }) << QByteArray("one\r\ntwo\nthree\rfour\r\nfive\r\n");
    QTest::newRow("undo of an edit elsewhere") << Edit([](Loaded &f) {
        const TextLines::Removed removed = f.lines.replace(f.lineBreak(0), f.lineBreak(0), u"!");
        f.lines.replace(f.lineBreak(0) - 1, f.lineBreak(0), removed.text, removed.ends);
    }) << QByteArray("one\r\ntwo\nthree\rfour\r\n");
    // Undo puts the break back with the end it had.
    QTest::newRow("undo of a removed break") << Edit([](Loaded &f) {
        const qint64 at = f.lineBreak(1);
        const TextLines::Removed removed = f.lines.replace(at, at + 1, u"");
        f.lines.replace(at, at, removed.text, removed.ends);
    }) << QByteArray("one\r\ntwo\nthree\rfour\r\n");
    // Given back as text alone, it is a new break.
    QTest::newRow("a removed break typed again") << Edit([](Loaded &f) {
        const qint64 at = f.lineBreak(1);
        f.lines.replace(at, at + 1, u"");
        f.lines.replace(at, at, u"\n");
    }) << QByteArray("one\r\ntwo\r\nthree\rfour\r\n");
    // The save adds the final line end the file had.
    QTest::newRow("the whole text replaced") << Edit([](Loaded &f) {
        f.lines.replace(0, f.lines.characterCount(), u"x\ny");
    }) << QByteArray("x\r\ny\r\n");
}

void TextLinesTest::editsChangeOnlyTheLinesTheyTouch()
{
    QFETCH(Edit, edit);
    QFETCH(QByteArray, saved);
    Loaded loaded("one\r\ntwo\nthree\rfour\r\n");
    QCOMPARE(loaded.read.format.lineEnd, LineEnd::CrLf);
    edit(loaded);
    QCOMPARE(loaded.saved(), saved);
}

// Text made with "\n" for its breaks: each takes the main end, the last line has none.
void TextLinesTest::textWithLineBreaks()
{
    const TextLines empty;
    QCOMPARE(empty.lineCount(), 1);
    QCOMPARE(empty.characterCount(), 0);
    QCOMPARE(empty.text(), QString());
    QCOMPARE(empty.lineAt(5), 0);

    const TextLines lines(u"ab\n\ncd\n");
    QCOMPARE(lines.lineCount(), 4);
    QCOMPARE(lines.text(), QStringLiteral("ab\n\ncd\n"));
    for (qsizetype i = 0; i < lines.lineCount(); ++i)
        QVERIFY(!lines.lineEnd(i));
    QCOMPARE(lines.fileText(LineEnd::CrLf), QStringLiteral("ab\r\n\r\ncd\r\n"));
    QCOMPARE(lines.fileText(LineEnd::Fdd0), QStringLiteral("ab\uFDD0\uFDD0cd\uFDD0"));
    // Positions out of the text are taken to its ends.
    QCOMPARE(lines.text(-3, 2), QStringLiteral("ab"));
    QCOMPARE(lines.text(4, 99), QStringLiteral("cd\n"));
    QCOMPARE(lines.lineAt(3), 1);
    QCOMPARE(lines.lineAt(4), 2);
    QCOMPARE(lines.lineStart(3), 7);
}

void TextLinesTest::everyLineReadsBackAfterASave_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<qint64>("from");
    QTest::addColumn<qint64>("to");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("the text between a lone CR and a LF removed") << QByteArray("a\rX\nb\n") << qint64(2) << qint64(3)
                                                                << QString() << QByteArray("a\r\r\nb\n");
    QTest::newRow("a new line after a lone CR, LF the main end") << QByteArray("a\rb\nc\n") << qint64(2) << qint64(2)
                                                                << QStringLiteral("\n") << QByteArray("a\r\r\nb\nc\n");
    QTest::newRow("a new line after a lone CR, CR LF the main end") << QByteArray("a\rb\r\n") << qint64(2) << qint64(2)
                                                                   << QStringLiteral("\n") << QByteArray("a\r\r\nb\r\n");
    QTest::newRow("an empty line after a lone CR that ends in CR") << QByteArray("a\rX\rb") << qint64(2) << qint64(3)
                                                                  << QString() << QByteArray("a\r\rb");
}

// What a save writes reads back as the lines the editor held.
void TextLinesTest::everyLineReadsBackAfterASave()
{
    QFETCH(QByteArray, file);
    QFETCH(qint64, from);
    QFETCH(qint64, to);
    QFETCH(QString, text);
    QFETCH(QByteArray, saved);
    Loaded loaded(file);
    loaded.lines.replace(from, to, text);
    QCOMPARE(loaded.saved(), saved);
    const Loaded again(saved);
    QCOMPARE(again.lines.text(), loaded.lines.text());
}

QTEST_GUILESS_MAIN(TextLinesTest)
#include "tst_textlines.moc"
