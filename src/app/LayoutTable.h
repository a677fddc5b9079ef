#pragma once

#include "panes/PaneGeometry.h"

#include <QList>
#include <QString>

// The five controls of a pane, in the order the layout commands show and place them.
enum class PaneControl { DriveList, FolderList, FileList, PatternBox, Button };

// Where one control of one pane stands in a layout, in twips from the top left corner of the
// main window's client area. A height of 0 means the control keeps its own height.
struct ControlPlace
{
    int pane; // 1..5
    PaneControl control;
    TwipsRect rect;
};

// One of the Desktop menu's "Drive View" layouts: it shows panes 1 to paneCount and places
// every control of them.
struct PaneLayout
{
    QString menuItem;   // "mnuDeskTop1", "DeskTop2", ...
    int paneCount;
    QList<ControlPlace> places;
};

// The five layouts, One to Five. (The design layout every start shows is the panes' own.)
const QList<PaneLayout> &paneLayouts();
