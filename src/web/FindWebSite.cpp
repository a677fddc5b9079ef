#include "web/FindWebSite.h"

#include "platform/ui/ToolkitColor.h"

#include <QLineEdit>

FindWebSite::FindWebSite(Services &services, QWidget *owner)
    // The address goes to the browser as typed: blanks, case and all.
    : m_pair(design(), services, [](LinkPrompt &prompt) { return std::optional<QString>(prompt.text1()->text()); },
             owner)
{
}

const PairDesign &FindWebSite::design()
{
    using Kind = ControlDesign::Kind;
    const qint32 lightYellow = ToolkitColor::rgb(255, 255, 192);
    static const PairDesign pair{
        .prompt = {
            .name = QStringLiteral("SiteSeek"),
            .caption = QStringLiteral("Find Website"),
            .clientTwips = QSize(3660, 1470),
            .backColor = lightYellow,
            .controls = {
                {.kind = Kind::TextBox, .name = QStringLiteral("Text1"), .text = QStringLiteral("http://www."),
                 .twips = QRect(120, 360, 3420, 315)},
                {.kind = Kind::Button, .name = QStringLiteral("Command1"), .text = QStringLiteral("Okay"),
                 .twips = QRect(240, 900, 1200, 375)},
                {.kind = Kind::Button, .name = QStringLiteral("Command2"), .text = QStringLiteral("Cancel"),
                 .twips = QRect(2220, 900, 1200, 375)},
                {.kind = Kind::Label, .name = QStringLiteral("Label1"), .text = QStringLiteral("Website Address:"),
                 .twips = QRect(120, 60, 3420, 255), .backColor = lightYellow, .bold = true},
            }},
        .launcher = {.name = QStringLiteral("SiteSearch"), .maximised = false},
        .browserStyle = WindowStyle::Maximized,
    };
    return pair;
}

void FindWebSite::mnuSiteSearch_Click()
{
    // An open dialog comes forward with what has been typed in it.
    m_pair.prompt()->showInFront();
}
