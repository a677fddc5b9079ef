#pragma once

class Dialogs;
class MainMenus;
class PaneBoard;
class QObject;

// File > "Select All" and each pane's pop-up "Select All Files": select every file of one
// pane's file list. Selecting raises no click, so no pane becomes active and nothing is re-read.
class SelectAll
{
public:
    SelectAll(PaneBoard &board, Dialogs &dialogs);

    // File > "Select All": the pane chosen by the selection rule, or "Please select a file first".
    void mnuSelectAll0_Click();
    // The pop-up's "Select All Files" of pane n (mnuSelectAll1_Click .. mnuSelectAll5_Click).
    void paneSelectAll(int n);
    // Connects the six menu items; context owns the connections.
    void wire(const MainMenus &menus, QObject *context);

private:
    PaneBoard &m_board;
    Dialogs &m_dialogs;
};
