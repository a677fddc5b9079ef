#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <initializer_list>

// Placeable Windows metafiles built record by record in the test.
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
    WmfBuilder &remove(int index) { return record(0x01F0, {index}); }
    WmfBuilder &rectangle(int left, int top, int right, int bottom)
    {
        return record(0x041B, {bottom, right, top, left});
    }
    WmfBuilder &polygon(const QList<QPoint> &points)
    {
        QByteArray params;
        addWord(params, int(points.size()));
        for (const QPoint &p : points) {
            addWord(params, p.x());
            addWord(params, p.y());
        }
        return raw(0x0324, params);
    }
    WmfBuilder &font(int height, const QByteArray &face)
    {
        QByteArray params;
        for (int word : {-height, 0, 0, 0, 700})
            addWord(params, word);
        params.append(QByteArray(8, '\0'));
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
        QByteArray records = m_records;
        if (endRecord) {
            addDword(records, 3);
            addWord(records, 0);
        }
        addWord(out, 1);
        addWord(out, 9);
        addWord(out, 0x0300);
        addDword(out, quint32(9 + records.size() / 2));
        addWord(out, objects);
        addDword(out, 0);
        addWord(out, 0);
        out.append(records);
        return out;
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

    QByteArray m_records;
};
