#pragma once

class PaneBoard;
class ShellOpen;

// Each pane's pop-up "ZipView": the pane's current file, when its name has an archive ending,
// goes to the program the desktop opens such files with.
class ZipView
{
public:
    ZipView(const PaneBoard &board, ShellOpen &shellOpen);

    // mnuZipView1_Click .. mnuZipView5_Click: pane n's own file, whatever the active pane.
    void mnuZipView_Click(int n);

private:
    const PaneBoard &m_board;
    ShellOpen &m_shellOpen;
};
