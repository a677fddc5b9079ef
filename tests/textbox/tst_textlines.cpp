// The editor's text as lines: a file's bytes read into lines, each keeping its own line end
// through the edits; positions; and what a replace hands back so that undo restores the bytes.

#include "textbox/TextLines.h"
#include "textbox/TextScan.h"
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

using End = TextLines::End;

// A file's text as the scan and the load read it.
struct Loaded
{
    TextLines::Read read;
    TextLines &lines = read.lines;

    explicit Loaded(const QByteArray &bytes) : read(TextLines::fromBytes(bytes, encodingOf(bytes))) {}

    static TextEncoding encodingOf(const QByteArray &bytes)
    {
        TextScan scan;
        scan.add(bytes);
        return scan.encoding();
    }
    // The bytes a save writes.
    QByteArray saved() const
    {
        return TextCodec::encode(lines.fileText(read.format.lineEnd), read.format).value_or("(cannot encode)");
    }
    qint64 lineStart(qsizetype line) const { return lines.lineStart(line); }
    // Where the line break after line stands.
    qint64 lineBreak(qsizetype line) const { return lines.lineStart(line) + lines.lineLength(line); }
};

// The characters a line ends in, none for the last line.
QString endText(End end)
{
    return end ? LineEnds::text(*end).toString() : QString();
}

// The plain view of the text: "\n" for every break, and beside it the end of each break.
struct Model
{
    QString text;
    std::vector<End> ends;

    QStringList lines() const { return text.split(QLatin1Char('\n')); }
    QString fileText(LineEnd main) const
    {
        const QStringList all = lines();
        QString out;
        for (qsizetype i = 0; i < all.size(); ++i) {
            out += all[i];
            if (i + 1 == all.size())
                break;
            LineEnd end = ends[size_t(i)].value_or(main);
            // CR, then LF would read back as one line end.
            if (end == LineEnd::Lf && out.endsWith(QLatin1Char('\r')))
                end = LineEnd::CrLf;
            out += LineEnds::text(end);
        }
        return out;
    }
};

// Compares every question lines answers with the model; random picks the spans text() is
// asked for.
void compareWithModel(const TextLines &lines, const Model &model, QRandomGenerator &random)
{
    const qint64 size = model.text.size();
    QCOMPARE(lines.text(), model.text);
    QCOMPARE(lines.characterCount(), size);
    const QStringList modelLines = model.lines();
    QCOMPARE(lines.lineCount(), modelLines.size());
    qint64 start = 0;
    for (qsizetype i = 0; i < modelLines.size(); ++i) {
        QCOMPARE(lines.line(i), modelLines[i]);
        QCOMPARE(lines.lineLength(i), modelLines[i].size());
        QCOMPARE(lines.lineStart(i), start);
        const bool last = i + 1 == modelLines.size();
        QVERIFY2(last ? !lines.lineEnd(i) : lines.lineEnd(i) == model.ends[size_t(i)],
                 qPrintable(QStringLiteral("line %1").arg(i)));
        start += modelLines[i].size() + 1;
    }
    // A break belongs to the line it ends; past the end is the last line.
    qsizetype line = 0;
    for (qint64 position = 0; position <= size; ++position) {
        QCOMPARE(lines.lineAt(position), line);
        if (position < size && model.text.at(position) == QLatin1Char('\n'))
            ++line;
    }
    QCOMPARE(lines.lineAt(size + 1), lines.lineCount() - 1);
    for (int n = 0; n < 12; ++n) {
        const qint64 from = random.bounded(int(size) + 1);
        const qint64 to = from + random.bounded(int(size - from) + 1);
        QCOMPARE(lines.text(from, to), model.text.sliced(from, to - from));
    }
    for (const LineEnd main : {LineEnd::CrLf, LineEnd::Cr})
        QCOMPARE(lines.fileText(main), model.fileText(main));
    // A save writes line by line what the codec writes of the whole file text.
    for (const TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Utf8WithBom, TextEncoding::Windows1252,
                                        TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
        for (const LineEnd main : {LineEnd::Lf, LineEnd::CrLf, LineEnd::ParagraphSeparator}) {
            for (const bool finalLineEnd : {false, true}) {
                const TextFormat format{encoding, main, finalLineEnd};
                const QString fileText = lines.fileText(main);
                const std::optional<QByteArray> whole = TextCodec::encode(fileText, format);
                QVERIFY2(lines.encode(format) == whole,
                         qPrintable(QStringLiteral("%1, main end %2, final end %3")
                                        .arg(TextCodec::encodingName(encoding)).arg(int(main)).arg(finalLineEnd)));
                const std::optional<TextLines::Unencodable> stop = lines.firstUnencodable(encoding, main);
                QCOMPARE(bool(stop), bool(TextCodec::firstUnencodable(fileText, encoding)));
            }
        }
    }
}

// position moved off the middle of a surrogate pair, so that no edit splits a character.
qint64 offPair(const QString &text, qint64 position)
{
    if (position > 0 && position < text.size() && text.at(position).isLowSurrogate()
        && text.at(position - 1).isHighSurrogate())
        return position - 1;
    return position;
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
    void randomEditsKeepTheLineEndsInStep();
    void randomEditsAgreeWithAPlainModel_data();
    void randomEditsAgreeWithAPlainModel();
    void positionsInALongText();
    void longLinesBreakJoinAndTakeTyping();
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

// Each edit is checked against a plain model of the text in which each line end is a
// character: what an edit removes goes, what it adds is new.
void TextLinesTest::randomEditsKeepTheLineEndsInStep()
{
    Loaded loaded("a\r\nbb\ncc\rdd\r\nee\nf\rg\r\nh\n");
    QString text = loaded.lines.text();
    std::vector<End> ends;
    for (qsizetype line = 0; line + 1 < loaded.lines.lineCount(); ++line)
        ends.push_back(loaded.lines.lineEnd(line));
    QCOMPARE(ends.size(), size_t(8));

    QRandomGenerator random(30);
    const QString pieces[] = {QStringLiteral("x"), QStringLiteral("\n"), QStringLiteral("yz"), QStringLiteral("\n\n")};
    for (int step = 0; step < 400; ++step) {
        const int position = random.bounded(int(text.size()) + 1);
        const int length = random.bounded(std::min<int>(6, int(text.size()) - position) + 1);
        QString added;
        for (int n = random.bounded(3); n > 0; --n)
            added += pieces[random.bounded(4)];
        // Keep the text from growing without end.
        if (text.size() > 60 && added.size() > length)
            added.clear();

        const qsizetype first = text.first(position).count(QLatin1Char('\n'));
        const qsizetype removed = text.sliced(position, length).count(QLatin1Char('\n'));
        ends.erase(ends.begin() + first, ends.begin() + first + removed);
        ends.insert(ends.begin() + first, size_t(added.count(QLatin1Char('\n'))), std::nullopt);
        text.replace(position, length, added);

        loaded.lines.replace(position, position + length, added);
        QCOMPARE(loaded.lines.lineCount() - 1, qsizetype(ends.size()));
        for (qsizetype line = 0; line < qsizetype(ends.size()); ++line)
            QVERIFY2(loaded.lines.lineEnd(line) == ends[size_t(line)],
                     qPrintable(QStringLiteral("step %1, line %2").arg(step).arg(line)));
    }
}

void TextLinesTest::randomEditsAgreeWithAPlainModel_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("UTF-8, every line end") << QByteArray("a\r\nbb\ncc\rdd\xE2\x80\xA9\xC3\xA9\xF0\x9F\x98\x80"
                                                         "\xEF\xB7\x90" "f\xEF\xB7\x91g\r\n") << quint32(1);
    QTest::newRow("UTF-8 with BOM, no final end") << QByteArray("\xEF\xBB\xBFx\r\ny\r\n\r\n\xEF\xBB\xBFz")
                                                  << quint32(2);
    QTest::newRow("Windows-1252") << QByteArray("caf\xE9\r\n\x80\x81\r\x9F\n\n\r") << quint32(3);
    QTest::newRow("empty file") << QByteArray() << quint32(4);
}

// Random edits, each compared with the model, and now and then undone a few at a time: each
// undo gives back the bytes the file had before the edit it undoes.
void TextLinesTest::randomEditsAgreeWithAPlainModel()
{
    QFETCH(QByteArray, bytes);
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    Loaded loaded(bytes);
    QCOMPARE(loaded.saved(), bytes);
    Model model{loaded.lines.text(), {}};
    for (qsizetype line = 0; line + 1 < loaded.lines.lineCount(); ++line)
        model.ends.push_back(loaded.lines.lineEnd(line));
    compareWithModel(loaded.lines, model, random);
    if (QTest::currentTestFailed())
        return;

    QStringList pieces{"x", "\n", "yz", "\n\n", QStringLiteral("\u00E9"), QStringLiteral("\u20AC")};
    if (loaded.read.format.encoding != TextEncoding::Windows1252)
        pieces << QStringLiteral("\U0001F600") << QStringLiteral("\u4E2D\n");
    const LineEnd givenEnds[] = {LineEnd::CrLf, LineEnd::Lf, LineEnd::Cr, LineEnd::ParagraphSeparator};

    struct Done
    {
        qint64 position;
        qint64 insertedSize;
        std::vector<End> insertedEnds;
        TextLines::Removed removed;
        Model before;
        QByteArray bytesBefore;
    };
    std::vector<Done> done;
    const auto undo = [&] {
        const Done last = done.back();
        done.pop_back();
        const TextLines::Removed redo = loaded.lines.replace(last.position, last.position + last.insertedSize,
                                                             last.removed.text, last.removed.ends);
        QCOMPARE(redo.text.size(), last.insertedSize);
        QVERIFY(redo.ends == last.insertedEnds);
        QCOMPARE(loaded.saved(), last.bytesBefore);
        model = last.before;
    };

    for (int step = 0; step < 300; ++step) {
        const QString &text = model.text;
        const qint64 from = offPair(text, random.bounded(int(text.size()) + 1));
        const qint64 to = std::max(from, offPair(text, from + random.bounded(std::min<int>(6, int(text.size() - from)) + 1)));
        QString added;
        for (int n = random.bounded(3); n > 0; --n)
            added += pieces[random.bounded(int(pieces.size()))];
        if (text.size() > 80 && added.size() > to - from)
            added.clear();
        // Some breaks come with an end of their own, the rest take the main one.
        std::vector<End> given;
        for (qsizetype n = random.bounded(int(added.count(QLatin1Char('\n'))) + 1); n > 0; --n)
            given.push_back(random.bounded(2) ? End(givenEnds[random.bounded(4)]) : End());
        std::vector<End> addedEnds = given;
        addedEnds.resize(size_t(added.count(QLatin1Char('\n'))));

        Done record{from, added.size(), addedEnds, {}, model, loaded.saved()};
        const qsizetype first = text.first(from).count(QLatin1Char('\n'));
        const qsizetype removedBreaks = text.sliced(from, to - from).count(QLatin1Char('\n'));
        const std::vector<End> removedEnds(model.ends.begin() + first, model.ends.begin() + first + removedBreaks);
        const QString removedText = text.sliced(from, to - from);
        model.ends.erase(model.ends.begin() + first, model.ends.begin() + first + removedBreaks);
        model.ends.insert(model.ends.begin() + first, addedEnds.begin(), addedEnds.end());
        model.text.replace(from, to - from, added);

        record.removed = loaded.lines.replace(from, to, added, given);
        QCOMPARE(record.removed.text, removedText);
        QVERIFY(record.removed.ends == removedEnds);
        done.push_back(std::move(record));
        compareWithModel(loaded.lines, model, random);
        if (QTest::currentTestFailed()) {
            qInfo("at step %d", step);
            return;
        }

        if (random.bounded(4) == 0) {
            for (int n = random.bounded(1, 4); n > 0 && !done.empty(); --n) {
                undo();
                if (!QTest::currentTestFailed())
                    compareWithModel(loaded.lines, model, random);
                if (QTest::currentTestFailed()) {
                    qInfo("at an undo after step %d", step);
                    return;
                }
            }
        }
    }
    while (!done.empty()) {
        undo();
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(loaded.saved(), bytes);
    compareWithModel(loaded.lines, model, random);
}

// Line starts are worked out as far as asked and again after an edit: questions near and far,
// between edits anywhere in a text of many lines, against starts counted afresh each time.
void TextLinesTest::positionsInALongText()
{
    QByteArray bytes;
    const char *const ends[] = {"\r\n", "\n", "\r"};
    for (int i = 0; i < 5000; ++i)
        bytes += QByteArray(i % 7, 'x') + QByteArray::number(i) + ends[i % 3];
    Loaded loaded(bytes);
    QCOMPARE(loaded.saved(), bytes);
    QString text = loaded.lines.text();
    QRandomGenerator random(5);
    for (int step = 0; step < 100; ++step) {
        std::vector<qint64> starts{0};
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i) == QLatin1Char('\n'))
                starts.push_back(i + 1);
        }
        QCOMPARE(loaded.lines.lineCount(), qsizetype(starts.size()));
        // Now and then every line's start and break in turn, each the first position of the next
        // line not worked out yet.
        if (step % 10 == 0) {
            for (qsizetype line = 0; line < qsizetype(starts.size()); ++line) {
                QCOMPARE(loaded.lines.lineAt(starts[size_t(line)]), line);
                if (line > 0)
                    QCOMPARE(loaded.lines.lineAt(starts[size_t(line)] - 1), line - 1);
            }
        }
        for (int n = 0; n < 40; ++n) {
            const qint64 position = random.bounded(int(text.size()) + 1);
            const auto after = std::upper_bound(starts.begin(), starts.end(), position);
            QCOMPARE(loaded.lines.lineAt(position), qsizetype(after - starts.begin()) - 1);
            const qsizetype line = random.bounded(int(starts.size()));
            QCOMPARE(loaded.lines.lineStart(line), starts[size_t(line)]);
        }
        const qint64 from = random.bounded(int(text.size()) + 1);
        const qint64 to = std::min<qint64>(text.size(), from + random.bounded(30));
        QCOMPARE(loaded.lines.text(from, to), text.sliced(from, to - from));
        const QString added = random.bounded(2) ? QStringLiteral("a\nb") : QString();
        loaded.lines.replace(from, to, added);
        text.replace(from, to - from, added);
    }
    QCOMPARE(loaded.lines.text(), text);
    QCOMPARE(loaded.lines.characterCount(), text.size());
}

// Lines far longer than a screen, read from a file: typed into, broken near their start, their
// middle and their end, joined again either way round and cut across, each edit checked against
// the model, and all of it undone back to the file's bytes.
void TextLinesTest::longLinesBreakJoinAndTakeTyping()
{
    QByteArray bytes;
    for (int line = 0; line < 3; ++line) {
        for (int word = 0; bytes.size() < (line + 1) * 90000; ++word)
            bytes += "w" + QByteArray::number(word % 977) + (word % 9 ? " " : "\xC3\xA9 ");
        bytes += line == 1 ? "\r\n" : "\n";
    }
    Loaded loaded(bytes);
    QCOMPARE(loaded.saved(), bytes);
    Model model{loaded.lines.text(), {}};
    for (qsizetype line = 0; line + 1 < loaded.lines.lineCount(); ++line)
        model.ends.push_back(loaded.lines.lineEnd(line));
    QRandomGenerator random(11);
    struct Done
    {
        qint64 position;
        qint64 insertedSize;
        TextLines::Removed removed;
    };
    std::vector<Done> done;
    for (int step = 0; step < 40; ++step) {
        const QString &text = model.text;
        // Mostly within a line, near its start or its end or anywhere; now and then a join.
        const qsizetype line = random.bounded(int(loaded.lines.lineCount()));
        const qint64 start = loaded.lines.lineStart(line);
        const qint64 length = loaded.lines.lineLength(line);
        const qint64 at[] = {start + random.bounded(int(length) / 50 + 1), start + length - random.bounded(int(length) / 50 + 1),
                             start + random.bounded(int(length) + 1)};
        qint64 from = offPair(text, at[random.bounded(3)]);
        const int kind = random.bounded(5);
        qint64 to = from;
        QString added;
        if (kind == 0)
            added = QStringLiteral("x");
        else if (kind == 1)
            added = QStringLiteral("\n");
        else if (kind == 2)
            added = QStringLiteral("pasted\nlines\n");
        else if (kind == 3 && line + 1 < loaded.lines.lineCount()) {
            from = start + length;
            to = from + 1;
        }
        else
            to = offPair(text, std::min<qint64>(text.size(), from + random.bounded(200000)));
        const qsizetype first = text.first(from).count(QLatin1Char('\n'));
        const qsizetype removedBreaks = text.sliced(from, to - from).count(QLatin1Char('\n'));
        model.ends.erase(model.ends.begin() + first, model.ends.begin() + first + removedBreaks);
        model.ends.insert(model.ends.begin() + first, size_t(added.count(QLatin1Char('\n'))), End());
        const QString removedText = text.sliced(from, to - from);
        model.text.replace(from, to - from, added);
        done.push_back({from, added.size(), loaded.lines.replace(from, to, added)});
        QCOMPARE(done.back().removed.text, removedText);
        QCOMPARE(loaded.lines.text(), model.text);
        const QStringList modelLines = model.lines();
        QCOMPARE(loaded.lines.lineCount(), modelLines.size());
        qint64 lineStart = 0;
        for (qsizetype i = 0; i < modelLines.size(); ++i) {
            QCOMPARE(loaded.lines.lineStart(i), lineStart);
            QCOMPARE(loaded.lines.lineLength(i), modelLines[i].size());
            QCOMPARE(loaded.lines.line(i), modelLines[i]);
            QVERIFY(i + 1 == modelLines.size() || loaded.lines.lineEnd(i) == model.ends[size_t(i)]);
            lineStart += modelLines[i].size() + 1;
        }
        QCOMPARE(loaded.lines.lineAt(model.text.size()), modelLines.size() - 1);
    }
    while (!done.empty()) {
        const Done last = done.back();
        done.pop_back();
        loaded.lines.replace(last.position, last.position + last.insertedSize, last.removed.text, last.removed.ends);
    }
    QCOMPARE(loaded.saved(), bytes);
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
