#include "WmfFixtures.h"

#include "support/TestCase.h"

#include <QTest>

#include <algorithm>
#include <functional>

// Pens and brushes as a metafile means them: thin pens stay visible at any scale, with dashes
// in pixels; pattern brushes tile in pixels, a monochrome one in the text and background
// colours.
class TestWmfStyles : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void thinPens_data();
    void thinPens();
    void widePens();
    void dashes_data();
    void dashes();
    void patternBrushes_data();
    void patternBrushes();
};

namespace {
// 1500 units to an edge: drawn into 100 x 100 pixels, fifteen units make a pixel.
const QRect frame(0, 0, 1500, 1500);

enum PenStyle { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4 };

// The lengths of the runs of dark and of light pixels along row y, without the runs that
// touch either end of [from, to].
struct Runs
{
    QList<int> dark;
    QList<int> light;
};
Runs runsAlong(const QImage &image, int y, int from, int to)
{
    Runs runs;
    int start = from;
    for (int x = from + 1; x <= to + 1; ++x) {
        const bool dark = qGray(image.pixel(start, y)) < 128;
        if (x <= to && (qGray(image.pixel(x, y)) < 128) == dark)
            continue;
        if (start > from && x <= to)
            (dark ? runs.dark : runs.light).append(x - start);
        start = x;
    }
    return runs;
}
} // namespace

void TestWmfStyles::thinPens_data()
{
    QTest::addColumn<int>("width");

    QTest::newRow("width 1, a fifteenth of a pixel") << 1;
    QTest::newRow("width 0") << 0;
    QTest::newRow("width 5, a third of a pixel") << 5;
    QTest::newRow("width 14, just under a pixel") << 14;
}

void TestWmfStyles::thinPens()
{
    QFETCH(int, width);

    // A polyline across the top, then down diagonally to the bottom left.
    WmfBuilder wmf;
    wmf.pen(Solid, width, Qt::black).select(0).polyline({{75, 300}, {1425, 300}, {75, 1425}});
    const QImage image = WmfTest::render(wmf.build(frame, 1440));
    for (int x = 6; x <= 94; ++x) {
        QVERIFY2(WmfTest::darkPixels(image, QRect(x, 19, 1, 3)) > 0, qPrintable(QStringLiteral("top, x %1").arg(x)));
        const int y = qRound(20 + (95.0 - x) * 75 / 90);
        QVERIFY2(WmfTest::darkPixels(image, QRect(x, y - 1, 1, 3)) > 0,
                 qPrintable(QStringLiteral("diagonal, x %1").arg(x)));
    }
    // One pixel wide, not more.
    QCOMPARE(WmfTest::darkPixels(image, QRect(50, 10, 1, 5)), 0);
    QVERIFY(WmfTest::darkPixels(image, QRect(50, 15, 1, 10)) <= 2);
}

void TestWmfStyles::widePens()
{
    // 150 units make ten pixels: the pen scales with the picture, and a dashed one is solid.
    for (int style : {Solid, Dash}) {
        WmfBuilder wmf;
        wmf.pen(style, 150, Qt::black).select(0).polyline({{0, 750}, {1500, 750}});
        const QImage image = WmfTest::render(wmf.build(frame, 1440));
        const int thickness = WmfTest::darkPixels(image, QRect(50, 0, 1, 100));
        QVERIFY2(thickness >= 9 && thickness <= 11, qPrintable(QString::number(thickness)));
        QCOMPARE(WmfTest::darkPixels(image, QRect(10, 50, 80, 1)), 80);
    }
}

void TestWmfStyles::dashes_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("width");
    QTest::addColumn<QList<int>>("dashes");
    QTest::addColumn<QList<int>>("gaps");

    QTest::newRow("dash, width 0") << int(Dash) << 0 << QList<int>{18} << QList<int>{6};
    QTest::newRow("dash, width 1") << int(Dash) << 1 << QList<int>{18} << QList<int>{6};
    QTest::newRow("dot") << int(Dot) << 0 << QList<int>{3} << QList<int>{3};
    QTest::newRow("dash dot") << int(DashDot) << 0 << QList<int>{9, 3} << QList<int>{6};
    QTest::newRow("dash dot dot") << int(DashDotDot) << 1 << QList<int>{9, 3} << QList<int>{3};
}

void TestWmfStyles::dashes()
{
    QFETCH(int, style);
    QFETCH(int, width);
    QFETCH(QList<int>, dashes);
    QFETCH(QList<int>, gaps);

    WmfBuilder wmf;
    wmf.pen(style, width, Qt::black).select(0).polyline({{0, 750}, {1500, 750}});
    const QImage image = WmfTest::render(wmf.build(frame, 1440));
    const Runs runs = runsAlong(image, 50, 0, 99);
    QVERIFY2(runs.dark.size() >= 3 && runs.light.size() >= 3,
             qPrintable(QStringLiteral("%1 dashes, %2 gaps").arg(runs.dark.size()).arg(runs.light.size())));
    // Each dash and gap is as many pixels as the style says (give or take one).
    auto near = [](const QList<int> &expected, int length) {
        return std::any_of(expected.begin(), expected.end(), [length](int e) { return qAbs(e - length) <= 1; });
    };
    for (int dash : runs.dark)
        QVERIFY2(near(dashes, dash), qPrintable(QStringLiteral("dash of %1").arg(dash)));
    for (int gap : runs.light)
        QVERIFY2(near(gaps, gap), qPrintable(QStringLiteral("gap of %1").arg(gap)));
    // Only along the line.
    QCOMPARE(WmfTest::darkPixels(image, QRect(0, 0, 100, 48)), 0);
}

void TestWmfStyles::patternBrushes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QColor>("zero");
    QTest::addColumn<QColor>("one");

    auto checkerboard = [](int x, int y) { return (x + y) % 2 == 1; };
    const QByteArray blackWhite = WmfBuilder::monochromeDib(8, 8, qRgb(0, 0, 0), qRgb(255, 255, 255), checkerboard);
    const QByteArray greenYellow = WmfBuilder::monochromeDib(8, 8, qRgb(0, 255, 0), qRgb(255, 255, 0), checkerboard);
    // The brush from make, filling the frame in text colour red on background blue.
    auto fillWith = [](const std::function<void(WmfBuilder &)> &make) {
        WmfBuilder wmf;
        wmf.pen(5, 0, Qt::black).select(0).textColor(Qt::red).backColor(Qt::blue);
        make(wmf);
        return wmf.select(1).rectangle(0, 0, 1500, 1500).build(frame, 1440);
    };
    QTest::newRow("monochrome DIB pattern")
        << fillWith([&](WmfBuilder &wmf) { wmf.dibPatternBrush(3, 0, blackWhite); }) << QColor(Qt::red)
        << QColor(Qt::blue);
    QTest::newRow("monochrome DIB pattern, its own colours ignored")
        << fillWith([&](WmfBuilder &wmf) { wmf.dibPatternBrush(3, 0, greenYellow); }) << QColor(Qt::red)
        << QColor(Qt::blue);
    QTest::newRow("one-bit DIB of palette indexes")
        << fillWith([&](WmfBuilder &wmf) { wmf.dibPatternBrush(6, 1, greenYellow); }) << QColor(Qt::red)
        << QColor(Qt::blue);
    QTest::newRow("old monochrome bitmap")
        << fillWith([&](WmfBuilder &wmf) { wmf.monochromePatternBrush(8, 8, checkerboard); }) << QColor(Qt::red)
        << QColor(Qt::blue);
    QTest::newRow("colours set after the brush is selected")
        << fillWith([&](WmfBuilder &wmf) {
               wmf.dibPatternBrush(3, 0, blackWhite).select(1).textColor(Qt::green).backColor(Qt::yellow);
           })
        << QColor(Qt::green) << QColor(Qt::yellow);
    QTest::newRow("DIB pattern brush in its own colours")
        << fillWith([&](WmfBuilder &wmf) { wmf.dibPatternBrush(6, 0, greenYellow); }) << QColor(Qt::green)
        << QColor(Qt::yellow);
}

void TestWmfStyles::patternBrushes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QColor, zero);
    QFETCH(QColor, one);

    // The tiles lie in pixels, whatever the scale: neighbouring pixels alternate.
    const QImage image = WmfTest::render(bytes);
    for (int y = 20; y < 80; ++y) {
        for (int x = 20; x < 80; ++x) {
            const QColor expected = (x + y) % 2 == 1 ? one : zero;
            QVERIFY2(image.pixelColor(x, y) == expected,
                     qPrintable(QStringLiteral("%1, %2: %3").arg(x).arg(y).arg(image.pixelColor(x, y).name())));
        }
    }
}

QTEST_MAIN(TestWmfStyles)
#include "tst_wmfstyles.moc"
