#pragma once

#include "platform/ui/DesignedWindow.h"

class PaneBoard;
struct Services;

// The new folder window: Text1 takes the name, the hidden Text2 holds the folder to create it
// in (ending in "/"). Okay creates the folder and refreshes the five folder lists.
class FoldMaker : public DesignedWindow
{
    Q_OBJECT

public:
    FoldMaker(Services &services, PaneBoard &board, QWidget *parent = nullptr);

    static const FormDesign &design();

    // Points the window at the folder to create in.
    void setFolder(const QString &folder);

    void Command1_Click() override;

private:
    Services &m_services;
    PaneBoard &m_board;
};
