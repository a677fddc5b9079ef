#include "web/KeywordSearch.h"

#include "platform/ui/Dialogs.h"
#include "platform/ui/Services.h"
#include "web/SearchAddress.h"
#include "web/SearchEngines.h"
#include "web/SitePictures.h"

#include <QLabel>
#include <QLineEdit>

namespace {

const QString LabelIndent = QStringLiteral("       "); // seven blanks

QString userEngineKey(const QString &name)
{
    return QStringLiteral("Panoptra ") + name + QStringLiteral(" Search");
}

} // namespace

KeywordSearch::KeywordSearch(Services &services, RegistryStore &store, UserLinkSlots::SlotLookup slotItems,
                             QWidget *owner)
    : m_services(services),
      m_store(store),
      m_slotItems(std::move(slotItems)),
      m_pair(design(), services, [this](LinkPrompt &prompt) { return findAddress(prompt); }, owner,
             [this](LinkPrompt &prompt) { return keywordGiven(prompt); })
{
}

const PairDesign &KeywordSearch::design()
{
    using Kind = ControlDesign::Kind;
    static const PairDesign pair{
        .prompt = {
            .name = QStringLiteral("ISeek"),
            .clientTwips = QSize(5520, 3750),
            .toolWindow = true,
            .picture = {DesignPicture::Placement::Fill, SitePictures::keywordSize(), SitePictures::paintKeyword},
            .controls = {
                {.kind = Kind::TextBox, .name = QStringLiteral("Text1"), .twips = QRect(0, 240, 5805, 255),
                 .tabStop = false},
                {.kind = Kind::Button, .name = QStringLiteral("Command1"), .text = QStringLiteral("Okay"),
                 .twips = QRect(0, 3435, 1000, 325)},
                {.kind = Kind::Button, .name = QStringLiteral("Command2"), .text = QStringLiteral("Cancel"),
                 .twips = QRect(4535, 3435, 1000, 325)},
                {.kind = Kind::Label, .name = QStringLiteral("Label1"), .twips = QRect(0, 0, 5655, 255)},
            }},
        .launcher = {
            .name = QStringLiteral("Inet"),
            .maximised = true,
            .buttons = {
                {.kind = Kind::Button, .name = QStringLiteral("Command1"), .text = QStringLiteral("Go Back"),
                 .twips = QRect(50, 7900, 950, 375)},
                {.kind = Kind::Button, .name = QStringLiteral("Command2"), .text = QStringLiteral("Go Forward"),
                 .twips = QRect(1035, 7900, 950, 375)},
            },
            .scrollBarName = QStringLiteral("VScroll1"),
            .scrollBarTwips = QRect(11700, 480, 255, 7815)},
        .browserStyle = WindowStyle::Normal,
        .promptHidesWhileLauncherStays = true,
        .launcherUnloadsPrompt = false,
        .launcherHidesPrompt = true,
    };
    return pair;
}

QStringList KeywordSearch::engineItems()
{
    QStringList items;
    for (const SearchEngine &engine : SearchEngines::all())
        items << engine.item;
    return items;
}

void KeywordSearch::engineItem_Click(const QString &item)
{
    const SearchEngine *engine = SearchEngines::byItem(item);
    if (!engine)
        return;
    LinkPrompt *prompt = m_pair.prompt();
    prompt->setKey(engine->key);
    prompt->showInFront();
    prompt->label1()->setText(LabelIndent + engine->label);
    prompt->text1()->setVisible(true);
}

void KeywordSearch::mnuYes_Click(int slot)
{
    const std::optional<QString> found = UserLinkSlots::itemName(UserLinkSlots::searchEngines(), slot, m_slotItems);
    if (!found)
        return;
    const QString &name = *found;
    LinkPrompt *prompt = m_pair.prompt();
    prompt->showInFront();
    // The last two slots' labels stand indented.
    prompt->label1()->setText((slot >= 9 ? LabelIndent : QString()) + QStringLiteral("Search ") + name);
    prompt->setUserLinkKey(userEngineKey(name));
    prompt->text1()->setVisible(false);
}

bool KeywordSearch::keywordGiven(LinkPrompt &prompt)
{
    QLineEdit *keyword = prompt.text1();
    if (keyword->isHidden() || !keyword->text().isEmpty())
        return true;
    m_services.dialogs.message(QStringLiteral("Please Enter Search Text To Continue"));
    keyword->setFocus();
    return false;
}

std::optional<QString> KeywordSearch::findAddress(LinkPrompt &prompt)
{
    const QString key = prompt.key();
    for (const SearchEngine &engine : SearchEngines::all()) {
        if (engine.key == key)
            return SearchAddress::build(engine.addressTemplate, prompt.text1()->text());
    }
    return UserLinkSlots::linkAddress(m_store, UserLinkSlots::searchEngines(), key, userEngineKey);
}
