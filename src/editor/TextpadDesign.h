#pragma once

#include "platform/ui/MenuTree.h"

#include <QList>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>

enum class ToolbarIcon { NewPage, OpenFolder, Scissors, TwoPages, Clipboard };

// One picture button of the toolbar strip, its place in twips within the strip.
struct ToolbarButtonDesign
{
    QString name;
    QString toolTip;
    QRect twips;
    ToolbarIcon icon;
};

// The editor window's design: its size, controls and menu tree, in twips (15 to a pixel).
namespace TextpadDesign {

QSize clientTwips();
QRect toolbarTwips();
QRect noteTwips();
const QList<ToolbarButtonDesign> &toolbarButtons();
const QList<MenuEntry> &menuTable();
// The open dialog's file types, in the file dialog's form; each pattern in its case forms,
// since names on Linux match with case.
QString openFilter();
QString openFilterFirstEntry();

// A button face of the given pixel size: raised (up) or pressed (down), with its icon.
QPixmap face(ToolbarIcon icon, bool down, const QSize &size);

} // namespace TextpadDesign
