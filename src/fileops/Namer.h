#pragma once

#include "platform/ui/DesignedWindow.h"

class PaneBoard;
struct Services;

// The folder rename window: the disabled Text1 shows the folder, Text2 takes the new name.
// Okay renames the folder within its parent (never over an existing name), then moves the
// pane whose folder list changed last to the folder's drive root and refreshes the five
// folder lists.
class Namer : public DesignedWindow
{
    Q_OBJECT

public:
    Namer(Services &services, PaneBoard &board, QWidget *parent = nullptr);

    static const FormDesign &design();


    void Command1_Click() override;

private:
    // The pane whose folder changed last goes to root through its own folder and drive
    // change steps.
    void resetLastChangedPane(const QString &root);

    Services &m_services;
    PaneBoard &m_board;
};
