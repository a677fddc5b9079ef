#include "web/AuctionLinks.h"

#include "platform/ui/ToolkitColor.h"
#include "web/SitePictures.h"
#include "web/SiteTables.h"

#include <QLabel>

AuctionLinks::AuctionLinks(Services &services, RegistryStore &store, UserLinkSlots::SlotLookup slotItems,
                           QWidget *owner)
    : m_store(store),
      m_slotItems(std::move(slotItems)),
      m_pair(design(), services, [this](LinkPrompt &prompt) { return findAddress(prompt); }, owner)
{
}

const PairDesign &AuctionLinks::design()
{
    using Kind = ControlDesign::Kind;
    static const PairDesign pair{
        .prompt = {
            .name = QStringLiteral("ASeek"),
            .clientTwips = QSize(6090, 2205),
            .backColor = ToolkitColor::Blue,
            .toolWindow = true,
            .picture = {DesignPicture::Placement::TopLeft, SitePictures::auctionSize(), SitePictures::paintAuction},
            .controls = {
                {.kind = Kind::Button, .name = QStringLiteral("Command1"), .text = QStringLiteral("Okay"),
                 .twips = QRect(120, 1680, 1000, 375)},
                {.kind = Kind::Button, .name = QStringLiteral("Command2"), .text = QStringLiteral("Cancel"),
                 .twips = QRect(4970, 1680, 1000, 375)},
                {.kind = Kind::Label, .name = QStringLiteral("Label1"),
                 .text = QStringLiteral("                  Go to Auction?"), .twips = QRect(1200, 1740, 3690, 315),
                 .backColor = ToolkitColor::Blue, .foreColor = ToolkitColor::HighlightText, .bold = true,
                 .pointSize = 9.75},
            }},
        .launcher = {.name = QStringLiteral("ANet"), .maximised = true},
        .browserStyle = WindowStyle::Maximized,
        .launcherUnloadsPrompt = true,
    };
    return pair;
}

QStringList AuctionLinks::fixedItems()
{
    QStringList names;
    for (const SiteItem &item : SiteTables::auctionItems())
        names << item.item;
    return names;
}

QString AuctionLinks::slotKey(const QString &name)
{
    return QStringLiteral("Search ") + name + QStringLiteral(" Website");
}

QString AuctionLinks::slotLabel(const QString &name)
{
    return QStringLiteral("          Visit ") + name + QStringLiteral(" Auction ?");
}

void AuctionLinks::fixedItem_Click(const QString &item)
{
    const SiteItem *site = SiteTables::item(SiteTables::auctionItems(), item);
    if (!site)
        return;
    // A fixed item leaves the prompt's label as it is.
    LinkPrompt *prompt = m_pair.prompt();
    prompt->showInFront();
    prompt->setKey(site->key);
}

void AuctionLinks::mnuAuc_Click(int slot)
{
    const std::optional<QString> found = UserLinkSlots::itemName(UserLinkSlots::auctions(), slot, m_slotItems);
    if (!found)
        return;
    const QString &name = *found;
    LinkPrompt *prompt = m_pair.prompt();
    prompt->showInFront();
    prompt->label1()->setText(slotLabel(name));
    prompt->setUserLinkKey(slotKey(name));
}

std::optional<QString> AuctionLinks::findAddress(LinkPrompt &prompt)
{
    if (const std::optional<QString> fixed = SiteTables::find(SiteTables::auctions(), prompt.key()))
        return fixed;
    return UserLinkSlots::linkAddress(m_store, UserLinkSlots::auctions(), prompt.key(), slotKey);
}
