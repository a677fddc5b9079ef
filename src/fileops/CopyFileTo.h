#pragma once

#include "fileops/CopyFileDialog.h"
#include "panes/PaneSpec.h"
#include "platform/ui/SharedWindow.h"

#include <array>
#include <memory>

// The "Copy File To.." commands: each pane's pop-up item opens that pane's own "Copy File"
// window; the File menu's item opens the window of the first pane with a selection.
class CopyFileTo
{
public:
    CopyFileTo(Services &services, PaneBoard &board, CopyCommands &copy, const CopyBatch &batch,
               QWidget *owner = nullptr);

    // mnuCopee1..mnuCopee5: opens pane n's window with Text1 set to the pane's current file.
    void mnuCopee_Click(int pane);
    // mnuSendFileTo: the first pane that passes the selection rule, or a message.
    void mnuSendFileTo_Click();

    // Pane n's window when it is loaded, else nullptr.
    CopyFileDialog *dialog(int pane) const;

private:
    Services &m_services;
    PaneBoard &m_board;
    std::array<std::unique_ptr<SharedWindow<CopyFileDialog>>, PaneCount> m_dialogs;
};
