#include "WmfFixtures.h"

#include "picview/Picture.h"
#include "picview/PictureFile.h"
#include "platform/PosixFileServices.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include <QTest>

// Metafiles without the placeable header: their frame comes from the window the records set,
// or else from what they draw, and their unit from the map mode: without one, a unit a pixel.
class TestWmfPlain : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void sizes_data();
    void sizes();
    void boundsHoldText();
    void pixelLimit_data();
    void pixelLimit();
    void noPicture_data();
    void noPicture();

private:
    PosixFileServices m_files;
};

namespace {
enum MapMode { OnePixel = 1, TenthMillimetre = 2, HundredthMillimetre = 3, Twips = 6, Isotropic = 7, Anisotropic = 8 };

// Fills the rectangle with color, without an outline.
WmfBuilder &fill(WmfBuilder &wmf, const QColor &color, const QRect &rect)
{
    wmf.pen(5, 0, Qt::black).select(0).remove(0).brush(0, color).select(0).remove(0);
    return wmf.rectangle(rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1);
}
} // namespace

void TestWmfPlain::sizes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSizeF>("twips");
    // At the picture's own size: a point that is red, one that is blue (or none), one white.
    QTest::addColumn<QPoint>("red");
    QTest::addColumn<QPoint>("blue");
    QTest::addColumn<QPoint>("white");

    const QPoint none(-1, -1);
    {
        // Without a map mode the default one holds: a unit a pixel, the window extent the size.
        WmfBuilder wmf;
        wmf.windowExt(300, 300);
        fill(wmf, Qt::red, QRect(150, 0, 150, 300));
        QTest::newRow("window extent 300 x 300, no map mode: 300 x 300 pixels")
            << wmf.plain() << QSizeF(4500, 4500) << QPoint(225, 150) << none << QPoint(75, 150);
    }
    {
        WmfBuilder wmf;
        wmf.mapMode(Anisotropic).windowExt(3000, 1500);
        fill(wmf, Qt::red, QRect(1500, 0, 1500, 1500));
        QTest::newRow("window extent, anisotropic: twips") << wmf.plain() << QSizeF(3000, 1500) << QPoint(150, 50)
                                                           << none << QPoint(50, 50);
    }
    {
        WmfBuilder wmf;
        wmf.mapMode(Isotropic).windowExt(3000, 1500);
        fill(wmf, Qt::red, QRect(1500, 0, 1500, 1500));
        QTest::newRow("window extent, isotropic: twips") << wmf.plain() << QSizeF(3000, 1500) << QPoint(150, 50)
                                                         << none << QPoint(50, 50);
    }
    {
        WmfBuilder wmf;
        wmf.mapMode(42).windowExt(200, 100);
        fill(wmf, Qt::red, QRect(100, 0, 100, 100));
        QTest::newRow("a map mode there is none of: a unit a pixel") << wmf.plain() << QSizeF(3000, 1500)
                                                                     << QPoint(150, 50) << none << QPoint(50, 50);
    }
    {
        // The window origin still moves the drawing.
        WmfBuilder wmf;
        wmf.windowOrg(-100, 0).windowExt(200, 100);
        fill(wmf, Qt::red, QRect(0, 0, 100, 100));
        QTest::newRow("window origin and extent, no map mode") << wmf.plain() << QSizeF(3000, 1500)
                                                               << QPoint(150, 50) << none << QPoint(50, 50);
    }
    {
        WmfBuilder wmf;
        wmf.mapMode(Anisotropic).windowOrg(-1500, -750).windowExt(3000, 1500);
        fill(wmf, Qt::red, QRect(0, -750, 1500, 1500));
        QTest::newRow("window origin and extent") << wmf.plain() << QSizeF(3000, 1500) << QPoint(150, 50) << none
                                                  << QPoint(50, 50);
    }
    {
        WmfBuilder wmf;
        wmf.mapMode(Anisotropic).windowOrg(0, 1500).windowExt(3000, -1500);
        fill(wmf, Qt::red, QRect(0, 750, 3000, 750));
        QTest::newRow("negative extent: y runs up") << wmf.plain() << QSizeF(3000, 1500) << QPoint(100, 20) << none
                                                    << QPoint(100, 80);
    }
    {
        WmfBuilder wmf;
        fill(wmf, Qt::red, QRect(20, 40, 50, 50));
        fill(wmf, Qt::blue, QRect(70, 40, 50, 50));
        QTest::newRow("no extent: the bounds of what is drawn") << wmf.plain() << QSizeF(1500, 750) << QPoint(2, 2)
                                                                << QPoint(97, 47) << none;
    }
    {
        WmfBuilder wmf;
        fill(wmf, Qt::red, QRect(0, 0, 50, 50));
        fill(wmf, Qt::blue, QRect(150, 50, 50, 50));
        QTest::newRow("no extent, two shapes") << wmf.plain() << QSizeF(3000, 1500) << QPoint(25, 25)
                                               << QPoint(175, 75) << QPoint(100, 50);
    }
    {
        WmfBuilder wmf;
        wmf.windowOrg(30, 30);
        fill(wmf, Qt::red, QRect(30, 30, 100, 100));
        fill(wmf, Qt::blue, QRect(130, 130, 100, 100));
        QTest::newRow("no extent, an origin: still the drawing") << wmf.plain() << QSizeF(3000, 3000)
                                                                 << QPoint(50, 50) << QPoint(150, 150)
                                                                 << QPoint(150, 50);
    }
    {
        WmfBuilder wmf;
        wmf.mapMode(OnePixel).windowExt(200, 100);
        fill(wmf, Qt::red, QRect(100, 0, 100, 100));
        QTest::newRow("one unit a pixel, extent") << wmf.plain() << QSizeF(3000, 1500) << QPoint(150, 50) << none
                                                  << QPoint(50, 50);
    }
    {
        WmfBuilder wmf;
        wmf.mapMode(OnePixel);
        fill(wmf, Qt::red, QRect(10, 10, 100, 50));
        QTest::newRow("one unit a pixel, no extent") << wmf.plain() << QSizeF(1500, 750) << QPoint(50, 25) << none
                                                     << none;
    }
    {
        WmfBuilder wmf;
        wmf.mapMode(TenthMillimetre);
        fill(wmf, Qt::red, QRect(0, -127, 254, 127));
        fill(wmf, Qt::blue, QRect(0, -254, 254, 127));
        QTest::newRow("tenths of a millimetre, y up") << wmf.plain() << QSizeF(1440, 1440) << QPoint(48, 20)
                                                      << QPoint(48, 76) << none;
    }
    {
        WmfBuilder wmf;
        wmf.mapMode(HundredthMillimetre);
        fill(wmf, Qt::red, QRect(0, -2540, 2540, 1270));
        QTest::newRow("hundredths of a millimetre, y up") << wmf.plain() << QSizeF(1440, 720) << QPoint(48, 24)
                                                          << none << none;
    }
    {
        WmfBuilder wmf;
        wmf.mapMode(Twips).windowExt(3000, 1500);
        fill(wmf, Qt::red, QRect(0, -750, 3000, 750));
        QTest::newRow("twips, extent, y up") << wmf.plain() << QSizeF(3000, 1500) << QPoint(100, 20) << none
                                             << QPoint(100, 80);
    }
}

void TestWmfPlain::sizes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QSizeF, twips);
    QFETCH(QPoint, red);
    QFETCH(QPoint, blue);
    QFETCH(QPoint, white);

    TestDir dir;
    const std::optional<Picture> picture = PictureFile::load(m_files, dir.createFile(QStringLiteral("plain.wmf"), bytes));
    QVERIFY(picture);
    QCOMPARE(picture->kind(), Picture::Kind::Metafile);
    QCOMPARE(picture->twipsSize(), twips);
    const QImage image = picture->toImage();
    QCOMPARE(image.size(), (twips / 15).toSize());
    const QPoint none(-1, -1);
    if (red != none)
        QCOMPARE(image.pixelColor(red), QColor(Qt::red));
    if (blue != none)
        QCOMPARE(image.pixelColor(blue), QColor(Qt::blue));
    if (white != none)
        QCOMPARE(image.pixelColor(white), QColor(Qt::white));
}

void TestWmfPlain::boundsHoldText()
{
    // Text alone, a unit a pixel: the frame is the text's box, so it is wider than high and the
    // whole text shows.
    WmfBuilder wmf;
    wmf.transparentText().font(20, "DejaVu Sans").select(0).textOut(66, 66, "Panoptra");
    const std::optional<Picture> picture = PictureFile::decode(wmf.plain());
    QVERIFY(picture);
    const QSizeF size = picture->twipsSize();
    QVERIFY2(size.width() > 3 * size.height() && size.height() >= 300 && size.height() < 600,
             qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
    const QImage image = picture->toImage();
    const int columns = image.width();
    int firstDark = columns, lastDark = -1;
    for (int x = 0; x < columns; ++x) {
        if (WmfTest::darkPixels(image, QRect(x, 0, 1, image.height())) > 0) {
            firstDark = qMin(firstDark, x);
            lastDark = x;
        }
    }
    QVERIFY(firstDark <= 3);
    QVERIFY(lastDark >= columns - 4);
}

void TestWmfPlain::pixelLimit_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("picture");

    QTest::newRow("16384 pixels wide") << 16384 << true;
    QTest::newRow("16385 pixels wide") << 16385 << false;
}

void TestWmfPlain::pixelLimit()
{
    QFETCH(int, width);
    QFETCH(bool, picture);

    // A unit a pixel, the extent is the picture's size in pixels, held to the viewer's limit.
    WmfBuilder wmf;
    wmf.windowExt(width, 10);
    fill(wmf, Qt::red, QRect(0, 0, 10, 10));
    const std::optional<Picture> decoded = PictureFile::decode(wmf.plain());
    QCOMPARE(bool(decoded), picture);
    if (decoded)
        QCOMPARE(decoded->twipsSize(), QSizeF(width * 15, 150));
}

void TestWmfPlain::noPicture_data()
{
    QTest::addColumn<QByteArray>("bytes");

    WmfBuilder nothing;
    nothing.pen(0, 0, Qt::black).select(0);
    QTest::newRow("draws nothing, sets no extent") << nothing.plain();
    WmfBuilder clipped;
    clipped.record(0x0416, {10, 10, 0, 0}).rectangle(100, 100, 200, 200);
    QTest::newRow("draws only outside its clip") << clipped.plain();
    WmfBuilder square;
    fill(square, Qt::red, QRect(0, 0, 100, 100));
    QTest::newRow("no end record") << square.plain(8, false);
    QByteArray badHeader = square.plain();
    badHeader[2] = 10;
    QTest::newRow("header size not 9 words") << badHeader;
    QByteArray badType = square.plain();
    badType[0] = 3;
    QTest::newRow("type neither 1 nor 2") << badType;
    QTest::newRow("header cut short") << square.plain().left(12);
}

void TestWmfPlain::noPicture()
{
    QFETCH(QByteArray, bytes);

    QVERIFY(!PictureFile::decode(bytes));
    QCOMPARE(WmfTest::darkPixels(WmfTest::render(bytes), QRect(0, 0, 100, 100)), 0);
}

QTEST_MAIN(TestWmfPlain)
#include "tst_wmfplain.moc"
