#include "WmfFixtures.h"

#include "picview/WmfText.h"
#include "support/TestCase.h"

#include <QFont>
#include <QTest>

// Metafile text: the characters a font's bytes stand for, where a text is aligned, and text
// drawn at the current position or at the character widths it gives, each the same as its
// spelled-out form.
class TestWmfText : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void decodeText_data();
    void decodeText();
    void placeText_data();
    void placeText();
    void textRuns_data();
    void textRuns();
    void symbolGlyphs_data();
    void symbolGlyphs();
};

namespace {
const QRect frame(0, 0, 200, 200);
constexpr int symbolCharset = 2;
const QByteArray face("DejaVu Sans");

QString characters(std::initializer_list<char16_t> codes)
{
    QString text;
    for (char16_t code : codes)
        text += QChar(code);
    return text;
}

// Pixels dark in one image and not in the other.
int differingPixels(const QImage &a, const QImage &b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            count += (qGray(a.pixel(x, y)) < 128) != (qGray(b.pixel(x, y)) < 128);
    }
    return count;
}

// A bold 20-pixel text, the frame's 200 units drawn into 100 pixels: the font is 40 units high.
// Turned by escapement tenths of a degree.
WmfBuilder textStart(int align, int escapement = 0)
{
    WmfBuilder wmf;
    wmf.transparentText().font(40, face, 0, escapement).select(0).textAlign(align);
    return wmf;
}
} // namespace

void TestWmfText::decodeText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("charset");
    QTest::addColumn<QString>("text");

    QTest::newRow("symbol: Greek capitals") << QByteArray("ABGW") << symbolCharset
                                            << characters({0x0391, 0x0392, 0x0393, 0x03A9});
    QTest::newRow("symbol: Greek small letters") << QByteArray("abgpq") << symbolCharset
                                                 << characters({0x03B1, 0x03B2, 0x03B3, 0x03C0, 0x03B8});
    QTest::newRow("symbol: large left parenthesis, its top") << QByteArray("\xE6") << symbolCharset
                                                             << characters({0x239B});
    QTest::newRow("symbol: the pieces of large parentheses")
        << QByteArray("\xE6\xE7\xE8\xF6\xF7\xF8") << symbolCharset
        << characters({0x239B, 0x239C, 0x239D, 0x239E, 0x239F, 0x23A0});
    QTest::newRow("symbol: the pieces of a large brace") << QByteArray("\xEC\xED\xEE\xEF\xFC\xFD\xFE")
                                                         << symbolCharset
                                                         << characters({0x23A7, 0x23A8, 0x23A9, 0x23AA, 0x23AB,
                                                                        0x23AC, 0x23AD});
    QTest::newRow("symbol: arrows") << QByteArray("\xAB\xAC\xAD\xAE\xAF\xDE") << symbolCharset
                                    << characters({0x2194, 0x2190, 0x2191, 0x2192, 0x2193, 0x21D2});
    QTest::newRow("symbol: signs") << QByteArray("\x22\x24\x2D\xB9\xA5\xE5\xF2") << symbolCharset
                                   << characters({0x2200, 0x2203, 0x2212, 0x2260, 0x221E, 0x2211, 0x222B});
    QTest::newRow("symbol: digits and arithmetic as they are") << QByteArray("1+2=3") << symbolCharset
                                                               << QStringLiteral("1+2=3");
    QTest::newRow("symbol: undefined bytes stay") << QByteArray("\x80\xF0\xFF", 3) << symbolCharset
                                                  << characters({0x0080, 0x00F0, 0x00FF});
    QTest::newRow("symbol: control bytes stay") << QByteArray("\x09\x0A", 2) << symbolCharset
                                                << QStringLiteral("\t\n");
    QTest::newRow("ANSI: Latin letters") << QByteArray("\xE6 a") << 0 << characters({0x00E6, 0x20, 0x61});
    QTest::newRow("ANSI: quotes, dash and euro") << QByteArray("\x93x\x94\x96\x80") << 0
                                                 << characters({0x201C, 0x78, 0x201D, 0x2013, 0x20AC});
    QTest::newRow("default: as ANSI") << QByteArray("\x85\x92") << 1 << characters({0x2026, 0x2019});
    QTest::newRow("unknown set: as ANSI") << QByteArray("\x99") << 99 << characters({0x2122});
    QTest::newRow("Greek") << QByteArray("\xE1\xE2" "a") << 161 << characters({0x03B1, 0x03B2, 0x61});
    QTest::newRow("Russian") << QByteArray("\xCF\xF0\xE8") << 204 << characters({0x041F, 0x0440, 0x0438});
    QTest::newRow("Eastern Europe") << QByteArray("\x8A\xB9") << 238 << characters({0x0160, 0x0105});
    QTest::newRow("Shift-JIS: two bytes, one character") << QByteArray("\x93\xFA") << 128
                                                         << characters({0x65E5});
    QTest::newRow("OEM: box drawing") << QByteArray("\xC9\xCD") << 255 << characters({0x2554, 0x2550});
}

void TestWmfText::decodeText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, charset);
    QFETCH(QString, text);

    QCOMPARE(Wmf::decodeText(bytes, charset), text);
}

void TestWmfText::placeText_data()
{
    QTest::addColumn<int>("align");
    QTest::addColumn<int>("escapement");
    // Where the cell's top-left corner lands, and where the current position goes next.
    QTest::addColumn<QPointF>("corner");
    QTest::addColumn<QPointF>("next");

    // A cell 40 wide and 10 high, 8 above the baseline, aligned on (100, 50).
    QTest::newRow("left, top") << 0x00 << 0 << QPointF(100, 50) << QPointF(140, 50);
    QTest::newRow("right: the position goes before the text") << 0x02 << 0 << QPointF(60, 50) << QPointF(60, 50);
    QTest::newRow("centre: the position stays") << 0x06 << 0 << QPointF(80, 50) << QPointF(100, 50);
    QTest::newRow("baseline") << 0x18 << 0 << QPointF(100, 42) << QPointF(140, 50);
    QTest::newRow("bottom") << 0x08 << 0 << QPointF(100, 40) << QPointF(140, 50);
    QTest::newRow("the current-position flag alone moves nothing") << 0x19 << 0 << QPointF(100, 42)
                                                                  << QPointF(140, 50);
    // Turned a quarter counter-clockwise, the text runs up, its top to the left.
    QTest::newRow("turned up, left, baseline") << 0x18 << 900 << QPointF(92, 50) << QPointF(100, 10);
    QTest::newRow("turned up, right, baseline") << 0x1A << 900 << QPointF(92, 90) << QPointF(100, 90);
}

void TestWmfText::placeText()
{
    QFETCH(int, align);
    QFETCH(int, escapement);
    QFETCH(QPointF, corner);
    QFETCH(QPointF, next);

    const Wmf::TextPlacement placed = Wmf::placeText(QPointF(100, 50), 40, 8, 10, align, escapement);
    const QPointF mapped = placed.cell.map(QPointF(0, 0));
    QVERIFY2(qAbs(mapped.x() - corner.x()) < 1e-9 && qAbs(mapped.y() - corner.y()) < 1e-9,
             qPrintable(QStringLiteral("%1, %2").arg(mapped.x()).arg(mapped.y())));
    QVERIFY2(qAbs(placed.next.x() - next.x()) < 1e-9 && qAbs(placed.next.y() - next.y()) < 1e-9,
             qPrintable(QStringLiteral("%1, %2").arg(placed.next.x()).arg(placed.next.y())));
}

void TestWmfText::textRuns_data()
{
    QTest::addColumn<QByteArray>("runs");
    QTest::addColumn<QByteArray>("expected");

    // Drawn at the current position, a text's own point (0, 0 here) counts for nothing, and
    // the next text starts where it ended.
    {
        WmfBuilder runs = textStart(0x19);
        runs.moveTo(40, 120).textOut(0, 0, "HH").textOut(0, 0, "HH");
        WmfBuilder expected = textStart(0x18);
        expected.textOut(40, 120, "HHHH");
        QTest::newRow("left: the second text starts where the first ended")
            << runs.build(frame, 1440) << expected.build(frame, 1440);
    }
    {
        WmfBuilder runs = textStart(0x19);
        runs.moveTo(40, 120).extTextOut(0, 0, "HH").textOut(0, 0, "H").extTextOut(0, 0, "H");
        WmfBuilder expected = textStart(0x18);
        expected.textOut(40, 120, "HHHH");
        QTest::newRow("either text record") << runs.build(frame, 1440) << expected.build(frame, 1440);
    }
    {
        WmfBuilder runs = textStart(0x1B);
        runs.moveTo(180, 120).textOut(0, 0, "HH").textOut(0, 0, "HH");
        WmfBuilder expected = textStart(0x1A);
        expected.textOut(180, 120, "HHHH");
        QTest::newRow("right: each text before the one before") << runs.build(frame, 1440)
                                                                << expected.build(frame, 1440);
    }
    {
        WmfBuilder runs = textStart(0x19, 900);
        runs.moveTo(100, 190).textOut(0, 0, "HH").textOut(0, 0, "HH");
        WmfBuilder expected = textStart(0x18, 900);
        expected.textOut(100, 190, "HHHH");
        QTest::newRow("turned: along the baseline") << runs.build(frame, 1440) << expected.build(frame, 1440);
    }
    {
        WmfBuilder runs = textStart(0x1F);
        runs.moveTo(100, 120).textOut(0, 0, "HH").textOut(0, 0, "HH");
        WmfBuilder expected = textStart(0x1E);
        expected.textOut(100, 120, "HH").textOut(100, 120, "HH");
        QTest::newRow("centred: the position stays") << runs.build(frame, 1440) << expected.build(frame, 1440);
    }
    {
        // Text at its own point in between leaves the position where the run left it; a
        // move starts a new run.
        WmfBuilder runs = textStart(0x19);
        runs.moveTo(40, 120).textOut(0, 0, "HH").textAlign(0x18).textOut(40, 180, "H").textAlign(0x19);
        runs.textOut(0, 0, "HH").moveTo(40, 60).textOut(0, 0, "H");
        WmfBuilder expected = textStart(0x18);
        expected.textOut(40, 120, "HHHH").textOut(40, 180, "H").textOut(40, 60, "H");
        QTest::newRow("other text and moves in between") << runs.build(frame, 1440) << expected.build(frame, 1440);
    }
    {
        // A saved state keeps the position, and restoring it takes the run back there.
        WmfBuilder runs = textStart(0x19);
        runs.moveTo(40, 120).record(0x001E, {}).textOut(0, 0, "HH").record(0x0127, {-1}).textOut(0, 0, "H");
        WmfBuilder expected = textStart(0x18);
        expected.textOut(40, 120, "HH").textOut(40, 120, "H");
        QTest::newRow("restored with the state") << runs.build(frame, 1440) << expected.build(frame, 1440);
    }
    // Where a text gives each character's width, each stands where the widths put it,
    // however wide the font's own letters are; "i" is much narrower than "H".
    {
        WmfBuilder runs = textStart(0x18);
        runs.extTextOut(20, 120, "HiH", {70, 50, 0});
        WmfBuilder expected = textStart(0x18);
        expected.textOut(20, 120, "H").textOut(90, 120, "i").textOut(140, 120, "H");
        QTest::newRow("each at its width") << runs.build(frame, 1440) << expected.build(frame, 1440);
    }
    {
        // Aligned right, the widths' sum is the text's width.
        WmfBuilder runs = textStart(0x1A);
        runs.extTextOut(190, 120, "HH", {80, 60});
        WmfBuilder expected = textStart(0x18);
        expected.textOut(50, 120, "H").textOut(130, 120, "H");
        QTest::newRow("aligned by their sum") << runs.build(frame, 1440) << expected.build(frame, 1440);
    }
    {
        // On the current position, the next text starts where the widths end.
        WmfBuilder runs = textStart(0x19);
        runs.moveTo(20, 120).extTextOut(0, 0, "H", {90}).textOut(0, 0, "H");
        WmfBuilder expected = textStart(0x18);
        expected.textOut(20, 120, "H").textOut(110, 120, "H");
        QTest::newRow("the position moves by them") << runs.build(frame, 1440) << expected.build(frame, 1440);
    }
}

void TestWmfText::textRuns()
{
    QFETCH(QByteArray, runs);
    QFETCH(QByteArray, expected);

    const QImage image = WmfTest::render(runs);
    const QImage reference = WmfTest::render(expected);
    QVERIFY(WmfTest::darkPixels(reference, reference.rect()) > 100);
    QCOMPARE(image, reference);
}

void TestWmfText::symbolGlyphs_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("large parenthesis, its top") << QByteArray("\xE6") << characters({0x239B});
    QTest::newRow("alpha beta") << QByteArray("ab") << characters({0x03B1, 0x03B2});
    QTest::newRow("arrow right") << QByteArray("\xAE") << characters({0x2192});
}

void TestWmfText::symbolGlyphs()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);

    // 30 pixels high on a baseline at (20, 60), one unit a pixel.
    auto play = [&bytes](int charset) {
        WmfBuilder wmf;
        wmf.transparentText().font(30, face, charset).select(0).textAlign(0x18).textOut(20, 60, bytes);
        return WmfTest::render(wmf.build(QRect(0, 0, 100, 100), 1440));
    };
    const QImage symbol = play(symbolCharset);
    const QImage latin = play(0);
    QImage expected(100, 100, QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        QPainter painter(&expected);
        QFont font{QString::fromLatin1(face)};
        font.setWeight(QFont::Bold);
        font.setPixelSize(30);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(20, 60), text);
    }
    const int dark = WmfTest::darkPixels(expected, expected.rect());
    QVERIFY(dark > 20);
    // The symbol's glyph, not the letter the byte is in Latin-1.
    QVERIFY2(differingPixels(symbol, expected) <= dark / 50,
             qPrintable(QString::number(differingPixels(symbol, expected))));
    QVERIFY(differingPixels(latin, expected) > dark / 4);
}

QTEST_MAIN(TestWmfText)

#include "tst_wmftext.moc"
