#pragma once

#include "app/Help1.h"
#include "app/Splash.h"
#include "platform/ui/SharedWindow.h"
#include "settings/ColorStore.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class BackgroundColors;
class DeepSearch;
class FileOperations;
class InternetMenu;
class MainMenus;
class MenuShortcutFilter;
class OpenFiles;
class PaneBoard;
class PaneLayouts;
class PopupPresenter;
class RegistryStore;
class SelectAll;
class ViewGraphic;
class TextEditor;
struct Services;

// The main window: five panes, the menus, and the start-up and shut-down of the program.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    Form1(Services &services, RegistryStore &store, PopupPresenter &popups,
          const SplashTimings &splashTimings = SplashTimings());
    ~Form1() override;

    // The start-up sequence; the caller shows the window afterwards.
    void Form_Load();
    // A request to close the main window; cancel set to true keeps it open.
    void Form_QueryUnload(bool &cancel);
    void mnuExit_Click();
    void mnuRefresh_Click();

    // Asked before the program ends by Exit or the close question; false keeps it running
    // (the editor's save question).
    void setEndGuard(std::function<bool()> guard) { m_endGuard = std::move(guard); }

    PaneBoard &board() const { return *m_board; }
    MainMenus &menus() const { return *m_menus; }
    FileOperations &fileOperations() const { return *m_fileOperations; }
    DeepSearch &search() const { return *m_search; }
    // The text editor; also what the windows that open files as text load them through.
    TextEditor &editor() const { return *m_editor; }
    InternetMenu &internetMenu() const { return *m_internetMenu; }
    QWidget *client() const { return m_client; }
    SharedWindow<Splash> &splash() { return m_splash; }

    void BackColorLoad();
    void DirBoxColorLoad();
    void FileBoxColorLoad();
    // The controls a colour setting paints; the first is the one its value is taken from.
    QList<QWidget *> colorTargets(ColorSetting setting) const;
    void applyColor(ColorSetting setting, qint32 value);

    // Help > "Help": shows the help window without waiting, loading it when it is not loaded.
    void mnuHelp1_Click();
    SharedWindow<Help1> &help() { return m_help; }
    BackgroundColors &colors() const { return *m_colors; }
    PaneLayouts &layouts() const { return *m_layouts; }
    // View Graphic and the picture viewer.
    ViewGraphic &viewGraphic() const { return *m_viewGraphic; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void loadColor(ColorSetting setting);
    void AucMenuLoad();
    void FavMenuLoad();
    void endProgram();
    void wireMenus();
    void showPanePopup(int pane, int kind, const QPoint &globalPos);

    Services &m_services;
    RegistryStore &m_store;
    PopupPresenter &m_popups;
    SplashTimings m_splashTimings;
    QWidget *m_client;
    std::unique_ptr<PaneBoard> m_board;
    std::unique_ptr<MainMenus> m_menus;
    std::unique_ptr<FileOperations> m_fileOperations;
    std::unique_ptr<DeepSearch> m_search;
    std::unique_ptr<TextEditor> m_editor;
    std::unique_ptr<InternetMenu> m_internetMenu;
    SharedWindow<Splash> m_splash;
    std::function<bool()> m_endGuard;
    // Colours, Select All, layouts and help (wired in wireMenus).
    std::unique_ptr<BackgroundColors> m_colors;
    std::unique_ptr<SelectAll> m_selectAll;
    std::unique_ptr<PaneLayouts> m_layouts;
    SharedWindow<Help1> m_help;
    std::unique_ptr<ViewGraphic> m_viewGraphic;
    std::unique_ptr<OpenFiles> m_openFiles;
    // Last, so that it goes first: it asks m_menus at every key.
    std::unique_ptr<MenuShortcutFilter> m_menuKeys;
};
