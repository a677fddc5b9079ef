#pragma once

#include "platform/ui/DesignedWindow.h"

class CopyBatch;
class CopyCommands;
class PaneBoard;
struct Services;

// The "Copy File" window of one pane (Form2 for pane 1, Form5..Form8 for panes 2..5). Text1
// shows the pane's current file and is never read; Okay makes the pane's selected names the
// copy batch and copies them into the folder typed in Text2.
class CopyFileDialog : public DesignedWindow
{
    Q_OBJECT

public:
    CopyFileDialog(int pane, Services &services, PaneBoard &board, CopyCommands &copy,
                   const CopyBatch &batch, QWidget *parent = nullptr);

    // The design of pane n's window.
    static FormDesign design(int pane);
    // The caption of pane n's pop-up item that opens the window.
    static QString popupCaption(int pane);

    int pane() const { return m_pane; }

    void Command1_Click() override;

private:
    int m_pane;
    Services &m_services;
    PaneBoard &m_board;
    CopyCommands &m_copy;
    const CopyBatch &m_batch;
};
