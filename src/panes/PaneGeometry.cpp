#include "panes/PaneGeometry.h"

#include <QtMath>

QRect TwipsRect::toPixels() const
{
    return QRect(PaneGeometry::toPixels(left), PaneGeometry::toPixels(top),
                 PaneGeometry::toPixels(width), PaneGeometry::toPixels(height));
}

namespace PaneGeometry {

int toPixels(int twips)
{
    return qRound(twips / 15.0);
}

const std::array<PaneRects, PaneCount> &designRects()
{
    // Pane 5's drive and folder lists stand at 9580, its other controls at 9600.
    static const std::array<PaneRects, PaneCount> rects = {{
        {{0, 640, 2405, 315}, {0, 960, 2405, 2115}, {0, 3000, 2415, 3990},
         {0, 6960, 2405, 255}, {0, 7200, 2405, 285}},
        {{2400, 640, 2405, 315}, {2400, 960, 2405, 2115}, {2400, 3000, 2415, 3990},
         {2400, 6960, 2405, 255}, {2400, 7200, 2405, 285}},
        {{4800, 640, 2405, 315}, {4800, 960, 2405, 2115}, {4800, 3000, 2415, 3990},
         {4800, 6960, 2405, 255}, {4800, 7200, 2405, 285}},
        {{7200, 640, 2405, 315}, {7200, 960, 2405, 2115}, {7200, 3000, 2415, 3990},
         {7200, 6960, 2405, 255}, {7200, 7200, 2405, 285}},
        {{9580, 640, 2405, 315}, {9580, 960, 2385, 2115}, {9600, 3000, 2385, 3990},
         {9600, 6960, 2405, 255}, {9600, 7200, 2405, 285}},
    }};
    return rects;
}

TwipsRect messageField()
{
    return {0, 7560, 3735, 285};
}

} // namespace PaneGeometry
