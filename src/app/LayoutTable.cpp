#include "app/LayoutTable.h"

namespace {

using C = PaneControl;
constexpr C Drive = C::DriveList;
constexpr C Folder = C::FolderList;
constexpr C File = C::FileList;
constexpr C Pattern = C::PatternBox;
constexpr C Button = C::Button;

// The values are kept as designed, odd ones included (FileBox3's 2880 in Four, the 4525-wide
// buttons of Two, DirBox2's 2390 in Five): the layouts are meant to look exactly so.
const QList<PaneLayout> layouts = {
    // One Drive View: pane 1 fills the window, folder list left, file list right.
    {QStringLiteral("mnuDeskTop1"), 1, {
        {1, Drive, {70, 350, 4500, 0}},
        {1, Folder, {70, 635, 4500, 7000}},
        {1, File, {4570, 355, 8000, 7480}},
        {1, Button, {70, 7160, 4500, 0}},
        {1, Pattern, {70, 7380, 4500, 0}},
    }},
    // Two Drive View: panes 1 and 2 stacked on the left (pattern box above the button), their
    // file lists stacked on the right.
    {QStringLiteral("DeskTop2"), 2, {
        {1, Drive, {180, 370, 4530, 0}},
        {1, Folder, {180, 650, 4530, 3400}},
        {1, Pattern, {180, 3580, 4530, 0}},
        {1, Button, {180, 3865, 4525, 0}},
        {2, Drive, {180, 4130, 4530, 0}},
        {2, Folder, {180, 4363, 4530, 3570}},
        {2, Pattern, {180, 7350, 4530, 0}},
        {2, Button, {180, 7630, 4525, 0}},
        {1, File, {4700, 350, 7040, 3790}},
        {2, File, {4700, 4080, 7040, 3820}},
    }},
    // Three, Four and Five Drive View: columns with the design's rows.
    {QStringLiteral("DeskTop3"), 3, {
        {1, Drive, {180, 640, 3850, 0}},  {2, Drive, {4015, 640, 3850, 0}},  {3, Drive, {7875, 640, 3850, 0}},
        {1, Folder, {180, 960, 3850, 2115}}, {2, Folder, {4015, 960, 3850, 2115}}, {3, Folder, {7875, 960, 3850, 2115}},
        {1, File, {180, 3000, 3850, 3990}}, {2, File, {4015, 3000, 3850, 3990}}, {3, File, {7875, 3000, 3850, 3990}},
        {1, Pattern, {180, 7200, 3850, 0}}, {2, Pattern, {4015, 7200, 3850, 0}}, {3, Pattern, {7875, 7200, 3850, 0}},
        {1, Button, {180, 6960, 3850, 0}},  {2, Button, {4015, 6960, 3850, 0}},  {3, Button, {7875, 6960, 3850, 0}},
    }},
    {QStringLiteral("DeskTop4"), 4, {
        {1, Drive, {180, 640, 2885, 0}}, {2, Drive, {3065, 640, 2885, 0}},
        {3, Drive, {5940, 640, 2885, 0}}, {4, Drive, {8825, 640, 2885, 0}},
        {1, Folder, {180, 960, 2885, 2115}}, {2, Folder, {3065, 960, 2885, 2115}},
        {3, Folder, {5940, 960, 2885, 2115}}, {4, Folder, {8825, 960, 2885, 2115}},
        {1, File, {180, 3000, 2885, 3990}}, {2, File, {3065, 3000, 2885, 3990}},
        {3, File, {5940, 3000, 2880, 3990}}, {4, File, {8825, 3000, 2885, 3990}},
        {1, Pattern, {180, 7200, 2885, 0}}, {2, Pattern, {3065, 7200, 2885, 0}},
        {3, Pattern, {5940, 7200, 2885, 0}}, {4, Pattern, {8825, 7200, 2885, 0}},
        {1, Button, {180, 6960, 2885, 0}}, {2, Button, {3065, 6960, 2885, 0}},
        {3, Button, {5940, 6960, 2885, 0}}, {4, Button, {8825, 6960, 2885, 0}},
    }},
    {QStringLiteral("DeskTop5"), 5, {
        {1, Drive, {15, 640, 2400, 0}},   {2, Drive, {2400, 640, 2385, 0}},   {3, Drive, {4785, 640, 2385, 0}},
        {4, Drive, {7170, 640, 2385, 0}}, {5, Drive, {9550, 640, 2385, 0}},
        {1, Folder, {15, 960, 2400, 2115}},   {2, Folder, {2400, 960, 2390, 2115}}, {3, Folder, {4785, 960, 2385, 2115}},
        {4, Folder, {7170, 960, 2385, 2115}}, {5, Folder, {9550, 960, 2385, 2115}},
        {1, File, {15, 3000, 2400, 3990}},   {2, File, {2400, 3000, 2385, 3990}}, {3, File, {4785, 3000, 2385, 3990}},
        {4, File, {7170, 3000, 2385, 3990}}, {5, File, {9550, 3000, 2385, 3990}},
        {1, Pattern, {15, 7200, 2400, 0}},   {2, Pattern, {2400, 7200, 2385, 0}}, {3, Pattern, {4785, 7200, 2385, 0}},
        {4, Pattern, {7170, 7200, 2385, 0}}, {5, Pattern, {9550, 7200, 2385, 0}},
        {1, Button, {15, 6960, 2385, 0}},   {2, Button, {2400, 6960, 2385, 0}}, {3, Button, {4785, 6960, 2385, 0}},
        {4, Button, {7170, 6960, 2385, 0}}, {5, Button, {9550, 6960, 2385, 0}},
    }},
};

} // namespace

const QList<PaneLayout> &paneLayouts()
{
    return layouts;
}
