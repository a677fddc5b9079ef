#pragma once

#include "platform/ui/DesignedWindow.h"

class PaneBoard;
struct Services;

// The file rename window: Text1 takes the new name, the hidden Text2 holds the old path.
// Okay renames within the file's own folder and never replaces an existing name.
class Namer2 : public DesignedWindow
{
    Q_OBJECT

public:
    Namer2(Services &services, PaneBoard &board, QWidget *parent = nullptr);

    static const FormDesign &design();

    // Names the file to rename: the caption shows its name, Text2 keeps its path.
    void setFile(const QString &name, const QString &path);

    void Command1_Click() override;

private:
    Services &m_services;
    PaneBoard &m_board;
};
