#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

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

// The menu item of a slot by its name ("mnuYes3"); null when there is none.
using SlotLookup = std::function<QAction *(const QString &slotName)>;

const UserLinkFamily &searchEngines();
const UserLinkFamily &auctions();
const UserLinkFamily &favourites();

// The start-up reload of one family: reads every slot's stored name first, then shows each
// slot that has a name, with the name as its caption. A missing or empty name leaves its slot
// as it is; nothing is ever hidden.
void reload(const RegistryStore &store, const UserLinkFamily &family, const SlotLookup &slotAction);

// Makes a slot's item visible under name. The caption shows the name as the text it is (an
// "&" stays an "&", not a mnemonic); linkName() gives the name back.
void showSlot(QAction *item, const QString &name);
// The link name a slot's item shows.
QString linkName(const QAction *item);

// The link name slot's item shows; nothing when the family has no such slot item.
std::optional<QString> itemName(const UserLinkFamily &family, int slot, const SlotLookup &slotAction);

// Brings the family's slots in line with what the settings file holds now, as another running
// copy of the program may have changed it: a slot with a stored name shows it, one without is
// hidden. Called when a menu that lists the family opens. Where the file cannot be read, the
// slots stay as they are.
void sync(const RegistryStore &store, const UserLinkFamily &family, const SlotLookup &slotAction);

// The family's free slot with the lowest number, 0 when every slot is in use: a hidden item.
int firstFreeSlot(const UserLinkFamily &family, const SlotLookup &slotAction);

// What LinkSave did: the slot it stored the link under (0: none was free, nothing stored), and
// whether the settings file took it (the store keeps it for this run either way).
struct SavedLink
{
    int slot = 0;
    bool written = true;
};

// Stores a new link's name and address under the family's first free slot, together, in one
// write: the first slot whose item is hidden and for which the settings file, read under its
// lock, holds no name, so that two running copies adding links at the same time each take a
// slot of their own. Changes no menu item.
SavedLink LinkSave(RegistryStore &store, const UserLinkFamily &family, const SlotLookup &slotAction,
                   const QString &name, const QString &address);

// Removes every link of the family whose stored name is exactly name, both its values, in one
// write (the names read under the lock); the slots it removed. written as LinkSave's.
struct RemovedLinks
{
    QList<int> slotNumbers;
    bool written = true;
};
RemovedLinks LinkRemove(RegistryStore &store, const UserLinkFamily &family, const QString &name);

// What is stored for a slot: its link's name and address ("" when missing).
QString storedName(const RegistryStore &store, const UserLinkFamily &family, int slot);
QString storedAddress(const RegistryStore &store, const UserLinkFamily &family, int slot);

// The address of the link a prompt key names: that of the family's lowest-numbered slot whose
// stored name gives key (keyOf makes a prompt key of a name), so two links of one name both
// open the first. Nothing when no stored link gives it, as when the link whose item filled the
// prompt was removed or renamed since; a removed link's slot never stands in.
std::optional<QString> linkAddress(const RegistryStore &store, const UserLinkFamily &family, const QString &key,
                                   const std::function<QString(const QString &name)> &keyOf);

} // namespace UserLinkSlots
