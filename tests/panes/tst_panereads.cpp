#include "PaneBoardFixture.h"
#include "support/TestCase.h"

#include <QFile>
#include <QTest>

// How the board reads folders for its lists: a folder change, a pattern, a refresh, and the
// lists of several panes on one folder sharing one read while it is current.
class TestPaneReads : public TestCase, protected PaneBoardFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void folderChange();
    void panesOnOneFolderShareOneRead();
    void folderChangeTakesOnlyCurrentNames();
    void folderChangeHidesMessageOnlyWithNames_data();
    void folderChangeHidesMessageOnlyWithNames();
    void changeExtension_data();
    void changeExtension();
    void refreshAllAndRefreshPane();
};

void TestPaneReads::init()
{
    failOnUnexpectedWarnings();
    QVERIFY(setUpBoard());
}

void TestPaneReads::cleanup()
{
    tearDownBoard();
}

void TestPaneReads::folderChange()
{
    m_board->pane(5).setVisible(false);
    m_board->pane(2).patternBox()->setText(QStringLiteral("*.txt"));
    m_board->changeExtension(2);
    clickFile(1, 0);
    const QString added = m_dir->createDir(QStringLiteral("added"));
    const QString sub1 = m_dir->filePath(QStringLiteral("sub1"));

    folders(2)->setPath(sub1);
    QCOMPARE(m_board->text6()->text(), QStringLiteral("2"));
    QCOMPARE(m_board->text7()->text(), QStringLiteral("1"));
    QCOMPARE(files(2)->path(), sub1);
    QCOMPARE(names(files(2)), QStringList{"x.txt"}); // with pane 2's own pattern
    QCOMPARE(files(2)->pattern(), QStringLiteral("*.txt"));
    for (int n : {1, 3, 4, 5}) {
        QCOMPARE(folders(n)->path(), m_dir->path());
        QVERIFY2(subfolderPaths(folders(n)).contains(added), qPrintable(QString::number(n)));
        QCOMPARE(files(n)->path(), m_dir->path());
    }
    QVERIFY(!subfolderPaths(folders(2)).contains(added));
    QCOMPARE(selectedRows(files(1)), QList<int>{0}); // file lists are not refreshed

    // The pattern holds through the next folder change.
    folders(2)->setPath(m_dir->path());
    QCOMPARE(names(files(2)), (QStringList{"a.txt", "B.txt"}));
}

void TestPaneReads::panesOnOneFolderShareOneRead()
{
    const QStringList all{"a.txt", "B.txt", "c.htm", "d.zip"};
    for (int n = 2; n <= PaneCount; ++n) {
        QVERIFY2(sharesNames(files(n), files(1)), qPrintable(QString::number(n)));
        QCOMPARE(names(files(n)), all);
        QCOMPARE(subfolderPaths(folders(n)), subfolderPaths(folders(1)));
    }

    m_board->pane(3).patternBox()->setText(QStringLiteral("*.txt"));
    m_board->changeExtension(3);
    const QString sub1 = m_dir->filePath(QStringLiteral("sub1"));
    folders(4)->setPath(sub1);
    QCOMPARE(names(files(3)), (QStringList{"a.txt", "B.txt"}));
    QCOMPARE(names(files(4)), QStringList{"x.txt"});
    for (int n : {1, 2, 5})
        QCOMPARE(names(files(n)), all);
    // The others keep their one set of names; the two that left hold their own.
    for (int n : {2, 5})
        QVERIFY(sharesNames(files(n), files(1)));
    for (int n : {3, 4})
        QVERIFY(!sharesNames(files(n), files(1)));

    // One selection and current item per pane, though three share their names.
    files(1)->setSelected(0, true);
    files(2)->setSelected(1, true);
    files(2)->setSelected(3, true);
    files(2)->setListIndex(3);
    files(3)->setSelected(1, true);
    files(4)->setListIndex(0);
    QCOMPARE(selectedRows(files(1)), QList<int>{0});
    QCOMPARE(selectedRows(files(2)), (QList<int>{1, 3}));
    QCOMPARE(selectedRows(files(3)), QList<int>{1});
    QCOMPARE(selectedRows(files(4)), QList<int>());
    QCOMPARE(selectedRows(files(5)), QList<int>());
    QCOMPARE(files(1)->listIndex(), -1);
    QCOMPARE(files(2)->fileName(), QStringLiteral("d.zip"));
    QCOMPARE(files(4)->fileName(), QStringLiteral("x.txt"));

    // A new file shows in a pane once that pane refreshes, and only there.
    m_dir->createFile(QStringLiteral("e.txt"));
    m_board->refreshPane(1);
    QCOMPARE(names(files(1)), (QStringList{"a.txt", "B.txt", "c.htm", "d.zip", "e.txt"}));
    QCOMPARE(names(files(2)), all);
    QCOMPARE(selectedRows(files(2)), (QList<int>{1, 3}));
    QCOMPARE(selectedRows(files(1)), QList<int>());

    m_board->refreshAll();
    for (int n : {2, 5}) {
        QCOMPARE(names(files(n)), names(files(1)));
        QVERIFY(sharesNames(files(n), files(1)));
    }
    QCOMPARE(names(files(3)), (QStringList{"a.txt", "B.txt", "e.txt"}));
    QCOMPARE(names(files(4)), QStringList{"x.txt"});
    for (int n = 1; n <= PaneCount; ++n)
        QCOMPARE(selectedRows(files(n)), QList<int>());

    // Back to every name: pane 3 takes the names the others show, the folder being unchanged.
    m_board->pane(3).patternBox()->clear();
    m_board->changeExtension(3);
    QVERIFY(sharesNames(files(3), files(1)));
    QCOMPARE(files(3)->pattern(), QString());
    m_dir->createFile(QStringLiteral("f.txt"));
    m_board->pane(3).patternBox()->setText(QStringLiteral("*.txt"));
    m_board->changeExtension(3);
    m_board->pane(5).patternBox()->setText(QStringLiteral("*.txt"));
    m_board->changeExtension(5);
    QVERIFY(sharesNames(files(5), files(3)));
    QCOMPARE(names(files(5)), (QStringList{"a.txt", "B.txt", "e.txt", "f.txt"}));
    m_board->pane(5).patternBox()->clear();
    m_board->changeExtension(5); // pane 1's names miss f.txt: pane 5 reads for itself
    QVERIFY(!sharesNames(files(5), files(1)));
    QCOMPARE(names(files(5)), (QStringList{"a.txt", "B.txt", "c.htm", "d.zip", "e.txt", "f.txt"}));
}

void TestPaneReads::folderChangeTakesOnlyCurrentNames()
{
    const QString sub1 = m_dir->filePath(QStringLiteral("sub1"));
    folders(4)->setPath(sub1);
    folders(5)->setPath(sub1);
    QVERIFY(sharesNames(files(5), files(4)));
    QCOMPARE(names(files(5)), QStringList{"x.txt"});

    // Pane 4's names of sub1 are out of date: pane 2 reads the folder itself.
    m_dir->createFile(QStringLiteral("sub1/y.txt"));
    folders(2)->setPath(sub1);
    QCOMPARE(names(files(2)), (QStringList{"x.txt", "y.txt"}));
    QCOMPARE(names(files(4)), QStringList{"x.txt"});
    QVERIFY(!sharesNames(files(2), files(4)));

    // Another pattern is another list, even of the same folder.
    m_board->pane(3).patternBox()->setText(QStringLiteral("y*"));
    m_board->changeExtension(3);
    folders(3)->setPath(sub1);
    QCOMPARE(names(files(3)), QStringList{"y.txt"});
    QCOMPARE(files(3)->pattern(), QStringLiteral("y*"));

    // Back to the start folder, which pane 1 shows as read: its names serve.
    folders(2)->setPath(m_dir->path());
    QVERIFY(sharesNames(files(2), files(1)));
    QCOMPARE(names(files(2)), (QStringList{"a.txt", "B.txt", "c.htm", "d.zip"}));
}

void TestPaneReads::folderChangeHidesMessageOnlyWithNames_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("shownBefore");
    QTest::addColumn<bool>("shownAfter");
    QTest::newRow("names hide it") << "sub1" << true << false;
    QTest::newRow("no names keep it shown") << "empty" << true << true;
    QTest::newRow("no names keep it hidden") << "empty" << false << false;
    QTest::newRow("names keep it hidden") << "sub1" << false << false;
}

void TestPaneReads::folderChangeHidesMessageOnlyWithNames()
{
    QFETCH(QString, folder);
    QFETCH(bool, shownBefore);
    QFETCH(bool, shownAfter);
    // Pane 2's button shows the message, pane 4's folder change decides.
    m_board->pane(2).patternBox()->setText(shownBefore ? "*.none" : "*.txt");
    m_board->changeExtension(2);
    QCOMPARE(m_board->text8()->isHidden(), !shownBefore);
    folders(4)->setPath(m_dir->filePath(folder));
    QCOMPARE(m_board->text6()->text(), QStringLiteral("4"));
    QCOMPARE(m_board->text8()->isHidden(), !shownAfter);
}

void TestPaneReads::changeExtension_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("zip files") << "*.zip" << QStringList{"d.zip"};
    QTest::newRow("two patterns") << "*.htm;*.ZIP" << QStringList{"c.htm", "d.zip"};
    QTest::newRow("two patterns as the tooltip writes them") << "*.zip,*.htm" << QStringList{"c.htm", "d.zip"};
    QTest::newRow("no exe files") << "*.exe" << QStringList{};
    QTest::newRow("a name without wildcard") << "b.TXT" << QStringList{"B.txt"};
    QTest::newRow("taken as typed, blank and all") << "*.txt " << QStringList{};
    QTest::newRow("empty lists all") << "" << QStringList{"a.txt", "B.txt", "c.htm", "d.zip"};
}

void TestPaneReads::changeExtension()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, listed);
    clickFile(3, 1);
    clickFile(3, 2, Qt::ShiftModifier);
    m_board->pane(1).patternBox()->setText(QStringLiteral("*.none"));
    m_board->changeExtension(1); // the message is up
    QVERIFY(!m_board->text8()->isHidden());

    m_board->pane(3).patternBox()->setText(typed);
    QTest::mouseClick(m_board->pane(3).button(), Qt::LeftButton);
    QCOMPARE(files(3)->pattern(), typed);
    QCOMPARE(names(files(3)), listed);
    QCOMPARE(selectedRows(files(3)), QList<int>());
    QCOMPARE(m_board->text8()->isHidden(), !listed.isEmpty());
    if (listed.isEmpty()) {
        QCOMPARE(m_board->text8()->text(), QStringLiteral("No files of this type in present directory."));
        QCOMPARE(m_board->text8()->cursorPosition(), 0); // the start shows in the narrow field
    }
    QCOMPARE(m_board->text7()->text(), QStringLiteral("3"));
    QCOMPARE(names(files(2)).size(), 4); // no other pane is touched
}

void TestPaneReads::refreshAllAndRefreshPane()
{
    m_board->fileListClick(4);
    for (int n = 1; n <= PaneCount; ++n)
        files(n)->setSelected(1, true);
    QFile::remove(m_dir->filePath(QStringLiteral("c.htm")));
    const QString added = m_dir->createDir(QStringLiteral("added"));

    m_board->refreshPane(2);
    QCOMPARE(names(files(2)), (QStringList{"a.txt", "B.txt", "d.zip"}));
    QCOMPARE(selectedRows(files(2)), QList<int>());
    QCOMPARE(selectedRows(files(3)), QList<int>{1});
    QCOMPARE(names(files(3)).size(), 4);

    m_board->pane(5).setVisible(false);
    m_board->refreshAll();
    for (int n = 1; n <= PaneCount; ++n) {
        QCOMPARE(names(files(n)), (QStringList{"a.txt", "B.txt", "d.zip"}));
        QCOMPARE(selectedRows(files(n)), QList<int>());
        QVERIFY(!subfolderPaths(folders(n)).contains(added)); // folder lists are left alone
    }
    QCOMPARE(m_board->activePane(), 4);
    QCOMPARE(m_board->text7()->text(), QStringLiteral("4"));
}

QTEST_MAIN(TestPaneReads)
#include "tst_panereads.moc"
