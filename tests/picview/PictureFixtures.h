#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QImageWriter>
#include <QList>
#include <QRgb>
#include <QTest>

// Picture files made in the test: real files of each format the viewer reads.
namespace PictureFixtures {

// A w x h picture: red with a blue top-left quarter, so position and scaling show.
inline QImage image(int w, int h)
{
    QImage result(w, h, QImage::Format_RGB32);
    result.fill(QColor(Qt::red));
    for (int y = 0; y < h / 2; ++y) {
        for (int x = 0; x < w / 2; ++x)
            result.setPixel(x, y, qRgb(0, 0, 255));
    }
    return result;
}

// A GIF of image (at most 127 colours) written without compression: after every hundred pixels
// a clear code keeps the codes eight bits wide, one byte each.
inline QByteArray gif(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> indexOf;
    QList<QRgb> palette;
    QByteArray codes;
    const char clear = char(128);
    const char end = char(129);
    int sinceClear = 0;
    codes.append(clear);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = image.pixel(x, y) | 0xff000000u;
            if (!indexOf.contains(colour)) {
                indexOf.insert(colour, int(palette.size()));
                palette.append(colour);
            }
            if (sinceClear == 100) {
                codes.append(clear);
                sinceClear = 0;
            }
            codes.append(char(indexOf.value(colour)));
            ++sinceClear;
        }
    }
    codes.append(end);
    Q_ASSERT(palette.size() <= 127);

    auto le16 = [](QByteArray &out, int value) {
        out.append(char(value & 0xff));
        out.append(char((value >> 8) & 0xff));
    };
    QByteArray out("GIF89a");
    le16(out, image.width());
    le16(out, image.height());
    out.append(char(0x80 | 0x70 | 6)); // global table of 128 entries, 8-bit colour
    out.append(char(0));
    out.append(char(0));
    for (int i = 0; i < 128; ++i) {
        const QRgb colour = i < palette.size() ? palette.at(i) : 0;
        out.append(char(qRed(colour)));
        out.append(char(qGreen(colour)));
        out.append(char(qBlue(colour)));
    }
    out.append(char(0x2c));
    le16(out, 0);
    le16(out, 0);
    le16(out, image.width());
    le16(out, image.height());
    out.append(char(0));
    out.append(char(7)); // minimum code size
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        out.append(char(block.size()));
        out.append(block);
    }
    out.append(char(0));
    out.append(char(0x3b));
    return out;
}

// image in the given format: "bmp", "gif", "jpeg", "ico" or "cur" (an icon file whose
// header says cursor).
inline QByteArray encode(const QImage &image, const QByteArray &format)
{
    if (format == "gif")
        return gif(image);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format == "cur" ? QByteArray("ico") : format);
    if (!writer.write(image))
        qWarning("cannot write %s: %s", format.constData(), qPrintable(writer.errorString()));
    QByteArray bytes = buffer.data();
    if (format == "cur" && bytes.size() > 2)
        bytes[2] = 2;
    return bytes;
}

} // namespace PictureFixtures
