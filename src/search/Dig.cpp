#include "search/Dig.h"

#include "platform/PathCodec.h"
#include "platform/ProgramEnd.h"
#include "platform/Twips.h"
#include "platform/ui/DesignedWindow.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/MenuShortcutFilter.h"
#include "platform/ui/Services.h"
#include "platform/ui/ToolkitColor.h"
#include "search/ResultList.h"
#include "search/ResultListModel.h"
#include "search/SearchMessages.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {
// The path box after the first Start Search.
constexpr int narrowPathTwips = 2500;
} // namespace

// A search, or else a wait of Stop Search with what comes after it.
struct Dig::Run
{
    std::unique_ptr<SearchWalk> walk;
    QTimer wait;
    bool waitOver = false;
    std::function<void()> then;
};

const FormDesign &Dig::design()
{
    using Kind = ControlDesign::Kind;
    const qint32 lightCyan = ToolkitColor::rgb(192, 255, 255);
    // Labels first, so that the controls are drawn over them where they overlap; the controls
    // that take the focus follow in tab order.
    static const FormDesign form{
        .name = QStringLiteral("Dig"),
        .caption = QStringLiteral("Search"),
        .clientTwips = QSize(9135, 4500),
        .backColor = ToolkitColor::Blue,
        .controls = {
            {.kind = Kind::Label, .name = QStringLiteral("Label1"), .twips = QRect(2895, 240, 7140, 615),
             .backColor = ToolkitColor::HighlightText, .visible = false},
            {.kind = Kind::Label, .name = QStringLiteral("Label2"), .text = QStringLiteral(" Please Enter Path Below "),
             .twips = QRect(360, 600, 2535, 375), .backColor = ToolkitColor::Blue,
             .foreColor = ToolkitColor::HighlightText},
            {.kind = Kind::Label, .name = QStringLiteral("Label3"),
             .text = QStringLiteral("  Please Enter FileName Below") + QString(36, QLatin1Char(' ')),
             .twips = QRect(0, 1920, 3135, 375), .backColor = ToolkitColor::Blue,
             .foreColor = ToolkitColor::HighlightText, .toolTip = QStringLiteral("Wildcard or exact file name")},
            {.kind = Kind::TextBox, .name = QStringLiteral("Text1"), .twips = QRect(1080, 120, 1335, 405),
             .visible = false},
            {.kind = Kind::TextBox, .name = QStringLiteral("txtvalue"), .text = QStringLiteral("/"),
             .twips = QRect(0, 840, 2895, 375)},
            {.kind = Kind::TextBox, .name = QStringLiteral("textval"), .twips = QRect(0, 2160, 2895, 405)},
            {.kind = Kind::Button, .name = QStringLiteral("Command2"), .text = QStringLiteral("Start Search"),
             .twips = QRect(1680, 2760, 1200, 375)},
            {.kind = Kind::Button, .name = QStringLiteral("Command1"), .text = QStringLiteral("Clear Results"),
             .twips = QRect(1680, 3720, 1200, 375)},
            {.kind = Kind::List, .name = QStringLiteral("List1"), .twips = QRect(2880, 840, 7095, 3375),
             .backColor = lightCyan},
            {.kind = Kind::CheckBox, .name = QStringLiteral("Check1"),
             .text = QStringLiteral("Check to include SubDirectories"), .twips = QRect(0, 1320, 2895, 255),
             .backColor = ToolkitColor::White},
            {.kind = Kind::Button, .name = QStringLiteral("Command3"), .text = QStringLiteral("Stop Search"),
             .twips = QRect(1680, 3240, 1200, 375), .enabled = false},
        }};
    return form;
}

const QList<MenuEntry> &Dig::menuTable()
{
    static const QList<MenuEntry> table{
        {"", "mnuFile", "&File", ""},
        {"mnuFile", "mnuSelectall", "&Selectall", "Ctrl+S"},
        {"mnuFile", "mnuCopy", "&Copy", "Ctrl+C"},
        {"mnuFile", "mnuExecute", "&Run", "Ctrl+E"},
        {"mnuFile", "mnuPrint", "Print ", ""},
        {"mnuFile", "mnuView", "&View Text", "Ctrl+V"},
        {"mnuFile", "mnuExit", "&Exit", "Ctrl+X"},
        {"", "mnuPopUp1", "Popup", "", true},
        {"mnuPopUp1", "mnuUpCopy", "Copy", ""},
        {"mnuPopUp1", "mnuUpSelectall", "SelectAll", ""},
        {"mnuPopUp1", "mnuUpRun", "Run", ""},
        {"mnuPopUp1", "mnuUpView", "View Text ", ""},
    };
    return table;
}

Dig::Dig(Services &services, const DigTiming &timing, ResultLinks links, SearchFolderRead read)
    // No system menu and no minimise, maximise or close button.
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_services(services),
      m_timing(timing),
      m_folderRead(std::move(read))
{
    const FormDesign &form = design();
    setObjectName(form.name);
    setWindowTitle(form.caption);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("DigClient"));
    client->setFixedSize(Twips::size(form.clientTwips.width(), form.clientTwips.height()));
    DesignedWindow::setClientColor(client, *form.backColor);
    setCentralWidget(client);
    for (const ControlDesign &control : form.controls) {
        QWidget *made = control.kind == ControlDesign::Kind::List ? new ResultList(client) : nullptr;
        DesignedWindow::addControl(client, control, made);
    }
    m_txtvalue = control<QLineEdit>(QStringLiteral("txtvalue"));
    m_textval = control<QLineEdit>(QStringLiteral("textval"));
    m_check1 = control<QCheckBox>(QStringLiteral("Check1"));
    m_label1 = control<QLabel>(QStringLiteral("Label1"));
    m_command3 = control<QPushButton>(QStringLiteral("Command3"));
    m_list1 = control<ResultList>(QStringLiteral("List1"));
    // Label text starts at the top, clear of the boxes that overlap the labels' lower part; the
    // status line shows the path on its second line.
    for (QLabel *label : client->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly))
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_menus = std::make_unique<MenuTree>(menuTable(), menuBar(), this);
    m_menus->onTriggered(QStringLiteral("mnuExit"), this, [this] { mnuExit_Click(); });
    m_commands = std::make_unique<ResultCommands>(*m_list1, m_list2, services, std::move(links));
    const QList<std::pair<const char *, void (Dig::*)()>> commands{
        {"mnuCopy", &Dig::mnuCopy_Click},           {"mnuUpCopy", &Dig::mnuCopy_Click},
        {"mnuExecute", &Dig::mnuExecute_Click},     {"mnuUpRun", &Dig::mnuExecute_Click},
        {"mnuPrint", &Dig::mnuPrint_Click},         {"mnuSelectall", &Dig::mnuSelectall_Click},
        {"mnuUpSelectall", &Dig::mnuSelectall_Click}, {"mnuView", &Dig::mnuView_Click},
        {"mnuUpView", &Dig::mnuView_Click},
    };
    for (const auto &[name, command] : commands)
        m_menus->onTriggered(QLatin1String(name), this, [this, command = command] { (this->*command)(); });
    connect(m_list1, &ResultList::mouseReleased, this,
            [this](Qt::MouseButton button, const QPoint &globalPos) { List1_MouseUp(button, globalPos); });
    connect(control<QPushButton>(QStringLiteral("Command2")), &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(control<QPushButton>(QStringLiteral("Command1")), &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(m_command3, &QPushButton::clicked, this, [this] { Command3_Click(); });

    // In the two boxes the menu's keys win over the box's own, but for copy and paste.
    m_menuKeys = std::make_unique<MenuShortcutFilter>(
        *m_menus, QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+C")), QKeySequence(QStringLiteral("Ctrl+V"))});
    m_menuKeys->watch(m_txtvalue);
    m_menuKeys->watch(m_textval);

    // A zero timer runs once the events that came meanwhile (input, paints, posted calls) ran.
    m_nextSlice.setSingleShot(true);
    connect(&m_nextSlice, &QTimer::timeout, this, [this] { goOn(); });
    // Shows what was found while the walk waits for a folder's read.
    m_showTimer.setSingleShot(true);
    connect(&m_showTimer, &QTimer::timeout, this, [this] {
        if (!m_found.isEmpty() || !m_entered.isEmpty())
            showProgress();
    });

    // A fixed border: the window keeps its designed size.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // Disabled until File > "Search " shows it.
    setEnabled(false);
    m_txtvalue->setFocus();
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

Dig::~Dig()
{
    // The walks go before the lists they report to; their readers end on their own.
    m_runs.clear();
}

template <typename T>
T *Dig::control(const QString &name) const
{
    return centralWidget()->findChild<T *>(name, Qt::FindDirectChildrenOnly);
}

void Dig::Form_Load()
{
    setClosed(false);
}

void Dig::Command2_Click()
{
    // These take effect whether or not the texts pass the checks below.
    m_label1->show();
    QRect box = m_txtvalue->geometry();
    box.setWidth(Twips::pixels(narrowPathTwips));
    m_txtvalue->setGeometry(box);
    setStopRequested(false);
    setClosed(false);

    if (m_txtvalue->text().trimmed().isEmpty()) {
        m_services.dialogs.message(SearchMessages::enterPath());
        return;
    }
    if (m_textval->text().trimmed().size() < 3) {
        m_services.dialogs.message(SearchMessages::enterPattern());
        return;
    }
    m_searchPath = m_txtvalue->text();
    m_searchPattern = m_textval->text();

    setCursor(Qt::WaitCursor);
    m_label1->setText(SearchMessages::searching(m_searchPath.toUpper()));
    auto run = std::make_unique<Run>();
    SearchWalkHost &host = *this;
    run->walk = std::make_unique<SearchWalk>(host, m_searchPath, m_searchPattern, m_folderRead);
    m_runs.push_back(std::move(run));
    goOnSoon();
}

void Dig::Command3_Click()
{
    stopSearch([this] { m_label1->hide(); });
}

void Dig::stopSearch(std::function<void()> then)
{
    setStopRequested(true);
    // The walk goes on only after the wait: it then returns at its next test.
    auto run = std::make_unique<Run>();
    Run *waiting = run.get();
    waiting->then = std::move(then);
    waiting->wait.setSingleShot(true);
    // A coarse timer may fire up to 5% early; the wait is measured as elapsed time.
    waiting->wait.setTimerType(Qt::PreciseTimer);
    // goOn() may end the wait's run, timer included: it runs after the timer's signal.
    connect(&waiting->wait, &QTimer::timeout, this, [this, waiting] {
        waiting->waitOver = true;
        goOnSoon();
    });
    waiting->wait.start(m_timing.stopWaitMs);
    m_runs.push_back(std::move(run));
}

void Dig::goOnSoon()
{
    if (!m_nextSlice.isActive())
        m_nextSlice.start(0);
}

void Dig::goOn()
{
    // Called again from inside a summary's message box: the call showing it goes on with
    // whatever is innermost once the box is closed.
    if (m_goingOn)
        return;
    m_goingOn = true;
    m_slice.start();
    while (!m_runs.empty()) {
        if (m_services.programEnd.isEnding()) {
            // Nothing more is shown, and no summary.
            showProgress();
            m_runs.clear();
            break;
        }
        Run &run = *m_runs.back();
        if (!run.walk) {
            if (!run.waitOver)
                break;
            const std::function<void()> then = std::move(run.then);
            m_runs.pop_back();
            then();
            continue;
        }
        const SearchWalk::Step step = run.walk->step();
        if (step == SearchWalk::Step::Yield) {
            goOnSoon();
            break;
        }
        if (step == SearchWalk::Step::Wait) {
            showWhileWaiting();
            break;
        }
        const SearchCounts counts = run.walk->counts();
        m_runs.pop_back();
        searchOver(counts);
    }
    m_goingOn = false;
    if (m_runs.empty())
        Q_EMIT idle();
}

void Dig::searchOver(const SearchCounts &counts)
{
    showProgress();
    unsetCursor();
    m_services.dialogs.message(SearchMessages::summary(counts), MessageIcon::Information);
    setStopRequested(true);
}

void Dig::Command1_Click()
{
    m_list1->results().clear();
    m_list2.clear();
    m_found.clear();
}

void Dig::mnuExit_Click()
{
    const auto close = [this] {
        setClosed(true);
        Command1_Click();
        m_txtvalue->clear();
        m_textval->clear();
        hide();
    };
    // A running search stops first, and the window closes after Stop Search's wait; with none,
    // there is nothing to wait for.
    if (!m_stopRequested) {
        stopSearch([this, close] {
            m_label1->hide();
            close();
        });
    } else {
        m_label1->hide();
        close();
    }
}

void Dig::mnuCopy_Click()
{
    m_commands->Copy();
}

void Dig::mnuExecute_Click()
{
    m_commands->Run();
}

void Dig::mnuPrint_Click()
{
    m_commands->Print();
}

void Dig::mnuSelectall_Click()
{
    m_commands->SelectAll();
}

void Dig::mnuView_Click()
{
    m_commands->ViewText();
}

void Dig::List1_MouseUp(Qt::MouseButton button, const QPoint &globalPos)
{
    m_commands->mouseReleased(button, m_menus->menu(QStringLiteral("mnuPopUp1")), globalPos);
}

void Dig::closeEvent(QCloseEvent *event)
{
    // The window has no close box; a close by other means is Exit, which only hides it.
    event->ignore();
    mnuExit_Click();
}

void Dig::setStopRequested(bool stop)
{
    m_stopRequested = stop;
    m_command3->setEnabled(!stop);
}

void Dig::setClosed(bool closed)
{
    m_closed = closed;
    m_list1->setEnabled(!closed);
}

bool Dig::stopRequested() const
{
    return m_stopRequested;
}

bool Dig::closed() const
{
    return m_closed;
}

void Dig::closeSeen()
{
    m_check1->setChecked(false);
    setClosed(false);
}

bool Dig::includeSubfolders() const
{
    return m_check1->isChecked();
}

void Dig::aboutToFind(qsizetype count)
{
    // Room for a big folder's paths at once, while the lists are short: a list that grew by
    // copying a million paths would stall the window.
    const qsizetype needed = m_list2.size() + m_found.size() + count;
    if (needed <= m_list2.capacity())
        return;
    const qsizetype room = std::max(needed, 2 * m_list2.capacity());
    m_list2.reserve(room);
    m_list1->results().reserve(room);
}

void Dig::found(const QString &path)
{
    m_found.append(path);
}

void Dig::entering(const QString &folder)
{
    m_entered = folder;
}

bool Dig::sliceOver()
{
    // The slice of a yield that shows is shorter: the hand-over to the lists and their update
    // take time of their own before the window answers again.
    const bool show = showDue();
    const int sliceMs = show ? std::min(m_timing.showSliceMs, m_timing.yieldSliceMs) : m_timing.yieldSliceMs;
    if (sliceMs > 0 && m_slice.nsecsElapsed() < sliceMs * 1'000'000LL)
        return false;
    // The window answers at every yield, but is redrawn with what the walk found only a few
    // times a second: more often no one sees, and each redraw costs.
    if (show)
        showProgress();
    return true;
}

void Dig::readReady()
{
    goOnSoon();
}

void Dig::showWhileWaiting()
{
    // A wait may be long (a slow mount): what was found so far is shown when it is due.
    if (m_found.isEmpty() && m_entered.isEmpty())
        return;
    if (showDue())
        showProgress();
    else if (!m_showTimer.isActive())
        m_showTimer.start(int(std::max<qint64>(0, m_timing.showEveryMs - m_sinceShown.elapsed())));
}

bool Dig::showDue() const
{
    // A long batch would make one slow hand-over: it goes over early.
    return !m_sinceShown.isValid() || m_sinceShown.elapsed() >= m_timing.showEveryMs
        || m_found.size() >= m_timing.showRows;
}

void Dig::showProgress()
{
    m_sinceShown.start();
    // The mirror list gets each path at the same moment as the result list.
    m_list1->results().append(m_found);
    m_list2.append(m_found);
    // Keeps its capacity for the next batch.
    m_found.clear();
    if (!m_entered.isEmpty()) {
        m_label1->setText(SearchMessages::searching(m_entered));
        m_entered.clear();
    }
}
