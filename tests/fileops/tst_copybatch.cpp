#include "fileops/BatchMessages.h"
#include "fileops/BoardFixture.h"
#include "support/TestCase.h"

#include <QLineEdit>

// Copy: what the batch and the clipboard hold after each kind of Copy.
class TestCopyBatch : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void paneCopy_data();
    void paneCopy();
    void paneCopyAtDriveRoot();
    void fileCopyTakesFirstPaneWithSelection();
    void fileCopyWithoutSelectionKeepsBatch();
    void paneCopyAfterSearchCopyEmptiesList2();
    void listCopyAppendsSelectedResultsInOrder();
};

void TestCopyBatch::paneCopy_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QStringList>("expected");

    const QStringList abc{QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")};
    QTest::newRow("three selected, in list order whatever the order of selecting")
        << abc << QStringList{QStringLiteral("c.txt"), QStringLiteral("a.txt"), QStringLiteral("b.txt")} << abc;
    QTest::newRow("two of three") << abc << QStringList{QStringLiteral("c.txt"), QStringLiteral("a.txt")}
                                  << QStringList{QStringLiteral("a.txt"), QStringLiteral("c.txt")};
    QTest::newRow("nothing selected") << abc << QStringList() << QStringList();
    QTest::newRow("empty file list") << QStringList() << QStringList() << QStringList();
}

void TestCopyBatch::paneCopy()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, selected);
    QFETCH(QStringList, expected);

    TestDir dir;
    const QString folder = BoardFixture::makeFolder(dir, QStringLiteral("Data"), files);
    BoardFixture f;
    f.batch.appendPath(QStringLiteral("/old/result.txt"));
    f.open(2, folder);
    f.select(2, selected);

    f.copy.paneCopy(2);

    QCOMPARE(f.batch.list1(), expected);
    QVERIFY(f.batch.list2().isEmpty());
    QVERIFY(!f.batch.isSearchBatch());
    QCOMPARE(f.batch.sourceFolder(), folder);
    QCOMPARE(f.test.clipboard.text(), folder);
}

void TestCopyBatch::paneCopyAtDriveRoot()
{
    BoardFixture f;
    f.open(1, QStringLiteral("/"));
    f.copy.paneCopy(1);
    QCOMPARE(f.test.clipboard.text(), QStringLiteral("/"));
    QCOMPARE(f.batch.sourceFolder(), QStringLiteral("/"));
    QVERIFY(f.batch.list1().isEmpty());
}

void TestCopyBatch::fileCopyTakesFirstPaneWithSelection()
{
    TestDir dir;
    const QString empty = dir.createDir(QStringLiteral("empty"));
    const QString three = dir.createDir(QStringLiteral("three"));
    const QString five = dir.createDir(QStringLiteral("five"));
    dir.createFile(QStringLiteral("three/x.txt"));
    dir.createFile(QStringLiteral("five/y.txt"));
    BoardFixture f;
    for (int n = 1; n <= PaneCount; ++n)
        f.open(n, empty);
    f.open(3, three);
    f.open(5, five);
    f.board.fileListClick(5); // not consulted
    f.select(3, {QStringLiteral("x.txt")});
    f.select(5, {QStringLiteral("y.txt")});

    f.copy.mnuCopy_Click();

    QCOMPARE(f.batch.list1(), QStringList{QStringLiteral("x.txt")});
    QCOMPARE(f.test.clipboard.text(), three);
    QVERIFY(f.test.dialogs.messages().isEmpty());
}

void TestCopyBatch::fileCopyWithoutSelectionKeepsBatch()
{
    TestDir dir;
    const QString folder = BoardFixture::makeFolder(dir, QStringLiteral("Data"), {QStringLiteral("a.txt")});
    BoardFixture f;
    for (int n = 1; n <= PaneCount; ++n)
        f.open(n, folder);
    f.batch.setPaneBatch({QStringLiteral("kept.txt")}, QStringLiteral("/kept"));
    f.test.clipboard.setText(QStringLiteral("/kept"));
    f.test.dialogs.answerMessage(MessageAnswer::Ok);

    f.copy.mnuCopy_Click();

    QCOMPARE(f.test.dialogs.messageTexts(), QStringList{QStringLiteral("Please select a file to copy first")});
    QCOMPARE(f.test.dialogs.messages().constFirst().title, Dialogs::applicationTitle());
    QCOMPARE(f.batch.list1(), QStringList{QStringLiteral("kept.txt")});
    QCOMPARE(f.batch.sourceFolder(), QStringLiteral("/kept"));
    QCOMPARE(f.test.clipboard.text(), QStringLiteral("/kept"));
}

void TestCopyBatch::paneCopyAfterSearchCopyEmptiesList2()
{
    TestDir dir;
    const QString folder = BoardFixture::makeFolder(dir, QStringLiteral("Data"), {QStringLiteral("a.txt")});
    BoardFixture f;
    // The search window's Copy: both lists emptied, then paths and names in pairs.
    f.results.entries = {QStringLiteral("/found/x.txt"), QStringLiteral("/found/y.txt")};
    f.results.selected = {0, 1};
    f.batch.clearList1();
    f.batch.clearList2();
    f.searchBatch.ListCopy();
    f.batch.appendName(QStringLiteral("x.txt"));
    f.batch.appendName(QStringLiteral("y.txt"));
    QVERIFY(f.batch.isSearchBatch());

    f.copyFrom(1, folder, {QStringLiteral("a.txt")});

    QVERIFY(f.batch.list2().isEmpty());
    QVERIFY(!f.batch.isSearchBatch());
    QCOMPARE(f.batch.list1(), QStringList{QStringLiteral("a.txt")});
    QCOMPARE(f.batch.sourceFolder(), folder);
}

void TestCopyBatch::listCopyAppendsSelectedResultsInOrder()
{
    BoardFixture f;
    f.results.entries = {QStringLiteral("/a/1.txt"), QStringLiteral("/b/2.txt"), QStringLiteral("/c/3.txt"),
                         QStringLiteral("/d/4.txt"), QStringLiteral("/e/5.txt")};
    f.results.selected = {4, 0, 2};
    f.batch.appendPath(QStringLiteral("/already/there.txt"));
    f.test.clipboard.setText(QStringLiteral("untouched"));

    f.searchBatch.ListCopy();

    QCOMPARE(f.batch.list2(), (QStringList{QStringLiteral("/already/there.txt"), QStringLiteral("/a/1.txt"),
                                           QStringLiteral("/c/3.txt"), QStringLiteral("/e/5.txt")}));
    QVERIFY(f.batch.list1().isEmpty());
    QCOMPARE(f.results.entries.size(), 5);
    QCOMPARE(f.results.clears, 0);
    QCOMPARE(f.test.clipboard.text(), QStringLiteral("untouched"));

    // No result selected: List2 stays as the caller left it.
    f.batch.clearList2();
    f.results.selected.clear();
    f.searchBatch.ListCopy();
    QVERIFY(!f.batch.isSearchBatch());
}

QTEST_MAIN(TestCopyBatch)
#include "tst_copybatch.moc"
