#include "web/FavouriteLinks.h"

#include "platform/ui/ToolkitColor.h"

#include <QLabel>

FavouriteLinks::FavouriteLinks(Services &services, RegistryStore &store, UserLinkSlots::SlotLookup slotItems,
                               QWidget *owner)
    : m_store(store),
      m_slotItems(std::move(slotItems)),
      m_pair(design(), services,
             [this](LinkPrompt &prompt) {
                 return UserLinkSlots::linkAddress(m_store, UserLinkSlots::favourites(), prompt.key(), slotKey);
             },
             owner)
{
}

const PairDesign &FavouriteLinks::design()
{
    using Kind = ControlDesign::Kind;
    const qint32 lightBlue = ToolkitColor::rgb(128, 128, 255);
    static const PairDesign pair{
        .prompt = {
            .name = QStringLiteral("FavSeek"),
            .clientTwips = QSize(4680, 2250),
            .backColor = lightBlue,
            .controls = {
                {.kind = Kind::Button, .name = QStringLiteral("Command1"), .text = QStringLiteral("Okay"),
                 .twips = QRect(480, 1440, 1200, 375)},
                {.kind = Kind::Button, .name = QStringLiteral("Command2"), .text = QStringLiteral("Cancel"),
                 .twips = QRect(3000, 1440, 1200, 375)},
                {.kind = Kind::Label, .name = QStringLiteral("Label1"), .twips = QRect(240, 480, 4200, 315),
                 .backColor = lightBlue, .bold = true},
            }},
        .launcher = {.name = QStringLiteral("FavNet"), .maximised = false},
        .browserStyle = WindowStyle::Maximized,
        .launcherUnloadsPrompt = true,
    };
    return pair;
}

QString FavouriteLinks::slotKey(const QString &name)
{
    return QStringLiteral("Visit ") + name + QStringLiteral(" Website");
}

void FavouriteLinks::mnuFav_Click(int slot)
{
    const std::optional<QString> found = UserLinkSlots::itemName(UserLinkSlots::favourites(), slot, m_slotItems);
    if (!found)
        return;
    const QString &name = *found;
    LinkPrompt *prompt = m_pair.prompt();
    prompt->showInFront();
    prompt->label1()->setText(QStringLiteral("Visit ") + name + QStringLiteral(" ?"));
    prompt->setUserLinkKey(slotKey(name));
}
