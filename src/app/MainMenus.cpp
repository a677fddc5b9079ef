#include "app/MainMenus.h"

#include "app/MenuTable.h"

MainMenus::MainMenus(QMenuBar *bar, QWidget *owner) : MenuTree(mainMenuTable(), bar, owner)
{
}
