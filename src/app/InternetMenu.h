#pragma once

#include "web/AuctionLinks.h"
#include "web/FavouriteLinks.h"
#include "web/FindWebSite.h"
#include "web/InternetStart.h"
#include "web/KeywordSearch.h"
#include "web/NewsAndWeather.h"
#include "web/UserLinkEditor.h"

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
    UserLinkEditor &linkEditor() { return m_linkEditor; }
    NewsAndWeather &newsAndWeather() { return m_newsAndWeather; }
    AuctionLinks &auctions() { return m_auctions; }
    FavouriteLinks &favourites() { return m_favourites; }
    InternetStart &internetStart() { return m_internetStart; }
    FindWebSite &findWebSite() { return m_findWebSite; }

private:
    RegistryStore &m_store;
    KeywordSearch m_keywordSearch;
    UserLinkEditor m_linkEditor;
    NewsAndWeather m_newsAndWeather;
    AuctionLinks m_auctions;
    FavouriteLinks m_favourites;
    InternetStart m_internetStart;
    FindWebSite m_findWebSite;
};
