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

void reload(const RegistryStore &store, const UserLinkFamily &family,
            const std::function<QAction *(const QString &slotName)> &slotAction)
{
    QStringList names;
    for (int slot = 1; slot <= family.count; ++slot)
        names << store.GetRegString(HKEY_CURRENT_USER, MenuKey, family.slotName(slot));

    for (int slot = 1; slot <= family.count; ++slot) {
        const QString &name = names.at(slot - 1);
        if (name.isEmpty())
            continue;
        if (QAction *action = slotAction(family.slotName(slot))) {
            action->setVisible(true);
            action->setText(name);
        }
    }
}

} // namespace UserLinkSlots
