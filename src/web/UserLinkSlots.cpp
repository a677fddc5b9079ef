#include "web/UserLinkSlots.h"

#include "settings/RegistryStore.h"

#include <QAction>

namespace UserLinkSlots {

const UserLinkFamily &searchEngines()
{
    static const UserLinkFamily family{QStringLiteral("mnuYes"), 10};
    return family;
}

const UserLinkFamily &auctions()
{
    static const UserLinkFamily family{QStringLiteral("mnuAuc"), 10};
    return family;
}

const UserLinkFamily &favourites()
{
    static const UserLinkFamily family{QStringLiteral("mnuFav"), 20};
    return family;
}

void reload(const RegistryStore &store, const UserLinkFamily &family, const SlotLookup &slotAction)
{
    QStringList names;
    for (int slot = 1; slot <= family.count; ++slot)
        names << storedName(store, family, slot);

    for (int slot = 1; slot <= family.count; ++slot) {
        const QString &name = names.at(slot - 1);
        if (name.isEmpty())
            continue;
        if (QAction *action = slotAction(family.slotName(slot)))
            showSlot(action, name);
    }
}

void showSlot(QAction *item, const QString &name)
{
    QString caption = name;
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    item->setText(caption);
    item->setData(name);
    item->setVisible(true);
}

QString linkName(const QAction *item)
{
    if (item->data().isValid())
        return item->data().toString();
    QString name = item->text();
    name.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return name;
}

std::optional<QString> itemName(const UserLinkFamily &family, int slot, const SlotLookup &slotAction)
{
    const QAction *item = slot >= 1 && slot <= family.count ? slotAction(family.slotName(slot)) : nullptr;
    if (!item)
        return std::nullopt;
    return linkName(item);
}

int firstFreeSlot(const UserLinkFamily &family, const SlotLookup &slotAction)
{
    for (int slot = 1; slot <= family.count; ++slot) {
        const QAction *action = slotAction(family.slotName(slot));
        if (action && !action->isVisible())
            return slot;
    }
    return 0;
}

namespace {

bool saveInFirstFree(RegistryStore &store, const QString &key, const UserLinkFamily &family,
                     const SlotLookup &slotAction, const QString &text)
{
    const int slot = firstFreeSlot(family, slotAction);
    if (slot == 0)
        return true;
    return store.SaveRegString(HKEY_CURRENT_USER, key, family.slotName(slot), text);
}

} // namespace

bool LinkNameSave(RegistryStore &store, const UserLinkFamily &family, const SlotLookup &slotAction,
                  const QString &name)
{
    return saveInFirstFree(store, MenuKey, family, slotAction, name);
}

bool LinkAddressSave(RegistryStore &store, const UserLinkFamily &family, const SlotLookup &slotAction,
                     const QString &address)
{
    return saveInFirstFree(store, WebLinksKey, family, slotAction, address);
}

QString storedName(const RegistryStore &store, const UserLinkFamily &family, int slot)
{
    return store.GetRegString(HKEY_CURRENT_USER, MenuKey, family.slotName(slot));
}

QString storedAddress(const RegistryStore &store, const UserLinkFamily &family, int slot)
{
    return store.GetRegString(HKEY_CURRENT_USER, WebLinksKey, family.slotName(slot));
}

std::optional<QString> linkAddress(const RegistryStore &store, const UserLinkFamily &family, const QString &key,
                                   const std::function<QString(const QString &name)> &keyOf)
{
    for (int slot = 1; slot <= family.count; ++slot) {
        const QString name = storedName(store, family, slot);
        if (!name.isEmpty() && keyOf(name) == key)
            return storedAddress(store, family, slot);
    }
    return std::nullopt;
}

} // namespace UserLinkSlots
