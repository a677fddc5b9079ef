#include "web/LinkFamilies.h"

#include "platform/ui/ToolkitColor.h"

namespace {

using Kind = ControlDesign::Kind;

// The add dialogs share their controls; the name prompt's blanks, size and colour differ.
FormDesign addDialog(const QString &name, const QString &caption, bool toolWindow, QSize client,
                     qint32 back, const QString &nameLabel)
{
    const int width = client.width() - 240;
    const int buttonTop = client.height() - 675;
    auto label = [&](const QString &control, const QString &text, int top) {
        return ControlDesign{.kind = Kind::Label, .name = control, .text = text, .twips = QRect(120, top, width, 255),
                             .backColor = back, .foreColor = ToolkitColor::HighlightText, .bold = true};
    };
    return FormDesign{
        .name = name,
        .caption = caption,
        .clientTwips = client,
        .backColor = back,
        .toolWindow = toolWindow,
        .controls = {
            {.kind = Kind::TextBox, .name = QStringLiteral("Text1"), .twips = QRect(120, 480, width, 315)},
            {.kind = Kind::TextBox, .name = QStringLiteral("Text2"), .text = QStringLiteral("http://www."),
             .twips = QRect(120, 1320, width, 315)},
            {.kind = Kind::Button, .name = QStringLiteral("Command1"), .text = QStringLiteral("Okay"),
             .twips = QRect(480, buttonTop, 1200, 375)},
            {.kind = Kind::Button, .name = QStringLiteral("Command2"), .text = QStringLiteral("Cancel"),
             .twips = QRect(client.width() - 1680, buttonTop, 1200, 375)},
            label(QStringLiteral("Label1"), nameLabel, 180),
            label(QStringLiteral("Label2"), QStringLiteral("              Website Address"), 1020),
        }};
}

const QString elevenBlanks = QStringLiteral("           ");

QList<LinkFamilyDesign> buildFamilies()
{
    const qint32 deepBlue = ToolkitColor::rgb(0, 0, 192);
    const qint32 lightBlue = ToolkitColor::rgb(128, 128, 255);
    return {
        {LinkKind::SearchEngines, UserLinkSlots::searchEngines(),
         addDialog(QStringLiteral("SLink"), QString(), true, QSize(4680, 3195), deepBlue,
                   QStringLiteral("              Name For Link")),
         QStringLiteral("Add Search Engine Link"),
         QStringLiteral("You have reached the limit for extra Search Engine links."),
         QStringLiteral("Remove Search Engine Link")},
        {LinkKind::Auctions, UserLinkSlots::auctions(),
         addDialog(QStringLiteral("ALink"), QStringLiteral("Panoptra Auction Add Link"), true, QSize(4680, 3195),
                   deepBlue, elevenBlanks + QStringLiteral("Name For Link")),
         QString(), QStringLiteral("You have reached the limit for extra Auction links."),
         QStringLiteral("Remove Auction Link")},
        {LinkKind::Favourites, UserLinkSlots::favourites(),
         addDialog(QStringLiteral("FavLink"), QStringLiteral("Panoptra Favorites Add Link"), false,
                   QSize(4590, 2805), lightBlue, elevenBlanks + QStringLiteral("Name For Link")),
         QString(), QStringLiteral("You have reached the limit for extra Favorite links."),
         QStringLiteral("Remove Favorite Link")},
    };
}

const QList<LinkFamilyDesign> &families()
{
    static const QList<LinkFamilyDesign> all = buildFamilies();
    return all;
}

} // namespace

namespace LinkFamilies {

const LinkFamilyDesign &of(LinkKind kind)
{
    return families().at(int(kind));
}

const QList<LinkKind> &kinds()
{
    static const QList<LinkKind> all{LinkKind::SearchEngines, LinkKind::Auctions, LinkKind::Favourites};
    return all;
}

LinkKind byRemoveCaption(const QString &caption)
{
    for (LinkKind kind : {LinkKind::SearchEngines, LinkKind::Favourites}) {
        if (of(kind).removeCaption == caption)
            return kind;
    }
    return LinkKind::Auctions;
}

} // namespace LinkFamilies
