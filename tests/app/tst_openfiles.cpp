#include "app/Form1.h"
#include "app/MainMenus.h"
#include "editor/TextEditor.h"
#include "FormFixture.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "support/TestCase.h"
#include "support/TestDir.h"
#include "MinimisedEditor.h"

#include <QAction>
#include <QTest>
#include <QUrl>

// The main window's double-clicks and menu items reach the commands that open files.
class TestOpenFiles : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        m_fixture = std::make_unique<FormFixture>();
        m_fixture->services.dialogs.acceptAllMessages();
        m_dir = std::make_unique<TestDir>();
        m_program = m_dir->createFile(QStringLiteral("tool.exe"));
        m_archive = m_dir->createFile(QStringLiteral("backup.zip"));
        m_picture = m_dir->createFile(QStringLiteral("photo.bmp"));
        for (int n = 1; n <= PaneCount; ++n)
            board().pane(n).folderList()->setPath(m_dir->path());
    }
    void cleanup() { m_fixture.reset(); }

    void doubleClickAndRunOfEveryPane_data();
    void doubleClickAndRunOfEveryPane();
    void fileMenuRun();
    void zipViewOfEveryPane_data();
    void zipViewOfEveryPane();
    void pictureGoesToTheViewer();
    void viewTextAsksForAFile();
    void doubleClickWithTheMouse();
    void viewItemsActOnTheActivePane_data();
    void viewItemsActOnTheActivePane();
    void viewTextLeavesOtherTypesAlone();
    void anOpenEditorIsLeftWhereItIs_data();
    void anOpenEditorIsLeftWhereItIs();

private:
    PaneBoard &board() { return m_fixture->form->board(); }
    MainMenus &menus() { return m_fixture->form->menus(); }
    void trigger(const QString &item)
    {
        QAction *action = menus().action(item);
        QVERIFY2(action, qPrintable(item));
        action->trigger();
    }
    // Selects name alone in pane n as its current item.
    void select(int n, const QString &name)
    {
        FileList *list = board().pane(n).fileList();
        for (int row = 0; row < list->listCount(); ++row) {
            list->setSelected(row, list->item(row) == name);
            if (list->item(row) == name)
                list->setListIndex(row);
        }
    }
    // The file the editor holds; "" when it is not open.
    QString editorPath()
    {
        Textpad *textpad = m_fixture->form->editor().window().ifLoaded();
        return textpad ? textpad->document().path() : QString();
    }
    // The files the browser was started on.
    QStringList browserPages() const
    {
        QStringList pages;
        for (const QString &address : m_fixture->services.browser.addresses)
            pages << QUrl(address).toLocalFile();
        return pages;
    }
    QStringList startedPrograms() const
    {
        QStringList programs;
        for (const StartRequest &start : m_fixture->services.programs.starts)
            programs << start.program;
        return programs;
    }

    std::unique_ptr<FormFixture> m_fixture;
    std::unique_ptr<TestDir> m_dir;
    QString m_program;
    QString m_archive;
    QString m_picture;
};

void TestOpenFiles::doubleClickAndRunOfEveryPane_data()
{
    QTest::addColumn<int>("pane");
    QTest::addColumn<QString>("runItem");
    QTest::newRow("pane 1") << 1 << "mnuRun";
    QTest::newRow("pane 2") << 2 << "mnuRun2";
    QTest::newRow("pane 3") << 3 << "mnuRun3";
    QTest::newRow("pane 4") << 4 << "mnuRun4";
    QTest::newRow("pane 5") << 5 << "mnuRun5";
}

void TestOpenFiles::doubleClickAndRunOfEveryPane()
{
    QFETCH(int, pane);
    QFETCH(QString, runItem);
    select(pane, QStringLiteral("tool.exe"));

    Q_EMIT board().fileDoubleClicked(pane);
    trigger(runItem);

    QCOMPARE(startedPrograms(), (QStringList{m_program, m_program}));
}

void TestOpenFiles::fileMenuRun()
{
    trigger(QStringLiteral("mnuExecute0"));
    QCOMPARE(m_fixture->services.dialogs.messageTexts(),
             QStringList{QStringLiteral("Please select a executable file with a .exe,.com,.bat,or.sys extension first")});

    select(3, QStringLiteral("tool.exe"));
    trigger(QStringLiteral("mnuExecute0"));
    QCOMPARE(startedPrograms(), QStringList{m_program});
    QCOMPARE(menus().action(QStringLiteral("mnuExecute0"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+R")));
}

void TestOpenFiles::zipViewOfEveryPane_data()
{
    QTest::addColumn<int>("pane");
    for (int n = 1; n <= PaneCount; ++n)
        QTest::addRow("pane %d", n) << n;
}

void TestOpenFiles::zipViewOfEveryPane()
{
    QFETCH(int, pane);
    select(pane, QStringLiteral("backup.zip"));
    // Another pane's item: its own pane has no archive current.
    trigger(QStringLiteral("mnuZipView%1").arg(pane % PaneCount + 1));
    trigger(QStringLiteral("mnuZipView%1").arg(pane));
    QCOMPARE(m_fixture->services.shellOpen.opened, QStringList{m_archive});
}

void TestOpenFiles::pictureGoesToTheViewer()
{
    // View Graphic offers the double-clicked picture in the viewer's open dialog; Cancel
    // there leaves no viewer.
    select(2, QStringLiteral("photo.bmp"));
    m_fixture->services.dialogs.answerText(std::nullopt);

    Q_EMIT board().fileDoubleClicked(2);

    QCOMPARE(m_fixture->services.dialogs.fileRequests().size(), 1);
    QCOMPARE(m_fixture->services.dialogs.fileRequests().at(0).fileName, m_picture);
    QVERIFY(m_fixture->services.dialogs.scriptIsEmpty());
    QCOMPARE(startedPrograms(), QStringList());
}

void TestOpenFiles::viewTextAsksForAFile()
{
    const QString empty = m_dir->createDir(QStringLiteral("empty"));
    board().pane(4).folderList()->setPath(empty);
    board().fileListClick(4);

    trigger(QStringLiteral("mnuOpenTextFile"));

    QCOMPARE(m_fixture->services.dialogs.messageTexts(), QStringList{QStringLiteral("Please select an existing file")});
}

void TestOpenFiles::doubleClickWithTheMouse()
{
    // The list's click makes the pane the active one before the double-click arrives, so the
    // page that View Html loads and shows in the browser is the one double-clicked.
    const QString page = m_dir->createFile(QStringLiteral("my page; #1.htm"), "<p>hello</p>");
    m_fixture->form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_fixture->form.get()));
    FileList *list = board().pane(2).fileList();
    list->refresh();
    int row = 0;
    while (row < list->listCount() && list->item(row) != QStringLiteral("my page; #1.htm"))
        ++row;
    const QPoint where = list->visualRect(list->model()->index(row, 0)).center();

    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, where);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, where);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, where);
    QVERIFY(m_fixture->editorLoadEnded());

    QCOMPARE(board().text7()->text(), QStringLiteral("2"));
    QCOMPARE(editorPath(), page);
    QCOMPARE(browserPages(), QStringList{page});
}

void TestOpenFiles::viewItemsActOnTheActivePane_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("showsPage");
    QTest::newRow("View menu, View Html") << "mnuHtm_0" << true;
    QTest::newRow("pane 1's View Html") << "MnuViewHtml1" << true;
    QTest::newRow("pane 4's View Html") << "mnuViewHtml4" << true;
    QTest::newRow("pane 5's View Html") << "mnuViewHtml5" << true;
    QTest::newRow("View Text") << "mnuOpenTextFile" << false;
}

void TestOpenFiles::viewItemsActOnTheActivePane()
{
    QFETCH(QString, item);
    QFETCH(bool, showsPage);
    const QString page = m_dir->createFile(QStringLiteral("index.htm"), "<p>hello</p>");
    board().pane(1).fileList()->refresh();
    select(1, QStringLiteral("index.htm"));
    board().fileListClick(1);
    select(4, QStringLiteral("tool.exe"));

    trigger(item);
    QVERIFY(m_fixture->editorLoadEnded());

    QCOMPARE(editorPath(), page);
    QCOMPARE(browserPages(), showsPage ? QStringList{page} : QStringList());
}

void TestOpenFiles::viewTextLeavesOtherTypesAlone()
{
    select(3, QStringLiteral("photo.bmp"));
    board().fileListClick(3);

    trigger(QStringLiteral("mnuOpenTextFile"));

    QVERIFY(!m_fixture->form->editor().window().isLoaded());
    QCOMPARE(m_fixture->services.dialogs.messageTexts(), QStringList());
}

void TestOpenFiles::anOpenEditorIsLeftWhereItIs_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("item"); // "" for the double-click
    QTest::newRow("View Text") << "notes.txt" << "mnuOpenTextFile";
    QTest::newRow("View Html") << "index.htm" << "mnuHtm_0";
    QTest::newRow("double-click on a page") << "index.htm" << "";
}

void TestOpenFiles::anOpenEditorIsLeftWhereItIs()
{
    QFETCH(QString, name);
    QFETCH(QString, item);
    const QString first = m_dir->createFile(QStringLiteral("first.txt"), "first");
    const QString path = m_dir->createFile(name, "second");
    MinimisedEditor editor(*m_fixture, first, m_fixture->form.get());
    board().pane(2).fileList()->refresh();
    select(2, name);
    board().fileListClick(2);

    if (item.isEmpty())
        Q_EMIT board().fileDoubleClicked(2);
    else
        trigger(item);

    editor.verifyLeftAlone(path);
}

QTEST_MAIN(TestOpenFiles)
#include "tst_openfiles.moc"
