#include "app/BackgroundColors.h"

#include "app/Form1.h"
#include "app/MainMenus.h"
#include "platform/EventWaits.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ToolkitColor.h"
#include "settings/RegistryStore.h"

#include <QAction>

#include <array>

namespace {

struct ColorCommand
{
    const char *menuItem;
    ColorSetting setting;
    void (Form1::*load)();
};

const std::array<ColorCommand, 3> commands = {{
    {"mnuBackGround", ColorSetting::Desktop, &Form1::BackColorLoad},
    {"mnu_Folders", ColorSetting::Folders, &Form1::DirBoxColorLoad},
    {"mnu_Files", ColorSetting::Files, &Form1::FileBoxColorLoad},
}};

} // namespace

BackgroundColors::BackgroundColors(Form1 &form, Dialogs &dialogs, RegistryStore &store)
    : m_form(form),
      m_dialogs(dialogs),
      m_store(store),
      m_color1([this] {
          return new Color1(&m_form, Color1::Actions{[this](ColorSetting s) { save(s); },
                                                     [this](ColorSetting s) { load(s); },
                                                     [this] { m_color1.unload(); }});
      })
{
}

void BackgroundColors::pick(ColorSetting setting)
{
    // Stored before anything is picked: the value now holds the colour shown, so that Cancel
    // in Color1 brings back the colour of this moment. Nothing is said when the file cannot be
    // written: the store keeps the value for Cancel, and "Okay" tells the user.
    storeShown(setting);

    // A cancelled dialog ends the command here; nothing changes and Color1 does not open.
    const std::optional<QColor> chosen = m_dialogs.chooseColor(ToolkitColor::toQColor(m_commonDialogColor));
    if (!chosen || !chosen->isValid())
        return;
    m_commonDialogColor = ToolkitColor::fromQColor(*chosen);
    m_form.applyColor(setting, m_commonDialogColor);
    EventWaits::yieldOnce();

    Color1 *color1 = m_color1.get();
    color1->ask(setting);
    color1->show();
    color1->raise();
}

void BackgroundColors::save(ColorSetting setting)
{
    // The colour stays on screen and the store keeps it for this run; the user is told that
    // the next start may not have it.
    if (!storeShown(setting))
        m_dialogs.message(m_store.saveFailedMessage(), MessageIcon::Exclamation);
}

bool BackgroundColors::storeShown(ColorSetting setting)
{
    const QList<QWidget *> targets = m_form.colorTargets(setting);
    return targets.isEmpty() || ColorStore(m_store).save(setting, ToolkitColor::backColor(targets.first()));
}

void BackgroundColors::load(ColorSetting setting)
{
    for (const ColorCommand &command : commands) {
        if (command.setting == setting)
            (m_form.*command.load)();
    }
}

void BackgroundColors::wire(const MainMenus &menus, QObject *context)
{
    for (const ColorCommand &command : commands) {
        const ColorSetting setting = command.setting;
        menus.onTriggered(QLatin1String(command.menuItem), context, [this, setting] { pick(setting); });
    }
}
