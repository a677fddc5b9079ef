#pragma once

#include "picview/WmfObjectTable.h"
#include "picview/WmfReader.h"
#include "picview/WmfWork.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QList>
#include <QPen>
#include <QPolygonF>
#include <QRectF>
#include <QRegion>
#include <QTransform>

#include <optional>
#include <vector>

class QPainter;

// One play of a metafile's records with the frame filling a target rectangle: onto a painter,
// or, without one, only measuring what the records would draw (where, and at what cost).
// Records it does not know are skipped by their size; a record whose sizes, counts or indexes
// do not fit its bytes or the object table is skipped too. It never reads outside the bytes.
class WmfPlayback
{
public:
    // frame: the picture's frame in frame units; painter: nothing to measure only.
    WmfPlayback(const Wmf::Header &header, const QRectF &frame, const QRectF &target, QPainter *painter);

    // Every record from the first, up to the end-of-file record, the first record that does not
    // fit the file, or the point where the work allowed is spent.
    void run(const QByteArray &bytes);

    bool spent() const { return m_work.spent(); }
    // What the records drew inside their clip, in target coordinates, outlines included.
    QRectF drawnBounds() const { return m_drawn; }

private:
    struct DcState
    {
        QPointF windowOrigin;
        QSizeF windowExtent;
        // A device context starts with a thin black pen and a white brush.
        Wmf::PenObject pen;
        Wmf::BrushObject brush{
            .style = 0, .color = qRgb(255, 255, 255), .hatch = 0, .pattern = QImage(), .monochrome = false};
        Wmf::FontObject font;
        QFont fontFace;
        QColor textColor{Qt::black};
        QColor backColor{Qt::white};
        bool opaqueBack = true;
        Qt::FillRule fillRule = Qt::OddEvenFill;
        int textAlign = 0;
        QPointF position;
        std::optional<QRegion> clip;
    };

    void play(quint16 function, quint32 words, WmfReader &r);
    void playShape(quint16 function, WmfReader &r);
    void playBitmap(quint16 function, quint32 words, WmfReader &r);

    void applyTransform();
    void applyTools();
    void applyClip();
    // Target units to a logical unit (the larger of the two directions).
    qreal scale() const;
    qreal maxPenWidth() const;
    QBrush currentBrush() const;

    // Counts a shape over bounds (target coordinates) whose outline runs outline target units,
    // filled by the brush when filled, and grows the drawn bounds. False when nothing is to be
    // painted: while measuring, outside the clip, or once the work is spent.
    bool reachShape(const QRectF &bounds, qreal outline, bool filled);
    // The same for an area painted whole (bitmaps, text, pattern fills).
    bool reachArea(const QRectF &bounds);
    bool reachPixels(const QRectF &bounds, qreal outline, qreal width, bool filled);

    QRectF toTarget(const QRectF &logical) const { return m_transform.mapRect(logical); }
    QRectF boxTarget(const QRectF &logical) const { return toTarget(logical.normalized()); }
    qreal perimeter(const QRectF &logical) const;
    qreal length(const QPolygonF &points, bool closed) const;
    std::optional<QPolygonF> polygon(WmfReader &r, int count);
    void drawShape(quint16 function, const QRectF &box, const QPointF &corner);
    void arcFigure(quint16 function, WmfReader &r);
    void text(const QPointF &at, const QByteArray &bytes, const std::optional<QRectF> &opaqueRect,
              const QList<qint16> &widths = {});
    void drawDib(WmfReader &r, const QRectF &source, const QRectF &dest);
    void setClip(const QRectF &logical, bool exclude);
    void selectObject(int index);

    const Wmf::Header m_header;
    const QRectF m_frame;
    const QRectF m_target;
    QPainter *m_painter;
    // The painter's own transform, under the player's.
    QTransform m_base;
    QTransform m_frameToTarget;
    QTransform m_transform;
    // The part of the target drawn on, and the clip the records start with.
    QRectF m_area;
    QRegion m_initialClip;
    QRectF m_clipBounds;
    WmfObjectTable m_objects;
    std::vector<DcState> m_saved;
    DcState m_state;
    WmfWork m_work;
    QRectF m_drawn;
};
