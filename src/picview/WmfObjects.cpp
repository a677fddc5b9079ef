#include "picview/WmfObjects.h"

#include "picview/WmfBitmap.h"
#include "picview/WmfReader.h"
#include "picview/WmfWork.h"

#include <QList>

namespace Wmf {

namespace {

enum PenStyle { NullPen = 5 };
enum BrushStyle { SolidBrush = 0, HollowBrush = 1, HatchedBrush = 2, PatternBrush = 3, DibPatternPtBrush = 6 };
constexpr int paletteColors = 1;

QRgb colorRef(quint32 value)
{
    return qRgb(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

bool isPattern(int style)
{
    return style == PatternBrush || style == 5 || style == DibPatternPtBrush;
}

// The dashes of the styles dash, dot, dash-dot and dash-dot-dot, in pixels.
const QList<qreal> &dashPattern(int style)
{
    static const QList<qreal> patterns[] = {{18, 6}, {3, 3}, {9, 6, 3, 6}, {9, 3, 3, 3, 3, 3}};
    return patterns[style - 1];
}

FontObject readFont(WmfReader &r)
{
    FontObject font;
    font.height = r.i16();
    r.i16(); // width
    font.escapement = r.i16();
    r.i16(); // orientation
    font.weight = r.i16();
    font.italic = r.u8() != 0;
    font.underline = r.u8() != 0;
    font.strikeOut = r.u8() != 0;
    font.charset = r.u8();
    r.skip(4); // precisions, quality, pitch and family
    font.face = r.bytes(qMin<qsizetype>(32, r.remaining()));
    const qsizetype end = font.face.indexOf('\0');
    if (end >= 0)
        font.face.truncate(end);
    return font;
}

// A brush of a device-independent bitmap. One made from a monochrome bitmap, or whose one-bit
// colours are palette indexes there is no palette for, takes the text and background colours.
GdiObject readDibPatternBrush(WmfReader &r, WmfWork &work)
{
    BrushObject brush;
    brush.style = r.u16() == PatternBrush ? PatternBrush : DibPatternPtBrush;
    const int colorUsage = r.u16();
    const std::optional<WmfBitmap::DibHeader> header = WmfBitmap::dibHeader(r.here(), r.remaining());
    if (r.failed() || !header || !work.takeBitmap(header->pixels()))
        return OtherObject{};
    brush.monochrome = header->bitCount == 1 && (brush.style == PatternBrush || colorUsage == paletteColors);
    brush.pattern = brush.monochrome ? WmfBitmap::decodeMonochromeDib(r.here(), r.remaining())
                                     : WmfBitmap::decodeDib(r.here(), r.remaining());
    return brush;
}

// A brush of an old device-dependent bitmap: only monochrome ones mean the same everywhere.
GdiObject readPatternBrush(WmfReader &r, WmfWork &work)
{
    r.u16(); // type
    const int width = r.i16();
    const int height = r.i16();
    const int rowBytes = r.i16();
    const int planes = r.u8();
    const int bitsPerPixel = r.u8();
    r.skip(4 + 18); // the bitmap's pointer and reserved bytes
    if (r.failed() || planes != 1 || bitsPerPixel != 1 || width <= 0 || height <= 0
        || !work.takeBitmap(qint64(width) * height))
        return OtherObject{};
    BrushObject brush;
    brush.style = PatternBrush;
    brush.monochrome = true;
    brush.pattern = WmfBitmap::monochromeRows(r.here(), r.remaining(), width, height, rowBytes);
    return brush;
}

} // namespace

bool createsObject(quint16 function)
{
    switch (function) {
    case CreatePen:
    case CreateBrush:
    case CreateFont:
    case CreatePalette:
    case CreatePatternBrush:
    case DibCreatePatternBrush:
    case CreateRegion:
        return true;
    default:
        return false;
    }
}

std::optional<GdiObject> readObject(quint16 function, WmfReader &r, WmfWork &work)
{
    if (!createsObject(function))
        return std::nullopt;
    switch (function) {
    case CreatePen: {
        PenObject pen;
        pen.style = r.u16();
        pen.width = r.i16();
        r.i16();
        pen.color = colorRef(r.u32());
        if (r.failed())
            return OtherObject{};
        return pen;
    }
    case CreateBrush: {
        BrushObject brush;
        brush.style = r.u16();
        brush.color = colorRef(r.u32());
        brush.hatch = r.u16();
        // A pattern needs a bitmap, which this record cannot carry: its colour fills.
        if (isPattern(brush.style))
            brush.style = SolidBrush;
        return brush;
    }
    case CreateFont:
        return readFont(r);
    case DibCreatePatternBrush:
        return readDibPatternBrush(r, work);
    case CreatePatternBrush:
        return readPatternBrush(r, work);
    default:
        // Palettes and regions.
        return OtherObject{};
    }
}

bool fills(const BrushObject &brush)
{
    return brush.style != HollowBrush && !(isPattern(brush.style) && brush.pattern.isNull());
}

qreal penPixels(const PenObject &object, qreal scale, qreal maxWidth)
{
    if ((object.style & 0xf) == NullPen)
        return 0;
    return qBound(1.0, qAbs(object.width) * scale, qMax(1.0, maxWidth));
}

QPen pen(const PenObject &object, qreal scale, qreal maxWidth)
{
    const int style = object.style & 0xf;
    if (style == NullPen)
        return QPen(Qt::NoPen);
    const bool thin = qAbs(object.width) * scale < 1;
    QPen pen(QColor(object.color), thin ? 0 : penPixels(object, scale, maxWidth) / qMax(scale, 1e-9));
    if (qAbs(object.width) <= 1 && style >= 1 && style <= 4)
        pen.setDashPattern(dashPattern(style));
    if (!thin) {
        static const Qt::PenCapStyle caps[] = {Qt::RoundCap, Qt::SquareCap, Qt::FlatCap};
        static const Qt::PenJoinStyle joins[] = {Qt::RoundJoin, Qt::BevelJoin, Qt::MiterJoin};
        const int cap = (object.style >> 8) & 0xf;
        const int join = (object.style >> 12) & 0xf;
        pen.setCapStyle(cap < 3 ? caps[cap] : Qt::RoundCap);
        pen.setJoinStyle(join < 3 ? joins[join] : Qt::RoundJoin);
    }
    return pen;
}

QBrush brush(const BrushObject &object, const QColor &text, const QColor &back, const QTransform &patternTransform)
{
    if (!fills(object))
        return QBrush(Qt::NoBrush);
    if (object.style == HatchedBrush) {
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                 Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(QColor(object.color),
                      object.hatch >= 0 && object.hatch < 6 ? hatches[object.hatch] : Qt::SolidPattern);
    }
    if (!isPattern(object.style))
        return QBrush(QColor(object.color));
    QBrush brush(object.monochrome ? WmfBitmap::twoColoured(object.pattern, text, back) : object.pattern);
    brush.setTransform(patternTransform);
    return brush;
}

QFont font(const FontObject &object)
{
    QFont face(QString::fromLatin1(object.face));
    // Both count weights as CSS does: 400 normal, 700 bold; 0 is the default.
    face.setWeight(QFont::Weight(object.weight <= 0 ? 400 : qMin(object.weight, 1000)));
    face.setItalic(object.italic);
    face.setUnderline(object.underline);
    face.setStrikeOut(object.strikeOut);
    return face;
}

} // namespace Wmf
