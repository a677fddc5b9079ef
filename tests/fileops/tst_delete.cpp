#include "fileops/BatchMessages.h"
#include "fileops/BoardFixture.h"
#include "platform/ui/QtDialogs.h"
#include "support/TestCase.h"

#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QProcessEnvironment>
#include <QScreen>
#include <QTimer>

namespace {
// Runs a trash-cli command against the test's trash.
QString trashCli(const TestServices &test, const QString &program, const QStringList &arguments,
                 const QByteArray &input = QByteArray())
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), test.dataHome());
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForStarted())
        return QStringLiteral("(could not start %1)").arg(program);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The original paths trash-list names that lie in folder, sorted. trash-list also reads the
// trash of every other mounted volume, where tests running beside this one may trash files.
QStringList trashedPaths(const TestServices &test, const QString &folder)
{
    QStringList paths;
    const QStringList lines = trashCli(test, QStringLiteral("trash-list"), {}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const QString path = line.section(QLatin1Char(' '), 2); // "date time path"
        if (path.startsWith(folder + QLatin1Char('/')))
            paths << path;
    }
    paths.sort();
    return paths;
}

QStringList paths(const QString &folder, const QStringList &names)
{
    QStringList result;
    for (const QString &name : names)
        result << folder + QLatin1Char('/') + name;
    return result;
}

// Notes "pane:busy|closed" at each refresh of a file list: which list, and whether the busy
// window was still loaded then.
void recordRefreshes(BoardFixture &f, QStringList &refreshes)
{
    for (int n = 1; n <= PaneCount; ++n) {
        QObject::connect(f.fileList(n)->model(), &QAbstractItemModel::modelReset, f.fileList(n), [&f, &refreshes, n] {
            refreshes << QStringLiteral("%1:%2").arg(n).arg(f.standby.isLoaded() ? "busy" : "closed");
        });
    }
}

const QStringList abc{QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")};
} // namespace

// Delete: the selected files of a pane go to the real trash behind the busy window.
class TestDelete : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void trashesSelectionBehindBusyWindow();
    void refreshOrder_data();
    void refreshOrder();
    void refusedFilesStayAndAreNamed_data();
    void refusedFilesStayAndAreNamed();
    void longRefusedListIsCut_data();
    void longRefusedListIsCut();
    void noCurrentFileOnlyRefreshes();
    void currentFileWithoutSelectionSendsNothing();
    void fileMenuDeletePicksFirstPaneWithSelection_data();
    void fileMenuDeletePicksFirstPaneWithSelection();
    void driveRootClosesBusyWindowBeforeRefreshing();
    void closedBusyWindowDoesNotStopDelete();
    void programEndingStopsDelete();
};

void TestDelete::trashesSelectionBehindBusyWindow()
{
    TestDir dir;
    const QString folder = BoardFixture::makeFolder(dir, QStringLiteral("Data"), abc);
    const QString other = BoardFixture::makeFolder(dir, QStringLiteral("Other"), {QStringLiteral("keep.txt")});
    BoardFixture f;
    ShowWatcher shown(QStringLiteral("Standby"));
    for (int n = 1; n <= PaneCount; ++n)
        f.open(n, folder);
    f.open(2, other);
    f.select(2, {QStringLiteral("keep.txt")});
    f.select(3, {QStringLiteral("a.txt"), QStringLiteral("c.txt")}, QStringLiteral("a.txt"));

    QStringList labelsAtRequests;
    QStringList requested;
    f.trash.beforeTrash = [&](const QString &path) {
        requested << path;
        labelsAtRequests << (f.standby.isLoaded() && f.standby.window()->isVisible()
                                 ? f.standby.window()->labelText() : QStringLiteral("(not shown)"));
    };
    QStringList refreshes;
    recordRefreshes(f, refreshes);
    f.remove.paneDelete(3);

    QCOMPARE(requested, paths(folder, {QStringLiteral("a.txt"), QStringLiteral("c.txt")}));
    QCOMPARE(labelsAtRequests, QStringList(2, QStringLiteral("Deleting ...")));
    QVERIFY(shown.shows >= 1);
    QVERIFY(!f.standby.isLoaded());
    QVERIFY(f.test.dialogs.messages().isEmpty());

    QCOMPARE(dir.entries(QStringLiteral("Data")), QStringList{QStringLiteral("b.txt")});
    QCOMPARE(trashedPaths(f.test, folder), paths(folder, {QStringLiteral("a.txt"), QStringLiteral("c.txt")}));
    // The other panes on that folder in order, then its own, all before the busy window closed;
    // the pane on another folder was left alone.
    QCOMPARE(refreshes, (QStringList{QStringLiteral("1:busy"), QStringLiteral("4:busy"), QStringLiteral("5:busy"),
                                     QStringLiteral("3:busy")}));
    for (int n : {1, 3, 4, 5})
        QCOMPARE(f.listed(n), QStringList{QStringLiteral("b.txt")});
    QVERIFY(f.hasSelection(2));

    // A second client can put them back.
    for (int i = 0; i < 2; ++i)
        trashCli(f.test, QStringLiteral("trash-restore"), {folder}, "0\n");
    QCOMPARE(dir.entries(QStringLiteral("Data")), abc);
    QCOMPARE(dir.read(QStringLiteral("Data/c.txt")), QByteArray("c.txt"));
    QVERIFY(trashedPaths(f.test, folder).isEmpty());
}

void TestDelete::refreshOrder_data()
{
    QTest::addColumn<int>("pane");
    QTest::addColumn<QStringList>("fileListPaths");
    QTest::addColumn<QList<int>>("order");

    const QString d = QStringLiteral("/srv/Data");
    QTest::newRow("pane 3, all on one folder: the others in order, then its own")
        << 3 << QStringList{d, d, d, d, d} << QList<int>{1, 2, 4, 5, 3};
    QTest::newRow("pane 1 alone on its folder") << 1 << QStringList{d, QStringLiteral("/x"), QStringLiteral("/y"), QStringLiteral("/z"), QStringLiteral("/")}
                                                << QList<int>{1};
    QTest::newRow("another spelling is another folder")
        << 2 << QStringList{QStringLiteral("/srv/data"), d, QStringLiteral("/srv/Data/"), d, QStringLiteral("/srv/DATA")}
        << QList<int>{4, 2};
    QTest::newRow("pane 5 with pane 1") << 5 << QStringList{d, QStringLiteral("/x"), QStringLiteral("/x"), QStringLiteral("/x"), d}
                                        << QList<int>{1, 5};
}

void TestDelete::refreshOrder()
{
    QFETCH(int, pane);
    QFETCH(QStringList, fileListPaths);
    QFETCH(QList<int>, order);

    std::array<QString, PaneCount> folders;
    for (int i = 0; i < PaneCount; ++i)
        folders[i] = fileListPaths.at(i);
    QCOMPARE(DeleteCommands::refreshOrder(pane, folders), order);
}

void TestDelete::refusedFilesStayAndAreNamed_data()
{
    QTest::addColumn<QStringList>("refused");

    QTest::newRow("the middle one") << QStringList{QStringLiteral("b.txt")};
    QTest::newRow("the first and the last") << QStringList{QStringLiteral("a.txt"), QStringLiteral("c.txt")};
    QTest::newRow("all three") << abc;
}

void TestDelete::refusedFilesStayAndAreNamed()
{
    QFETCH(QStringList, refused);

    TestDir dir;
    const QString folder = BoardFixture::makeFolder(dir, QStringLiteral("Data"), abc);
    BoardFixture f;
    f.open(1, folder);
    f.select(1, abc, QStringLiteral("b.txt"));
    for (const QString &path : paths(folder, refused))
        f.test.trash.refuse.insert(path);
    f.test.dialogs.answerMessage(MessageAnswer::Ok);

    f.remove.paneDelete(1);

    // Every file was tried, the refused ones stayed, and one message names them.
    QCOMPARE(f.test.trash.asked, paths(folder, abc));
    QCOMPARE(dir.entries(QStringLiteral("Data")), refused);
    QStringList trashed = abc;
    for (const QString &name : refused)
        trashed.removeAll(name);
    QCOMPARE(trashedPaths(f.test, folder), paths(folder, trashed));
    QCOMPARE(f.test.dialogs.messageTexts(),
             QStringList{QStringLiteral("These files could not be moved to the trash and were left in place:\n")
                         + paths(folder, refused).join(QLatin1Char('\n'))});
    QCOMPARE(f.test.dialogs.messages().constFirst().title, Dialogs::applicationTitle());
    QCOMPARE(f.listed(1), refused);
    QVERIFY(!f.standby.isLoaded());
}

void TestDelete::longRefusedListIsCut_data()
{
    QTest::addColumn<int>("refused");
    QTest::addColumn<int>("named");
    QTest::addColumn<QString>("lastLine");
    QTest::newRow("twenty: all named") << 20 << 20 << QStringLiteral("/data/file20.txt");
    QTest::newRow("twenty-one") << 21 << 20 << QStringLiteral("and 1 more");
    QTest::newRow("three thousand") << 3000 << 20 << QStringLiteral("and 2980 more");
}

void TestDelete::longRefusedListIsCut()
{
    QFETCH(int, refused);
    QFETCH(int, named);
    QFETCH(QString, lastLine);
    QStringList paths;
    for (int i = 1; i <= refused; ++i)
        paths << QStringLiteral("/data/file%1.txt").arg(i);

    const QString text = BatchMessages::trashRefused(paths);

    const QStringList lines = text.split(QLatin1Char('\n'));
    QCOMPARE(lines.constFirst(), QStringLiteral("These files could not be moved to the trash and were left in place:"));
    QCOMPARE(lines.mid(1, named), paths.mid(0, named));
    QCOMPARE(lines.constLast(), lastLine);
    QCOMPARE(lines.size(), 1 + named + (refused > named ? 1 : 0));
    // The box with its OK button fits on the screen.
    const std::unique_ptr<QMessageBox> box = QtDialogs::messageBox(MessageRequest{text, Dialogs::applicationTitle()});
    QVERIFY2(box->sizeHint().height() <= QGuiApplication::primaryScreen()->availableGeometry().height(),
             qPrintable(QString::number(box->sizeHint().height())));
}

void TestDelete::noCurrentFileOnlyRefreshes()
{
    TestDir dir;
    const QString folder = BoardFixture::makeFolder(dir, QStringLiteral("Data"), abc);
    BoardFixture f;
    ShowWatcher shown(QStringLiteral("Standby"));
    f.open(2, folder);
    f.open(3, folder);
    f.select(2, {QStringLiteral("a.txt")}); // selected, but no current item
    f.select(3, {QStringLiteral("b.txt")});
    dir.createFile(QStringLiteral("Data/d.txt"));

    f.remove.paneDelete(2);

    QVERIFY(f.test.trash.asked.isEmpty());
    QCOMPARE(shown.shows, 0);
    QVERIFY(!f.standby.isLoaded());
    QCOMPARE(f.listed(2), abc + QStringList{QStringLiteral("d.txt")});
    QVERIFY(!f.hasSelection(2));
    QVERIFY(f.hasSelection(3)); // only its own list
}

void TestDelete::currentFileWithoutSelectionSendsNothing()
{
    TestDir dir;
    const QString folder = BoardFixture::makeFolder(dir, QStringLiteral("Data"), abc);
    BoardFixture f;
    ShowWatcher shown(QStringLiteral("Standby"));
    f.open(4, folder);
    f.open(5, folder);
    f.select(5, {QStringLiteral("c.txt")});
    f.fileList(4)->setListIndex(1);

    f.remove.paneDelete(4);

    QVERIFY(f.test.trash.asked.isEmpty());
    QCOMPARE(dir.entries(QStringLiteral("Data")), abc);
    QVERIFY(shown.shows >= 1);
    QVERIFY(!f.standby.isLoaded());
    QVERIFY(!f.hasSelection(5)); // refreshed as a pane on the same folder
}

void TestDelete::fileMenuDeletePicksFirstPaneWithSelection_data()
{
    QTest::addColumn<QList<int>>("panesWithSelection");
    QTest::addColumn<int>("deleting");

    QTest::newRow("panes 2 and 4 pass: pane 2") << QList<int>{2, 4} << 2;
    QTest::newRow("pane 1 empty, pane 5 passes") << QList<int>{5} << 5;
    QTest::newRow("no pane passes") << QList<int>{} << 0;
}

void TestDelete::fileMenuDeletePicksFirstPaneWithSelection()
{
    QFETCH(QList<int>, panesWithSelection);
    QFETCH(int, deleting);

    TestDir dir;
    BoardFixture f;
    f.open(1, dir.createDir(QStringLiteral("empty")));
    for (int n = 2; n <= PaneCount; ++n) {
        f.open(n, dir.createDir(QStringLiteral("pane%1").arg(n)));
        dir.createFile(QStringLiteral("pane%1/f%1.txt").arg(n));
        f.fileList(n)->refresh();
    }
    for (int n : panesWithSelection)
        f.select(n, {QStringLiteral("f%1.txt").arg(n)}, QStringLiteral("f%1.txt").arg(n));
    if (deleting == 0)
        f.test.dialogs.answerMessage(MessageAnswer::Ok);

    f.remove.mnuDelete0_Click();

    for (int n = 2; n <= PaneCount; ++n)
        QCOMPARE(dir.entries(QStringLiteral("pane%1").arg(n)).isEmpty(), n == deleting);
    QCOMPARE(f.test.dialogs.messageTexts(),
             deleting == 0 ? QStringList{QStringLiteral("Please select a file to delete first")} : QStringList());
}

void TestDelete::driveRootClosesBusyWindowBeforeRefreshing()
{
    TestDir dir;
    const QString root = BoardFixture::makeFolder(dir, QStringLiteral("volume"), abc);
    BoardFixture f;
    f.test.paths = PathHelper({root}); // a mounted volume's root
    f.open(1, root);
    f.open(2, root);
    f.select(2, {QStringLiteral("a.txt")}, QStringLiteral("a.txt"));

    QStringList refreshes;
    recordRefreshes(f, refreshes);
    f.remove.paneDelete(2);

    QCOMPARE(f.test.trash.asked, QStringList{root + QStringLiteral("/a.txt")});
    QCOMPARE(refreshes, (QStringList{QStringLiteral("1:closed"), QStringLiteral("2:closed")}));

    // In an ordinary folder the lists are refreshed while the busy window still shows.
    f.test.paths = PathHelper();
    refreshes.clear();
    f.select(2, {QStringLiteral("b.txt")}, QStringLiteral("b.txt"));
    f.remove.paneDelete(2);
    QCOMPARE(refreshes, (QStringList{QStringLiteral("1:busy"), QStringLiteral("2:busy")}));
    QVERIFY(!f.standby.isLoaded());
}

void TestDelete::closedBusyWindowDoesNotStopDelete()
{
    TestDir dir;
    const QString folder = BoardFixture::makeFolder(dir, QStringLiteral("Data"), abc);
    BoardFixture f;
    f.open(1, folder);
    f.select(1, {QStringLiteral("a.txt"), QStringLiteral("b.txt")}, QStringLiteral("a.txt"));
    // Another command closes the shared busy window while this one types.
    QTimer::singleShot(0, [&] { f.standby.Command2(); });

    f.remove.paneDelete(1);

    QCOMPARE(dir.entries(QStringLiteral("Data")), QStringList{QStringLiteral("c.txt")});
    QVERIFY(!f.standby.isLoaded());
}

void TestDelete::programEndingStopsDelete()
{
    TestDir dir;
    const QString folder = BoardFixture::makeFolder(dir, QStringLiteral("Data"), abc);
    BoardFixture f;
    f.open(1, folder);
    f.select(1, abc, QStringLiteral("a.txt"));
    f.trash.beforeTrash = [&](const QString &) { f.test.programEnd.endNow(); };

    f.remove.paneDelete(1);

    QCOMPARE(f.test.trash.asked, QStringList{folder + QStringLiteral("/a.txt")});
    QCOMPARE(dir.entries(QStringLiteral("Data")), (QStringList{QStringLiteral("b.txt"), QStringLiteral("c.txt")}));
    QVERIFY(f.test.dialogs.messages().isEmpty());
}

QTEST_MAIN(TestDelete)
#include "tst_delete.moc"
