#include "fileops/FileRename.h"

#include "fileops/FileOpMessages.h"
#include "panes/FileList.h"
#include "panes/PaneBoard.h"
#include "platform/ui/Services.h"

FileRename::FileRename(Services &services, PaneBoard &board, QWidget *owner)
    : m_services(services),
      m_board(board),
      m_namer2([this, owner] { return unloadThrough(m_namer2, new Namer2(m_services, m_board, owner)); })
{
}

void FileRename::mnuReeName_Click(int pane)
{
    if (pane < 1 || pane > PaneCount)
        return;
    const QString name = m_board.pane(pane).fileList()->fileName();
    if (name.isEmpty()) {
        m_services.dialogs.message(FileOpMessages::noFileSelected());
        return;
    }
    Namer2 *window = m_namer2.get();
    window->showInFront();
    window->setFile(name, m_board.paneFilePath(pane));
}
