#pragma once

#include "app/LayoutTable.h"

class MainMenus;
class PaneBoard;
class QObject;
class QWidget;

// The Desktop menu's "Drive View" commands: show panes 1 to N, hide the others, place the
// shown panes' controls. Nothing else changes: no list is re-read, the hidden panes keep their
// folders, patterns and selections, and the layout is not remembered.
class PaneLayouts
{
public:
    explicit PaneLayouts(PaneBoard &board);

    // Runs the layout for paneCount panes (1..5): mnuDeskTop1_Click, DeskTop2_Click, ...
    void show(int paneCount);
    // Connects the five menu items to their layouts; context owns the connections.
    void wire(const MainMenus &menus, QObject *context);

    QWidget *control(int pane, PaneControl kind) const;

private:
    void place(const ControlPlace &place);

    PaneBoard &m_board;
};
