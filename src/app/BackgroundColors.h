#pragma once

#include "app/Color1.h"
#include "platform/ui/SharedWindow.h"
#include "settings/ColorStore.h"

class Dialogs;
class Form1;
class MainMenus;
class RegistryStore;

// The Desktop menu's three "Change Colors" commands: store the colour shown, open the colour
// dialog, paint the picked colour at once, then ask in Color1 whether to keep it.
class BackgroundColors
{
public:
    BackgroundColors(Form1 &form, Dialogs &dialogs, RegistryStore &store);

    // mnuBackGround_Click, mnu_Folders_Click and mnu_Files_Click: one routine, three settings.
    void pick(ColorSetting setting);
    // BackColorSave, DirBoxColorSave, FileBoxColorSave: stores the colour the setting's source
    // control shows now, and says so when the settings file could not be written.
    void save(ColorSetting setting);
    // BackColorLoad, DirBoxColorLoad, FileBoxColorLoad.
    void load(ColorSetting setting);

    // Connects the three menu items; context owns the connections.
    void wire(const MainMenus &menus, QObject *context);

    SharedWindow<Color1> &color1() { return m_color1; }

private:
    // Stores the colour the setting's source control shows; false when the file was not written.
    bool storeShown(ColorSetting setting);

    Form1 &m_form;
    Dialogs &m_dialogs;
    RegistryStore &m_store;
    // The colour dialog opens on this; it keeps the last colour chosen during the run.
    qint32 m_commonDialogColor = 0;
    SharedWindow<Color1> m_color1;
};
