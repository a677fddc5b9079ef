// Starts the main window as the program does, with the real services, then shows each view a
// person would look at and saves the screen as PNG files in the folder given as argument.

#include "app/BackgroundColors.h"
#include "app/Form1.h"
#include "app/InternetMenu.h"
#include "app/LayoutTable.h"
#include "app/MainMenus.h"
#include "app/PopupPresenter.h"
#include "app/SystemServices.h"
#include "textbox/ui/TextBox.h"
#include "editor/TextEditor.h"
#include "editor/Textpad.h"
#include "panes/FileList.h"
#include "panes/PaneBoard.h"
#include "picview/ViewGraphic.h"
#include "platform/ui/ToolkitColor.h"
#include "search/DeepSearch.h"
#include "settings/RegistryStore.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <functional>

namespace {

// The real dialogs, but the open dialog confirms the file it offers: the real one would wait
// for a person.
class ConfirmingDialogs : public Dialogs
{
public:
    using Dialogs::message;
    explicit ConfirmingDialogs(Dialogs &real) : m_real(real) {}
    MessageAnswer message(const MessageRequest &request) override { return m_real.message(request); }
    std::optional<QColor> chooseColor(const QColor &initial) override { return m_real.chooseColor(initial); }
    std::optional<QString> inputText(const QString &prompt, const QString &title, const QString &initial) override
    {
        return m_real.inputText(prompt, title, initial);
    }
    std::optional<QString> openFileName(const FileDialogRequest &request) override { return request.fileName; }
    std::optional<QString> saveFileName(const FileDialogRequest &request) override
    {
        return m_real.saveFileName(request);
    }
    bool printDialog(QPrinter &printer, const PrintDialogRequest &request) override
    {
        return m_real.printDialog(printer, request);
    }

private:
    Dialogs &m_real;
};

// Closes every window but the main window, so the next one stands alone.
void closeOtherWindows(Form1 &form)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window != &form && window->isVisible())
            window->close();
    }
    // A closed window goes at the next turn of the event loop; the shot after may open it anew.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Makes name the selected current file of pane n.
void selectFile(Form1 &form, int n, const QString &name)
{
    FileList *list = form.board().pane(n).fileList();
    for (int row = 0; row < list->listCount(); ++row) {
        if (list->item(row) == name) {
            list->setListIndex(row);
            list->setSelected(row, true);
        }
    }
}

struct Shot
{
    QString file;
    std::function<void(Form1 &)> prepare;
};

void trigger(Form1 &form, const QString &item)
{
    if (QAction *action = form.menus().action(item))
        action->trigger();
}

// What to show, in order. Each entry prepares the screen, then the screen is saved.
QList<Shot> shots()
{
    // The fixture folder: the editor's load makes the program's folder the current one.
    const QDir fixture = QDir::current();
    QList<Shot> list = {
        {QStringLiteral("main.png"), [](Form1 &) {}},
    };
    // layout-1.png .. layout-5.png: each Drive View command.
    for (const PaneLayout &layout : paneLayouts()) {
        const QString item = layout.menuItem;
        list.append({QStringLiteral("layout-%1.png").arg(layout.paneCount),
                     [item](Form1 &form) { trigger(form, item); }});
    }
    // message-1.png .. message-5.png: each layout with the message field shown, by the button
    // of the layout's last pane on a pattern that lists nothing.
    for (const PaneLayout &layout : paneLayouts()) {
        const QString item = layout.menuItem;
        const int pane = layout.paneCount;
        list.append({QStringLiteral("message-%1.png").arg(pane), [item, pane](Form1 &form) {
                         trigger(form, item);
                         Pane &p = form.board().pane(pane);
                         p.patternBox()->setText(QStringLiteral("*.none"));
                         p.button()->click();
                     }});
    }
    // An enlarged window: the desktop colour fills all of it.
    list.append({QStringLiteral("enlarged.png"), [](Form1 &form) { form.resize(1100, 800); }});
    // The question after red folder lists were picked (without the modal colour dialog).
    list.append({QStringLiteral("color1.png"), [](Form1 &form) {
                     BackgroundColors &colors = form.colors();
                     colors.save(ColorSetting::Folders);
                     form.applyColor(ColorSetting::Folders, ToolkitColor::Red);
                     Color1 *color1 = colors.color1().get();
                     color1->ask(ColorSetting::Folders);
                     color1->show();
                 }});
    list.append({QStringLiteral("help.png"), [](Form1 &form) {
                     if (Color1 *color1 = form.colors().color1().ifLoaded())
                         color1->Command2_Click();
                     trigger(form, QStringLiteral("mnuHelp1"));
                 }});
    // The Internet menu's keyword prompt; then an add dialog, a news prompt and the removal
    // dialog side by side.
    list.append({QStringLiteral("web-iseek.png"), [](Form1 &form) {
                     if (Help1 *help = form.help().ifLoaded())
                         help->close();
                     trigger(form, QStringLiteral("mnuGoogle"));
                     form.internetMenu().keywordSearch().ISeek()->text1()->setText(QStringLiteral("panoptra"));
                 }});
    list.append({QStringLiteral("web-links.png"), [](Form1 &form) {
                     form.internetMenu().keywordSearch().ISeek()->Command2_Click();
                     trigger(form, QStringLiteral("mnuAddSLink"));
                     trigger(form, QStringLiteral("mnuCNNNews"));
                     trigger(form, QStringLiteral("mnuRemoveFav"));
                     InternetMenu &web = form.internetMenu();
                     web.linkEditor().addDialog(LinkKind::SearchEngines)->move(40, 60);
                     web.newsAndWeather().news().loadedPrompt()->move(400, 60);
                     web.linkEditor().DeLink()->move(40, 400);
                 }});
    // Internet Start beside Find Website.
    list.append({QStringLiteral("web-start.png"), [](Form1 &form) {
                     closeOtherWindows(form);
                     trigger(form, QStringLiteral("mnuIStart"));
                     trigger(form, QStringLiteral("mnuSiteSearch"));
                     InternetMenu &web = form.internetMenu();
                     web.internetStart().IStart()->move(40, 60);
                     web.findWebSite().pair().loadedPrompt()->move(500, 60);
                 }});
    // Inet as it stays open when a prompt's key matches nothing: maximised, with its buttons.
    list.append({QStringLiteral("web-inet.png"), [](Form1 &form) {
                     closeOtherWindows(form);
                     KeywordSearch &search = form.internetMenu().keywordSearch();
                     trigger(form, QStringLiteral("mnuGoogle"));
                     search.ISeek()->setKey(QStringLiteral("no engine of this name"));
                     search.ISeek()->text1()->setText(QStringLiteral("panoptra"));
                     search.ISeek()->Command1_Click();
                 }});
    // The search window over the others, its boxes filled in (a search would end in a box).
    list.append({QStringLiteral("search.png"), [](Form1 &form) {
                     closeOtherWindows(form);
                     trigger(form, QStringLiteral("mnuSearchFor"));
                     Dig *dig = form.search().window().get();
                     dig->txtvalue()->setText(QDir::currentPath());
                     dig->textval()->setText(QStringLiteral("*.txt"));
                 }});
    // The editor on a text file of the fixture folder, which is the current folder.
    list.append({QStringLiteral("editor.png"), [](Form1 &form) {
                     // The dialogs of the shots before are closed, so the editor stands alone.
                     closeOtherWindows(form);
                     form.editor().LoadTextFile(QDir::current().absoluteFilePath(QStringLiteral("notes.txt")));
                 }});
    // The editor on a long log, at its end, the last lines selected from the keyboard: the box
    // lays out only what it shows, so this is what scrolling a big file looks like.
    list.append({QStringLiteral("editor-end.png"), [fixture](Form1 &form) {
                     closeOtherWindows(form);
                     TextEditor &editor = form.editor();
                     editor.LoadTextFile(fixture.absoluteFilePath(QStringLiteral("server.log")), [&editor](bool loaded) {
                         Textpad *textpad = editor.window().ifLoaded();
                         if (!loaded || !textpad)
                             return;
                         TextBox *box = textpad->txtNote();
                         box->setFocus();
                         QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
                         for (int i = 0; i < 3; ++i)
                             QTest::keyClick(box, Qt::Key_Up, Qt::ShiftModifier);
                     });
                 }});
    // The picture viewer on the fixture's photo, through View Graphic, one step enlarged.
    list.append({QStringLiteral("viewer.png"), [](Form1 &form) {
                     closeOtherWindows(form);
                     // The message shots left every pane on a pattern that lists nothing.
                     Pane &pane = form.board().pane(1);
                     pane.patternBox()->setText(QStringLiteral("*.bmp"));
                     pane.button()->click();
                     selectFile(form, 1, QStringLiteral("photo.bmp"));
                     trigger(form, QStringLiteral("mnuBmp"));
                     if (RealView *view = form.viewGraphic().viewer().ifLoaded())
                         view->Command1_Click();
                 }});
    return list;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Panoptra"));
    const QString outFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screens");
    QDir().mkpath(outFolder);

    SystemServices system;
    const Services &real = system.services();
    ConfirmingDialogs dialogs(real.dialogs);
    Services services{dialogs, real.files, real.trash, real.drives, real.paths, real.clipboard,
                      real.programs, real.shellOpen, real.browser, real.browserAutomation,
                      real.shellWindows, real.printer, real.programEnd, real.clock};
    RegistryStore store;
    MenuPopupPresenter popups;
    Form1 form(services, store, popups, SplashTimings{1000, 800, 22});
    form.Form_Load();
    form.show();

    int failures = 0;
    auto save = [&failures, &outFolder](const QString &file) {
        const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
        const QString path = outFolder + QLatin1Char('/') + file;
        if (!screen.save(path)) {
            qWarning("could not save %s", qPrintable(path));
            ++failures;
        }
    };
    // The splash stands over the main window for a while, then closes itself after ten ticks;
    // the other pictures show the main window alone.
    QTest::qWait(1500);
    save(QStringLiteral("splash.png"));
    QTest::qWait(7500);
    // A shot that loads a file into the editor is taken once the file is in.
    const auto editorLoading = [&form] {
        const Textpad *textpad = form.editor().window().ifLoaded();
        return textpad && textpad->isLoading();
    };
    for (const Shot &shot : shots()) {
        shot.prepare(form);
        if (!QTest::qWaitFor([&] { return !editorLoading(); }, 30'000)) {
            qWarning("the editor's load did not end for %s", qPrintable(shot.file));
            ++failures;
        }
        QTest::qWait(400);
        save(shot.file);
    }
    return failures == 0 ? 0 : 1;
}
