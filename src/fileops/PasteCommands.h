#pragma once

class CopyBatch;
class PaneBoard;
class SearchResultBatch;
class SharedStandby;
struct Services;

// File > Paste and each pane's pop-up Paste: the copy batch is copied into a pane's folder,
// file by file behind the busy window, replacing files of the same name without asking.
class PasteCommands
{
public:
    PasteCommands(PaneBoard &board, Services &services, CopyBatch &batch, SharedStandby &standby,
                  SearchResultBatch &searchBatch, int yieldSliceMs = 10);

    // File > Paste: into the active pane.
    void mnuPaste0_Click();
    // The pop-up Paste of pane n (mnuPasteFile_Click, mnuPasteFile2_Click .. mnuPasteFile5_Click).
    void panePaste(int n);

private:
    PaneBoard &m_board;
    Services &m_services;
    CopyBatch &m_batch;
    SharedStandby &m_standby;
    SearchResultBatch &m_searchBatch;
    int m_yieldSliceMs;
};
