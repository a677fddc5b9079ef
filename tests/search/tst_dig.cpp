#include "platform/Twips.h"
#include "search/DigFixture.h"
#include "search/HeldReads.h"
#include "search/ResultListModel.h"
#include "support/TestCase.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>


namespace {
const QString enterPath = QStringLiteral("Please enter Drive name with \":\\\" and Folder name");
const QString enterPattern = QStringLiteral("Please enter complete filename (Example(*.exe),(filename.ext)");

// A folder with five *.txt files (two of them hidden), a subfolder named like a match, and two
// more subfolders: one *.txt file in each of the three.
void makeTree(TestDir &tree)
{
    for (const char *name : {"a.txt", "B.TXT", "c.txt", ".h1.txt", ".h2.txt", "notes.doc", "d.txt/in-d.txt",
                              "m/m.txt", "Z/z.txt", "Z/z.doc"})
        tree.createFile(QString::fromLatin1(name));
}

// A folder with one match whose subfolder "held" is never read, as on a stuck network mount
// (with held's reads).
void makeHeldTree(TestDir &tree)
{
    tree.createFile(QStringLiteral("a.txt"));
    tree.createFile(QStringLiteral("held/never.txt"));
}
} // namespace

// The search window: its checks, its walk through a real tree, and the commands that end or
// empty a search.
class TestDig : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void searchesTree_data();
    void searchesTree();
    void inputChecks_data();
    void inputChecks();
    void twoSearchesAppend();
    void stopDuringWalk();
    void exitDuringWalk();
    void nestedSearch();
    void clearDuringWalk();
    void listsShowFoundPathsTogether();
    void longBatchShowsEarly_data();
    void longBatchShowsEarly();
    void programEndDuringWalk();
    void stuckReadHoldsNothingUp_data();
    void stuckReadHoldsNothingUp();
    void commandsReturnAtOnce_data();
    void commandsReturnAtOnce();
    void windowGoneDuringAWait();
    void keysInTheBoxes_data();
    void keysInTheBoxes();
    void windowDesign();
    void closeByWindowManagerIsExit();
    void resultsForCopyBatch();
};

void TestDig::searchesTree_data()
{
    QTest::addColumn<QString>("path"); // "" for the tree itself
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("subfolders");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("summary");

    const QStringList top{".h1.txt", ".h2.txt", "a.txt", "B.TXT", "c.txt"};
    QTest::newRow("box unticked: the folder's own files, hidden ones too")
        << "" << "*.txt" << false << top << " 5 files found in 1 directories";
    QTest::newRow("box ticked: the folder's files, then each subfolder's in sorted order")
        << "" << "*.txt" << true << (top + QStringList{"d.txt/in-d.txt", "m/m.txt", "Z/z.txt"})
        << " 8 files found in 4 directories";
    QTest::newRow("an exact name, in any case") << "" << "C.TXT" << true << QStringList{"c.txt"}
                                                << " 1 files found in 4 directories";
    QTest::newRow("*.* is every file") << "Z" << "*.*" << false << QStringList{"Z/z.doc", "Z/z.txt"}
                                       << " 2 files found in 1 directories";
    QTest::newRow("a path ending in a slash") << "Z/" << "*.doc" << false << QStringList{"Z/z.doc"}
                                              << " 1 files found in 1 directories";
    QTest::newRow("no match") << "" << "*.xyz" << false << QStringList() << " 0 files found in 1 directories";
    QTest::newRow("no match, box ticked") << "" << "*.xyz" << true << QStringList() << " 0 files found in 4 directories";
    QTest::newRow("missing path") << "missing" << "*.txt" << false << QStringList()
                                  << " 0 files found in 1 directories";
    QTest::newRow("missing path, box ticked") << "missing" << "*.txt" << true << QStringList()
                                              << " 0 files found in 1 directories";
    QTest::newRow("relative path") << "@m" << "*.txt" << true << QStringList() << " 0 files found in 1 directories";
    QTest::newRow("pattern with a semicolon is one pattern") << "" << "*.txt;*" << true << QStringList()
                                                             << " 0 files found in 4 directories";
}

void TestDig::searchesTree()
{
    QFETCH(QString, path);
    QFETCH(QString, pattern);
    QFETCH(bool, subfolders);
    QFETCH(QStringList, expected);
    QFETCH(QString, summary);

    TestDir tree;
    makeTree(tree);
    DigFixture f;
    const QString typed = path.startsWith(QLatin1Char('@')) ? path.mid(1) : tree.filePath(path);
    f.start(typed, pattern, subfolders);

    QCOMPARE(f.listed(tree), expected);
    QCOMPARE(f.dig().List2(), f.entries());
    QCOMPARE(f.messages(), QStringList{summary});
    QCOMPARE(f.test.dialogs.messages().first().icon, MessageIcon::Information);
    QVERIFY(!f.dig().Command3()->isEnabled());
    // The status line stays, showing where the walk went last.
    QVERIFY(f.dig().Label1()->isVisible());
    QVERIFY(f.dig().Label1()->text().startsWith(QStringLiteral("Searching \r\n")));
}

void TestDig::inputChecks_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("message"); // "" when the search runs

    QTest::newRow("empty path") << "" << "*.txt" << enterPath;
    QTest::newRow("path of blanks, whatever the pattern") << "   " << "" << enterPath;
    QTest::newRow("one star") << "@" << "*" << enterPattern;
    QTest::newRow("two letters") << "@" << "ab" << enterPattern;
    QTest::newRow("two letters among blanks") << "@" << "  ab  " << enterPattern;
    QTest::newRow("three characters are searched") << "@" << "a.b" << "";
    QTest::newRow("star dot star is searched") << "@" << "*.*" << "";
    QTest::newRow("the root is searched") << "/" << "no-such-file-here.none" << "";
}

void TestDig::inputChecks()
{
    QFETCH(QString, path);
    QFETCH(QString, pattern);
    QFETCH(QString, message);

    TestDir tree;
    tree.createFile(QStringLiteral("a.b"));
    DigFixture f;
    f.start(path == QLatin1String("@") ? tree.path() : path, pattern, false);

    // The first steps of Start Search take effect whether or not a check refuses.
    QCOMPARE(f.dig().txtvalue()->width(), Twips::pixels(2500));
    QVERIFY(f.dig().Label1()->isVisible());
    if (message.isEmpty()) {
        QCOMPARE(f.messages().size(), 1);
        QVERIFY(f.messages().first().endsWith(QStringLiteral(" directories")));
        QVERIFY(!f.dig().Command3()->isEnabled());
    } else {
        QCOMPARE(f.messages(), QStringList{message});
        QCOMPARE(f.dig().List1()->count(), 0);
        // A refused search leaves Stop Search enabled although nothing runs.
        QVERIFY(f.dig().Command3()->isEnabled());
    }
}

void TestDig::twoSearchesAppend()
{
    TestDir tree;
    makeTree(tree);
    DigFixture f;
    f.start(tree.filePath(QStringLiteral("Z")), QStringLiteral("*.txt"), false);
    f.start(tree.path(), QStringLiteral("*.txt"), true);
    f.start(tree.filePath(QStringLiteral("m")), QStringLiteral("*.txt"), false);

    QCOMPARE(f.listed(tree), (QStringList{"Z/z.txt", ".h1.txt", ".h2.txt", "a.txt", "B.TXT", "c.txt", "d.txt/in-d.txt",
                                          "m/m.txt", "Z/z.txt", "m/m.txt"}));
    QCOMPARE(f.dig().List2(), f.entries());
    QCOMPARE(f.messages(), (QStringList{" 1 files found in 1 directories", " 8 files found in 4 directories",
                                        " 1 files found in 1 directories"}));
}

void TestDig::stopDuringWalk()
{
    TestDir tree;
    makeTree(tree);
    DigFixture f;
    f.duringWalk(2, [&f] { f.dig().Command3_Click(); });
    f.start(tree.path(), QStringLiteral("*.txt"), true);

    QCOMPARE(f.listed(tree), (QStringList{".h1.txt", ".h2.txt"}));
    QCOMPARE(f.messages(), QStringList{" 2 files found in 1 directories"});
    QVERIFY(!f.dig().Label1()->isVisible());
    QVERIFY(!f.dig().Command3()->isEnabled());
}

void TestDig::exitDuringWalk()
{
    TestDir tree;
    makeTree(tree);
    DigFixture f;
    f.duringWalk(3, [&f] { f.dig().mnuExit_Click(); });
    f.start(tree.path(), QStringLiteral("*.txt"), true);

    // The summary still comes, with the counts reached, while the window is hidden.
    QCOMPARE(f.messages(), QStringList{" 3 files found in 1 directories"});
    QVERIFY(!f.dig().isVisible());
    QCOMPARE(f.dig().List1()->count(), 0);
    QVERIFY(f.dig().List2().isEmpty());
    QVERIFY(f.dig().Check1()->isChecked());

    // The next opening shows empty boxes and an empty, disabled list...
    f.search.mnuSearchFor_Click();
    QVERIFY(f.dig().isVisible());
    QCOMPARE(f.dig().txtvalue()->text(), QString());
    QCOMPARE(f.dig().textval()->text(), QString());
    QVERIFY(!f.dig().List1()->isEnabled());
    // ...which Start Search enables, refusing the empty path.
    f.dig().Command2_Click();
    QVERIFY(f.dig().List1()->isEnabled());
    QCOMPARE(f.messages().last(), enterPath);
}

void TestDig::nestedSearch()
{
    TestDir tree;
    makeTree(tree);
    DigFixture f;
    f.duringWalk(1, [&] { f.press(tree.filePath(QStringLiteral("Z")), QStringLiteral("z.*"), false); });
    f.start(tree.path(), QStringLiteral("*.txt"), true);

    // The second search runs inside the first and appends to the same lists; the first then
    // ends at its next test, each with its own summary.
    QCOMPARE(f.listed(tree), (QStringList{".h1.txt", "Z/z.doc", "Z/z.txt"}));
    QCOMPARE(f.dig().List2(), f.entries());
    QCOMPARE(f.messages(), (QStringList{" 2 files found in 1 directories", " 1 files found in 1 directories"}));
    QVERIFY(!f.dig().Command3()->isEnabled());
}

void TestDig::clearDuringWalk()
{
    TestDir tree;
    makeTree(tree);
    DigFixture f;
    f.duringWalk(2, [&f] { f.dig().Command1_Click(); });
    f.start(tree.path(), QStringLiteral("*.txt"), true);

    QCOMPARE(f.listed(tree), (QStringList{"a.txt", "B.TXT", "c.txt", "d.txt/in-d.txt", "m/m.txt", "Z/z.txt"}));
    QCOMPARE(f.dig().List2(), f.entries());
    QCOMPARE(f.messages(), QStringList{" 8 files found in 4 directories"});
}

void TestDig::listsShowFoundPathsTogether()
{
    TestDir tree;
    makeTree(tree);
    // Yields after every entry, but shows what it found only at the first yield and at the end.
    DigFixture f(DigTiming{0, 60 * 1000, 0});
    QList<QPair<int, qsizetype>> seen;
    f.duringWalk(1, [&] {
        seen.append({f.dig().List1()->count(), f.dig().List2().size()});
        QTimer::singleShot(0, &f.dig(), [&] {
            seen.append({f.dig().List1()->count(), f.dig().List2().size()});
            f.dig().Command1_Click();
        });
    });
    f.start(tree.path(), QStringLiteral("*.txt"), true);

    // Found but not yet shown is in neither list, and Clear Results drops it too.
    QCOMPARE(seen, (QList<QPair<int, qsizetype>>{{1, 1}, {1, 1}}));
    QCOMPARE(f.listed(tree), (QStringList{"a.txt", "B.TXT", "c.txt", "d.txt/in-d.txt", "m/m.txt", "Z/z.txt"}));
    QCOMPARE(f.dig().List2(), f.entries());
    QCOMPARE(f.messages(), QStringList{" 8 files found in 4 directories"});
}

void TestDig::longBatchShowsEarly_data()
{
    QTest::addColumn<int>("showRows");
    QTest::addColumn<QList<int>>("batches");
    // The first yield shows, then nothing until the end unless enough paths wait.
    QTest::newRow("few wait") << 2000 << QList<int>{1, 7};
    QTest::newRow("three wait") << 3 << QList<int>{1, 3, 3, 1};
}

void TestDig::longBatchShowsEarly()
{
    QFETCH(int, showRows);
    QFETCH(QList<int>, batches);
    TestDir tree;
    makeTree(tree);
    DigFixture f(DigTiming{0, 60 * 1000, 0, 0, showRows});
    QList<int> inserted;
    QObject::connect(&f.dig().List1()->results(), &QAbstractItemModel::rowsInserted, &f.dig(),
                     [&inserted](const QModelIndex &, int first, int last) { inserted.append(last - first + 1); });
    f.start(tree.path(), QStringLiteral("*.txt"), true);

    QCOMPARE(inserted, batches);
    QCOMPARE(f.dig().List2(), f.entries());
    QCOMPARE(f.messages(), QStringList{" 8 files found in 4 directories"});
}

void TestDig::programEndDuringWalk()
{
    TestDir tree;
    makeTree(tree);
    DigFixture f;
    f.duringWalk(1, [&f] { f.test.programEnd.endNow(); });
    f.start(tree.path(), QStringLiteral("*.txt"), true);

    QCOMPARE(f.listed(tree), QStringList{".h1.txt"});
    QVERIFY(f.messages().isEmpty());
}

void TestDig::stuckReadHoldsNothingUp_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("Stop Search") << "stop";
    QTest::newRow("Exit") << "exit";
    QTest::newRow("the program's end") << "end";
}

void TestDig::stuckReadHoldsNothingUp()
{
    QFETCH(QString, command);
    TestDir tree;
    makeHeldTree(tree);
    tree.createFile(QStringLiteral("later/b.txt"));
    HeldReads held(QStringLiteral("held"));
    // Stop Search waits its full second, as in the program.
    auto f = std::make_unique<DigFixture>(DigTiming{0, 0, 1000}, ResultLinks(), held.read());
    QElapsedTimer search;
    search.start();
    QElapsedTimer sincePressed;
    QTimer::singleShot(2000, Qt::PreciseTimer, &f->dig(), [&] {
        sincePressed.start();
        if (command == QLatin1String("stop"))
            f->dig().Command3_Click();
        else if (command == QLatin1String("exit"))
            f->dig().mnuExit_Click();
        else
            f->test.programEnd.endNow();
    });
    f->start(tree.path(), QStringLiteral("*.txt"), true);
    const qint64 answeredMs = sincePressed.elapsed();
    // Nothing waits for the read left behind, not even the window's end.
    f.reset();
    const qint64 goneMs = sincePressed.elapsed();

    QVERIFY2(search.elapsed() >= 2000, "the search ended before the command");
    QVERIFY2(answeredMs < 1500, qPrintable(QString::number(answeredMs)));
    QVERIFY2(goneMs < 1500, qPrintable(QString::number(goneMs)));
}

void TestDig::commandsReturnAtOnce_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("Stop Search") << "stop";
    QTest::newRow("Exit") << "exit";
}

void TestDig::commandsReturnAtOnce()
{
    QFETCH(QString, command);
    TestDir tree;
    makeHeldTree(tree);
    HeldReads held(QStringLiteral("held"));
    DigFixture f(DigTiming{0, 0, 200}, ResultLinks(), held.read());

    // Start Search returns before its search is over...
    f.press(tree.path(), QStringLiteral("*.txt"), true);
    QVERIFY(f.dig().isBusy());
    QVERIFY(f.messages().isEmpty());
    QVERIFY(QTest::qWaitFor([&] { return f.dig().List1()->count() == 1; }));

    // ...and Stop Search and Exit before their second: the window is as it was during it.
    if (command == QLatin1String("stop"))
        f.dig().Command3_Click();
    else
        f.dig().mnuExit_Click();
    QVERIFY(!f.dig().Command3()->isEnabled());
    QVERIFY(f.dig().Label1()->isVisible());
    QVERIFY(f.dig().isVisible());
    QVERIFY(f.messages().isEmpty());

    // The wait ends, then the search, with its summary.
    f.waitUntilIdle();
    QVERIFY(!f.dig().isBusy());
    QVERIFY(!f.dig().Label1()->isVisible());
    QCOMPARE(f.dig().isVisible(), command == QLatin1String("stop"));
    QCOMPARE(f.messages(), QStringList{" 1 files found in 1 directories"});
}

void TestDig::windowGoneDuringAWait()
{
    TestDir tree;
    makeHeldTree(tree);
    HeldReads held(QStringLiteral("held"));
    auto f = std::make_unique<DigFixture>(DigTiming{0, 0, 100}, ResultLinks(), held.read());
    f->press(tree.path(), QStringLiteral("*.txt"), true);
    QVERIFY(QTest::qWaitFor([&] { return f->dig().List1()->count() == 1; }));
    f->dig().Command3_Click();

    // The window goes while its search waits for a read and Stop Search for its second: nothing
    // of it is left to run.
    QSignalSpy destroyed(&f->dig(), &QObject::destroyed);
    f.reset();
    QCOMPARE(destroyed.size(), 1);
    QTest::qWait(300);
    held.release();
    QTest::qWait(100);
}

void TestDig::keysInTheBoxes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("exits"); // else the box copies or pastes

    for (const char *box : {"txtvalue", "textval"}) {
        QTest::addRow("Ctrl+X in %s is Exit", box) << box << int(Qt::Key_X) << true;
        QTest::addRow("Ctrl+C in %s copies the box's text", box) << box << int(Qt::Key_C) << false;
        QTest::addRow("Ctrl+V in %s pastes into the box", box) << box << int(Qt::Key_V) << false;
    }
}

void TestDig::keysInTheBoxes()
{
    QFETCH(QString, box);
    QFETCH(int, key);
    QFETCH(bool, exits);
    DigFixture f;
    QLineEdit *edit = f.dig().findChild<QLineEdit *>(box);
    QVERIFY(edit);
    edit->setText(QStringLiteral("typed"));
    edit->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    f.dig().activateWindow();
    edit->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&f.dig()));

    QTest::keyClick(edit, Qt::Key(key), Qt::ControlModifier);

    QCOMPARE(f.dig().isVisible(), !exits);
    if (exits) {
        // Exit empties the box; a cut would have put its text on the clipboard.
        QCOMPARE(edit->text(), QString());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("pasted"));
    } else if (key == Qt::Key_C) {
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("typed"));
    } else {
        QCOMPARE(edit->text(), QStringLiteral("pasted"));
    }
}

void TestDig::windowDesign()
{
    TestServices test;
    DeepSearch search(test.services());
    Dig *dig = search.window().get();
    // Created disabled and hidden; File > "Search " enables and shows it.
    QVERIFY(!dig->isEnabled());
    QVERIFY(!dig->isVisible());
    search.mnuSearchFor_Click();
    QVERIFY(dig->isEnabled());
    QVERIFY(dig->isVisible());
    QCOMPARE(search.window().get(), dig);

    QCOMPARE(dig->windowTitle(), QStringLiteral("Search"));
    QVERIFY(!(dig->windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(dig->windowFlags() & Qt::WindowSystemMenuHint));
    QCOMPARE(dig->centralWidget()->size(), Twips::size(9135, 4500));
    QCOMPARE(dig->txtvalue()->text(), QStringLiteral("/"));
    QVERIFY(!dig->Command3()->isEnabled());
    QVERIFY(!dig->Label1()->isVisible());

    auto *label3 = dig->findChild<QLabel *>(QStringLiteral("Label3"));
    QCOMPARE(label3->toolTip(), QStringLiteral("Wildcard or exact file name"));
    QCOMPARE(label3->text().size(), 65);
    QVERIFY(dig->textval()->toolTip().isEmpty());

    // Tab order: path, pattern, Start, Clear, the list, the box, Stop.
    const QStringList order{"textval", "Command2", "Command1", "List1", "Check1", "Command3", "txtvalue"};
    QWidget *widget = dig->txtvalue();
    for (const QString &name : order) {
        widget = widget->nextInFocusChain();
        while (widget->focusPolicy() == Qt::NoFocus || !widget->isVisibleTo(dig))
            widget = widget->nextInFocusChain();
        QCOMPARE(widget->objectName(), name);
    }

    // The result commands' items are there; the pop-up root is not in the menu bar.
    QCOMPARE(dig->menus().menu(QStringLiteral("mnuPopUp1"))->actions().size(), 4);
    QVERIFY(!dig->menus().action(QStringLiteral("mnuPopUp1"))->isVisible());
    QCOMPARE(dig->menus().action(QStringLiteral("mnuExit"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
}

void TestDig::closeByWindowManagerIsExit()
{
    TestDir tree;
    makeTree(tree);
    DigFixture f;
    f.start(tree.path(), QStringLiteral("*.txt"), false);
    QVERIFY(f.dig().List1()->count() > 0);

    QVERIFY(!f.dig().close());

    // The window stays loaded: hidden, with its lists and boxes emptied.
    QVERIFY(f.search.window().isLoaded());
    QVERIFY(!f.dig().isVisible());
    QCOMPARE(f.dig().List1()->count(), 0);
    QCOMPARE(f.dig().txtvalue()->text(), QString());
    QVERIFY(!f.dig().Label1()->isVisible());
}

void TestDig::resultsForCopyBatch()
{
    TestServices test;
    test.dialogs.acceptAllMessages();
    DeepSearch search(test.services(), DigTiming{0, 0, 0});
    // Not loaded: an empty list, and emptying it loads the window without showing it.
    QCOMPARE(search.count(), 0);
    QCOMPARE(search.entry(0), QString());
    search.clear();
    QVERIFY(search.window().isLoaded());
    QVERIFY(!search.window().get()->isVisible());

    TestDir tree;
    makeTree(tree);
    Dig &dig = *search.window().get();
    dig.txtvalue()->setText(tree.filePath(QStringLiteral("Z")));
    dig.textval()->setText(QStringLiteral("*.*"));
    QSignalSpy over(&dig, &Dig::idle);
    dig.Command2_Click();
    QVERIFY(over.wait(30 * 1000));
    dig.List1()->selectionModel()->select(dig.List1()->model()->index(1, 0), QItemSelectionModel::Select);

    QCOMPARE(search.count(), 2);
    QCOMPARE(search.entry(1), tree.filePath(QStringLiteral("Z/z.txt")));
    QVERIFY(!search.isSelected(0));
    QVERIFY(search.isSelected(1));
    // A paste of the batch empties the result list only, not the mirror list.
    search.clear();
    QCOMPARE(search.count(), 0);
    QCOMPARE(dig.List2().size(), 2);
}

QTEST_MAIN(TestDig)
#include "tst_dig.moc"
