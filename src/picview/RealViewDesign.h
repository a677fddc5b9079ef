#pragma once

#include "platform/ui/MenuTree.h"

#include <QList>
#include <QRect>
#include <QString>

// The design of the picture viewer window: its menu, the places of its controls in twips, the
// filter of its open dialog and its messages.
namespace RealViewDesign {

const QList<MenuEntry> &menuTable();

// Picture1 in the window; Command1 in the window, in front of Picture1; Command2 and VScroll1
// in Picture1.
constexpr QRect picture1Twips{0, 0, 15000, 19335};
constexpr QRect command1Twips{240, 7680, 975, 375};
constexpr QRect command2Twips{1800, 7680, 975, 375};
constexpr QRect vscroll1Twips{11640, 10, 375, 8200};

// The scroll bar's fixed range and steps: an arrow moves 25 twips, the track 1.
constexpr int scrollMaximum = 32767;
constexpr int scrollSmallChange = 25;
constexpr int scrollLargeChange = 1;

// The open dialog's filter, in the dialog's own form.
QString openFilter();

QString atMaximumMessage();
QString clipboardRefusedMessage();

} // namespace RealViewDesign
