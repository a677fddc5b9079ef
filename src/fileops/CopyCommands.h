#pragma once

class CopyBatch;
class PaneBoard;
struct Services;

// File > Copy and each pane's pop-up Copy: the selected names of a pane become the copy batch.
// Nothing is copied on disk until a Paste.
class CopyCommands
{
public:
    CopyCommands(PaneBoard &board, Services &services, CopyBatch &batch);

    // File > Copy: the first pane with a selection gets its pane Copy.
    void mnuCopy_Click();
    // The pop-up Copy of pane n (mnuCopy1_Click .. mnuCopy5_Click).
    void paneCopy(int n);

private:
    PaneBoard &m_board;
    Services &m_services;
    CopyBatch &m_batch;
};
