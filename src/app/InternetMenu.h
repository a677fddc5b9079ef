#pragma once

#include "web/KeywordSearch.h"

class MainMenus;
class QObject;
class QWidget;
class RegistryStore;
struct Services;

// The "&Internet" menu's commands, connected to their menu items.
class InternetMenu
{
public:
    InternetMenu(Services &services, RegistryStore &store, MainMenus &menus, QWidget *owner);

    void connectMenus(MainMenus &menus, QObject *context);

    KeywordSearch &keywordSearch() { return m_keywordSearch; }

private:
    KeywordSearch m_keywordSearch;
};
