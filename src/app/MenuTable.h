#pragma once

#include <QList>
#include <QString>

// One item of the main window's menu tree. An item whose name appears as another item's parent
// is a submenu; an item with an empty parent is a root: shown in the menu bar, or, when hidden,
// a pop-up root that the panes show on a right-button release.
struct MenuEntry
{
    QString parent;
    QString name;
    QString caption;
    QString shortcut; // portable key sequence text, "" for none
    bool hidden = false;
};

// The whole tree in order: the five menu-bar menus, then the ten pop-up roots.
const QList<MenuEntry> &mainMenuTable();

// The items of the panes' pop-up menus, in menu order: the file pop-up's eleven, then the
// folder pop-up's three.
enum class PaneCommand {
    Copy, CopyFileTo, Delete, Paste, Refresh, Rename, Run, SelectAll, ViewGraphic, ViewHtml, ZipView,
    AddFolder, RenameFolder, RemoveFolder,
};

// The name of pane's item for command ("mnuPasteFile" for pane 1's Paste), pane = 1..5.
QString paneItemName(PaneCommand command, int pane);
