#pragma once

#include "platform/ui/MenuTree.h"

// The main window's menu tree, built from mainMenuTable().
class MainMenus : public MenuTree
{
public:
    MainMenus(QMenuBar *bar, QWidget *owner);
};
