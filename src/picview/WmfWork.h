#pragma once

#include <QtGlobal>

// What one play of a metafile may do: glyphs drawn, points, bitmap pixels decoded, clip
// rectangles made and pixels filled. A file whose play at its own size passes any of these
// is no picture; a play that passes one (a file at a size it was not checked at) stops there.
class WmfWork
{
public:
    static constexpr qint64 maxGlyphs = 100000;
    static constexpr qint64 maxPoints = 1000000;
    static constexpr qint64 maxBitmapPixels = qint64(64) << 20;
    static constexpr qint64 maxClipRects = 1000000;
    // Pixels filled (outlines, shapes, text and bitmaps, each clipped to what is drawn on):
    // this many times the area drawn on, and never fewer than minFillPixels.
    static constexpr double fillsPerArea = 64;
    static constexpr double minFillPixels = double(qint64(1) << 26);

    explicit WmfWork(double drawnArea) : m_maxPixels(qMax(fillsPerArea * drawnArea, minFillPixels)) {}

    bool takeGlyphs(qint64 count) { return take(m_glyphs, count, maxGlyphs); }
    bool takePoints(qint64 count) { return take(m_points, count, maxPoints); }
    bool takeBitmap(qint64 pixels) { return take(m_bitmapPixels, pixels, maxBitmapPixels); }
    bool takeClip(qint64 rects) { return take(m_clipRects, rects, maxClipRects); }
    bool takePixels(double pixels)
    {
        m_pixels += qMax(0.0, pixels);
        m_spent = m_spent || m_pixels > m_maxPixels;
        return !m_spent;
    }
    bool spent() const { return m_spent; }

private:
    bool take(qint64 &counter, qint64 count, qint64 limit)
    {
        counter += qMax<qint64>(0, count);
        m_spent = m_spent || counter > limit;
        return !m_spent;
    }

    double m_maxPixels;
    double m_pixels = 0;
    qint64 m_glyphs = 0;
    qint64 m_points = 0;
    qint64 m_bitmapPixels = 0;
    qint64 m_clipRects = 0;
    bool m_spent = false;
};
