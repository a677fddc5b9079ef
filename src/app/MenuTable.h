#pragma once

#include "platform/ui/MenuTree.h"

#include <QList>
#include <QString>

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
