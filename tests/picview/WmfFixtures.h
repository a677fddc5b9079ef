#pragma once

#include "picview/WmfPlayer.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QRect>
#include <QString>

#include <initializer_list>

// Windows metafiles, placeable or plain, built record by record in the test.
class WmfBuilder
{
public:
    // A record of 16-bit parameters.
    WmfBuilder &record(quint16 function, std::initializer_list<int> words)
    {
        QByteArray params;
        for (int word : words)
            addWord(params, word);
        return raw(function, params);
    }
    // A record with its parameter bytes as given (padded to whole words).
    WmfBuilder &raw(quint16 function, QByteArray params)
    {
        if (params.size() % 2)
            params.append('\0');
        addDword(m_records, quint32(3 + params.size() / 2));
        addWord(m_records, function);
        m_records.append(params);
        return *this;
    }
    // The records of other, after these.
    WmfBuilder &append(const WmfBuilder &other)
    {
        m_records.append(other.m_records);
        return *this;
    }
    // A record whose size field says words, whatever bytes follow.
    WmfBuilder &lyingRecord(quint16 function, quint32 words, const QByteArray &params)
    {
        addDword(m_records, words);
        addWord(m_records, function);
        m_records.append(params);
        return *this;
    }

    static int low(quint32 value) { return int(value & 0xffff); }
    static int high(quint32 value) { return int(value >> 16); }
    static quint32 colorRef(const QColor &c) { return quint32(c.red() | (c.green() << 8) | (c.blue() << 16)); }

    WmfBuilder &pen(int style, int width, const QColor &color)
    {
        const quint32 ref = colorRef(color);
        return record(0x02FA, {style, width, 0, low(ref), high(ref)});
    }
    WmfBuilder &brush(int style, const QColor &color, int hatch = 0)
    {
        const quint32 ref = colorRef(color);
        return record(0x02FC, {style, low(ref), high(ref), hatch});
    }
    WmfBuilder &select(int index) { return record(0x012D, {index}); }
    WmfBuilder &windowOrg(int x, int y) { return record(0x020B, {y, x}); }
    WmfBuilder &windowExt(int x, int y) { return record(0x020C, {y, x}); }
    WmfBuilder &mapMode(int mode) { return record(0x0103, {mode}); }
    WmfBuilder &textColor(const QColor &color) { return record(0x0209, {low(colorRef(color)), high(colorRef(color))}); }
    WmfBuilder &backColor(const QColor &color) { return record(0x0201, {low(colorRef(color)), high(colorRef(color))}); }
    WmfBuilder &remove(int index) { return record(0x01F0, {index}); }
    WmfBuilder &rectangle(int left, int top, int right, int bottom)
    {
        return record(0x041B, {bottom, right, top, left});
    }
    WmfBuilder &polygon(const QList<QPoint> &points) { return raw(0x0324, pointList(points)); }
    WmfBuilder &polyline(const QList<QPoint> &points) { return raw(0x0325, pointList(points)); }
    // DIBCREATEPATTERNBRUSH: style 3 (a pattern) or 6 (a DIB pattern), colours 0 (RGB) or 1
    // (palette indexes), and the bitmap.
    WmfBuilder &dibPatternBrush(int style, int colorUsage, const QByteArray &dib)
    {
        QByteArray params;
        addWord(params, style);
        addWord(params, colorUsage);
        return raw(0x0142, params + dib);
    }
    // CREATEPATTERNBRUSH of an old monochrome bitmap, set bits where bit(x, y).
    template<typename Bit>
    WmfBuilder &monochromePatternBrush(int width, int height, Bit bit)
    {
        const int rowBytes = ((width + 15) / 16) * 2;
        QByteArray params;
        for (int word : {0, width, height, rowBytes})
            addWord(params, word);
        params.append(char(1));
        params.append(char(1));
        params.append(QByteArray(4 + 18, '\0'));
        for (int y = 0; y < height; ++y)
            params.append(monochromeRow(width, rowBytes, y, bit));
        return raw(0x01F9, params);
    }
    // A bold font of the character height, its bytes in charset, its baseline turned by
    // escapement tenths of a degree.
    WmfBuilder &font(int height, const QByteArray &face, int charset = 0, int escapement = 0)
    {
        QByteArray params;
        for (int word : {-height, 0, escapement, escapement, 700})
            addWord(params, word);
        params.append(QByteArray(3, '\0')); // italic, underline, strike-out
        params.append(char(charset));
        params.append(QByteArray(4, '\0'));
        params.append(face.left(31));
        params.append(QByteArray(32 - qMin<qsizetype>(31, face.size()), '\0'));
        return raw(0x02FB, params);
    }
    WmfBuilder &textOut(int x, int y, const QByteArray &text)
    {
        QByteArray params;
        addWord(params, int(text.size()));
        params.append(text);
        if (text.size() % 2)
            params.append('\0');
        addWord(params, y);
        addWord(params, x);
        return raw(0x0521, params);
    }
    // EXTTEXTOUT without a rectangle, with the width of each character where given.
    WmfBuilder &extTextOut(int x, int y, const QByteArray &text, const QList<int> &widths = {})
    {
        QByteArray params;
        for (int word : {y, x, int(text.size()), 0})
            addWord(params, word);
        params.append(text);
        if (!widths.isEmpty() && text.size() % 2)
            params.append('\0');
        for (int width : widths)
            addWord(params, width);
        return raw(0x0A32, params);
    }
    WmfBuilder &textAlign(int flags) { return record(0x012E, {flags}); }
    WmfBuilder &transparentText() { return record(0x0102, {1}); }
    WmfBuilder &moveTo(int x, int y) { return record(0x0214, {y, x}); }
    // STRETCHDIB of a bottom-up 24-bit bitmap of image onto the destination rectangle.
    WmfBuilder &stretchDib(const QImage &image, const QRect &dest)
    {
        QByteArray params;
        addDword(params, 0x00CC0020); // SRCCOPY
        addWord(params, 0);           // RGB colours
        for (int word : {image.height(), image.width(), 0, 0, dest.height(), dest.width(), dest.top(), dest.left()})
            addWord(params, word);
        params.append(dib(image));
        return raw(0x0F43, params);
    }

    // A one-bit bitmap, bottom row first, its colour table c0 and c1, set bits where bit(x, y).
    template<typename Bit>
    static QByteArray monochromeDib(int width, int height, QRgb c0, QRgb c1, Bit bit)
    {
        QByteArray out;
        const int stride = ((width + 31) / 32) * 4;
        for (quint32 value : {40u, quint32(width), quint32(height)})
            addDword(out, value);
        addWord(out, 1);
        addWord(out, 1);
        for (quint32 value : {0u, quint32(stride * height), 2835u, 2835u, 2u, 0u})
            addDword(out, value);
        for (QRgb c : {c0, c1}) {
            out.append(char(qBlue(c)));
            out.append(char(qGreen(c)));
            out.append(char(qRed(c)));
            out.append('\0');
        }
        for (int y = height - 1; y >= 0; --y)
            out.append(monochromeRow(width, stride, y, bit));
        return out;
    }

    static QByteArray dib(const QImage &image)
    {
        QByteArray out;
        const int stride = (image.width() * 3 + 3) & ~3;
        for (quint32 value : {40u, quint32(image.width()), quint32(image.height())})
            addDword(out, value);
        addWord(out, 1);
        addWord(out, 24);
        for (quint32 value : {0u, quint32(stride * image.height()), 2835u, 2835u, 0u, 0u})
            addDword(out, value);
        for (int y = image.height() - 1; y >= 0; --y) {
            QByteArray row;
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                row.append(char(c.blue()));
                row.append(char(c.green()));
                row.append(char(c.red()));
            }
            row.append(QByteArray(stride - row.size(), '\0'));
            out.append(row);
        }
        return out;
    }

    // The file: placeable header with the frame and units per inch, the metafile header, the
    // records and (unless left out) the end-of-file record.
    QByteArray build(const QRect &frame, int unitsPerInch, int objects = 8, bool endRecord = true) const
    {
        QByteArray out;
        addDword(out, 0x9AC6CDD7);
        addWord(out, 0);
        for (int word : {frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()})
            addWord(out, word);
        addWord(out, unitsPerInch);
        addDword(out, 0);
        quint16 checksum = 0;
        for (int i = 0; i < 20; i += 2)
            checksum ^= quint16(quint8(out[i]) | (quint8(out[i + 1]) << 8));
        addWord(out, checksum);
        return out + plain(objects, endRecord);
    }

    // The metafile without a placeable header: the standard header, the records and (unless
    // left out) the end-of-file record.
    QByteArray plain(int objects = 8, bool endRecord = true) const
    {
        QByteArray records = m_records;
        if (endRecord) {
            addDword(records, 3);
            addWord(records, 0);
        }
        QByteArray out;
        addWord(out, 1);
        addWord(out, 9);
        addWord(out, 0x0300);
        addDword(out, quint32(9 + records.size() / 2));
        addWord(out, objects);
        addDword(out, 0);
        addWord(out, 0);
        return out + records;
    }

private:
    static void addWord(QByteArray &out, int value)
    {
        out.append(char(value & 0xff));
        out.append(char((value >> 8) & 0xff));
    }
    static void addDword(QByteArray &out, quint32 value)
    {
        addWord(out, int(value & 0xffff));
        addWord(out, int(value >> 16));
    }

    static QByteArray pointList(const QList<QPoint> &points)
    {
        QByteArray params;
        addWord(params, int(points.size()));
        for (const QPoint &p : points) {
            addWord(params, p.x());
            addWord(params, p.y());
        }
        return params;
    }
    // One row of one-bit pixels, the leftmost in the top bit, padded to bytes bytes.
    template<typename Bit>
    static QByteArray monochromeRow(int width, int bytes, int y, Bit bit)
    {
        QByteArray row(bytes, '\0');
        for (int x = 0; x < width; ++x) {
            if (bit(x, y))
                row[x / 8] = char(quint8(row[x / 8]) | (0x80 >> (x % 8)));
        }
        return row;
    }

    QByteArray m_records;
};

namespace WmfTest {

// bytes played into a white w x h image.
inline QImage render(const QByteArray &bytes, int w = 100, int h = 100)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    WmfPlayer::play(bytes, painter, QRectF(image.rect()));
    return image;
}

inline int darkPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += qGray(image.pixel(x, y)) < 128;
    }
    return count;
}

} // namespace WmfTest
