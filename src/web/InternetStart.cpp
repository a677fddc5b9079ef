#include "web/InternetStart.h"

#include "platform/EventWaits.h"
#include "platform/Launchers.h"
#include "platform/ui/Services.h"
#include "platform/ui/ToolkitColor.h"
#include "web/SitePictures.h"
#include "web/SiteTables.h"

InternetStart::InternetStart(Services &services, QWidget *owner)
    : m_services(services),
      m_window([this, owner] {
          return unloadThrough(m_window, new WebDialog(design(), [this] { okay(); }, owner));
      })
{
}

const FormDesign &InternetStart::design()
{
    using Kind = ControlDesign::Kind;
    static const FormDesign form{
        .name = QStringLiteral("IStart"),
        .caption = QStringLiteral("Internet Connect"),
        .clientTwips = QSize(5610, 3795),
        .picture = {DesignPicture::Placement::TopLeft, SitePictures::startSize(), SitePictures::paintStart},
        .controls = {
            {.kind = Kind::Button, .name = QStringLiteral("Command1"), .text = QStringLiteral("Okay"),
             .twips = QRect(120, 3300, 1000, 375)},
            {.kind = Kind::Button, .name = QStringLiteral("Command2"), .text = QStringLiteral("Cancel"),
             .twips = QRect(4490, 3300, 1000, 375)},
            {.kind = Kind::Label, .name = QStringLiteral("Label1"),
             .text = QStringLiteral("               Make Internet Connection?"), .twips = QRect(1200, 3360, 3210, 255),
             .backColor = ToolkitColor::White, .foreColor = ToolkitColor::Highlight},
        },
        .centred = false};
    return form;
}

void InternetStart::mnuIStart_Click()
{
    m_window.get()->showInFront();
}

void InternetStart::okay()
{
    // Without a browser there is nothing to start: the window stays for a later try.
    if (!m_services.browser.isInstalled())
        return;
    m_services.browser.start(SiteTables::portal(), WindowStyle::Normal);
    EventWaits::yieldOnce();
    m_window.unload();
}
