#pragma once

#include "platform/ui/FormDesign.h"
#include "platform/ui/MenuTree.h"
#include "search/ResultCommands.h"
#include "search/SearchWalk.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class MenuShortcutFilter;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ResultList;
struct Services;

// How long the search window's steps take: the walk yields at most every yieldSliceMs of work
// (0: after every entry), shows what it found and where it is at most every showEveryMs (0: at
// every yield, and earlier once showRows paths wait), and Stop Search waits stopWaitMs before
// the walk may go on. A yield that shows ends its slice after showSliceMs, so that the slice and
// the lists' update after it still fit in about one slice.
struct DigTiming
{
    int yieldSliceMs = 6;
    int showEveryMs = 100;
    int stopWaitMs = 1000;
    int showSliceMs = 3;
    int showRows = 2000;
};

// The deep search window. It finds the files whose names match a pattern in a folder and, when
// Check1 is ticked, in all of its subfolders, and lists their full paths in List1 (and in the
// mirror list). Start Search begins a search, which then goes on in slices from the window's
// event loop, so every command stays usable during it: Stop Search and Exit end it through two
// flags, which the window shows as it was designed to (Stop Search disabled: stop; the result
// list disabled: closed), and a second Start Search runs a nested search into the same lists.
//
// No command waits in an event loop of its own. What would be a call inside a call (a search
// started during a search, the second that Stop Search waits during a search) is a stack of
// runs: only the innermost goes on, and the one below it resumes once it is over, as the outer
// call would return to where it was. So each command returns at once, and nothing is left
// running over a window that is gone.
//
// The window is created disabled; File > "Search " enables and shows it. It has no close box,
// and a close by the window manager is Exit: the window hides and keeps its place.
class Dig : public QMainWindow, private SearchWalkHost
{
    Q_OBJECT

public:
    // read: how the walk reads a folder (SearchWalk::readFolder unless given).
    explicit Dig(Services &services, const DigTiming &timing = DigTiming(), ResultLinks links = ResultLinks(),
                 SearchFolderRead read = SearchFolderRead());
    ~Dig() override;

    static const FormDesign &design();
    static const QList<MenuEntry> &menuTable();

    void Form_Load();
    // Start Search.
    void Command2_Click();
    // Stop Search.
    void Command3_Click();
    // Clear Results.
    void Command1_Click();
    void mnuExit_Click();
    // The result commands; the pop-up's items run the same ones.
    void mnuCopy_Click();
    void mnuExecute_Click();
    void mnuPrint_Click();
    void mnuSelectall_Click();
    void mnuView_Click();
    // A mouse button released over the result list.
    void List1_MouseUp(Qt::MouseButton button, const QPoint &globalPos);

    QLineEdit *txtvalue() const { return m_txtvalue; }
    QLineEdit *textval() const { return m_textval; }
    QCheckBox *Check1() const { return m_check1; }
    QLabel *Label1() const { return m_label1; }
    QPushButton *Command3() const { return m_command3; }
    ResultList *List1() const { return m_list1; }
    // The mirror list (List2): every path found since the lists were last emptied here.
    const QStringList &List2() const { return m_list2; }
    const MenuTree &menus() const { return *m_menus; }
    // A search, or a wait of Stop Search, is still going on.
    bool isBusy() const { return !m_runs.empty(); }

Q_SIGNALS:
    // The last search and the last wait of Stop Search are over (or the program is ending).
    void idle();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    template <typename T> T *control(const QString &name) const;
    // Puts the paths found since the last call into both lists, and the folder the walk is in
    // on the status line.
    void showProgress();
    // Whether the next yield shows what was found.
    bool showDue() const;
    // The two flags, written through to Stop Search and the result list.
    void setStopRequested(bool stop);
    void setClosed(bool closed);

    // One search or one wait of Stop Search.
    struct Run;
    // Stop Search: then runs when its wait is over.
    void stopSearch(std::function<void()> then);
    // Goes on with the innermost run, and with the ones below it as each ends.
    void goOn();
    void goOnSoon();
    // The end of a search: its summary.
    void searchOver(const SearchCounts &counts);
    // The walk waits for a read: what it found meanwhile is shown when due.
    void showWhileWaiting();

    // SearchWalkHost
    bool stopRequested() const override;
    bool closed() const override;
    void closeSeen() override;
    bool includeSubfolders() const override;
    void aboutToFind(qsizetype count) override;
    void found(const QString &path) override;
    void entering(const QString &folder) override;
    bool sliceOver() override;
    void readReady() override;

    Services &m_services;
    DigTiming m_timing;
    SearchFolderRead m_folderRead;
    QLineEdit *m_txtvalue;
    QLineEdit *m_textval;
    QCheckBox *m_check1;
    QLabel *m_label1;
    QPushButton *m_command3;
    ResultList *m_list1;
    QStringList m_list2;
    // No search to stop until Start Search runs one.
    bool m_stopRequested = true;
    // Exit was pressed: the walks still running end at their next yield.
    bool m_closed = false;
    std::unique_ptr<MenuTree> m_menus;
    std::unique_ptr<MenuShortcutFilter> m_menuKeys;
    std::unique_ptr<ResultCommands> m_commands;
    // The texts of the last search that passed its checks.
    QString m_searchPath;
    QString m_searchPattern;
    // The running searches and waits, the innermost last.
    std::vector<std::unique_ptr<Run>> m_runs;
    // goOn() is running (a summary's message box lets events run): it goes on by itself.
    bool m_goingOn = false;
    // Starts the next slice once pending events have run.
    QTimer m_nextSlice;
    // The slice going on now.
    QElapsedTimer m_slice;
    QElapsedTimer m_sinceShown;
    QTimer m_showTimer;
    // Found and entered, not shown yet: not in the lists until the next showProgress().
    QStringList m_found;
    QString m_entered;
};
