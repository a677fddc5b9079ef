#include "app/Form1.h"

#include "app/BackgroundColors.h"
#include "app/FileOperations.h"
#include "app/InternetMenu.h"
#include "app/MainMenus.h"
#include "app/MenuTable.h"
#include "app/OpenFiles.h"
#include "app/PaneLayouts.h"
#include "app/PopupPresenter.h"
#include "app/SelectAll.h"
#include "app/ViewGraphicMenus.h"
#include "editor/TextEditor.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "picview/ViewGraphic.h"
#include "platform/EventWaits.h"
#include "platform/Launchers.h"
#include "platform/ProgramEnd.h"
#include "platform/Twips.h"
#include "platform/ui/DesignFont.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/MenuShortcutFilter.h"
#include "platform/ui/Services.h"
#include "platform/ui/ToolkitColor.h"
#include "search/DeepSearch.h"
#include "settings/ColorStore.h"
#include "settings/RegistryStore.h"
#include "web/UserLinkSlots.h"

#include <QAction>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

Form1::Form1(Services &services, RegistryStore &store, PopupPresenter &popups,
             const SplashTimings &splashTimings)
    : m_services(services),
      m_store(store),
      m_popups(popups),
      m_splashTimings(splashTimings),
      m_splash([this] {
          auto *splash = new Splash(this, m_splashTimings, [this] { m_splash.unload(); });
          splash->Form_Load();
          return splash;
      }),
      m_help([this] {
          auto *help = new Help1(this, [this] { m_help.unload(); });
          help->Form_Load();
          return help;
      })
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Panoptra"));

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("Form1Client"));
    // The client area fills the window, so an enlarged or maximised window shows the desktop
    // colour everywhere; the panes keep their places from its top left corner.
    ToolkitColor::setBackColor(m_client, ToolkitColor::Blue);
    // The panes' controls, not the menus, are set in the design's font.
    DesignFont::apply(m_client);
    setCentralWidget(m_client);

    m_board = std::make_unique<PaneBoard>(m_client, services);
    m_menus = std::make_unique<MainMenus>(menuBar(), this);
    m_fileOperations = std::make_unique<FileOperations>(*m_board, services, this);
    m_fileOperations->connectMenus(*m_menus, this);
    // The editor's HTML menu and viewer read the active pane's file.
    m_editor = std::make_unique<TextEditor>(services, [this]() -> QString {
        const int n = m_board->activePane();
        if (n == 0 || m_board->pane(n).fileList()->fileName().isEmpty())
            return QString();
        return m_board->paneFilePath(n);
    });
    // The search window's Copy fills the copy batch, its View Text loads the editor.
    ResultLinks searchLinks;
    searchLinks.batch = &m_fileOperations->searchBatch();
    searchLinks.editor = m_editor.get();
    searchLinks.popup = [this](QMenu *menu, const QPoint &globalPos) { m_popups.popup(menu, globalPos); };
    m_search = std::make_unique<DeepSearch>(services, DigTiming(), std::move(searchLinks));
    m_fileOperations->setSearchResults(m_search.get());
    // Unsaved editor text is offered for saving before the program ends.
    setEndGuard([this] { return m_editor->mayEndProgram(); });
    m_internetMenu = std::make_unique<InternetMenu>(services, store, *m_menus, this);
    m_internetMenu->connectMenus(*m_menus, this);
    m_colors = std::make_unique<BackgroundColors>(*this, services.dialogs, store);
    m_selectAll = std::make_unique<SelectAll>(*m_board, services.dialogs);
    m_layouts = std::make_unique<PaneLayouts>(*m_board);
    m_viewGraphic = std::make_unique<ViewGraphic>(*m_board, services);
    // View Text and View Html load the editor, a picture's double-click opens View Graphic.
    m_openFiles = std::make_unique<OpenFiles>(*m_board, services, *m_editor, *m_editor, *m_viewGraphic);
    m_openFiles->connectMenus(*m_menus, this);
    wireMenus();

    // Text fields and lists would take Ctrl+C, Ctrl+A and the like for themselves: every
    // control that can hold the focus, the message field included, leaves the menu keys alone.
    m_menuKeys = std::make_unique<MenuShortcutFilter>(*m_menus);
    for (QWidget *control : m_client->findChildren<QWidget *>()) {
        if (control->focusPolicy() != Qt::NoFocus)
            m_menuKeys->watch(control);
    }

    // The window with its frame and menu bar stands in the top left corner of the screen, its
    // client area at the designed size.
    resize(Twips::size(11880, 7935) + QSize(0, menuBar()->sizeHint().height()));
    move(0, 0);
}

Form1::~Form1() = default;

void Form1::Form_Load()
{
    // Showing the splash loads it; its load handler waits, then makes this window visible.
    m_splash.get()->show();
    AucMenuLoad();
    BackColorLoad();
    DirBoxColorLoad();
    FileBoxColorLoad();
    FavMenuLoad();
    UserLinkSlots::reload(m_store, UserLinkSlots::searchEngines(),
                          [this](const QString &name) { return m_menus->action(name); });
}

void Form1::AucMenuLoad()
{
    UserLinkSlots::reload(m_store, UserLinkSlots::auctions(),
                          [this](const QString &name) { return m_menus->action(name); });
}

void Form1::FavMenuLoad()
{
    UserLinkSlots::reload(m_store, UserLinkSlots::favourites(),
                          [this](const QString &name) { return m_menus->action(name); });
}

QList<QWidget *> Form1::colorTargets(ColorSetting setting) const
{
    QList<QWidget *> targets;
    switch (setting) {
    case ColorSetting::Desktop:
        targets << m_client;
        break;
    case ColorSetting::Folders:
        for (int n = 1; n <= PaneCount; ++n)
            targets << m_board->pane(n).folderList();
        break;
    case ColorSetting::Files:
        for (int n = 1; n <= PaneCount; ++n)
            targets << m_board->pane(n).fileList();
        break;
    }
    return targets;
}

void Form1::applyColor(ColorSetting setting, qint32 value)
{
    for (QWidget *target : colorTargets(setting))
        ToolkitColor::setBackColor(target, value);
}

void Form1::loadColor(ColorSetting setting)
{
    // A stored text that is no colour leaves the design colour, like an empty one.
    const std::optional<qint32> value = ColorStore(m_store).load(setting);
    if (value && ToolkitColor::isValid(*value))
        applyColor(setting, *value);
}

void Form1::BackColorLoad()
{
    loadColor(ColorSetting::Desktop);
}

void Form1::DirBoxColorLoad()
{
    loadColor(ColorSetting::Folders);
}

void Form1::FileBoxColorLoad()
{
    loadColor(ColorSetting::Files);
}

void Form1::mnuHelp1_Click()
{
    // An open window is only brought up, its text scrolled where the user left it.
    Help1 *help = m_help.get();
    help->show();
    help->raise();
    help->activateWindow();
}

void Form1::Form_QueryUnload(bool &cancel)
{
    const MessageAnswer answer = m_services.dialogs.message(
        MessageRequest{QStringLiteral("Exit Panoptra?"), QStringLiteral("Exit"), MessageButtons::YesNo,
                       MessageIcon::None});
    if (answer != MessageAnswer::Yes) {
        cancel = true;
        return;
    }
    // The program ends through endProgram, never by this window closing on its own.
    cancel = true;
    endProgram();
}

void Form1::closeEvent(QCloseEvent *event)
{
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel)
        event->ignore();
    else
        event->accept();
}

void Form1::mnuExit_Click()
{
    m_services.shellWindows.quitAll();
    EventWaits::yieldOnce();
    endProgram();
}

void Form1::endProgram()
{
    if (m_endGuard && !m_endGuard())
        return;
    m_services.programEnd.endNow();
}

void Form1::mnuRefresh_Click()
{
    m_board->refreshAll();
}

void Form1::wireMenus()
{
    auto on = [this](const QString &name, std::function<void()> command) {
        m_menus->onTriggered(name, this, std::move(command));
    };
    on(QStringLiteral("mnuExit"), [this] { mnuExit_Click(); });
    on(QStringLiteral("mnuRefresh"), [this] { mnuRefresh_Click(); });
    for (int n = 1; n <= PaneCount; ++n)
        on(paneItemName(PaneCommand::Refresh, n), [this, n] { m_board->refreshPane(n); });
    m_colors->wire(*m_menus, this);
    m_selectAll->wire(*m_menus, this);
    m_layouts->wire(*m_menus, this);
    wireViewGraphic(*m_viewGraphic, *m_menus, this);
    on(QStringLiteral("mnuHelp1"), [this] { mnuHelp1_Click(); });
    on(QStringLiteral("mnuSearchFor"), [this] { m_search->mnuSearchFor_Click(); });

    connect(m_board.get(), &PaneBoard::popupRequested, this,
            [this](int pane, PaneBoard::PopupKind kind, const QPoint &globalPos) {
                showPanePopup(pane, int(kind), globalPos);
            });
}

void Form1::showPanePopup(int pane, int kind, const QPoint &globalPos)
{
    const PaneSpec &spec = m_board->pane(pane).spec();
    const bool folder = kind == int(PaneBoard::PopupKind::Folder);
    if (QMenu *menu = m_menus->menu(folder ? spec.folderPopup : spec.filePopup))
        m_popups.popup(menu, globalPos);
}

