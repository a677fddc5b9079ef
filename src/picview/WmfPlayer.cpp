#include "picview/WmfPlayer.h"

#include "picview/WmfReader.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QTransform>
#include <QtMath>

#include <climits>
#include <cmath>
#include <optional>
#include <variant>
#include <vector>

namespace {

enum Function : quint16 {
    SaveDc = 0x001E, RestoreDc = 0x0127, SetWindowOrg = 0x020B, SetWindowExt = 0x020C,
    SetMapMode = 0x0103, SetBkMode = 0x0102, SetBkColor = 0x0201, SetTextColor = 0x0209,
    SetPolyFillMode = 0x0106, SetTextAlign = 0x012E, MoveTo = 0x0214, LineTo = 0x0213,
    Rectangle = 0x041B, RoundRect = 0x061C, Ellipse = 0x0418, Arc = 0x0817, Pie = 0x081A,
    Chord = 0x0830, Polygon = 0x0324, Polyline = 0x0325, PolyPolygon = 0x0538, SetPixel = 0x041F,
    TextOut = 0x0521, ExtTextOut = 0x0A32, PatBlt = 0x061D, StretchDib = 0x0F43,
    DibStretchBlt = 0x0B41, DibBitBlt = 0x0940, IntersectClipRect = 0x0416,
    ExcludeClipRect = 0x0415, SelectObject = 0x012D, DeleteObject = 0x01F0,
    CreatePen = 0x02FA, CreateBrush = 0x02FC, CreateFont = 0x02FB, CreatePalette = 0x00F7,
    CreatePatternBrush = 0x01F9, DibCreatePatternBrush = 0x0142, CreateRegion = 0x06FF,
};

constexpr int maxSavedStates = 1024;
constexpr int maxTextLength = 8192;

QColor colorRef(quint32 value)
{
    return QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

struct PenObject { QPen pen; };
struct BrushObject { QBrush brush; };
struct FontObject { QFont font; int height = 0; int escapement = 0; };
// An object the player does not draw with (palette, region, pattern): it still takes its slot.
struct OtherObject {};
using GdiObject = std::variant<std::monostate, PenObject, BrushObject, FontObject, OtherObject>;

struct DcState
{
    QPointF windowOrigin;
    QSizeF windowExtent;
    QPen pen{Qt::black, 0};
    QBrush brush{Qt::white};
    FontObject font;
    QColor textColor{Qt::black};
    QColor backColor{Qt::white};
    bool opaqueBack = true;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    int textAlign = 0;
    QPointF position;
    std::optional<QRegion> clip;
};

class Player
{
public:
    Player(QPainter &painter, const QRectF &target, const Wmf::Header &header)
        : m_painter(painter), m_target(target), m_objects(size_t(header.objectCount))
    {
        m_state.windowOrigin = header.bounds.topLeft();
        m_state.windowExtent = header.bounds.size();
    }

    void run(const QByteArray &bytes)
    {
        applyTransform();
        WmfReader file(bytes.constData(), bytes.size());
        file.skip(Wmf::placeableHeaderBytes + Wmf::metaHeaderBytes);
        for (int records = 0; records < Wmf::maxRecords && !file.failed(); ++records) {
            const quint32 words = file.u32();
            const quint16 function = file.u16();
            if (file.failed() || function == 0 || words < 3 || !file.has(qsizetype(words - 3) * 2))
                return;
            const qsizetype size = qsizetype(words - 3) * 2;
            WmfReader record(file.here(), size);
            play(function, words, record);
            file.skip(size);
        }
    }

private:
    void play(quint16 function, quint32 words, WmfReader &r);
    void applyTransform();
    QPointF point(WmfReader &r)
    {
        const qreal x = r.i16();
        const qreal y = r.i16();
        return QPointF(x, y);
    }
    // The four values Bottom, Right, Top, Left as a rectangle.
    QRectF rectBRTL(WmfReader &r)
    {
        const qreal bottom = r.i16(), right = r.i16(), top = r.i16(), left = r.i16();
        return QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
    }
    bool takePoints(int count)
    {
        m_points += count;
        return m_points <= Wmf::maxPoints;
    }
    std::optional<QPolygonF> polygon(WmfReader &r, int count)
    {
        if (count < 0 || !r.has(qsizetype(count) * 4) || !takePoints(count))
            return std::nullopt;
        QPolygonF points;
        points.reserve(count);
        for (int i = 0; i < count; ++i) {
            const qreal x = r.i16();
            const qreal y = r.i16();
            points << QPointF(x, y);
        }
        return points;
    }
    void addObject(GdiObject object)
    {
        for (GdiObject &slot : m_objects) {
            if (std::holds_alternative<std::monostate>(slot)) {
                slot = std::move(object);
                return;
            }
        }
    }
    void selectObject(int index);
    void arcFigure(quint16 function, WmfReader &r);
    void text(const QPointF &at, const QByteArray &bytes, const std::optional<QRectF> &opaqueRect);
    void drawDib(WmfReader &r, const QRectF &source, const QRectF &dest);
    void setClip(const QRectF &logical, bool exclude);
    // Scales a pen's width so it never covers far more than the target.
    QPen boundedPen() const;

    QPainter &m_painter;
    QRectF m_target;
    std::vector<GdiObject> m_objects;
    std::vector<DcState> m_saved;
    DcState m_state;
    QTransform m_transform;
    int m_points = 0;
};

void Player::applyTransform()
{
    const QSizeF extent = m_state.windowExtent;
    const qreal sx = m_target.width() / extent.width();
    const qreal sy = m_target.height() / extent.height();
    m_transform = QTransform(sx, 0, 0, sy, m_target.left() - m_state.windowOrigin.x() * sx,
                             m_target.top() - m_state.windowOrigin.y() * sy);
    m_painter.setTransform(m_transform);
    m_painter.setPen(boundedPen());
    m_painter.setBrush(m_state.brush);
}

QPen Player::boundedPen() const
{
    QPen pen = m_state.pen;
    const qreal scale = qMax(qAbs(m_transform.m11()), qAbs(m_transform.m22()));
    const qreal limit = 4 * qMax(m_target.width(), m_target.height()) + 1;
    if (pen.widthF() * scale > limit)
        pen.setWidthF(limit / qMax(scale, 1e-9));
    return pen;
}

void Player::selectObject(int index)
{
    if (index < 0 || size_t(index) >= m_objects.size())
        return;
    const GdiObject &object = m_objects[size_t(index)];
    if (const auto *pen = std::get_if<PenObject>(&object))
        m_state.pen = pen->pen;
    else if (const auto *brush = std::get_if<BrushObject>(&object))
        m_state.brush = brush->brush;
    else if (const auto *font = std::get_if<FontObject>(&object))
        m_state.font = *font;
}

void Player::setClip(const QRectF &logical, bool exclude)
{
    const QRegion area(m_transform.mapRect(logical).toAlignedRect());
    const QRegion current = m_state.clip.value_or(QRegion(m_target.toAlignedRect()));
    m_state.clip = exclude ? current.subtracted(area) : current.intersected(area);
    m_painter.setTransform(QTransform());
    m_painter.setClipRegion(*m_state.clip);
    m_painter.setTransform(m_transform);
}

void Player::arcFigure(quint16 function, WmfReader &r)
{
    const QPointF end = point(r);
    const QPointF start = point(r);
    const QRectF box = rectBRTL(r);
    // WMF points come as (y, x): point() read them the other way round.
    const QPointF endPoint(end.y(), end.x());
    const QPointF startPoint(start.y(), start.x());
    if (r.failed() || box.isEmpty())
        return;
    const QPointF centre = box.center();
    auto angle = [&centre](const QPointF &p) {
        return qRadiansToDegrees(std::atan2(-(p.y() - centre.y()), p.x() - centre.x()));
    };
    const qreal from = angle(startPoint);
    qreal span = angle(endPoint) - from;
    if (span <= 0)
        span += 360;
    QPainterPath path;
    if (function == Pie)
        path.moveTo(centre);
    else
        path.arcMoveTo(box, from);
    path.arcTo(box, from, span);
    if (function == Arc) {
        m_painter.strokePath(path, boundedPen());
        return;
    }
    path.closeSubpath();
    m_painter.drawPath(path);
}

void Player::text(const QPointF &at, const QByteArray &bytes, const std::optional<QRectF> &opaqueRect)
{
    const QPointF device = m_transform.map(at);
    const qreal scale = qAbs(m_transform.m22());
    const int pixels = int(qBound(1.0, std::round(qAbs(m_state.font.height) * scale), 2000.0));
    QFont font = m_state.font.font;
    font.setPixelSize(pixels);
    const QString string = QString::fromLatin1(bytes);
    m_painter.save();
    m_painter.setTransform(QTransform());
    m_painter.setFont(font);
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(string);
    qreal x = device.x();
    if ((m_state.textAlign & 6) == 6)
        x -= width / 2;
    else if (m_state.textAlign & 2)
        x -= width;
    qreal top = device.y();
    if ((m_state.textAlign & 24) == 24)
        top -= metrics.ascent();
    else if (m_state.textAlign & 8)
        top -= metrics.height();
    m_painter.translate(x, top);
    m_painter.rotate(-m_state.font.escapement / 10.0);
    if (opaqueRect)
        m_painter.fillRect(m_transform.mapRect(*opaqueRect).translated(-x, -top), m_state.backColor);
    else if (m_state.opaqueBack)
        m_painter.fillRect(QRectF(0, 0, width, metrics.height()), m_state.backColor);
    m_painter.setPen(m_state.textColor);
    m_painter.drawText(QPointF(0, metrics.ascent()), string);
    m_painter.restore();
}

void Player::drawDib(WmfReader &r, const QRectF &source, const QRectF &dest)
{
    // The bitmap's own header tells its size; it becomes a BMP file for the image reader.
    WmfReader header(r.here(), r.remaining());
    const quint32 headerSize = header.u32();
    int width = 0, height = 0, bitCount = 0;
    quint32 compression = 0, colorsUsed = 0;
    if (headerSize == 12) {
        width = header.u16();
        height = header.u16();
        header.u16();
        bitCount = header.u16();
    } else if (headerSize >= 40) {
        width = qint32(header.u32());
        height = qint32(header.u32());
        header.u16();
        bitCount = header.u16();
        compression = header.u32();
        header.skip(12);
        colorsUsed = header.u32();
    }
    const int absHeight = height == INT_MIN ? 0 : qAbs(height);
    if (header.failed() || width <= 0 || absHeight == 0 || width > Wmf::maxBitmapSide
        || absHeight > Wmf::maxBitmapSide || qint64(width) * absHeight > Wmf::maxBitmapPixels
        || bitCount <= 0 || bitCount > 32 || colorsUsed > 256)
        return;
    qint64 colors = colorsUsed ? colorsUsed : (bitCount <= 8 ? (1 << bitCount) : 0);
    qint64 offset = 14 + qint64(headerSize) + colors * (headerSize == 12 ? 3 : 4);
    if (headerSize == 40 && compression == 3)
        offset += 12;
    const qsizetype dibBytes = r.remaining();
    if (offset - 14 > dibBytes)
        return;
    QByteArray file("BM");
    const quint32 fileSize = quint32(14 + dibBytes);
    for (quint32 value : {fileSize, quint32(0), quint32(offset)}) {
        for (int shift = 0; shift < 32; shift += 8)
            file.append(char((value >> shift) & 0xff));
    }
    file.append(r.here(), dibBytes);
    const QImage image = QImage::fromData(file, "BMP");
    if (image.isNull())
        return;
    QRectF from = source;
    if (height > 0) // bottom-up: the source's y counts from the bottom row
        from.moveTop(image.height() - source.top() - source.height());
    from = from.intersected(QRectF(image.rect()));
    if (from.isEmpty())
        from = QRectF(image.rect());
    m_painter.drawImage(dest, image, from);
}

void Player::play(quint16 function, quint32 words, WmfReader &r)
{
    switch (function) {
    case SaveDc:
        if (m_saved.size() < maxSavedStates)
            m_saved.push_back(m_state);
        return;
    case RestoreDc: {
        const int n = r.i16();
        qsizetype keep = n < 0 ? qsizetype(m_saved.size()) + n : n - 1;
        if (r.failed() || keep < 0 || size_t(keep) >= m_saved.size())
            return;
        m_state = m_saved[size_t(keep)];
        m_saved.resize(size_t(keep));
        m_painter.setTransform(QTransform());
        m_painter.setClipRegion(m_state.clip.value_or(QRegion(m_target.toAlignedRect())));
        applyTransform();
        return;
    }
    case SetWindowOrg:
    case SetWindowExt: {
        const qreal y = r.i16();
        const qreal x = r.i16();
        if (r.failed())
            return;
        if (function == SetWindowOrg)
            m_state.windowOrigin = QPointF(x, y);
        else if (x != 0 && y != 0)
            m_state.windowExtent = QSizeF(x, y);
        applyTransform();
        return;
    }
    case SetMapMode:
        // Every mode maps the window onto the picture's frame here, as a placeable
        // metafile is shown.
        return;
    case SetBkMode:
        m_state.opaqueBack = r.u16() == 2;
        return;
    case SetBkColor:
        m_state.backColor = colorRef(r.u32());
        return;
    case SetTextColor:
        m_state.textColor = colorRef(r.u32());
        return;
    case SetPolyFillMode:
        m_state.fillRule = r.u16() == 2 ? Qt::WindingFill : Qt::OddEvenFill;
        return;
    case SetTextAlign:
        m_state.textAlign = r.u16();
        return;
    case MoveTo:
    case LineTo: {
        const QPointF p = point(r);
        const QPointF to(p.y(), p.x());
        if (r.failed())
            return;
        if (function == LineTo)
            m_painter.drawLine(m_state.position, to);
        m_state.position = to;
        return;
    }
    case Rectangle:
    case Ellipse: {
        const QRectF box = rectBRTL(r);
        if (r.failed())
            return;
        if (function == Rectangle)
            m_painter.drawRect(box);
        else
            m_painter.drawEllipse(box);
        return;
    }
    case RoundRect: {
        const qreal h = r.i16();
        const qreal w = r.i16();
        const QRectF box = rectBRTL(r);
        if (!r.failed())
            m_painter.drawRoundedRect(box, qAbs(w) / 2, qAbs(h) / 2);
        return;
    }
    case Arc:
    case Pie:
    case Chord:
        arcFigure(function, r);
        return;
    case Polygon:
    case Polyline: {
        const std::optional<QPolygonF> points = polygon(r, r.i16());
        if (!points)
            return;
        if (function == Polygon)
            m_painter.drawPolygon(*points, m_state.fillRule);
        else
            m_painter.drawPolyline(*points);
        return;
    }
    case PolyPolygon: {
        const int count = r.i16();
        if (count <= 0 || !r.has(qsizetype(count) * 2))
            return;
        std::vector<int> sizes;
        for (int i = 0; i < count; ++i)
            sizes.push_back(r.i16());
        QPainterPath path;
        path.setFillRule(m_state.fillRule);
        for (int size : sizes) {
            const std::optional<QPolygonF> points = polygon(r, size);
            if (!points)
                return;
            path.addPolygon(*points);
            path.closeSubpath();
        }
        m_painter.drawPath(path);
        return;
    }
    case SetPixel: {
        const QColor color = colorRef(r.u32());
        const QPointF p = point(r);
        if (!r.failed())
            m_painter.fillRect(QRectF(p.y(), p.x(), 1, 1), color);
        return;
    }
    case TextOut: {
        const int length = r.i16();
        if (length <= 0 || length > maxTextLength || !r.has(length + (length & 1)))
            return;
        const QByteArray string = r.bytes(length);
        r.skip(length & 1);
        const QPointF p = point(r);
        if (!r.failed())
            text(QPointF(p.y(), p.x()), string, std::nullopt);
        return;
    }
    case ExtTextOut: {
        const qreal y = r.i16();
        const qreal x = r.i16();
        const int length = r.i16();
        const int options = r.u16();
        std::optional<QRectF> opaque;
        if (options & 0x6) {
            const qreal left = r.i16(), top = r.i16(), right = r.i16(), bottom = r.i16();
            if (options & 0x2)
                opaque = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
        }
        if (r.failed() || length <= 0 || length > maxTextLength || !r.has(length))
            return;
        text(QPointF(x, y), r.bytes(length), opaque);
        return;
    }
    case PatBlt: {
        const quint32 rop = r.u32();
        const qreal h = r.i16(), w = r.i16(), y = r.i16(), x = r.i16();
        if (r.failed())
            return;
        const QRectF box = QRectF(x, y, w, h).normalized();
        if (rop == 0x00000042)
            m_painter.fillRect(box, Qt::black);
        else if (rop == 0x00FF0062)
            m_painter.fillRect(box, Qt::white);
        else
            m_painter.fillRect(box, m_state.brush);
        return;
    }
    case StretchDib: {
        r.u32();
        r.u16();
        const qreal sh = r.i16(), sw = r.i16(), sy = r.i16(), sx = r.i16();
        const qreal dh = r.i16(), dw = r.i16(), dy = r.i16(), dx = r.i16();
        if (!r.failed())
            drawDib(r, QRectF(sx, sy, sw, sh), QRectF(dx, dy, dw, dh));
        return;
    }
    case DibStretchBlt:
    case DibBitBlt: {
        // The short form of these records carries no bitmap.
        if (words == quint32((function >> 8) + 3))
            return;
        r.u32();
        qreal sh = 0, sw = 0;
        if (function == DibStretchBlt) {
            sh = r.i16();
            sw = r.i16();
        }
        const qreal sy = r.i16(), sx = r.i16();
        const qreal dh = r.i16(), dw = r.i16(), dy = r.i16(), dx = r.i16();
        if (function == DibBitBlt) {
            sh = dh;
            sw = dw;
        }
        if (!r.failed())
            drawDib(r, QRectF(sx, sy, sw, sh), QRectF(dx, dy, dw, dh));
        return;
    }
    case IntersectClipRect:
    case ExcludeClipRect: {
        const QRectF box = rectBRTL(r);
        if (!r.failed())
            setClip(box, function == ExcludeClipRect);
        return;
    }
    case SelectObject:
        selectObject(r.u16());
        applyTransform();
        return;
    case DeleteObject: {
        const int index = r.u16();
        if (!r.failed() && size_t(index) < m_objects.size())
            m_objects[size_t(index)] = std::monostate();
        return;
    }
    case CreatePen: {
        const int style = r.u16();
        const qreal width = r.i16();
        r.i16();
        const QColor color = colorRef(r.u32());
        if (r.failed())
            return;
        static const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                              Qt::DashDotDotLine, Qt::NoPen, Qt::SolidLine};
        QPen pen(color, qAbs(width), (style & 0xf) < 7 ? styles[style & 0xf] : Qt::SolidLine);
        addObject(PenObject{pen});
        return;
    }
    case CreateBrush: {
        const int style = r.u16();
        const QColor color = colorRef(r.u32());
        const int hatch = r.u16();
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                 Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        QBrush brush(color);
        if (style == 1)
            brush = QBrush(Qt::NoBrush);
        else if (style == 2)
            brush = QBrush(color, hatch >= 0 && hatch < 6 ? hatches[hatch] : Qt::SolidPattern);
        addObject(BrushObject{brush});
        return;
    }
    case CreateFont: {
        FontObject font;
        font.height = r.i16();
        r.i16();
        font.escapement = r.i16();
        r.i16();
        const int weight = r.i16();
        const bool italic = r.u8() != 0;
        const bool underline = r.u8() != 0;
        const bool strikeOut = r.u8() != 0;
        r.skip(5);
        QByteArray face = r.bytes(qMin<qsizetype>(32, r.remaining()));
        face.truncate(face.indexOf('\0') < 0 ? face.size() : face.indexOf('\0'));
        font.font = QFont(QString::fromLatin1(face));
        // Both count weights as CSS does: 400 normal, 700 bold; 0 is the default.
        font.font.setWeight(QFont::Weight(weight <= 0 ? 400 : qMin(weight, 1000)));
        font.font.setItalic(italic);
        font.font.setUnderline(underline);
        font.font.setStrikeOut(strikeOut);
        addObject(font);
        return;
    }
    case CreatePalette:
    case CreatePatternBrush:
    case DibCreatePatternBrush:
    case CreateRegion:
        addObject(OtherObject{});
        return;
    default:
        return;
    }
}

} // namespace

namespace WmfPlayer {

void play(const QByteArray &bytes, QPainter &painter, const QRectF &target)
{
    const std::optional<Wmf::Header> header = Wmf::readHeader(bytes);
    if (!header || target.isEmpty() || !target.isValid())
        return;
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    Player player(painter, target, *header);
    player.run(bytes);
    painter.restore();
}

} // namespace WmfPlayer
