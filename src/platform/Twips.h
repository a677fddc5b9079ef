#pragma once

#include <QRect>
#include <QSize>
#include <QtMath>

// The design's positions and sizes are in twips (1/1440 inch), 15 to a pixel at 96 dots per
// inch, rounded to the nearest pixel.
namespace Twips {
constexpr int perPixel = 15;
inline int pixels(int twips) { return qRound(double(twips) / perPixel); }
inline QSize size(int width, int height) { return QSize(pixels(width), pixels(height)); }
inline QRect rect(int left, int top, int width, int height)
{
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}
inline QRect rect(const QRect &twips) { return rect(twips.left(), twips.top(), twips.width(), twips.height()); }
} // namespace Twips
