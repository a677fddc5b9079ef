#include "app/InternetMenu.h"

#include "app/MainMenus.h"

InternetMenu::InternetMenu(Services &services, RegistryStore &store, MainMenus &menus, QWidget *owner)
    : m_keywordSearch(services, store, [&menus](const QString &name) { return menus.action(name); }, owner)
{
}

void InternetMenu::connectMenus(MainMenus &menus, QObject *context)
{
    for (const QString &item : KeywordSearch::engineItems())
        menus.onTriggered(item, context, [this, item] { m_keywordSearch.engineItem_Click(item); });
    const UserLinkFamily &engines = UserLinkSlots::searchEngines();
    for (int slot = 1; slot <= engines.count; ++slot)
        menus.onTriggered(engines.slotName(slot), context, [this, slot] { m_keywordSearch.mnuYes_Click(slot); });
}
