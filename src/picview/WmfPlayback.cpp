#include "picview/WmfPlayback.h"

#include "picview/WmfBitmap.h"
#include "picview/WmfText.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cmath>

namespace {

enum Function : quint16 {
    SaveDc = 0x001E, RestoreDc = 0x0127, SetWindowOrg = 0x020B, SetWindowExt = 0x020C,
    SetBkMode = 0x0102, SetBkColor = 0x0201, SetTextColor = 0x0209, SetPolyFillMode = 0x0106,
    SetTextAlign = 0x012E, MoveTo = 0x0214, LineTo = 0x0213, Rectangle = 0x041B, RoundRect = 0x061C,
    Ellipse = 0x0418, Arc = 0x0817, Pie = 0x081A, Chord = 0x0830, Polygon = 0x0324, Polyline = 0x0325,
    PolyPolygon = 0x0538, SetPixel = 0x041F, TextOut = 0x0521, ExtTextOut = 0x0A32, PatBlt = 0x061D,
    StretchDib = 0x0F43, DibStretchBlt = 0x0B41, DibBitBlt = 0x0940, IntersectClipRect = 0x0416,
    ExcludeClipRect = 0x0415, SelectObject = 0x012D, DeleteObject = 0x01F0,
};

constexpr int maxSavedStates = 1024;
constexpr int maxTextLength = 8192;
constexpr int maxFontPixels = 2000;

QColor colorRef(quint32 value)
{
    return QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

} // namespace

WmfPlayback::WmfPlayback(const Wmf::Header &header, const QRectF &frame, const QRectF &target, QPainter *painter)
    : m_header(header), m_frame(frame), m_target(target), m_painter(painter), m_objects(header.objectCount),
      m_work(0)
{
    const qreal sx = target.width() / frame.width();
    const qreal sy = target.height() / frame.height();
    m_frameToTarget = QTransform(sx, 0, 0, sy, target.left() - frame.left() * sx, target.top() - frame.top() * sy);
    m_area = target;
    if (m_painter) {
        m_base = m_painter->transform();
        const QPaintDevice *device = m_painter->device();
        const qreal ratio = device->devicePixelRatioF();
        QRectF onDevice = m_base.inverted().mapRect(QRectF(0, 0, device->width() / ratio, device->height() / ratio));
        if (m_painter->hasClipping())
            onDevice &= m_painter->clipBoundingRect();
        m_area &= onDevice;
    }
    m_work = WmfWork(m_area.width() * m_area.height());
    m_initialClip = QRegion(m_area.toAlignedRect());
    // Counted in frame units from the window origin, the records start at the frame's corner.
    if (header.mapping == Wmf::Mapping::WindowToFrame) {
        m_state.windowOrigin = frame.topLeft();
        m_state.windowExtent = frame.size();
    } else {
        m_state.windowExtent = QSizeF(1, 1);
    }
}

void WmfPlayback::run(const QByteArray &bytes)
{
    if (m_area.isEmpty())
        return;
    if (m_painter) {
        m_painter->save();
        m_painter->setTransform(m_base);
        m_painter->setClipRegion(m_initialClip, Qt::IntersectClip);
    }
    applyClip();
    applyTransform();
    WmfReader file(bytes.constData(), bytes.size());
    file.skip(m_header.recordsOffset);
    for (int records = 0; records < Wmf::maxRecords && !file.failed() && !m_work.spent(); ++records) {
        const quint32 words = file.u32();
        const quint16 function = file.u16();
        if (file.failed() || function == Wmf::EndOfFile || words < 3 || !file.has(qsizetype(words - 3) * 2))
            break;
        const qsizetype size = qsizetype(words - 3) * 2;
        WmfReader record(file.here(), size);
        play(function, words, record);
        file.skip(size);
    }
    if (m_painter)
        m_painter->restore();
}

void WmfPlayback::applyTransform()
{
    const DcState &s = m_state;
    QTransform windowToFrame;
    if (m_header.mapping == Wmf::Mapping::FixedUnits) {
        const qreal ySign = m_header.yUp ? -1 : 1;
        windowToFrame = QTransform(1, 0, 0, ySign, -s.windowOrigin.x(), -ySign * s.windowOrigin.y());
    } else {
        const qreal sx = m_frame.width() / s.windowExtent.width();
        const qreal sy = m_frame.height() / s.windowExtent.height();
        windowToFrame = QTransform(sx, 0, 0, sy, m_frame.left() - s.windowOrigin.x() * sx,
                                   m_frame.top() - s.windowOrigin.y() * sy);
    }
    m_transform = windowToFrame * m_frameToTarget;
    if (m_painter)
        m_painter->setTransform(m_transform * m_base);
    applyTools();
}

void WmfPlayback::applyTools()
{
    if (!m_painter)
        return;
    m_painter->setPen(Wmf::pen(m_state.pen, scale(), maxPenWidth()));
    m_painter->setBrush(currentBrush());
}

void WmfPlayback::applyClip()
{
    const QRegion &clip = m_state.clip ? *m_state.clip : m_initialClip;
    m_clipBounds = QRectF(clip.boundingRect());
    if (!m_painter)
        return;
    m_painter->setTransform(m_base);
    m_painter->setClipRegion(clip);
    m_painter->setTransform(m_transform * m_base);
}

qreal WmfPlayback::scale() const
{
    return qMax(qAbs(m_transform.m11()), qAbs(m_transform.m22()));
}

qreal WmfPlayback::maxPenWidth() const
{
    // Never far wider than the target, whatever the pen asks.
    return 4 * qMax(m_target.width(), m_target.height()) + 1;
}

QBrush WmfPlayback::currentBrush() const
{
    // The tiles of a pattern lie in pixels from the target's corner, however the records scale.
    const QTransform tiles = QTransform::fromTranslate(m_target.left(), m_target.top()) * m_transform.inverted();
    return Wmf::brush(m_state.brush, m_state.textColor, m_state.backColor, tiles);
}

bool WmfPlayback::reachPixels(const QRectF &bounds, qreal outline, qreal width, bool filled)
{
    if (!filled && width <= 0)
        return false;
    const qreal half = width / 2;
    const QRectF visible = bounds.normalized().adjusted(-half, -half, half, half) & m_clipBounds;
    if (visible.isEmpty())
        return false;
    m_drawn |= visible;
    const qreal area = visible.width() * visible.height();
    if (!m_work.takePixels((filled ? area : 0) + qMin(outline * width, area)))
        return false;
    return m_painter != nullptr;
}

bool WmfPlayback::reachShape(const QRectF &bounds, qreal outline, bool filled)
{
    return reachPixels(bounds, outline, Wmf::penPixels(m_state.pen, scale(), maxPenWidth()),
                       filled && Wmf::fills(m_state.brush));
}

bool WmfPlayback::reachArea(const QRectF &bounds)
{
    return reachPixels(bounds, 0, 0, true);
}

qreal WmfPlayback::perimeter(const QRectF &logical) const
{
    const QRectF box = toTarget(logical);
    return 2 * (box.width() + box.height());
}

qreal WmfPlayback::length(const QPolygonF &points, bool closed) const
{
    const qreal sx = m_transform.m11();
    const qreal sy = m_transform.m22();
    qreal total = 0;
    for (qsizetype i = 1; i < points.size(); ++i)
        total += std::hypot((points[i].x() - points[i - 1].x()) * sx, (points[i].y() - points[i - 1].y()) * sy);
    if (closed && points.size() > 2)
        total += std::hypot((points.first().x() - points.last().x()) * sx, (points.first().y() - points.last().y()) * sy);
    return total;
}

std::optional<QPolygonF> WmfPlayback::polygon(WmfReader &r, int count)
{
    if (count < 0 || !r.has(qsizetype(count) * 4) || !m_work.takePoints(count))
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

void WmfPlayback::selectObject(int index)
{
    const Wmf::GdiObject *object = m_objects.at(index);
    if (!object)
        return;
    if (const auto *pen = std::get_if<Wmf::PenObject>(object)) {
        m_state.pen = *pen;
    } else if (const auto *brush = std::get_if<Wmf::BrushObject>(object)) {
        m_state.brush = *brush;
    } else if (const auto *font = std::get_if<Wmf::FontObject>(object)) {
        m_state.font = *font;
        m_state.fontFace = Wmf::font(*font);
    }
    applyTools();
}

void WmfPlayback::setClip(const QRectF &logical, bool exclude)
{
    const QRegion current = m_state.clip.value_or(m_initialClip);
    // Only the part inside the current clip counts, which keeps the numbers in range.
    const QRectF limit = QRectF(current.boundingRect()).adjusted(-1, -1, 1, 1);
    const QRect area = boxTarget(logical).intersected(limit).toAlignedRect();
    const QRegion next = exclude ? current.subtracted(area) : current.intersected(area);
    if (!m_work.takeClip(next.rectCount()))
        return;
    m_state.clip = next;
    applyClip();
}

void WmfPlayback::arcFigure(quint16 function, WmfReader &r)
{
    // Points come as (y, x), the box as bottom, right, top, left.
    const qreal endY = r.i16(), endX = r.i16(), startY = r.i16(), startX = r.i16();
    const qreal bottom = r.i16(), right = r.i16(), top = r.i16(), left = r.i16();
    const QRectF box = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
    if (r.failed() || box.isEmpty())
        return;
    const QPointF centre = box.center();
    auto angle = [&centre](qreal x, qreal y) {
        return qRadiansToDegrees(std::atan2(-(y - centre.y()), x - centre.x()));
    };
    const qreal from = angle(startX, startY);
    qreal span = angle(endX, endY) - from;
    if (span <= 0)
        span += 360;
    QPainterPath path;
    if (function == Pie)
        path.moveTo(centre);
    else
        path.arcMoveTo(box, from);
    path.arcTo(box, from, span);
    if (function != Arc)
        path.closeSubpath();
    if (!reachShape(toTarget(path.boundingRect()), perimeter(box), function != Arc))
        return;
    if (function == Arc)
        m_painter->strokePath(path, m_painter->pen());
    else
        m_painter->drawPath(path);
}

void WmfPlayback::drawShape(quint16 function, const QRectF &box, const QPointF &corner)
{
    if (!reachShape(toTarget(box), perimeter(box), true))
        return;
    if (function == Rectangle)
        m_painter->drawRect(box);
    else if (function == Ellipse)
        m_painter->drawEllipse(box);
    else
        m_painter->drawRoundedRect(box, qAbs(corner.x()) / 2, qAbs(corner.y()) / 2);
}

void WmfPlayback::text(const QPointF &at, const QByteArray &bytes, const std::optional<QRectF> &opaqueRect,
                       const QList<qint16> &widths)
{
    if (!m_work.takeGlyphs(bytes.size()))
        return;
    const qreal wanted = qAbs(m_state.font.height) * qAbs(m_transform.m22());
    const int pixels = int(qBound(1.0, std::round(wanted), qreal(maxFontPixels)));
    QFont font = m_state.fontFace;
    font.setPixelSize(pixels);
    // Measuring, the text counts at the size asked for, beyond what is ever drawn.
    const qreal factor = m_painter ? 1.0 : qMax(wanted, 1.0) / pixels;
    const QString string = Wmf::decodeText(bytes, m_state.font.charset);
    const QFontMetricsF metrics(font);
    // Where the metafile gives each character's width, each is drawn where it says, whatever
    // the width of the font that stands in for the one it was made with.
    const QList<qreal> starts = Wmf::characterStarts(widths, string.size(), qAbs(m_transform.m11()));
    const qreal width = starts.isEmpty() ? metrics.horizontalAdvance(string) * factor : qMax(qreal(0), starts.last());
    const qreal ascent = metrics.ascent() * factor;
    const qreal height = metrics.height() * factor;
    // Aligned on the current position, the text moves it on, drawn or not.
    const bool fromCurrent = m_state.textAlign & Wmf::UpdateCurrentPosition;
    const Wmf::TextPlacement placed = Wmf::placeText(m_transform.map(fromCurrent ? m_state.position : at), width,
                                                     ascent, height, m_state.textAlign, m_state.font.escapement);
    if (fromCurrent) {
        bool invertible = false;
        const QTransform toLogical = m_transform.inverted(&invertible);
        if (invertible)
            m_state.position = toLogical.map(placed.next);
    }
    const QRectF cell(0, 0, width, height);
    const std::optional<QRectF> opaque = opaqueRect ? std::optional(boxTarget(*opaqueRect)) : std::nullopt;
    const bool paintOpaque = opaque && reachArea(*opaque);
    const bool paintText = reachArea(placed.cell.mapRect(cell));
    if (!paintOpaque && !paintText)
        return;
    m_painter->save();
    m_painter->setTransform(m_base);
    if (paintOpaque)
        m_painter->fillRect(*opaque, m_state.backColor);
    if (paintText) {
        m_painter->setTransform(placed.cell * m_base);
        if (!opaque && m_state.opaqueBack)
            m_painter->fillRect(cell, m_state.backColor);
        m_painter->setPen(m_state.textColor);
        m_painter->setFont(font);
        if (starts.isEmpty()) {
            m_painter->drawText(QPointF(0, ascent), string);
        } else {
            for (qsizetype i = 0; i < string.size(); ++i)
                m_painter->drawText(QPointF(starts.at(i), ascent), QString(string.at(i)));
        }
    }
    m_painter->restore();
}

void WmfPlayback::drawDib(WmfReader &r, const QRectF &source, const QRectF &dest)
{
    const std::optional<WmfBitmap::DibHeader> header = WmfBitmap::dibHeader(r.here(), r.remaining());
    if (!header || !m_work.takeBitmap(header->pixels()) || !reachArea(boxTarget(dest)))
        return;
    const QImage image = WmfBitmap::decodeDib(r.here(), r.remaining());
    if (image.isNull())
        return;
    QRectF from = source;
    if (header->height > 0) // bottom-up: the source's y counts from the bottom row
        from.moveTop(image.height() - source.top() - source.height());
    from = from.intersected(QRectF(image.rect()));
    if (from.isEmpty())
        from = QRectF(image.rect());
    m_painter->drawImage(dest, image, from);
}

void WmfPlayback::play(quint16 function, quint32 words, WmfReader &r)
{
    switch (function) {
    case SaveDc:
        if (m_saved.size() < maxSavedStates)
            m_saved.push_back(m_state);
        return;
    case RestoreDc: {
        const int n = r.i16();
        const qsizetype keep = n < 0 ? qsizetype(m_saved.size()) + n : n - 1;
        if (r.failed() || keep < 0 || size_t(keep) >= m_saved.size())
            return;
        m_state = m_saved[size_t(keep)];
        m_saved.resize(size_t(keep));
        applyClip();
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
    case SetBkMode:
        m_state.opaqueBack = r.u16() == 2;
        return;
    case SetBkColor:
    case SetTextColor: {
        const QColor color = colorRef(r.u32());
        (function == SetBkColor ? m_state.backColor : m_state.textColor) = color;
        // A monochrome pattern brush is drawn in these colours.
        if (m_state.brush.monochrome)
            applyTools();
        return;
    }
    case SetPolyFillMode:
        m_state.fillRule = r.u16() == 2 ? Qt::WindingFill : Qt::OddEvenFill;
        return;
    case SetTextAlign:
        m_state.textAlign = r.u16();
        return;
    case IntersectClipRect:
    case ExcludeClipRect: {
        const qreal bottom = r.i16(), right = r.i16(), top = r.i16(), left = r.i16();
        if (!r.failed())
            setClip(QRectF(QPointF(left, top), QPointF(right, bottom)), function == ExcludeClipRect);
        return;
    }
    case SelectObject:
        selectObject(r.u16());
        return;
    case DeleteObject: {
        const int index = r.u16();
        if (!r.failed())
            m_objects.remove(index);
        return;
    }
    case TextOut: {
        const int length = r.i16();
        if (length <= 0 || length > maxTextLength || !r.has(length + (length & 1)))
            return;
        const QByteArray string = r.bytes(length);
        r.skip(length & 1);
        const qreal y = r.i16();
        const qreal x = r.i16();
        if (!r.failed())
            text(QPointF(x, y), string, std::nullopt);
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
                opaque = QRectF(QPointF(left, top), QPointF(right, bottom));
        }
        if (r.failed() || length <= 0 || length > maxTextLength || !r.has(length))
            return;
        const QByteArray string = r.bytes(length);
        // The width of each byte's character may follow, after the string's padding byte.
        r.skip(length & 1);
        QList<qint16> widths;
        if (r.has(2 * qsizetype(length))) {
            widths.reserve(length);
            for (int i = 0; i < length; ++i)
                widths.append(r.i16());
        }
        text(QPointF(x, y), string, opaque, widths);
        return;
    }
    case StretchDib:
    case DibStretchBlt:
    case DibBitBlt:
    case PatBlt:
        playBitmap(function, words, r);
        return;
    default:
        if (std::optional<Wmf::GdiObject> object = Wmf::readObject(function, r, m_work)) {
            m_objects.add(std::move(*object));
            return;
        }
        playShape(function, r);
        return;
    }
}

void WmfPlayback::playShape(quint16 function, WmfReader &r)
{
    switch (function) {
    case MoveTo:
    case LineTo: {
        const qreal y = r.i16();
        const qreal x = r.i16();
        if (r.failed())
            return;
        const QPointF to(x, y);
        const QPointF from = std::exchange(m_state.position, to);
        if (function == LineTo && reachShape(toTarget(QRectF(from, to)), length({from, to}, false), false))
            m_painter->drawLine(from, to);
        return;
    }
    case Rectangle:
    case Ellipse:
    case RoundRect: {
        const qreal h = function == RoundRect ? r.i16() : 0;
        const qreal w = function == RoundRect ? r.i16() : 0;
        const qreal bottom = r.i16(), right = r.i16(), top = r.i16(), left = r.i16();
        if (!r.failed())
            drawShape(function, QRectF(QPointF(left, top), QPointF(right, bottom)).normalized(), QPointF(w, h));
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
        const bool closed = function == Polygon;
        if (!points || !reachShape(toTarget(points->boundingRect()), length(*points, closed), closed))
            return;
        if (closed)
            m_painter->drawPolygon(*points, m_state.fillRule);
        else
            m_painter->drawPolyline(*points);
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
        qreal outline = 0;
        for (int size : sizes) {
            const std::optional<QPolygonF> points = polygon(r, size);
            if (!points)
                return;
            outline += length(*points, true);
            path.addPolygon(*points);
            path.closeSubpath();
        }
        if (reachShape(toTarget(path.boundingRect()), outline, true))
            m_painter->drawPath(path);
        return;
    }
    case SetPixel: {
        const QColor color = colorRef(r.u32());
        const qreal y = r.i16();
        const qreal x = r.i16();
        if (r.failed())
            return;
        // One pixel, at any scale.
        const QPointF at = m_transform.map(QPointF(x, y));
        const QRectF pixel(std::floor(at.x()), std::floor(at.y()), 1, 1);
        if (!reachArea(pixel))
            return;
        m_painter->setTransform(m_base);
        m_painter->fillRect(pixel, color);
        m_painter->setTransform(m_transform * m_base);
        return;
    }
    default:
        return;
    }
}

void WmfPlayback::playBitmap(quint16 function, quint32 words, WmfReader &r)
{
    switch (function) {
    case PatBlt: {
        const quint32 rop = r.u32();
        const qreal h = r.i16(), w = r.i16(), y = r.i16(), x = r.i16();
        const QRectF box = QRectF(x, y, w, h).normalized();
        if (r.failed() || !reachArea(toTarget(box)))
            return;
        if (rop == 0x00000042)
            m_painter->fillRect(box, Qt::black);
        else if (rop == 0x00FF0062)
            m_painter->fillRect(box, Qt::white);
        else
            m_painter->fillRect(box, m_painter->brush());
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
    default: {
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
    }
}
