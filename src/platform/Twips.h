#pragma once

#include <QRect>
#include <QSize>

// The design's positions and sizes are in twips, 15 to a pixel.
namespace Twips {
constexpr int perPixel = 15;
constexpr int pixels(int twips) { return twips / perPixel; }
inline QSize size(int width, int height) { return QSize(pixels(width), pixels(height)); }
inline QRect rect(int left, int top, int width, int height)
{
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}
} // namespace Twips

