#include "app/FileOperations.h"
#include "app/Form1.h"
#include "app/MainMenus.h"
#include "editor/TextEditor.h"
#include "editor/Textpad.h"
#include "FormFixture.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "search/DeepSearch.h"
#include "search/ResultList.h"
#include "search/ResultListModel.h"
#include "support/DeepChain.h"
#include "support/TestCase.h"
#include "support/TestDir.h"
#include "MinimisedEditor.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

// The main window with its search window open on the results of a search over tree.
struct Searched
{
    explicit Searched(const TestDir &tree, const QString &pattern = QStringLiteral("*.*"))
    {
        f.services.dialogs.acceptAllMessages();
        f.form->menus().action(QStringLiteral("mnuSearchFor"))->trigger();
        dig().txtvalue()->setText(tree.path());
        dig().textval()->setText(pattern);
        dig().Check1()->setChecked(true);
        QSignalSpy over(&dig(), &Dig::idle);
        dig().Command2_Click();
        over.wait(30 * 1000);
    }
    Dig &dig() { return *f.form->search().window().get(); }
    ResultList &list() { return *dig().List1(); }
    CopyBatch &batch() { return f.form->fileOperations().batch(); }
    QStringList entries()
    {
        QStringList paths;
        for (int row = 0; row < list().count(); ++row)
            paths << list().entry(row);
        return paths;
    }
    void select(const QList<int> &rows)
    {
        for (int row : rows)
            list().selectionModel()->select(list().model()->index(row, 0), QItemSelectionModel::Select);
    }
    // Makes row current without selecting it.
    void makeCurrent(int row)
    {
        list().selectionModel()->setCurrentIndex(list().model()->index(row, 0), QItemSelectionModel::NoUpdate);
    }
    bool anySelected()
    {
        for (int row = 0; row < list().count(); ++row) {
            if (list().isSelected(row))
                return true;
        }
        return false;
    }

    FormFixture f;
};

QStringList names(const QStringList &paths)
{
    QStringList bare;
    for (const QString &path : paths)
        bare << path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    return bare;
}
} // namespace

// The search window's Copy into the main window's copy batch, and its View Text into the editor.
class TestSearchResults : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void copyPairsTheSelectedResults();
    void copyPairsSurviveTheYield_data();
    void copyPairsSurviveTheYield();
    void copyWithoutCurrentItemDoesNothing();
    void copyThenPasteEndToEnd();
    void resultDeeperThanOnePath();
    void viewText_data();
    void viewText();
    void viewTextOpensOnlyTheCurrentItem();
    void viewTextLeavesAnOpenEditorWhereItIs();
    void keysInTheList();
};

void TestSearchResults::copyPairsTheSelectedResults()
{
    TestDir tree;
    for (const char *name : {"a.txt", "b.txt", "c/c.txt", "d/d.txt", "e/e.txt"})
        tree.createFile(QString::fromLatin1(name));
    Searched s(tree);
    const QStringList found = s.entries();
    QCOMPARE(found.size(), 5);
    s.select({0, 2, 4});
    s.makeCurrent(1);
    s.f.services.clipboard.setText(QStringLiteral("left alone"));

    s.dig().menus().action(QStringLiteral("mnuCopy"))->trigger();

    const QStringList copied{found.at(0), found.at(2), found.at(4)};
    QCOMPARE(s.batch().list2(), copied);
    QCOMPARE(s.batch().list1(), names(copied));
    // The list shows every path again, with nothing selected and no current item.
    QCOMPARE(s.entries(), found);
    QCOMPARE(s.dig().List2(), found);
    QVERIFY(!s.anySelected());
    QVERIFY(s.list().currentText().isEmpty());
    QCOMPARE(s.f.services.clipboard.text(), QStringLiteral("left alone"));
}

void TestSearchResults::copyPairsSurviveTheYield_data()
{
    QTest::addColumn<bool>("paneCopy"); // else the selection changes

    QTest::newRow("selection changed during the yield") << false;
    QTest::newRow("pane copy during the yield") << true;
}

void TestSearchResults::copyPairsSurviveTheYield()
{
    QFETCH(bool, paneCopy);
    TestDir tree;
    for (const char *name : {"x/one.txt", "y/two.txt", "z/three.txt"})
        tree.createFile(QString::fromLatin1(name));
    TestDir pane;
    pane.createFile(QStringLiteral("pane.txt"));
    Searched s(tree);
    const QStringList found = s.entries();
    s.select({0, 2});
    s.makeCurrent(0);
    s.f.form->board().pane(3).folderList()->setPath(pane.path());
    s.f.form->board().pane(3).fileList()->setSelected(0, true);

    // Runs inside Copy's one yield.
    QTimer::singleShot(0, &s.dig(), [&] {
        if (paneCopy) {
            s.f.form->menus().action(QStringLiteral("mnuCopy3"))->trigger();
        } else {
            s.list().clearSelection();
            s.select({1});
        }
    });
    s.dig().mnuCopy_Click();

    if (paneCopy) {
        // The later command replaced the batch whole: the pane's names, no search paths.
        QCOMPARE(s.batch().list1(), QStringList{QStringLiteral("pane.txt")});
        QVERIFY(s.batch().list2().isEmpty());
    } else {
        const QStringList copied{found.at(0), found.at(2)};
        QCOMPARE(s.batch().list2(), copied);
        QCOMPARE(s.batch().list1(), names(copied));
    }
    QCOMPARE(s.entries(), found);
}

void TestSearchResults::copyWithoutCurrentItemDoesNothing()
{
    TestDir tree;
    tree.createFile(QStringLiteral("a.txt"));
    tree.createFile(QStringLiteral("b.txt"));
    Searched s(tree);
    s.batch().setPaneBatch({QStringLiteral("kept.txt")}, QStringLiteral("/somewhere"));
    s.select({0, 1});
    QVERIFY(s.list().currentText().isEmpty());

    s.dig().mnuCopy_Click();

    QCOMPARE(s.batch().list1(), QStringList{QStringLiteral("kept.txt")});
    QVERIFY(s.batch().list2().isEmpty());
    QVERIFY(s.list().isSelected(0) && s.list().isSelected(1));
}

void TestSearchResults::copyThenPasteEndToEnd()
{
    TestDir tree;
    const QByteArray first("first\0with a zero", 17);
    const QByteArray second(70000, '\xfe');
    tree.createFile(QStringLiteral("p/one.bin"), first);
    tree.createFile(QStringLiteral("q/skip.bin"), "not selected");
    tree.createFile(QStringLiteral("r/two.bin"), second);
    TestDir target;
    Searched s(tree, QStringLiteral("*.bin"));
    QCOMPARE(s.entries().size(), 3);
    s.select({0, 2});
    s.makeCurrent(2);
    s.f.form->board().pane(2).folderList()->setPath(target.path());

    s.dig().mnuCopy_Click();
    s.f.form->menus().action(QStringLiteral("mnuPasteFile2"))->trigger();

    QCOMPARE(target.entries(), (QStringList{QStringLiteral("one.bin"), QStringLiteral("two.bin")}));
    QCOMPARE(target.read(QStringLiteral("one.bin")), first);
    QCOMPARE(target.read(QStringLiteral("two.bin")), second);
    QCOMPARE(s.list().count(), 0);
}

void TestSearchResults::resultDeeperThanOnePath()
{
    TestDir tree;
    QByteArray text;
    for (int line = 0; line < 5000; ++line)
        text += "line " + QByteArray::number(line) + " of a file far down\n";
    // 30 folders of 200 characters: a path half again as long as one call of the system takes.
    const DeepChain chain(tree.path(), QByteArray(200, 'n'), 30, "deep.txt", text);
    QVERIFY(chain.isMade());
    TestDir target;
    Searched s(tree, QStringLiteral("*.txt"));
    QCOMPARE(s.entries(), QStringList{chain.filePath()});
    s.select({0});
    s.makeCurrent(0);

    s.dig().mnuView_Click();
    QVERIFY(s.f.editorLoadEnded());
    QCOMPARE(s.f.form->editor().window().ifLoaded()->text(), QString::fromLatin1(text));

    s.f.form->board().pane(2).folderList()->setPath(target.path());
    s.dig().mnuCopy_Click();
    s.f.form->menus().action(QStringLiteral("mnuPasteFile2"))->trigger();
    QCOMPARE(s.f.services.dialogs.messageTexts().size(), 1); // the search's summary only
    QCOMPARE(target.entries(), QStringList{QStringLiteral("deep.txt")});
    QCOMPARE(target.read(QStringLiteral("deep.txt")), text);
}

void TestSearchResults::viewText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("opens");

    QTest::newRow("TXT") << "notes.TXT" << true;
    QTest::newRow("txt") << "notes.txt" << true;
    QTest::newRow("Txt") << "notes.Txt" << true;
    QTest::newRow("tXt: a mix of case that is not listed") << "notes.tXt" << false;
    QTest::newRow("no dot: catalog ends in log") << "catalog" << true;
    QTest::newRow("htm") << "page.htm" << true;
    QTest::newRow("html: the four-letter ending is not tested here") << "page.html" << false;
    QTest::newRow("HTML") << "PAGE.HTML" << false;
    QTest::newRow("TTF") << "font.TTF" << true;
    QTest::newRow("Ttf is not listed") << "font.Ttf" << false;
    QTest::newRow("ago is not listed") << "x.ago" << false;
    QTest::newRow("Gpl is not listed") << "COPYING.Gpl" << false;
    QTest::newRow("diz") << "file_id.diz" << true;
    QTest::newRow("picture") << "photo.jpg" << false;
}

void TestSearchResults::viewText()
{
    QFETCH(QString, name);
    QFETCH(bool, opens);
    TestDir tree;
    const QString path = tree.createFile(name, "the text of " + name.toUtf8());
    Searched s(tree);
    s.makeCurrent(0);
    QAction *item = s.dig().menus().action(QStringLiteral("mnuView"));
    QCOMPARE(item->text(), QStringLiteral("&View Text"));
    QCOMPARE(item->shortcut(), QKeySequence(QStringLiteral("Ctrl+V")));

    item->trigger();
    QVERIFY(s.f.editorLoadEnded());

    Textpad *textpad = s.f.form->editor().window().ifLoaded();
    if (opens) {
        QVERIFY(textpad);
        QVERIFY(textpad->isVisible());
        QCOMPARE(textpad->text(), QStringLiteral("the text of ") + name);
        QCOMPARE(s.f.services.files.workerReads().count(path), 1);
    } else {
        QVERIFY(!textpad);
        QVERIFY(s.f.services.files.workerReads().isEmpty());
    }
    // The search window's list is left as it was.
    QCOMPARE(s.list().currentText(), path);
}

void TestSearchResults::viewTextOpensOnlyTheCurrentItem()
{
    TestDir tree;
    const QString a = tree.createFile(QStringLiteral("a.txt"), "alpha");
    const QString b = tree.createFile(QStringLiteral("b.txt"), "beta");
    const QString c = tree.createFile(QStringLiteral("c.txt"), "gamma");
    Searched s(tree);
    s.select({0, 2});
    s.makeCurrent(1);

    s.dig().mnuView_Click();
    QVERIFY(s.f.editorLoadEnded());

    QCOMPARE(s.f.services.files.workerReads(), QStringList{b});
    QCOMPARE(s.f.form->editor().window().ifLoaded()->text(), QStringLiteral("beta"));
    QVERIFY(s.list().isSelected(0) && !s.list().isSelected(1) && s.list().isSelected(2));
}

void TestSearchResults::viewTextLeavesAnOpenEditorWhereItIs()
{
    TestDir tree;
    const QString first = tree.createFile(QStringLiteral("first.txt"), "first");
    const QString second = tree.createFile(QStringLiteral("second.txt"), "second");
    Searched s(tree);
    MinimisedEditor editor(s.f, first, &s.dig());
    s.makeCurrent(int(s.entries().indexOf(second)));

    s.dig().mnuView_Click();

    editor.verifyLeftAlone(second);
}

void TestSearchResults::keysInTheList()
{
    TestDir tree;
    const QString a = tree.createFile(QStringLiteral("a.txt"), "alpha");
    tree.createFile(QStringLiteral("b.txt"), "beta");
    Searched s(tree);
    s.select({0});
    s.makeCurrent(0);
    s.dig().activateWindow();
    s.list().setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&s.dig()));

    QTest::keyClick(&s.list(), Qt::Key_V, Qt::ControlModifier);
    QVERIFY(s.f.editorLoadEnded());
    QCOMPARE(s.f.form->editor().window().ifLoaded()->text(), QStringLiteral("alpha"));

    s.dig().activateWindow();
    s.list().setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&s.dig()));
    QTest::keyClick(&s.list(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(s.batch().list2(), QStringList{a});
}

QTEST_MAIN(TestSearchResults)
#include "tst_searchresults.moc"
