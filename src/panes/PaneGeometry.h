#pragma once

#include "panes/PaneSpec.h"

#include <QRect>

#include <array>

// A control's rectangle in twips (1/1440 inch), from the top left of the window's client area.
struct TwipsRect
{
    int left;
    int top;
    int width;
    int height;

    QRect toPixels() const;
    bool operator==(const TwipsRect &) const = default;
};

// The rectangles of one pane's five controls.
struct PaneRects
{
    TwipsRect driveList;
    TwipsRect folderList;
    TwipsRect fileList;
    TwipsRect button;
    TwipsRect patternBox;
};

namespace PaneGeometry {

// 15 twips to a pixel, rounded to the nearest pixel.
int toPixels(int twips);
// The design layout: all five panes side by side. Pane N is designRects()[N - 1].
const std::array<PaneRects, PaneCount> &designRects();
// The main window's message field Text8; no layout moves it.
TwipsRect messageField();

} // namespace PaneGeometry
