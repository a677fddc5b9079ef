#include "PictureFixtures.h"

#include "picview/Picture.h"
#include "picview/PictureFile.h"
#include "platform/PathCodec.h"
#include "platform/PosixFileServices.h"
#include "support/DeepChain.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include <QPainter>
#include <QTest>

#include <climits>
#include <fcntl.h>
#include <unistd.h>

class TestPictureFile : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void formats_data();
    void formats();
    void byContentNotName_data();
    void byContentNotName();
    void noPicture_data();
    void noPicture();
    void sizeCaps_data();
    void sizeCaps();
    void rawByteName();
    void deeperThanOneSystemPath();
    void sizes();
    void draw();

private:
    PosixFileServices m_files;
};

void TestPictureFile::formats_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<int>("kind");

    QTest::newRow("BMP") << QByteArray("bmp") << int(Picture::Kind::Bitmap);
    QTest::newRow("GIF") << QByteArray("gif") << int(Picture::Kind::Bitmap);
    QTest::newRow("JPEG") << QByteArray("jpeg") << int(Picture::Kind::Bitmap);
    QTest::newRow("ICO") << QByteArray("ico") << int(Picture::Kind::Icon);
    QTest::newRow("CUR") << QByteArray("cur") << int(Picture::Kind::Icon);
}

void TestPictureFile::formats()
{
    QFETCH(QByteArray, format);
    QFETCH(int, kind);

    TestDir dir;
    const QImage source = PictureFixtures::image(40, 30);
    const QByteArray bytes = PictureFixtures::encode(source, format);
    QVERIFY(!bytes.isEmpty());
    const QString path = dir.createFile(QStringLiteral("picture.") + QString::fromLatin1(format), bytes);

    const std::optional<Picture> picture = PictureFile::load(m_files, path);
    QVERIFY(picture);
    QCOMPARE(int(picture->kind()), kind);
    QCOMPARE(picture->bytes(), bytes);
    QCOMPARE(picture->twipsSize(), QSizeF(600, 450));
    const QImage image = picture->toImage();
    QCOMPARE(image.size(), QSize(40, 30));
    // The blue quarter and the red rest (JPEG only roughly).
    const QColor topLeft = image.pixelColor(2, 2);
    const QColor bottomRight = image.pixelColor(37, 27);
    QVERIFY2(topLeft.blue() > 200 && topLeft.red() < 60, qPrintable(topLeft.name()));
    QVERIFY2(bottomRight.red() > 200 && bottomRight.blue() < 60, qPrintable(bottomRight.name()));
}

void TestPictureFile::byContentNotName_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("loads");

    QTest::newRow("JPEG named .bmp") << QByteArray("jpeg") << "photo.bmp" << true;
    QTest::newRow("BMP named .gif") << QByteArray("bmp") << "image.gif" << true;
    QTest::newRow("GIF without ending") << QByteArray("gif") << "animation" << true;
    // Formats the viewer does not read give no picture whatever the name says.
    QTest::newRow("PNG named .bmp") << QByteArray("png") << "disguised.bmp" << false;
    QTest::newRow("TIFF named .jpg") << QByteArray("tiff") << "scan.jpg" << false;
}

void TestPictureFile::byContentNotName()
{
    QFETCH(QByteArray, format);
    QFETCH(QString, name);
    QFETCH(bool, loads);

    TestDir dir;
    const QString path = dir.createFile(name, PictureFixtures::encode(PictureFixtures::image(8, 8), format));
    QCOMPARE(PictureFile::load(m_files, path).has_value(), loads);
}

void TestPictureFile::noPicture_data()
{
    QTest::addColumn<QByteArray>("bytes");
    // What the image decoder itself warns of such a file, if anything.
    QTest::addColumn<QString>("decoderWarning");

    const QByteArray bmp = PictureFixtures::encode(PictureFixtures::image(20, 20), "bmp");
    const QByteArray gif = PictureFixtures::encode(PictureFixtures::image(20, 20), "gif");
    const QByteArray jpeg = PictureFixtures::encode(PictureFixtures::image(20, 20), "jpeg");
    const QByteArray ico = PictureFixtures::encode(PictureFixtures::image(20, 20), "ico");
    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("text") << QByteArray("just some words\n") << QString();
    QTest::newRow("BMP header only") << bmp.left(30) << QString();
    QTest::newRow("BMP cut in its info header") << bmp.left(40) << QString();
    QTest::newRow("GIF cut after its colours") << gif.left(13 + 128 * 3 + 4) << QString();
    QTest::newRow("JPEG cut in its header") << jpeg.left(20) << QStringLiteral("JPEG datastream contains no image");
    QTest::newRow("ICO directory only") << ico.left(22) << QString();
    QByteArray garbage(4096, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 7919 + 13) & 0xff);
    QTest::newRow("garbage") << garbage << QString();
    QByteArray badMagic = bmp;
    badMagic[0] = 'X';
    QTest::newRow("BMP with a wrong signature") << badMagic << QString();
}

void TestPictureFile::noPicture()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, decoderWarning);
    if (!decoderWarning.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, qPrintable(decoderWarning));

    TestDir dir;
    QVERIFY(!PictureFile::load(m_files, dir.createFile(QStringLiteral("broken.bmp"), bytes)));
}

namespace {
// A BMP header (BITMAPINFOHEADER, 24 bits) that claims a size without holding its pixels.
QByteArray bmpHeader(qint32 width, qint32 height)
{
    QByteArray out("BM");
    auto le32 = [&out](quint32 value) {
        for (int i = 0; i < 4; ++i)
            out.append(char((value >> (8 * i)) & 0xff));
    };
    auto le16 = [&out](quint16 value) {
        out.append(char(value & 0xff));
        out.append(char(value >> 8));
    };
    le32(54 + 64);
    le32(0);
    le32(54);
    le32(40);
    le32(quint32(width));
    le32(quint32(height));
    le16(1);
    le16(24);
    le32(0);
    le32(0);
    le32(2835);
    le32(2835);
    le32(0);
    le32(0);
    out.append(QByteArray(64, '\x40'));
    return out;
}
} // namespace

void TestPictureFile::sizeCaps_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("wider than 16384") << bmpHeader(16385, 1);
    QTest::newRow("higher than 16384") << bmpHeader(1, 16385);
    QTest::newRow("over 256 MiB decoded") << bmpHeader(16384, 16384);
    QTest::newRow("absurd") << bmpHeader(0x7fffffff, 0x7fffffff);
}

void TestPictureFile::sizeCaps()
{
    QFETCH(QByteArray, bytes);

    TestDir dir;
    QVERIFY(!PictureFile::load(m_files, dir.createFile(QStringLiteral("huge.bmp"), bytes)));
}

void TestPictureFile::rawByteName()
{
    // A name that is not UTF-8 opens the very file of that name, not another one.
    TestDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    const QByteArray rawName = folder + "/caf\xe9.bmp";
    const QByteArray bytes = PictureFixtures::encode(PictureFixtures::image(12, 6), "bmp");
    const int fd = ::open(rawName.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    ::close(fd);
    // A decoy under the name the byte would wrongly turn into.
    dir.createFile(QStringLiteral("caf\uFFFD.bmp"), PictureFixtures::encode(PictureFixtures::image(3, 3), "bmp"));

    const QString path = PathCodec::decode(rawName);
    QVERIFY(PathCodec::hasRawBytes(path));
    const std::optional<Picture> picture = PictureFile::load(m_files, path);
    // The temporary folder cannot remove a name it cannot spell.
    ::unlink(rawName.constData());
    QVERIFY(picture);
    QCOMPARE(picture->toImage().size(), QSize(12, 6));
}

void TestPictureFile::deeperThanOneSystemPath()
{
    // A deep search's result, far longer than the system takes in one call, shows all the same.
    TestDir dir;
    const DeepChain chain(dir.path(), QByteArray(200, 'd'), 30, "deep.bmp",
                          PictureFixtures::encode(PictureFixtures::image(12, 6), "bmp"));
    QVERIFY(chain.isMade());
    QVERIFY(PathCodec::encode(chain.filePath()).size() > PATH_MAX);

    const std::optional<Picture> picture = PictureFile::load(m_files, chain.filePath());
    QVERIFY(picture);
    QCOMPARE(picture->toImage().size(), QSize(12, 6));
}

void TestPictureFile::sizes()
{
    // 100 x 100 pixels at 96 dpi: 1500 twips, 2646 hundredths of a millimetre.
    const Picture picture = Picture::raster(Picture::Kind::Bitmap, PictureFixtures::image(100, 50), "x");
    QCOMPARE(picture.twipsSize(), QSizeF(1500, 750));
    QCOMPARE(picture.himetricSize(), QSize(2646, 1323));
    QVERIFY(Picture().isNull());
    QVERIFY(Picture::raster(Picture::Kind::Bitmap, QImage(), "x").isNull());
    QVERIFY(!PictureFile::load(m_files, QString()));
}

void TestPictureFile::draw()
{
    const Picture picture = Picture::raster(Picture::Kind::Bitmap, PictureFixtures::image(10, 10), "x");
    QImage canvas(40, 40, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        picture.draw(painter, QRectF(10, 10, 20, 20));
    }
    QCOMPARE(canvas.pixelColor(5, 5), QColor(Qt::white));
    QCOMPARE(canvas.pixelColor(12, 12), QColor(Qt::blue));
    QCOMPARE(canvas.pixelColor(27, 27), QColor(Qt::red));
    QCOMPARE(canvas.pixelColor(35, 35), QColor(Qt::white));
}

QTEST_MAIN(TestPictureFile)
#include "tst_picturefile.moc"
