#include "web/UserLinkEditor.h"

#include "platform/ui/Dialogs.h"
#include "platform/ui/Services.h"
#include "platform/ui/ToolkitColor.h"
#include "settings/RegistryStore.h"

#include <QAction>
#include <QLineEdit>

namespace {
// The shortest address that is more than the add dialog's design text "http://www.".
constexpr int ShortestAddress = 12;
} // namespace

UserLinkEditor::UserLinkEditor(Services &services, RegistryStore &store, UserLinkSlots::SlotLookup slotItems,
                               QWidget *owner)
    : m_services(services),
      m_store(store),
      m_slotItems(std::move(slotItems)),
      m_deLink([this, owner] {
          return unloadThrough(m_deLink, new WebDialog(deLinkDesign(), [this] { removeOkay(); }, owner));
      })
{
    for (LinkKind kind : LinkFamilies::kinds()) {
        auto &shared = m_addDialogs.at(int(kind));
        shared = std::make_unique<SharedWindow<WebDialog>>([this, kind, owner, &shared] {
            return unloadThrough(*shared, new WebDialog(LinkFamilies::of(kind).addDialog,
                                                        [this, kind] { addOkay(kind); }, owner));
        });
    }
}

UserLinkEditor::~UserLinkEditor() = default;

const FormDesign &UserLinkEditor::deLinkDesign()
{
    using Kind = ControlDesign::Kind;
    const qint32 back = ToolkitColor::rgb(128, 128, 255);
    static const FormDesign form{
        .name = QStringLiteral("DeLink"),
        .clientTwips = QSize(5520, 2010),
        .backColor = back,
        .toolWindow = true,
        .controls = {
            {.kind = Kind::TextBox, .name = QStringLiteral("Text1"), .twips = QRect(1800, 840, 3480, 315)},
            {.kind = Kind::Button, .name = QStringLiteral("Command1"), .text = QStringLiteral("Okay"),
             .twips = QRect(240, 1080, 1200, 375)},
            {.kind = Kind::Button, .name = QStringLiteral("Command2"), .text = QStringLiteral("Cancel"),
             .twips = QRect(240, 480, 1200, 375)},
            {.kind = Kind::Label, .name = QStringLiteral("Label1"), .text = QStringLiteral("Link name to remove"),
             .twips = QRect(1800, 480, 3480, 255), .backColor = back, .bold = true},
        }};
    return form;
}

void UserLinkEditor::addCommand(LinkKind kind)
{
    const LinkFamilyDesign &family = LinkFamilies::of(kind);
    // Links another running copy added or removed count.
    UserLinkSlots::sync(m_store, family.family, m_slotItems);
    if (UserLinkSlots::firstFreeSlot(family.family, m_slotItems) == 0) {
        showLimit(kind);
        return;
    }
    WebDialog *dialog = m_addDialogs.at(int(kind))->get();
    if (!family.addCaption.isEmpty())
        dialog->setWindowTitle(family.addCaption);
    dialog->showInFront();
}

void UserLinkEditor::addOkay(LinkKind kind)
{
    WebDialog *dialog = addDialog(kind);
    if (!dialog)
        return;
    const QString name = dialog->text1()->text();
    const QString address = dialog->text2()->text();
    if (name.isEmpty()) {
        m_services.dialogs.message(QStringLiteral("Please create a name for this link to continue"));
        return;
    }
    if (address.size() < ShortestAddress) {
        m_services.dialogs.message(QStringLiteral("Please enter a valid web address to continue"));
        return;
    }
    const UserLinkFamily &family = LinkFamilies::of(kind).family;
    const UserLinkSlots::SavedLink saved = UserLinkSlots::LinkSave(m_store, family, m_slotItems, name, address);
    UserLinkSlots::sync(m_store, family, m_slotItems);
    if (saved.slot == 0) {
        // Another running copy took the last free slots since the dialog opened: nothing is
        // stored, and the dialog stays with its texts, for a link to be removed first.
        showLimit(kind);
        return;
    }
    UserLinkSlots::showSlot(m_slotItems(family.slotName(saved.slot)), name);
    m_addDialogs.at(int(kind))->unload();
    // The link works for this run either way (the store keeps what it could not write).
    if (!saved.written)
        m_services.dialogs.message(m_store.saveFailedMessage(), MessageIcon::Exclamation);
}

void UserLinkEditor::showLimit(LinkKind kind)
{
    m_services.dialogs.message(LinkFamilies::of(kind).limitLine + QStringLiteral("\r\n")
                               + QStringLiteral("More extra links may be available under another category.\r\n")
                               + QStringLiteral("Or remove a link to add another one."));
}

void UserLinkEditor::removeCommand(LinkKind kind)
{
    // An open dialog takes the new family and keeps the name typed so far.
    WebDialog *dialog = m_deLink.get();
    dialog->setWindowTitle(LinkFamilies::of(kind).removeCaption);
    dialog->showInFront();
}

void UserLinkEditor::removeOkay()
{
    WebDialog *dialog = m_deLink.ifLoaded();
    if (!dialog)
        return;
    const UserLinkFamily &family = LinkFamilies::of(LinkFamilies::byRemoveCaption(dialog->windowTitle())).family;
    const QString name = dialog->text1()->text();
    if (name.isEmpty()) {
        m_services.dialogs.message(QStringLiteral("Please enter name of link as it appears to continue"));
        return;
    }
    // Every slot of exactly that name goes, so two links of one name go together.
    const UserLinkSlots::RemovedLinks removed = UserLinkSlots::LinkRemove(m_store, family, name);
    for (const int slot : removed.slotNumbers) {
        if (QAction *item = m_slotItems(family.slotName(slot)))
            item->setVisible(false);
    }
    UserLinkSlots::sync(m_store, family, m_slotItems);
    m_deLink.unload();
    if (!removed.written)
        m_services.dialogs.message(m_store.saveFailedMessage(), MessageIcon::Exclamation);
}
