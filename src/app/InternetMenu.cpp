#include "app/InternetMenu.h"

#include "app/MainMenus.h"

#include <QMenu>

namespace {

UserLinkSlots::SlotLookup slotItemsOf(MainMenus &menus)
{
    return [&menus](const QString &name) { return menus.action(name); };
}

// The submenus that list a family's user links.
struct SlotMenu
{
    const char *menu;
    const UserLinkFamily &(*family)();
};
const SlotMenu slotMenus[] = {{"mnuAuction", &UserLinkSlots::auctions},
                              {"mnuSearchEngines", &UserLinkSlots::searchEngines},
                              {"mnuFavorites", &UserLinkSlots::favourites}};

} // namespace

InternetMenu::InternetMenu(Services &services, RegistryStore &store, MainMenus &menus, QWidget *owner)
    : m_store(store),
      m_keywordSearch(services, store, slotItemsOf(menus), owner),
      m_linkEditor(services, store, slotItemsOf(menus), owner),
      m_newsAndWeather(services, owner),
      m_auctions(services, store, slotItemsOf(menus), owner),
      m_favourites(services, store, slotItemsOf(menus), owner),
      m_internetStart(services, owner),
      m_findWebSite(services, owner)
{
}

void InternetMenu::connectMenus(MainMenus &menus, QObject *context)
{
    auto on = [&menus, context](const QString &name, std::function<void()> command) {
        menus.onTriggered(name, context, std::move(command));
    };
    auto onSlots = [&on](const UserLinkFamily &family, std::function<void(int)> command) {
        for (int slot = 1; slot <= family.count; ++slot)
            on(family.slotName(slot), [command, slot] { command(slot); });
    };

    // A submenu shows the links another running copy added or removed since, when it opens.
    for (const SlotMenu &slotMenu : slotMenus) {
        QMenu *menu = menus.menu(QLatin1String(slotMenu.menu));
        QObject::connect(menu, &QMenu::aboutToShow, context, [this, &menus, family = slotMenu.family] {
            UserLinkSlots::sync(m_store, family(), slotItemsOf(menus));
        });
    }

    on(QStringLiteral("mnuIStart"), [this] { m_internetStart.mnuIStart_Click(); });
    on(QStringLiteral("mnuSiteSearch"), [this] { m_findWebSite.mnuSiteSearch_Click(); });

    for (const QString &item : AuctionLinks::fixedItems())
        on(item, [this, item] { m_auctions.fixedItem_Click(item); });
    onSlots(UserLinkSlots::auctions(), [this](int slot) { m_auctions.mnuAuc_Click(slot); });
    on(QStringLiteral("mnuAddALink"), [this] { m_linkEditor.addCommand(LinkKind::Auctions); });
    on(QStringLiteral("mnuRemoveALink"), [this] { m_linkEditor.removeCommand(LinkKind::Auctions); });

    for (const QString &item : NewsAndWeather::items())
        on(item, [this, item] { m_newsAndWeather.item_Click(item); });

    for (const QString &item : KeywordSearch::engineItems())
        on(item, [this, item] { m_keywordSearch.engineItem_Click(item); });
    onSlots(UserLinkSlots::searchEngines(), [this](int slot) { m_keywordSearch.mnuYes_Click(slot); });
    on(QStringLiteral("mnuAddSLink"), [this] { m_linkEditor.addCommand(LinkKind::SearchEngines); });
    on(QStringLiteral("mnuRemoveSLink"), [this] { m_linkEditor.removeCommand(LinkKind::SearchEngines); });

    onSlots(UserLinkSlots::favourites(), [this](int slot) { m_favourites.mnuFav_Click(slot); });
    on(QStringLiteral("mnuFav0"), [this] { m_linkEditor.addCommand(LinkKind::Favourites); });
    on(QStringLiteral("mnuRemoveFav"), [this] { m_linkEditor.removeCommand(LinkKind::Favourites); });
}
