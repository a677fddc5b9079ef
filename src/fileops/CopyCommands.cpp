#include "fileops/CopyCommands.h"

#include "fileops/BatchMessages.h"
#include "fileops/CopyBatch.h"
#include "fileops/PaneSelection.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Services.h"

CopyCommands::CopyCommands(PaneBoard &board, Services &services, CopyBatch &batch)
    : m_board(board), m_services(services), m_batch(batch)
{
}

void CopyCommands::mnuCopy_Click()
{
    PaneSelection::onSelectedPane(m_board, m_services.dialogs, BatchMessages::selectToCopy(),
                                  [this](int n) { paneCopy(n); });
}

void CopyCommands::paneCopy(int n)
{
    const Pane &pane = m_board.pane(n);
    const QString folder = pane.folderList()->path();
    m_services.clipboard.clear();
    m_batch.setPaneBatch(PaneSelection::selectedNames(*pane.fileList()), folder);
    // Other programs read the folder from the clipboard; our paste uses the batch's own record.
    m_services.clipboard.setText(folder);
}
