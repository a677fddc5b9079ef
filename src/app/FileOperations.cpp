#include "app/FileOperations.h"

#include "app/MainMenus.h"
#include "app/MenuTable.h"
#include "panes/PaneSpec.h"
#include "platform/ui/Services.h"

#include <QAction>

FileOperations::FileOperations(PaneBoard &board, Services &services, QWidget *owner)
    : m_standby(services.programEnd),
      m_searchBatch(board, services, m_batch, m_searchResults),
      m_copy(board, services, m_batch),
      m_paste(board, services, m_batch, m_standby, m_searchBatch),
      m_delete(board, services, m_standby),
      m_copyFileTo(services, board, m_copy, m_batch, owner),
      m_fileRename(services, board, owner),
      m_folderRename(services, board, owner),
      m_newFolder(services, board, owner),
      m_removeFolder(services, board)
{
}

void FileOperations::connectMenus(MainMenus &menus, QObject *context)
{
    auto on = [&menus, context](const QString &name, std::function<void()> command) {
        menus.onTriggered(name, context, std::move(command));
    };
    on(QStringLiteral("mnuCopy"), [this] { m_copy.mnuCopy_Click(); });
    on(QStringLiteral("mnuSendFileTo"), [this] { m_copyFileTo.mnuSendFileTo_Click(); });
    on(QStringLiteral("mnuDelete0"), [this] { m_delete.mnuDelete0_Click(); });
    on(QStringLiteral("mnuPaste0"), [this] { m_paste.mnuPaste0_Click(); });

    for (int n = 1; n <= PaneCount; ++n) {
        on(paneItemName(PaneCommand::Copy, n), [this, n] { m_copy.paneCopy(n); });
        on(paneItemName(PaneCommand::CopyFileTo, n), [this, n] { m_copyFileTo.mnuCopee_Click(n); });
        on(paneItemName(PaneCommand::Delete, n), [this, n] { m_delete.paneDelete(n); });
        on(paneItemName(PaneCommand::Paste, n), [this, n] { m_paste.panePaste(n); });
        on(paneItemName(PaneCommand::Rename, n), [this, n] { m_fileRename.mnuReeName_Click(n); });
        on(paneItemName(PaneCommand::AddFolder, n), [this, n] { m_newFolder.mnuAddnew_Click(n); });
        on(paneItemName(PaneCommand::RenameFolder, n), [this, n] { m_folderRename.mnuRename_Click(n); });
        on(paneItemName(PaneCommand::RemoveFolder, n), [this, n] { m_removeFolder.mnuRemove_Click(n); });
    }
}
