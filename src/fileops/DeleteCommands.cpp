#include "fileops/DeleteCommands.h"

#include "fileops/BatchMessages.h"
#include "fileops/PaneSelection.h"
#include "fileops/SharedStandby.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "platform/EventWaits.h"
#include "platform/PathHelper.h"
#include "platform/ProgramEnd.h"
#include "platform/Trash.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Services.h"

DeleteCommands::DeleteCommands(PaneBoard &board, Services &services, SharedStandby &standby,
                               int yieldSliceMs)
    : m_board(board), m_services(services), m_standby(standby), m_yieldSliceMs(yieldSliceMs)
{
}

void DeleteCommands::mnuDelete0_Click()
{
    PaneSelection::onSelectedPane(m_board, m_services.dialogs, BatchMessages::selectToDelete(),
                                  [this](int n) { paneDelete(n); });
}

void DeleteCommands::paneDelete(int n)
{
    FileList *fileList = m_board.pane(n).fileList();
    if (fileList->fileName().isEmpty()) {
        fileList->refresh();
        return;
    }

    m_standby.show();
    m_standby.Command1();
    if (m_services.programEnd.isEnding())
        return;

    // The selection is read only now, after the typing: events handled meanwhile may have
    // changed it.
    const QString folder = m_board.pane(n).folderList()->path();
    const bool atDriveRoot = m_services.paths.isDriveRoot(folder);
    QStringList paths;
    for (const QString &name : PaneSelection::selectedNames(*fileList))
        paths.append(PathHelper::join(folder, name));

    TimeSliceYield yield(m_yieldSliceMs);
    QStringList refused;
    for (const QString &path : paths) {
        if (!Recycle(path))
            refused.append(path);
        yield.maybeYield();
        if (m_services.programEnd.isEnding())
            return;
    }

    if (atDriveRoot) {
        m_standby.Command2();
        refreshAfterDelete(n);
    } else {
        refreshAfterDelete(n);
        m_standby.Command2();
    }
    if (!refused.isEmpty())
        m_services.dialogs.message(BatchMessages::trashRefused(refused));
}

bool DeleteCommands::Recycle(const QString &path)
{
    return m_services.trash.moveToTrash(path);
}

QList<int> DeleteCommands::refreshOrder(int n, const std::array<QString, PaneCount> &fileListPaths)
{
    QList<int> order;
    const QString &own = fileListPaths.at(n - 1);
    for (int m = 1; m <= PaneCount; ++m) {
        // Exact, with case: another spelling of the folder is another folder here.
        if (m != n && fileListPaths.at(m - 1) == own)
            order.append(m);
    }
    order.append(n);
    return order;
}

void DeleteCommands::refreshAfterDelete(int n)
{
    std::array<QString, PaneCount> fileListPaths;
    for (int m = 1; m <= PaneCount; ++m)
        fileListPaths[m - 1] = m_board.pane(m).fileList()->path();
    m_board.refreshFileLists(refreshOrder(n, fileListPaths));
}
