#pragma once

#include "web/PromptPair.h"
#include "web/UserLinkSlots.h"

class RegistryStore;

// "Auctions": the seven fixed auction sites and the user's auction links (mnuAuc1..mnuAuc10)
// fill the prompt ASeek; its "Okay" opens the site or the slot's stored address through ANet.
class AuctionLinks
{
public:
    AuctionLinks(Services &services, RegistryStore &store, UserLinkSlots::SlotLookup slotItems,
                 QWidget *owner = nullptr);

    static const PairDesign &design();
    static QStringList fixedItems();
    // A user link's prompt key and label.
    static QString slotKey(const QString &name);
    static QString slotLabel(const QString &name);

    void fixedItem_Click(const QString &item);
    void mnuAuc_Click(int slot);

    PromptPair &pair() { return m_pair; }

private:
    std::optional<QString> findAddress(LinkPrompt &prompt);

    RegistryStore &m_store;
    UserLinkSlots::SlotLookup m_slotItems;
    PromptPair m_pair;
};
