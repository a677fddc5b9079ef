#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class RegistryStore;

// The three families of user link slots: hidden menu items whose names are also the value
// names of the link's name (under Menu) and address (under WebLinks).
struct UserLinkFamily
{
    QString stem; // "mnuYes", "mnuAuc", "mnuFav"
    int count;

    QString slotName(int slot) const { return stem + QString::number(slot); }
};

namespace UserLinkSlots {

inline const QString MenuKey = QStringLiteral("Software\\Panoptra\\Menu");
inline const QString WebLinksKey = QStringLiteral("Software\\Panoptra\\WebLinks");

const UserLinkFamily &searchEngines();
const UserLinkFamily &auctions();
const UserLinkFamily &favourites();

// The start-up reload of one family: reads every slot's stored name first, then shows each
// slot that has a name, with the name as its caption. A missing or empty name leaves its slot
// as it is; nothing is ever hidden.
void reload(const RegistryStore &store, const UserLinkFamily &family,
            const std::function<QAction *(const QString &slotName)> &slotAction);

} // namespace UserLinkSlots
