#include "fileops/RemoveFolder.h"

#include "fileops/FileOpMessages.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "platform/FileErrors.h"
#include "platform/FileServices.h"
#include "platform/PathHelper.h"
#include "platform/ui/Services.h"

RemoveFolder::RemoveFolder(Services &services, PaneBoard &board) : m_services(services), m_board(board)
{
}

void RemoveFolder::mnuRemove_Click(int pane)
{
    if (pane < 1 || pane > PaneCount)
        return;
    FolderList *own = m_board.pane(pane).folderList();
    const QString folder = own->path();
    // A drive root is never removed; the file system refuses any folder that holds something.
    const int error = m_services.paths.isDriveRoot(folder) ? int(FileErrors::PathFileAccess)
                                                           : m_services.files.removeFolder(folder);
    if (error != 0) {
        FileOpMessages::removeFolder().report(m_services.dialogs, error);
        return;
    }
    const QString parent = PathHelper::parentOf(folder);
    // Each move runs that pane's own folder change steps.
    own->setPath(parent);
    own->refresh();
    for (int n = 1; n <= PaneCount; ++n) {
        FolderList *other = m_board.pane(n).folderList();
        if (n != pane && other->path() == folder)
            other->setPath(parent);
    }
}
