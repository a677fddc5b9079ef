#pragma once

class PaneBoard;
struct Services;

// The folder pop-up's "Remove" (mnuRemove1..mnuRemove5): removes the pane's open folder when
// it is empty, without asking, and moves every pane that showed it to its parent.
class RemoveFolder
{
public:
    RemoveFolder(Services &services, PaneBoard &board);

    void mnuRemove_Click(int pane);

private:
    Services &m_services;
    PaneBoard &m_board;
};
