#include "fileops/FolderRename.h"

#include "panes/FolderList.h"
#include "panes/PaneBoard.h"

#include <QLineEdit>

FolderRename::FolderRename(Services &services, PaneBoard &board, QWidget *owner)
    : m_board(board),
      m_namer([this, &services, owner] { return unloadThrough(m_namer, new Namer(services, m_board, owner)); })
{
}

void FolderRename::mnuRename_Click(int pane)
{
    if (pane < 1 || pane > PaneCount)
        return;
    Namer *window = m_namer.get();
    window->showInFront();
    window->text1()->setText(m_board.pane(pane).folderList()->path());
}
