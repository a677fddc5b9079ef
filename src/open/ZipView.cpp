#include "open/ZipView.h"

#include "panes/FileList.h"
#include "panes/PaneBoard.h"
#include "platform/Launchers.h"
#include "platform/OpenEndings.h"

ZipView::ZipView(const PaneBoard &board, ShellOpen &shellOpen) : m_board(board), m_shellOpen(shellOpen)
{
}

void ZipView::mnuZipView_Click(int n)
{
    if (OpenEndings::endsInAny(m_board.pane(n).fileList()->fileName(), OpenEndings::archiveEndings()))
        m_shellOpen.open(m_board.paneFilePath(n));
}
