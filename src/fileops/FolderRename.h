#pragma once

#include "fileops/Namer.h"
#include "platform/ui/SharedWindow.h"

// The folder pop-up's "Rename" (mnuRename1..mnuRename5): opens Namer on the pane's open
// folder.
class FolderRename
{
public:
    FolderRename(Services &services, PaneBoard &board, QWidget *owner = nullptr);

    void mnuRename_Click(int pane);
    // Namer when it is loaded, else nullptr.
    Namer *dialog() const { return m_namer.ifLoaded(); }

private:
    PaneBoard &m_board;
    SharedWindow<Namer> m_namer;
};
