#include "app/FileOperations.h"
#include "app/Form1.h"
#include "app/MainMenus.h"
#include "FormFixture.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "platform/PathHelper.h"
#include "search/DeepSearch.h"
#include "search/ResultList.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

// File > "Search " opens the search window, and the copy batch reaches its result list.
class TestSearchWindow : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void searchMenuShowsOneWindow();
    void copyBatchReadsAndEmptiesResults();
};

void TestSearchWindow::searchMenuShowsOneWindow()
{
    FormFixture f;
    QAction *item = f.form->menus().action(QStringLiteral("mnuSearchFor"));
    QCOMPARE(item->text(), QStringLiteral("Search "));
    QCOMPARE(item->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    QVERIFY(!f.form->search().window().isLoaded());

    item->trigger();
    Dig *dig = f.form->search().window().ifLoaded();
    QVERIFY(dig);
    QVERIFY(dig->isVisible());
    QVERIFY(dig->isEnabled());
    // Shown without an owner: it does not stay above the main window or hide with it.
    QVERIFY(!dig->parentWidget());

    dig->mnuExit_Click();
    item->trigger();
    QCOMPARE(f.form->search().window().ifLoaded(), dig);
    QVERIFY(dig->isVisible());
}

void TestSearchWindow::copyBatchReadsAndEmptiesResults()
{
    TestDir found;
    const QString a = found.createFile(QStringLiteral("a.txt"), "alpha");
    const QString b = found.createFile(QStringLiteral("deeper/b.txt"), "beta");
    TestDir target;
    FormFixture f;
    f.services.dialogs.acceptAllMessages();
    f.form->board().pane(4).folderList()->setPath(target.path());
    f.form->menus().action(QStringLiteral("mnuSearchFor"))->trigger();
    Dig &dig = *f.form->search().window().get();
    dig.txtvalue()->setText(found.path());
    dig.textval()->setText(QStringLiteral("*.txt"));
    dig.Check1()->setChecked(true);
    QSignalSpy over(&dig, &Dig::idle);
    dig.Command2_Click();
    QVERIFY(over.wait(30 * 1000));
    QCOMPARE(f.form->search().count(), 2);
    dig.List1()->selectAll();

    // The search window's Copy fills the batch with the selected paths and their names.
    CopyBatch &batch = f.form->fileOperations().batch();
    batch.clearList1();
    batch.clearList2();
    f.form->fileOperations().searchBatch().ListCopy();
    QCOMPARE(batch.list2(), (QStringList{a, b}));
    for (const QString &path : batch.list2())
        batch.appendName(PathHelper::baseName(path));

    f.form->menus().action(QStringLiteral("mnuPasteFile4"))->trigger();

    QCOMPARE(target.read(QStringLiteral("a.txt")), QByteArray("alpha"));
    QCOMPARE(target.read(QStringLiteral("b.txt")), QByteArray("beta"));
    // The paste emptied the result list, not the mirror list.
    QCOMPARE(dig.List1()->count(), 0);
    QCOMPARE(dig.List2(), (QStringList{a, b}));
}

QTEST_MAIN(TestSearchWindow)
#include "tst_searchwindow.moc"
