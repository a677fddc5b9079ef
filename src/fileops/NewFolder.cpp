#include "fileops/NewFolder.h"

#include "panes/FolderList.h"
#include "panes/PaneBoard.h"

NewFolder::NewFolder(Services &services, PaneBoard &board, QWidget *owner)
    : m_board(board),
      m_foldMaker([this, &services, owner] {
          return unloadThrough(m_foldMaker, new FoldMaker(services, m_board, owner));
      })
{
}

void NewFolder::mnuAddnew_Click(int pane)
{
    if (pane < 1 || pane > PaneCount)
        return;
    FoldMaker *window = m_foldMaker.get();
    window->showInFront();
    window->setFolder(m_board.pane(pane).folderList()->path());
}
