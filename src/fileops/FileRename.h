#pragma once

#include "fileops/Namer2.h"
#include "platform/ui/SharedWindow.h"

// The file pop-up's "Rename" (mnuReeName1..mnuReeName5): opens Namer2 on the pane's current
// file.
class FileRename
{
public:
    FileRename(Services &services, PaneBoard &board, QWidget *owner = nullptr);

    void mnuReeName_Click(int pane);
    // Namer2 when it is loaded, else nullptr.
    Namer2 *dialog() const { return m_namer2.ifLoaded(); }

private:
    Services &m_services;
    PaneBoard &m_board;
    SharedWindow<Namer2> m_namer2;
};
