#pragma once

#include "web/PromptPair.h"
#include "web/UserLinkSlots.h"

class RegistryStore;

// "Favorites": each of the user's favourites (mnuFav1..mnuFav20) asks "Visit ... ?" in the
// prompt FavSeek, whose "Okay" opens the slot's stored address through FavNet.
class FavouriteLinks
{
public:
    FavouriteLinks(Services &services, RegistryStore &store, UserLinkSlots::SlotLookup slotItems,
                   QWidget *owner = nullptr);

    static const PairDesign &design();
    static QString slotKey(const QString &name);

    void mnuFav_Click(int slot);

    PromptPair &pair() { return m_pair; }

private:
    RegistryStore &m_store;
    UserLinkSlots::SlotLookup m_slotItems;
    PromptPair m_pair;
};
