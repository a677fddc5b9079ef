#pragma once

#include "fileops/FoldMaker.h"
#include "platform/ui/SharedWindow.h"

// The folder pop-up's "Add New Folder" (mnuAddnew1..mnuAddnew5): opens FoldMaker on the pane's
// open folder, keeping a name typed before.
class NewFolder
{
public:
    NewFolder(Services &services, PaneBoard &board, QWidget *owner = nullptr);

    void mnuAddnew_Click(int pane);
    // FoldMaker when it is loaded, else nullptr.
    FoldMaker *dialog() const { return m_foldMaker.ifLoaded(); }

private:
    PaneBoard &m_board;
    SharedWindow<FoldMaker> m_foldMaker;
};
