#include "FormFixture.h"

#include "app/MainMenus.h"
#include "app/MenuTable.h"
#include "panes/FileList.h"
#include "panes/FileListRows.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

// One pane's state, written per pane separated by "|":
//   "-"          files listed, no current item, nothing selected (right after a refresh)
//   "empty"      a folder without files
//   "c2 s0 s2"   current item 2, items 0 and 2 selected
struct PaneState
{
    bool empty = false;
    int current = -1;
    QList<int> selected;
};

QList<PaneState> parseStates(const QString &text)
{
    QList<PaneState> states;
    for (const QString &pane : text.split(QLatin1Char('|'))) {
        PaneState state;
        for (const QString &token : pane.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (token == QLatin1String("empty"))
                state.empty = true;
            else if (token.startsWith(QLatin1Char('c')))
                state.current = token.mid(1).toInt();
            else if (token.startsWith(QLatin1Char('s')))
                state.selected << token.mid(1).toInt();
        }
        states << state;
    }
    return states;
}

QList<int> allRows(const FileList &list)
{
    QList<int> rows;
    for (int row = 0; row < list.listCount(); ++row)
        rows << row;
    return rows;
}

} // namespace

class TestSelectAll : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        m_app = std::make_unique<FormFixture>();
        m_files = std::make_unique<TestDir>();
        for (const char *name : {"a.txt", "b.txt", "c.txt", "d.htm"})
            m_files->createFile(QLatin1String(name));
        m_empty = std::make_unique<TestDir>();
        m_app->start();
    }
    void cleanup()
    {
        m_clicks.clear();
        m_app.reset();
        m_files.reset();
        m_empty.reset();
    }

    void fileMenuPicksThePane_data()
    {
        QTest::addColumn<QString>("states");
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("chosen"); // 0: nobody passes
        QTest::newRow("the pane with a clicked file") << "-|-|c2 s2|-|-" << 5 << 3;
        QTest::newRow("an empty list never passes") << "empty|-|-|c0 s0|-" << 5 << 4;
        QTest::newRow("the lower of two panes") << "-|c0 s0|c1 s1|-|-" << 5 << 2;
        QTest::newRow("current item 0 unselected fails") << "c0|c1|-|-|-" << 5 << 2;
        QTest::newRow("a later current item passes with nothing selected") << "-|-|-|-|c3" << 5 << 5;
        QTest::newRow("item 0 selected without a current item") << "-|-|s0|-|-" << 5 << 3;
        QTest::newRow("a hidden pane is tried too") << "-|-|-|c2|-" << 2 << 4;
        QTest::newRow("all selected already") << "c3 s0 s1 s2 s3|-|-|-|-" << 5 << 1;
        QTest::newRow("nobody passes") << "c0|-|empty|s1|-" << 5 << 0;
    }
    void fileMenuPicksThePane()
    {
        QFETCH(QString, states);
        QFETCH(int, layout);
        QFETCH(int, chosen);
        setUp(parseStates(states));
        if (layout != 5)
            form().menus().action(QStringLiteral("DeskTop%1").arg(layout))->trigger();
        const Snapshot before = snapshot();
        if (chosen == 0)
            m_app->services.dialogs.answerMessage(MessageAnswer::Ok);

        form().menus().action(QStringLiteral("mnuSelectAll0"))->trigger();

        const QStringList asked = m_app->services.dialogs.messageTexts();
        QCOMPARE(asked, chosen == 0 ? QStringList{QStringLiteral("Please select a file first")} : QStringList());
        if (chosen == 0) {
            const MessageRequest request = m_app->services.dialogs.messages().first();
            QCOMPARE(request.buttons, MessageButtons::Ok);
            QCOMPARE(request.title, QStringLiteral("Panoptra"));
        }
        checkOnlyPaneSelectedAll(before, chosen);
    }

    void popupSelectsItsOwnPane_data()
    {
        QTest::addColumn<int>("pane");
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("selects");
        QTest::newRow("pane 2 after a refresh") << 2 << "-" << true;
        QTest::newRow("pane 4 after a refresh does nothing") << 4 << "-" << false;
        QTest::newRow("pane 4 with current item 0 unselected") << 4 << "c0" << false;
        QTest::newRow("pane 4 with a later current item") << 4 << "c2" << true;
        QTest::newRow("pane 5 after item 0 was clicked") << 5 << "c0 s0" << true;
        QTest::newRow("pane 5 with an empty list") << 5 << "empty" << false;
        QTest::newRow("pane 1 with an empty list") << 1 << "empty" << false;
    }
    void popupSelectsItsOwnPane()
    {
        QFETCH(int, pane);
        QFETCH(QString, state);
        QFETCH(bool, selects);
        QList<PaneState> states(5);
        states[pane - 1] = parseStates(state).first();
        // Another pane holds a selection: the pop-up never looks at it.
        const int other = pane == 3 ? 1 : 3;
        states[other - 1] = parseStates(QStringLiteral("c1 s1")).first();
        setUp(states);
        const Snapshot before = snapshot();

        form().menus().action(paneItemName(PaneCommand::SelectAll, pane))->trigger();

        QVERIFY(m_app->services.dialogs.messages().isEmpty());
        checkOnlyPaneSelectedAll(before, selects ? pane : 0);
    }

    void ctrlAInAFileListRunsTheMenuCommand()
    {
        QList<PaneState> states(5);
        states[1] = parseStates(QStringLiteral("c1 s1")).first();
        setUp(states);
        form().show();
        QApplication::setActiveWindow(&form());
        QVERIFY(QTest::qWaitForWindowActive(&form()));
        FileList *list = form().board().pane(4).fileList();
        list->setFocus();
        QTRY_VERIFY(list->hasFocus());
        const Snapshot before = snapshot();
        QSignalSpy triggered(form().menus().action(QStringLiteral("mnuSelectAll0")), &QAction::triggered);
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(triggered.size(), 1);
        checkOnlyPaneSelectedAll(before, 2);
    }

private:
    struct Snapshot
    {
        QList<QList<int>> selected;
        QList<int> counts;
        QList<int> current;
        QString text7;
    };

    Form1 &form() { return *m_app->form; }

    void setUp(const QList<PaneState> &states)
    {
        PaneBoard &board = form().board();
        board.fileListClick(5);
        for (int n = 1; n <= 5; ++n) {
            const PaneState &state = states.at(n - 1);
            board.pane(n).folderList()->setPath(state.empty ? m_empty->path() : m_files->path());
            FileList *list = board.pane(n).fileList();
            list->setListIndex(state.current);
            for (int row = 0; row < list->listCount(); ++row)
                list->setSelected(row, state.selected.contains(row));
            m_clicks.append(std::make_shared<QSignalSpy>(list, &FileList::clicked));
        }
    }

    Snapshot snapshot()
    {
        Snapshot s;
        for (int n = 1; n <= 5; ++n) {
            const FileList &list = *form().board().pane(n).fileList();
            s.selected << selectedRows(list);
            s.counts << list.listCount();
            s.current << list.listIndex();
        }
        s.text7 = form().board().text7()->text();
        return s;
    }

    // Pane chosen has every file selected; every other pane, the lists' contents and current
    // items, and Text7 are as they were; no list raised a click.
    void checkOnlyPaneSelectedAll(const Snapshot &before, int chosen)
    {
        const Snapshot after = snapshot();
        for (int n = 1; n <= 5; ++n) {
            const FileList &list = *form().board().pane(n).fileList();
            const QList<int> expected = n == chosen ? allRows(list) : before.selected.at(n - 1);
            QVERIFY2(after.selected.at(n - 1) == expected, qPrintable(QStringLiteral("pane %1").arg(n)));
            QCOMPARE(m_clicks.at(n - 1)->count(), 0);
        }
        QCOMPARE(after.counts, before.counts);
        QCOMPARE(after.current, before.current);
        QCOMPARE(after.text7, before.text7);
    }

    std::unique_ptr<FormFixture> m_app;
    std::unique_ptr<TestDir> m_files;
    std::unique_ptr<TestDir> m_empty;
    QList<std::shared_ptr<QSignalSpy>> m_clicks;
};

QTEST_MAIN(TestSelectAll)
#include "tst_selectall.moc"
