#include "web/NewsAndWeather.h"

#include "platform/ui/ToolkitColor.h"
#include "web/SiteTables.h"
#include "web/SitePictures.h"

#include <QLabel>

namespace {

using Kind = ControlDesign::Kind;

// "Okay" at the left and "Cancel" at the right below the question.
QList<ControlDesign> promptControls(int width, int buttonTop, QRect label, qint32 labelBack, qint32 labelFore)
{
    return {
        {.kind = Kind::Button, .name = QStringLiteral("Command1"), .text = QStringLiteral("Okay"),
         .twips = QRect(600, buttonTop, 1200, 375)},
        {.kind = Kind::Button, .name = QStringLiteral("Command2"), .text = QStringLiteral("Cancel"),
         .twips = QRect(width - 1800, buttonTop, 1200, 375)},
        {.kind = Kind::Label, .name = QStringLiteral("Label1"), .twips = label, .backColor = labelBack,
         .foreColor = labelFore, .bold = true, .pointSize = 9.75},
    };
}

std::optional<QString> lookUp(const QList<Site> &sites, LinkPrompt &prompt)
{
    return SiteTables::find(sites, prompt.key());
}

} // namespace

NewsAndWeather::NewsAndWeather(Services &services, QWidget *owner)
    : m_news(newsDesign(), services, [](LinkPrompt &prompt) { return lookUp(SiteTables::news(), prompt); }, owner),
      m_weather(weatherDesign(), services,
                [](LinkPrompt &prompt) { return lookUp(SiteTables::weather(), prompt); }, owner)
{
}

const PairDesign &NewsAndWeather::newsDesign()
{
    static const PairDesign pair{
        .prompt = {.name = QStringLiteral("NewsSeek"),
                   .clientTwips = QSize(4380, 3315),
                   .backColor = ToolkitColor::White,
                   .toolWindow = true,
                   .picture = {DesignPicture::Placement::TopLeft, SitePictures::newsSize(), SitePictures::paintNews},
                   .controls = promptControls(4380, 2280, QRect(600, 1080, 3180, 315), ToolkitColor::White,
                                              ToolkitColor::rgb(0, 0, 0))},
        .launcher = {.name = QStringLiteral("NewsNet"), .maximised = true},
        .browserStyle = WindowStyle::Maximized,
        .promptHidesWhileLauncherStays = true,
        .launcherUnloadsPrompt = true,
    };
    return pair;
}

const PairDesign &NewsAndWeather::weatherDesign()
{
    static const PairDesign pair{
        .prompt = {.name = QStringLiteral("WeatherSeek"),
                   .clientTwips = QSize(5475, 2115),
                   .backColor = ToolkitColor::Blue,
                   .toolWindow = true,
                   .controls = promptControls(5475, 1320, QRect(240, 360, 4995, 315), ToolkitColor::Blue,
                                              ToolkitColor::HighlightText)},
        .launcher = {.name = QStringLiteral("WeatherNet"), .maximised = false},
        .browserStyle = WindowStyle::Maximized,
        .promptHidesWhileLauncherStays = true,
        .launcherUnloadsPrompt = true,
        .launcherYieldsFirst = true,
    };
    return pair;
}

QStringList NewsAndWeather::items()
{
    QStringList names;
    for (const QList<SiteItem> *items : {&SiteTables::newsItems(), &SiteTables::weatherItems()}) {
        for (const SiteItem &item : *items)
            names << item.item;
    }
    return names;
}

void NewsAndWeather::item_Click(const QString &item)
{
    const SiteItem *news = SiteTables::item(SiteTables::newsItems(), item);
    const SiteItem *site = news ? news : SiteTables::item(SiteTables::weatherItems(), item);
    if (!site)
        return;
    LinkPrompt *prompt = (news ? m_news : m_weather).prompt();
    prompt->showInFront();
    prompt->setKey(site->key);
    prompt->label1()->setText(site->label);
}
