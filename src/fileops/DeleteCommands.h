#pragma once

#include "panes/PaneSpec.h"

#include <QList>
#include <QString>

#include <array>

class PaneBoard;
class SharedStandby;
struct Services;

// File > Delete and each pane's pop-up Delete: the selected files go to the trash, without a
// question, behind the busy window. Nothing is ever deleted permanently: a file the trash
// refuses stays where it is and is named in one message once the others were tried.
class DeleteCommands
{
public:
    DeleteCommands(PaneBoard &board, Services &services, SharedStandby &standby,
                   int yieldSliceMs = 10);

    // File > Delete: the first pane with a selection gets its pane Delete.
    void mnuDelete0_Click();
    // The pop-up Delete of pane n (mnuDelete1_Click .. mnuDelete5_Click).
    void paneDelete(int n);
    // Moves one file to the trash; false when the trash refused it and it stayed.
    bool Recycle(const QString &path);

    // The file lists a delete in pane n refreshes, in order: every other pane whose file list
    // shows exactly the same folder (lowest number first), then pane n itself.
    // fileListPaths[m - 1] is the folder pane m's file list shows.
    static QList<int> refreshOrder(int n, const std::array<QString, PaneCount> &fileListPaths);

private:
    void refreshAfterDelete(int n);

    PaneBoard &m_board;
    Services &m_services;
    SharedStandby &m_standby;
    int m_yieldSliceMs;
};
