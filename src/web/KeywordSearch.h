#pragma once

#include "web/PromptPair.h"
#include "web/UserLinkSlots.h"

class RegistryStore;

// "Fast Engine Search": the keyword prompt ISeek and its launcher Inet. A fixed engine's item
// asks for a keyword and Inet opens the engine's search address with it; a user engine's item
// (mnuYes1..mnuYes10) asks for nothing and Inet opens the address stored for that slot.
class KeywordSearch
{
public:
    KeywordSearch(Services &services, RegistryStore &store, UserLinkSlots::SlotLookup slotItems,
                  QWidget *owner = nullptr);

    static const PairDesign &design();

    // The items of the 22 fixed engines, in the launcher's order.
    static QStringList engineItems();

    // A fixed engine's item ("mnuGoogle").
    void engineItem_Click(const QString &item);
    // A user engine's item, slot 1..10.
    void mnuYes_Click(int slot);

    PromptPair &pair() { return m_pair; }
    LinkPrompt *ISeek() const { return m_pair.loadedPrompt(); }
    LauncherWindow *Inet() const { return m_pair.loadedLauncher(); }

private:
    bool keywordGiven(LinkPrompt &prompt);
    std::optional<QString> findAddress(LinkPrompt &prompt);

    Services &m_services;
    RegistryStore &m_store;
    UserLinkSlots::SlotLookup m_slotItems;
    PromptPair m_pair;
};
