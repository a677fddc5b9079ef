#include "fileops/BatchMessages.h"
#include "fileops/BoardFixture.h"
#include "support/TestCase.h"
#include "support/TmpfsMount.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTimer>


namespace {
const QString copyingTo = QStringLiteral("  Copying to ");

void setMode(const QString &path, QFile::Permissions permissions)
{
    QVERIFY(QFile::setPermissions(path, permissions));
}

const QFile::Permissions readOnlyFolder = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
    | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
const QFile::Permissions writableFolder = readOnlyFolder | QFile::WriteOwner;

// "name=contents" of every file in folder, dot-files (temporary copies) included.
QStringList contentsOf(const QString &folder)
{
    QStringList found;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            found << name + QLatin1Char('=') + QString::fromUtf8(file.readAll());
    }
    return found;
}
} // namespace

// Paste on real files: the pane's own route behind the busy window, and File > Paste.
class TestPaste : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void messageForEachError_data();
    void messageForEachError();
    void fileMenuPasteFollowsActivePane_data();
    void fileMenuPasteFollowsActivePane();
    void pasteCopiesEachNameBehindBusyWindow();
    void pasteTable_data();
    void pasteTable();
    void diskFullKeepsOldFile();
    void replacedClipboardStillCopiesFromRecordedFolder();
    void folderChangeDuringPasteDoesNotRedirect();
    void emptyBatchOnlyRefreshes();
    void programEndingStopsPaste();
    void searchBatchTakesSearchRoute();
};

void TestPaste::messageForEachError_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("message");

    QTest::newRow("57") << 57 << QStringLiteral("Device not connected or in use");
    QTest::newRow("61") << 61 << QStringLiteral("Disk is full");
    QTest::newRow("68") << 68 << QStringLiteral("Device not available");
    QTest::newRow("70") << 70 << QStringLiteral("Can't copy file to the same location or write protected");
    QTest::newRow("71") << 71 << QStringLiteral("Insert disk to continue");
    QTest::newRow("75") << 75 << QStringLiteral("Path not accesible or write protected");
    QTest::newRow("76") << 76
                        << QStringLiteral("Either the destination doesn't exist or the path to the folder is "
                                          "misspelled or incomplete");
    QTest::newRow("53 passes silently") << 53 << QString();
    QTest::newRow("58 passes silently") << 58 << QString();
    QTest::newRow("an unnumbered failure passes silently") << -1 << QString();
}

void TestPaste::messageForEachError()
{
    QFETCH(int, error);
    QFETCH(QString, message);
    const std::optional<QString> text = BatchMessages::pasteFailure(error);
    QCOMPARE(text.has_value(), !message.isEmpty());
    if (text)
        QCOMPARE(*text, message);
}

void TestPaste::fileMenuPasteFollowsActivePane_data()
{
    // The file lists clicked, in order.
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<int>("pane");

    QTest::newRow("no pane clicked yet") << QList<int>() << 0;
    QTest::newRow("pane 3") << QList<int>{3} << 3;
    QTest::newRow("pane 5") << QList<int>{5} << 5;
    QTest::newRow("the last click counts") << QList<int>{3, 1} << 1;
}

void TestPaste::fileMenuPasteFollowsActivePane()
{
    QFETCH(QList<int>, clicks);
    QFETCH(int, pane);

    TestDir dir;
    const QString source = dir.createDir(QStringLiteral("Data"));
    dir.createFile(QStringLiteral("Data/a.txt"), "A");
    BoardFixture f;
    for (int n = 1; n <= PaneCount; ++n)
        f.open(n, dir.createDir(QStringLiteral("pane%1").arg(n)));
    f.batch.setPaneBatch({QStringLiteral("a.txt")}, source);
    for (int n : clicks)
        f.board.fileListClick(n);
    if (pane == 0)
        f.test.dialogs.answerMessage(MessageAnswer::Ok);

    f.paste.mnuPaste0_Click();

    for (int n = 1; n <= PaneCount; ++n)
        QCOMPARE(dir.entries(QStringLiteral("pane%1").arg(n)).contains(QStringLiteral("a.txt")), n == pane);
    if (pane == 0) {
        QCOMPARE(f.test.dialogs.messageTexts(),
                 QStringList{QStringLiteral("Click on any list of files to choose destination of file(s)")});
    } else {
        QVERIFY(f.test.dialogs.messages().isEmpty());
    }
}

void TestPaste::pasteCopiesEachNameBehindBusyWindow()
{
    TestDir dir;
    const QString source = dir.createDir(QStringLiteral("Data"));
    const QString out = dir.createDir(QStringLiteral("Backup"));
    dir.createFile(QStringLiteral("Data/a.txt"), "new a");
    dir.createFile(QStringLiteral("Data/b.txt"), "new b");
    dir.createFile(QStringLiteral("Backup/b.txt"), "old b");
    BoardFixture f;
    ShowWatcher shown(QStringLiteral("Standby"));
    f.open(2, out);
    f.copyFrom(1, source, {QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    dir.createFile(QStringLiteral("Backup/outside.txt")); // appears once pane 2 is refreshed

    QStringList labels;
    bool visibleAtEachCopy = true;
    f.files.beforeCopy = [&](const QString &, const QString &) {
        labels << f.standby.window()->labelText();
        visibleAtEachCopy = visibleAtEachCopy && f.standby.window()->isVisible();
    };
    f.paste.panePaste(2);

    QCOMPARE(labels, (QStringList{copyingTo + out + QStringLiteral("/a.txt"), copyingTo + out + QStringLiteral("/b.txt")}));
    QVERIFY(visibleAtEachCopy);
    QVERIFY(shown.shows >= 1);
    QVERIFY(!f.standby.isLoaded());
    QCOMPARE(dir.read(QStringLiteral("Backup/a.txt")), QByteArray("new a"));
    QCOMPARE(dir.read(QStringLiteral("Backup/b.txt")), QByteArray("new b"));
    QCOMPARE(dir.entries(QStringLiteral("Backup")),
             (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("outside.txt")}));
    QCOMPARE(f.listed(2), dir.entries(QStringLiteral("Backup")));
    QVERIFY(f.test.dialogs.messages().isEmpty());

    // The batch is not used up: the same paste runs again, replacing without a question.
    QCOMPARE(f.batch.list1(), (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
    QCOMPARE(f.test.clipboard.text(), source);
    dir.createFile(QStringLiteral("Backup/a.txt"), "changed");
    f.paste.panePaste(2);
    QCOMPARE(dir.read(QStringLiteral("Backup/a.txt")), QByteArray("new a"));
}

void TestPaste::pasteTable_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("message");
    // name=contents of the destination folder afterwards
    QTest::addColumn<QStringList>("destination");

    QTest::newRow("into the folder the files came from")
        << QStringLiteral("same folder") << QStringLiteral("Can't copy file to the same location or write protected")
        << QStringList{QStringLiteral("a.txt=a.txt"), QStringLiteral("b.txt=b.txt")};
    QTest::newRow("read-only destination folder")
        << QStringLiteral("read-only folder") << QStringLiteral("Path not accesible or write protected")
        << QStringList{QStringLiteral("b.txt=old")};
    QTest::newRow("read-only file of the second name")
        << QStringLiteral("read-only b.txt") << QStringLiteral("Path not accesible or write protected")
        << QStringList{QStringLiteral("a.txt=a.txt"), QStringLiteral("b.txt=old")};
    QTest::newRow("first source deleted since the Copy") << QStringLiteral("a.txt gone") << QString()
                                                         << QStringList{QStringLiteral("b.txt=old")};
    QTest::newRow("destination folder removed") << QStringLiteral("folder gone")
                                                << QStringLiteral("Either the destination doesn't exist or the path "
                                                                  "to the folder is misspelled or incomplete")
                                                << QStringList();
}

void TestPaste::pasteTable()
{
    QFETCH(QString, failure);
    QFETCH(QString, message);
    QFETCH(QStringList, destination);

    TestDir dir;
    const QString source = BoardFixture::makeFolder(dir, QStringLiteral("Data"), {QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    const QString out = failure == QLatin1String("same folder") ? source : dir.createDir(QStringLiteral("Out"));
    if (out != source)
        dir.createFile(QStringLiteral("Out/b.txt"), "old");
    BoardFixture f;
    f.open(4, out);
    f.copyFrom(1, source, {QStringLiteral("a.txt"), QStringLiteral("b.txt")});

    if (failure == QLatin1String("read-only folder"))
        setMode(out, readOnlyFolder);
    if (failure == QLatin1String("read-only b.txt"))
        setMode(dir.filePath(QStringLiteral("Out/b.txt")), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    if (failure == QLatin1String("a.txt gone"))
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("Data/a.txt"))));
    if (failure == QLatin1String("folder gone"))
        QVERIFY(QDir(out).removeRecursively());
    if (!message.isEmpty())
        f.test.dialogs.answerMessage(MessageAnswer::Ok);

    f.paste.panePaste(4);
    if (failure == QLatin1String("read-only folder"))
        setMode(out, writableFolder);

    QCOMPARE(f.test.dialogs.messageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(contentsOf(out), destination);
    QVERIFY(!f.standby.isLoaded());
}

void TestPaste::diskFullKeepsOldFile()
{
    TestDir dir;
    const QString source = dir.createDir(QStringLiteral("Data"));
    const QString mountPoint = dir.createDir(QStringLiteral("small"));
    TmpfsMount small(mountPoint, QStringLiteral("1m"));
    if (!small.isMounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a 1 MiB tmpfs here: ") + small.error()));

    const QByteArray bigA(600 * 1024, 'a');
    const QByteArray bigB(600 * 1024, 'b');
    dir.createFile(QStringLiteral("Data/a.bin"), bigA);
    dir.createFile(QStringLiteral("Data/b.bin"), bigB);
    dir.createFile(QStringLiteral("small/b.bin"), "the user's old b");
    BoardFixture f;
    f.open(2, mountPoint);
    f.copyFrom(1, source, {QStringLiteral("a.bin"), QStringLiteral("b.bin")});
    f.test.dialogs.answerMessage(MessageAnswer::Ok);

    f.paste.panePaste(2);

    QCOMPARE(f.test.dialogs.messageTexts(), QStringList{QStringLiteral("Disk is full")});
    QCOMPARE(dir.read(QStringLiteral("small/a.bin")), bigA);
    QCOMPARE(dir.read(QStringLiteral("small/b.bin")), QByteArray("the user's old b"));
    // No temporary file left behind.
    QCOMPARE(dir.entries(QStringLiteral("small")), (QStringList{QStringLiteral("a.bin"), QStringLiteral("b.bin")}));
    QVERIFY(!f.standby.isLoaded());
}

void TestPaste::replacedClipboardStillCopiesFromRecordedFolder()
{
    TestDir dir;
    const QString source = dir.createDir(QStringLiteral("Data"));
    const QString decoy = dir.createDir(QStringLiteral("Decoy"));
    const QString out = dir.createDir(QStringLiteral("Out"));
    dir.createFile(QStringLiteral("Data/a.txt"), "right");
    dir.createFile(QStringLiteral("Decoy/a.txt"), "wrong");
    BoardFixture f;
    f.open(2, out);
    f.copyFrom(1, source, {QStringLiteral("a.txt")});
    QCOMPARE(f.test.clipboard.text(), source);

    // Another program (or the editor's Copy) replaces the clipboard text.
    f.test.clipboard.setText(decoy);
    f.paste.panePaste(2);
    QCOMPARE(dir.read(QStringLiteral("Out/a.txt")), QByteArray("right"));

    // And an emptied clipboard (the picture viewer's load) changes nothing either.
    f.test.clipboard.clear();
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("Out/a.txt"))));
    f.paste.panePaste(2);
    QCOMPARE(dir.read(QStringLiteral("Out/a.txt")), QByteArray("right"));
    QVERIFY(f.test.dialogs.messages().isEmpty());
}

void TestPaste::folderChangeDuringPasteDoesNotRedirect()
{
    TestDir dir;
    const QString source = dir.filePath(QStringLiteral("Data"));
    const QString first = dir.createDir(QStringLiteral("First"));
    const QString second = dir.createDir(QStringLiteral("Second"));
    const QStringList names{QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")};
    BoardFixture::makeFolder(dir, QStringLiteral("Data"), names);
    BoardFixture f;
    f.open(2, first);
    f.copyFrom(1, source, names);

    QStringList targets;
    f.files.beforeCopy = [&](const QString &, const QString &target) {
        targets << target;
        if (targets.size() == 1) // the user opens another folder while the paste waits
            QTimer::singleShot(0, [&] { f.open(2, second); });
    };
    f.paste.panePaste(2);

    QCOMPARE(f.board.pane(2).folderList()->path(), second); // the change did happen
    QCOMPARE(dir.entries(QStringLiteral("First")), names);
    QVERIFY(dir.entries(QStringLiteral("Second")).isEmpty());
    QCOMPARE(targets, (QStringList{first + QStringLiteral("/a.txt"), first + QStringLiteral("/b.txt"),
                                   first + QStringLiteral("/c.txt")}));
}

void TestPaste::emptyBatchOnlyRefreshes()
{
    TestDir dir;
    const QString source = dir.createDir(QStringLiteral("Data"));
    const QString out = dir.createDir(QStringLiteral("Out"));
    dir.createFile(QStringLiteral("Data/a.txt"));
    dir.createFile(QStringLiteral("Out/old.txt"));
    BoardFixture f;
    ShowWatcher shown(QStringLiteral("Standby"));
    f.open(1, source);
    f.open(2, out);
    f.copy.paneCopy(1); // nothing selected
    f.select(2, {QStringLiteral("old.txt")});
    dir.createFile(QStringLiteral("Out/new.txt"));

    f.paste.panePaste(2);

    QCOMPARE(shown.shows, 0);
    QVERIFY(!f.standby.isLoaded());
    QCOMPARE(f.listed(2), (QStringList{QStringLiteral("new.txt"), QStringLiteral("old.txt")}));
    QVERIFY(!f.hasSelection(2));
    QCOMPARE(dir.entries(QStringLiteral("Out")), (QStringList{QStringLiteral("new.txt"), QStringLiteral("old.txt")}));
}

void TestPaste::programEndingStopsPaste()
{
    TestDir dir;
    const QString source = BoardFixture::makeFolder(dir, QStringLiteral("Data"), {QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    const QString out = dir.createDir(QStringLiteral("Out"));
    BoardFixture f;
    f.open(2, out);
    f.copyFrom(1, source, {QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    f.files.beforeCopy = [&](const QString &, const QString &) { f.test.programEnd.endNow(); };

    f.paste.panePaste(2);

    QCOMPARE(dir.entries(QStringLiteral("Out")), QStringList{QStringLiteral("a.txt")});
    QVERIFY(f.test.dialogs.messages().isEmpty());
}

void TestPaste::searchBatchTakesSearchRoute()
{
    TestDir dir;
    const QString found = dir.createDir(QStringLiteral("found"));
    const QString decoy = dir.createDir(QStringLiteral("Decoy"));
    const QString out = dir.createDir(QStringLiteral("Out"));
    dir.createFile(QStringLiteral("found/x.txt"), "from the search");
    dir.createFile(QStringLiteral("Decoy/x.txt"), "wrong");
    BoardFixture f;
    ShowWatcher shown(QStringLiteral("Standby"));
    f.open(3, out);
    f.test.clipboard.setText(decoy);
    f.batch.clearList1();
    f.batch.clearList2();
    f.batch.appendPath(found + QStringLiteral("/x.txt"));
    f.batch.appendName(QStringLiteral("x.txt"));

    f.paste.panePaste(3);

    QCOMPARE(dir.read(QStringLiteral("Out/x.txt")), QByteArray("from the search"));
    QCOMPARE(shown.shows, 0); // no busy window on that road
}

QTEST_MAIN(TestPaste)
#include "tst_paste.moc"
