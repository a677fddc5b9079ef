#pragma once

#include "platform/ui/SharedWindow.h"
#include "web/LinkFamilies.h"
#include "web/WebDialog.h"

#include <array>
#include <memory>

class RegistryStore;
struct Services;

// Adding and removing user links: the add commands with their dialogs SLink, ALink and
// FavLink (one per family, open at the same time if need be) and the remove commands with
// the one removal dialog DeLink, whose caption names the family it works on.
class UserLinkEditor
{
public:
    UserLinkEditor(Services &services, RegistryStore &store, UserLinkSlots::SlotLookup slotItems,
                   QWidget *owner = nullptr);
    ~UserLinkEditor();

    static const FormDesign &deLinkDesign();

    // "Add  Engine Link", "Add Auction Link", "Add Favorite Link".
    void addCommand(LinkKind kind);
    // "Remove Engine Link", "Remove Auction Link", "Remove Favorite".
    void removeCommand(LinkKind kind);

    WebDialog *addDialog(LinkKind kind) const { return m_addDialogs.at(int(kind))->ifLoaded(); }
    WebDialog *DeLink() const { return m_deLink.ifLoaded(); }

private:
    void addOkay(LinkKind kind);
    // The message that the family is full.
    void showLimit(LinkKind kind);
    void removeOkay();

    Services &m_services;
    RegistryStore &m_store;
    UserLinkSlots::SlotLookup m_slotItems;
    std::array<std::unique_ptr<SharedWindow<WebDialog>>, 3> m_addDialogs;
    SharedWindow<WebDialog> m_deLink;
};
