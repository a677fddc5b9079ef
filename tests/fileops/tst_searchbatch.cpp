#include "fileops/BoardFixture.h"
#include "support/TestCase.h"

#include <QFile>

// Paste of a batch from the search window: each found path under its name, into one pane.
class TestSearchBatch : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void pastesPairsInOrderAndClearsResults();
    void sameNameFromTwoFoldersLastOneWins();
    void failingPairStopsAndKeepsResults_data();
    void failingPairStopsAndKeepsResults();
    void resultInDestinationFolderIsLeftIntact();
    void searchCopyWithoutSelectionIsNoSearchBatch();
    void unpairedEntriesAreNotGuessed();
};

void TestSearchBatch::pastesPairsInOrderAndClearsResults()
{
    TestDir dir;
    const QString x = dir.createFile(QStringLiteral("A/x.txt"), "x");
    const QString y = dir.createFile(QStringLiteral("B/y.txt"), "y");
    const QString out = dir.createDir(QStringLiteral("Out"));
    const QString again = dir.createDir(QStringLiteral("Again"));
    BoardFixture f;
    f.results.entries = {x, dir.createFile(QStringLiteral("B/skip.txt")), y};
    f.results.selected = {0, 2};
    f.searchBatch.CopySelectedResults();
    QCOMPARE(f.batch.list1(), (QStringList{QStringLiteral("x.txt"), QStringLiteral("y.txt")}));

    f.open(2, out);
    f.open(3, out);
    f.open(4, again);
    dir.createFile(QStringLiteral("Out/before.txt"));
    f.fileList(3)->refresh();
    f.select(3, {QStringLiteral("before.txt")});

    f.paste.panePaste(2);

    QCOMPARE(f.test.files.copies,
             (QList<QPair<QString, QString>>{{x, out + QStringLiteral("/x.txt")}, {y, out + QStringLiteral("/y.txt")}}));
    QCOMPARE(dir.read(QStringLiteral("Out/x.txt")), QByteArray("x"));
    QCOMPARE(dir.read(QStringLiteral("Out/y.txt")), QByteArray("y"));
    QCOMPARE(f.results.count(), 0);
    QCOMPARE(f.results.clears, 1);
    // Only the destination pane is refreshed, not another pane on the same folder.
    QCOMPARE(f.listed(2), (QStringList{QStringLiteral("before.txt"), QStringLiteral("x.txt"), QStringLiteral("y.txt")}));
    QCOMPARE(f.listed(3), QStringList{QStringLiteral("before.txt")});
    QVERIFY(f.hasSelection(3));
    QVERIFY(f.test.dialogs.messages().isEmpty());

    // The batch is not used up.
    f.paste.panePaste(4);
    QCOMPARE(dir.entries(QStringLiteral("Again")), (QStringList{QStringLiteral("x.txt"), QStringLiteral("y.txt")}));
}

void TestSearchBatch::sameNameFromTwoFoldersLastOneWins()
{
    TestDir dir;
    BoardFixture f;
    f.results.entries = {dir.createFile(QStringLiteral("A/n.txt"), "first"),
                         dir.createFile(QStringLiteral("B/n.txt"), "second")};
    f.results.selected = {0, 1};
    f.searchBatch.CopySelectedResults();
    f.open(1, dir.createDir(QStringLiteral("Out")));

    f.paste.panePaste(1);

    QCOMPARE(dir.read(QStringLiteral("Out/n.txt")), QByteArray("second"));
    QVERIFY(f.test.dialogs.messages().isEmpty());
}

void TestSearchBatch::failingPairStopsAndKeepsResults_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("message");

    QTest::newRow("read-only file of the second name")
        << QStringLiteral("read-only") << QStringLiteral("Path not accesible or write protected");
    QTest::newRow("second result gone since the search") << QStringLiteral("gone") << QString();
    QTest::newRow("device error on the second copy") << QStringLiteral("device") << QStringLiteral("Device not connected or in use");
}

void TestSearchBatch::failingPairStopsAndKeepsResults()
{
    QFETCH(QString, failure);
    QFETCH(QString, message);

    TestDir dir;
    BoardFixture f;
    const QString out = dir.createDir(QStringLiteral("Out"));
    f.results.entries = {dir.createFile(QStringLiteral("A/1.txt"), "1"), dir.createFile(QStringLiteral("A/2.txt"), "2"),
                         dir.createFile(QStringLiteral("A/3.txt"), "3")};
    f.results.selected = {0, 1, 2};
    f.searchBatch.CopySelectedResults();
    f.open(5, out);
    if (failure == QLatin1String("read-only")) {
        dir.createFile(QStringLiteral("Out/2.txt"), "old");
        QVERIFY(QFile::setPermissions(out + QStringLiteral("/2.txt"), QFile::ReadOwner));
    } else if (failure == QLatin1String("gone")) {
        QVERIFY(QFile::remove(f.results.entries.at(1)));
    } else {
        f.test.files.copyErrors.insert(out + QStringLiteral("/2.txt"), 57);
    }
    if (!message.isEmpty())
        f.test.dialogs.answerMessage(MessageAnswer::Ok);

    f.paste.panePaste(5);

    QCOMPARE(f.test.files.copies.size(), 2); // the third pair was not tried
    QCOMPARE(dir.read(QStringLiteral("Out/1.txt")), QByteArray("1"));
    QVERIFY(!dir.entries(QStringLiteral("Out")).contains(QStringLiteral("3.txt")));
    QCOMPARE(f.results.count(), 3);
    QCOMPARE(f.results.clears, 0);
    QCOMPARE(f.test.dialogs.messageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(f.batch.list2().size(), 3); // the batch stays for another try
}

void TestSearchBatch::resultInDestinationFolderIsLeftIntact()
{
    TestDir dir;
    BoardFixture f;
    const QString out = dir.createDir(QStringLiteral("Out"));
    const QByteArray contents(64 * 1024, 'k');
    f.results.entries = {dir.createFile(QStringLiteral("Out/here.bin"), contents)};
    f.results.selected = {0};
    f.searchBatch.CopySelectedResults();
    f.open(1, out);
    f.test.dialogs.answerMessage(MessageAnswer::Ok);

    f.paste.panePaste(1);

    QCOMPARE(f.test.dialogs.messageTexts(),
             QStringList{QStringLiteral("Can't copy file to the same location or write protected")});
    QCOMPARE(dir.read(QStringLiteral("Out/here.bin")), contents);
    QCOMPARE(dir.entries(QStringLiteral("Out")), QStringList{QStringLiteral("here.bin")});
    QCOMPARE(f.results.count(), 1);
}

void TestSearchBatch::searchCopyWithoutSelectionIsNoSearchBatch()
{
    TestDir dir;
    BoardFixture f;
    const QString source = dir.createDir(QStringLiteral("Data"));
    dir.createFile(QStringLiteral("Data/a.txt"));
    f.open(1, source);
    f.select(1, {QStringLiteral("a.txt")});
    f.copy.paneCopy(1);

    f.results.entries = {dir.createFile(QStringLiteral("A/found.txt"))};
    f.searchBatch.CopySelectedResults();
    QVERIFY(!f.batch.isSearchBatch());
    QVERIFY(f.batch.list1().isEmpty());

    // Nothing to paste, and the pane batch's folder is not pasted from either.
    f.open(2, dir.createDir(QStringLiteral("Out")));
    f.paste.panePaste(2);
    QVERIFY(dir.entries(QStringLiteral("Out")).isEmpty());
    QVERIFY(f.test.files.copies.isEmpty());
}

// The search window's Copy yields between taking the paths and the names, so the selection can
// change in between and the two lists no longer pair up.
void TestSearchBatch::unpairedEntriesAreNotGuessed()
{
    TestDir dir;
    BoardFixture f;
    const QString out = dir.createDir(QStringLiteral("Out"));
    f.open(1, out);

    // More paths than names: the pairs with a name are copied, then the paste stops.
    f.batch.clearList1();
    f.batch.clearList2();
    f.batch.appendPath(dir.createFile(QStringLiteral("A/1.txt")));
    f.batch.appendPath(dir.createFile(QStringLiteral("A/2.txt")));
    f.batch.appendName(QStringLiteral("1.txt"));
    f.results.entries = {QStringLiteral("kept")};
    f.paste.panePaste(1);
    QCOMPARE(dir.entries(QStringLiteral("Out")), QStringList{QStringLiteral("1.txt")});
    QCOMPARE(f.results.clears, 0);

    // Names but no paths: no folder to take them from, nothing is copied.
    f.batch.clearList2();
    QVERIFY(QFile::remove(out + QStringLiteral("/1.txt")));
    ShowWatcher shown(QStringLiteral("Standby"));
    f.paste.panePaste(1);
    QVERIFY(dir.entries(QStringLiteral("Out")).isEmpty());
    QVERIFY(f.test.dialogs.messages().isEmpty());
    QCOMPARE(shown.shows, 0);

    // The same right after a pane Copy: the folder of that batch is not the names' folder.
    const QString data = dir.createDir(QStringLiteral("Data"));
    dir.createFile(QStringLiteral("Data/1.txt"), "from the pane's folder");
    f.copyFrom(2, data, {QStringLiteral("1.txt")});
    f.batch.clearList1();
    f.batch.clearList2();
    f.batch.appendName(QStringLiteral("1.txt"));
    f.paste.panePaste(1);
    QVERIFY(dir.entries(QStringLiteral("Out")).isEmpty());
    QVERIFY(f.test.dialogs.messages().isEmpty());
    QCOMPARE(shown.shows, 0);
}

QTEST_MAIN(TestSearchBatch)
#include "tst_searchbatch.moc"
