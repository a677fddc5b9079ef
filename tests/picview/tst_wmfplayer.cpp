#include "WmfFixtures.h"

#include "picview/Picture.h"
#include "picview/PictureFile.h"
#include "picview/WmfPlayer.h"
#include "picview/WmfReader.h"
#include "platform/PosixFileServices.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QRect frame(0, 0, 100, 100);

using WmfTest::darkPixels;
using WmfTest::render;

// A red square from (20, 20) to (60, 60) without an outline.
WmfBuilder redSquare()
{
    WmfBuilder wmf;
    wmf.pen(5, 0, Qt::black).select(0).brush(0, Qt::red).select(1).rectangle(20, 20, 60, 60);
    return wmf;
}

// Red, green, blue and yellow pixels, in reading order.
QImage quartersImage()
{
    QImage quarters(2, 2, QImage::Format_RGB32);
    quarters.setPixelColor(0, 0, Qt::red);
    quarters.setPixelColor(1, 0, Qt::green);
    quarters.setPixelColor(0, 1, Qt::blue);
    quarters.setPixelColor(1, 1, Qt::yellow);
    return quarters;
}

// Each seed of the fuzz corpus: the fixtures of these tests.
QList<std::pair<QString, QByteArray>> seeds()
{
    const QImage quarters = quartersImage();
    WmfBuilder shapes = redSquare();
    shapes.record(0x0418, {90, 90, 70, 70})
        .record(0x061C, {10, 10, 95, 40, 70, 5})
        .record(0x0817, {0, 100, 50, 0, 100, 100, 0, 0})
        .record(0x081A, {0, 100, 50, 0, 100, 100, 0, 0})
        .record(0x0830, {0, 100, 50, 0, 100, 100, 0, 0})
        .record(0x0214, {0, 0})
        .record(0x0213, {100, 100})
        .record(0x041F, {0xff, 0, 5, 5})
        .record(0x001E, {})
        .record(0x0416, {50, 50, 0, 0})
        .record(0x0415, {20, 20, 0, 0})
        .record(0x061D, {0x0021, 0x00F0, 100, 100, 0, 0})
        .record(0x0127, {-1});
    WmfBuilder polys;
    polys.brush(2, Qt::blue, 3).select(0).polygon({{10, 10}, {90, 10}, {50, 90}});
    polys.raw(0x0538, QByteArray::fromHex("0200030004000a000a0014000a000a001400"
                                          "1e001e0028001e00280028001e002800"));
    WmfBuilder text;
    text.font(30, "DejaVu Sans").select(0).textOut(5, 30, "Panoptra");
    text.record(0x0A32, {60, 5, 3, 2, 0, 60, 50, 90, 0x4241, 0x43});
    WmfBuilder bitmap;
    bitmap.stretchDib(quarters, QRect(0, 0, 100, 100));
    auto checkerboard = [](int x, int y) { return (x + y) % 2 == 1; };
    WmfBuilder styles;
    styles.pen(1, 0, Qt::black).select(0).polyline({{0, 10}, {1500, 10}, {1500, 1400}});
    styles.pen(0x2200, 150, Qt::blue).select(1).polyline({{100, 100}, {700, 900}, {1400, 100}});
    styles.textColor(Qt::red).backColor(Qt::blue);
    styles.dibPatternBrush(3, 0, WmfBuilder::monochromeDib(8, 8, qRgb(0, 0, 0), qRgb(255, 255, 255), checkerboard));
    styles.select(2).rectangle(200, 200, 800, 800).remove(2);
    styles.monochromePatternBrush(8, 8, checkerboard).select(2).rectangle(800, 800, 1400, 1400);
    WmfBuilder plainWindow;
    plainWindow.mapMode(8).windowOrg(-100, 0).windowExt(200, 100);
    plainWindow.append(redSquare());
    WmfBuilder plainDrawn;
    plainDrawn.append(redSquare()).textOut(30, 70, "plain");
    WmfBuilder plainFixed;
    plainFixed.mapMode(2).brush(0, Qt::green).select(0).rectangle(0, 0, 254, -127);
    WmfBuilder plainPixels;
    plainPixels.windowExt(300, 300).append(redSquare()).font(20, "DejaVu Sans").select(2).textOut(10, 280, "px");
    WmfBuilder textRun;
    textRun.font(20, "DejaVu Sans", 0, 300).select(0).textAlign(0x19).moveTo(10, 60);
    textRun.textOut(0, 0, "run").extTextOut(0, 0, "on").textAlign(0x1B).textOut(0, 0, "back");
    WmfBuilder symbols;
    symbols.font(40, "Symbol", 2).select(0).textOut(10, 10, "\xE6\xE7\xE8 a+b \xF6\xF7\xF8");
    return {{QStringLiteral("shapes.wmf"), shapes.build(frame, 1440)},
            {QStringLiteral("polygons.wmf"), polys.build(frame, 1440)},
            {QStringLiteral("text.wmf"), text.build(frame, 1440)},
            {QStringLiteral("bitmap.wmf"), bitmap.build(frame, 1440)},
            {QStringLiteral("styles.wmf"), styles.build(QRect(0, 0, 1500, 1500), 1440)},
            {QStringLiteral("plain-window.wmf"), plainWindow.plain()},
            {QStringLiteral("plain-drawn.wmf"), plainDrawn.plain()},
            {QStringLiteral("plain-fixed-units.wmf"), plainFixed.plain()},
            {QStringLiteral("plain-pixels.wmf"), plainPixels.plain()},
            {QStringLiteral("text-current-position.wmf"), textRun.build(frame, 1440)},
            {QStringLiteral("symbol-text.wmf"), symbols.build(frame, 1440)}};
}
} // namespace

class TestWmfPlayer : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void header();
    void rectangle();
    void polygon();
    void text();
    void dib();
    void windowMapping();
    void clipAndRestore();
    void lowestFreeSlot();
    void noPicture_data();
    void noPicture();
    void badRecordsAreSkipped_data();
    void badRecordsAreSkipped();
    void seedCorpus();

private:
    PosixFileServices m_files;
};

void TestWmfPlayer::header()
{
    // 2000 x 1000 units at 1000 to the inch: 2 x 1 inches, 2880 x 1440 twips.
    const QByteArray bytes = redSquare().build(QRect(-500, 0, 2000, 1000), 1000);
    const std::optional<Wmf::Header> header = Wmf::readHeader(bytes);
    QVERIFY(header);
    QCOMPARE(header->bounds, QRect(-500, 0, 2000, 1000));
    QCOMPARE(header->unitsPerInch, 1000);

    TestDir dir;
    const std::optional<Picture> picture = PictureFile::load(m_files, dir.createFile(QStringLiteral("chart.wmf"), bytes));
    QVERIFY(picture);
    QCOMPARE(picture->kind(), Picture::Kind::Metafile);
    QCOMPARE(picture->twipsSize(), QSizeF(2880, 1440));
    QCOMPARE(picture->himetricSize(), QSize(5080, 2540));
    QCOMPARE(picture->bytes(), bytes);
    // The clipboard's image: the metafile drawn at 96 dpi.
    const QImage image = picture->toImage();
    QCOMPARE(image.size(), QSize(192, 96));
}

void TestWmfPlayer::rectangle()
{
    const QImage image = render(redSquare().build(frame, 1440));
    QCOMPARE(image.pixelColor(40, 40), QColor(Qt::red));
    QCOMPARE(image.pixelColor(22, 22), QColor(Qt::red));
    QCOMPARE(image.pixelColor(10, 10), QColor(Qt::white));
    QCOMPARE(image.pixelColor(70, 70), QColor(Qt::white));

    // Scaled: the same file into a 200 x 50 target.
    const QImage wide = render(redSquare().build(frame, 1440), 200, 50);
    QCOMPARE(wide.pixelColor(80, 20), QColor(Qt::red));
    QCOMPARE(wide.pixelColor(30, 20), QColor(Qt::white));
    QCOMPARE(wide.pixelColor(80, 40), QColor(Qt::white));
}

void TestWmfPlayer::polygon()
{
    WmfBuilder wmf;
    wmf.pen(5, 0, Qt::black).select(0).brush(0, Qt::blue).select(1).polygon({{10, 10}, {90, 10}, {50, 90}});
    const QImage image = render(wmf.build(frame, 1440));
    QCOMPARE(image.pixelColor(50, 30), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(50, 80), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(15, 80), QColor(Qt::white));
    QCOMPARE(image.pixelColor(85, 80), QColor(Qt::white));
}

void TestWmfPlayer::text()
{
    WmfBuilder wmf;
    wmf.record(0x0102, {1}).font(30, "DejaVu Sans").select(0).textOut(10, 50, "HH");
    const QImage image = render(wmf.build(frame, 1440));
    // Dark strokes below the reference point, none above it or right of the text.
    QVERIFY(darkPixels(image, QRect(10, 50, 40, 30)) > 30);
    QCOMPARE(darkPixels(image, QRect(0, 0, 100, 45)), 0);
    QCOMPARE(darkPixels(image, QRect(75, 0, 25, 100)), 0);
}

void TestWmfPlayer::dib()
{
    const QImage quarters = quartersImage();
    WmfBuilder wmf;
    wmf.stretchDib(quarters, QRect(0, 0, 100, 100));
    const QImage image = render(wmf.build(frame, 1440));
    QCOMPARE(image.pixelColor(25, 25), QColor(Qt::red));
    QCOMPARE(image.pixelColor(75, 25), QColor(Qt::green));
    QCOMPARE(image.pixelColor(25, 75), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(75, 75), QColor(Qt::yellow));
}

void TestWmfPlayer::windowMapping()
{
    // The window 100..300 in both directions fills the target; (100,100)-(200,200) is its
    // top-left quarter.
    WmfBuilder wmf;
    wmf.record(0x020B, {100, 100}).record(0x020C, {200, 200});
    wmf.pen(5, 0, Qt::black).select(0).brush(0, Qt::green).select(1).rectangle(100, 100, 200, 200);
    const QImage image = render(wmf.build(frame, 1440));
    QCOMPARE(image.pixelColor(25, 25), QColor(Qt::green));
    QCOMPARE(image.pixelColor(75, 25), QColor(Qt::white));
    QCOMPARE(image.pixelColor(25, 75), QColor(Qt::white));
}

void TestWmfPlayer::clipAndRestore()
{
    WmfBuilder wmf;
    wmf.brush(0, Qt::blue).select(0);
    wmf.record(0x001E, {});                    // save
    wmf.record(0x0416, {50, 50, 0, 0});         // intersect (0,0)-(50,50)
    wmf.record(0x0415, {25, 25, 0, 0});         // exclude (0,0)-(25,25)
    wmf.record(0x061D, {0x0021, 0x00F0, 100, 100, 0, 0}); // PATCOPY over everything
    wmf.record(0x0127, {-1});                   // restore
    wmf.brush(0, Qt::red).select(1);
    wmf.record(0x061D, {0x0021, 0x00F0, 20, 20, 80, 80}); // now unclipped
    const QImage image = render(wmf.build(frame, 1440));
    QCOMPARE(image.pixelColor(10, 10), QColor(Qt::white));
    QCOMPARE(image.pixelColor(40, 40), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(70, 40), QColor(Qt::white));
    QCOMPARE(image.pixelColor(90, 90), QColor(Qt::red));
}

void TestWmfPlayer::lowestFreeSlot()
{
    // Brushes in slots 0 and 1; deleting 0 frees it, so the next brush takes slot 0.
    WmfBuilder wmf;
    wmf.brush(0, Qt::red).brush(0, Qt::green).remove(0).brush(0, Qt::blue).pen(5, 0, Qt::black);
    wmf.select(3).select(0).rectangle(0, 0, 50, 100).select(1).rectangle(50, 0, 100, 100);
    const QImage image = render(wmf.build(frame, 1440, 4));
    QCOMPARE(image.pixelColor(25, 50), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(75, 50), QColor(Qt::green));
}

void TestWmfPlayer::noPicture_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray good = redSquare().build(frame, 1440);
    QTest::newRow("no end record") << redSquare().build(frame, 1440, 8, false);
    QTest::newRow("cut in a record") << good.left(good.size() - 10);
    QTest::newRow("cut in the header") << good.left(30);
    QTest::newRow("key only") << good.left(4);
    QTest::newRow("zero units per inch") << redSquare().build(frame, 0);
    QTest::newRow("empty frame") << redSquare().build(QRect(10, 10, 0, 50), 1440);
    QByteArray wrongKey = good;
    wrongKey[0] = '\0';
    QTest::newRow("wrong key") << wrongKey;
    QByteArray badType = good;
    badType[22] = 7;
    QTest::newRow("wrong metafile type") << badType;
    WmfBuilder tooLong;
    tooLong.lyingRecord(0x041B, 1000, QByteArray(8, '\0'));
    QTest::newRow("record longer than the file") << tooLong.build(frame, 1440);
    WmfBuilder tooShort;
    tooShort.lyingRecord(0x041B, 2, QByteArray());
    QTest::newRow("record shorter than its header") << tooShort.build(frame, 1440);
    QTest::newRow("larger than 16384 pixels") << redSquare().build(QRect(0, 0, 30000, 100), 100);
    QByteArray garbage(2048, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 31 + 7) & 0xff);
    garbage.replace(0, 4, QByteArray::fromHex("d7cdc69a"));
    QTest::newRow("garbage after the key") << garbage;
}

void TestWmfPlayer::noPicture()
{
    QFETCH(QByteArray, bytes);

    TestDir dir;
    QVERIFY(!PictureFile::load(m_files, dir.createFile(QStringLiteral("bad.wmf"), bytes)));
    // Played anyway, it draws nothing.
    const QImage image = render(bytes);
    QCOMPARE(darkPixels(image, image.rect()), 0);
    QCOMPARE(image.pixelColor(40, 40), QColor(Qt::white));
}

void TestWmfPlayer::badRecordsAreSkipped_data()
{
    QTest::addColumn<QByteArray>("function");
    QTest::addColumn<QByteArray>("params");

    auto hex = [](const char *text) { return QByteArray::fromHex(text); };
    QTest::newRow("polygon counting more points than it has") << hex("2403") << hex("ff7f0a000a00");
    QTest::newRow("polygon with a negative count") << hex("2403") << hex("0080");
    QTest::newRow("poly-polygon with huge counts") << hex("3805") << hex("0200ff7fff7f");
    QTest::newRow("text longer than its record") << hex("2105") << hex("ff0041424344");
    QTest::newRow("ext text without its string") << hex("320a") << hex("0a000a00100000000000");
    QTest::newRow("select past the table") << hex("2d01") << hex("ffff");
    QTest::newRow("delete past the table") << hex("f001") << hex("3412");
    QTest::newRow("restore unknown state") << hex("2701") << hex("0500");
    QTest::newRow("DIB of 100000 x 100000") << hex("430f")
        << hex("2000cc000000010001000000000064006400000000002800000080969800809698000100180000000000");
    QTest::newRow("DIB header cut short") << hex("430f") << hex("2000cc0000000100010000000000640064000000000028000000");
    QTest::newRow("zero window extent") << hex("0c02") << hex("00000000");
    QTest::newRow("unknown record") << hex("3412") << hex("0102030405060708");
    QTest::newRow("rectangle without parameters") << hex("1b04") << QByteArray();
    QTest::newRow("font with no face name") << hex("fb02") << hex("f6ff");
}

void TestWmfPlayer::badRecordsAreSkipped()
{
    QFETCH(QByteArray, function);
    QFETCH(QByteArray, params);

    // The bad record first, then the red square: the square is still drawn.
    WmfBuilder wmf;
    wmf.raw(quint16(quint8(function[0]) | (quint8(function[1]) << 8)), params);
    wmf.pen(5, 0, Qt::black).brush(0, Qt::red);
    // The pen and brush take the lowest free slots: find them by selecting every slot.
    for (int slot = 0; slot < 8; ++slot)
        wmf.select(slot);
    wmf.rectangle(20, 20, 60, 60);
    const QByteArray bytes = wmf.build(frame, 1440);
    QVERIFY(PictureFile::decode(bytes));
    const QImage image = render(bytes);
    QCOMPARE(image.pixelColor(40, 40), QColor(Qt::red));
    QCOMPARE(image.pixelColor(80, 80), QColor(Qt::white));
}

void TestWmfPlayer::seedCorpus()
{
    // Every seed is a picture. With PANOPTRA_WMF_CORPUS set (make fuzz), the seeds are
    // written there for the fuzz target to start from.
    const QString target = qEnvironmentVariable("PANOPTRA_WMF_CORPUS");
    QTemporaryDir temporary;
    const QString folder = target.isEmpty() ? temporary.path() : target;
    QVERIFY(QDir().mkpath(folder));
    for (const auto &[name, bytes] : seeds()) {
        const std::optional<Picture> picture = PictureFile::decode(bytes);
        QVERIFY2(picture && picture->kind() == Picture::Kind::Metafile, qPrintable(name));
        QFile file(folder + QLatin1Char('/') + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    QVERIFY(QDir(folder).entryList(QDir::Files).size() >= 8);
}

QTEST_MAIN(TestWmfPlayer)
#include "tst_wmfplayer.moc"
