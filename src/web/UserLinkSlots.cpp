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

void sync(const RegistryStore &store, const UserLinkFamily &family, const SlotLookup &slotAction)
{
    if (!store.canRead())
        return;
    for (int slot = 1; slot <= family.count; ++slot) {
        QAction *item = slotAction(family.slotName(slot));
        if (!item)
            continue;
        const QString name = storedName(store, family, slot);
        if (name.isEmpty())
            item->setVisible(false);
        else if (!item->isVisible() || linkName(item) != name)
            showSlot(item, name);
    }
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

SavedLink LinkSave(RegistryStore &store, const UserLinkFamily &family, const SlotLookup &slotAction,
                   const QString &name, const QString &address)
{
    SavedLink saved;
    saved.written = store.edit([&](RegistryEdit &edit) {
        saved.slot = 0;
        for (int slot = 1; slot <= family.count; ++slot) {
            const QAction *item = slotAction(family.slotName(slot));
            if (!item || item->isVisible()
                || !edit.GetRegString(HKEY_CURRENT_USER, MenuKey, family.slotName(slot)).isEmpty())
                continue;
            edit.SaveRegString(HKEY_CURRENT_USER, MenuKey, family.slotName(slot), name);
            edit.SaveRegString(HKEY_CURRENT_USER, WebLinksKey, family.slotName(slot), address);
            saved.slot = slot;
            return;
        }
    });
    return saved;
}

RemovedLinks LinkRemove(RegistryStore &store, const UserLinkFamily &family, const QString &name)
{
    RemovedLinks removed;
    removed.written = store.edit([&](RegistryEdit &edit) {
        removed.slotNumbers.clear();
        // Every name is read before anything is deleted.
        QStringList names;
        for (int slot = 1; slot <= family.count; ++slot)
            names << edit.GetRegString(HKEY_CURRENT_USER, MenuKey, family.slotName(slot));
        for (int slot = 1; slot <= family.count; ++slot) {
            if (names.at(slot - 1) != name)
                continue;
            edit.DeleteRegValue(HKEY_CURRENT_USER, MenuKey, family.slotName(slot));
            edit.DeleteRegValue(HKEY_CURRENT_USER, WebLinksKey, family.slotName(slot));
            removed.slotNumbers << slot;
        }
    });
    return removed;
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
