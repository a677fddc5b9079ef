#include "fileops/CopyFileTo.h"

#include "fileops/BatchMessages.h"
#include "fileops/PaneSelection.h"
#include "panes/PaneBoard.h"
#include "platform/ui/Services.h"

#include <QLineEdit>

CopyFileTo::CopyFileTo(Services &services, PaneBoard &board, CopyCommands &copy, const CopyBatch &batch,
                       QWidget *owner)
    : m_services(services), m_board(board)
{
    for (int n = 1; n <= PaneCount; ++n) {
        m_dialogs[std::size_t(n - 1)] = std::make_unique<SharedWindow<CopyFileDialog>>(
            [this, n, &copy, &batch, owner] {
                return unloadThrough(*m_dialogs[std::size_t(n - 1)],
                                     new CopyFileDialog(n, m_services, m_board, copy, batch, owner));
            });
    }
}

void CopyFileTo::mnuCopee_Click(int pane)
{
    if (pane < 1 || pane > PaneCount)
        return;
    CopyFileDialog *window = m_dialogs[std::size_t(pane - 1)]->get();
    window->showInFront();
    window->text1()->setText(m_board.paneFilePath(pane));
}

void CopyFileTo::mnuSendFileTo_Click()
{
    PaneSelection::onSelectedPane(m_board, m_services.dialogs, BatchMessages::selectToCopy(),
                                  [this](int pane) { mnuCopee_Click(pane); });
}

CopyFileDialog *CopyFileTo::dialog(int pane) const
{
    if (pane < 1 || pane > PaneCount)
        return nullptr;
    return m_dialogs[std::size_t(pane - 1)]->ifLoaded();
}
