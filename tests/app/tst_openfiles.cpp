#include "app/Form1.h"
#include "app/MainMenus.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "support/TestDir.h"
#include "FormFixture.h"

#include <QAction>
#include <QTest>

// The main window's double-clicks and menu items reach the commands that open files.
class TestOpenFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
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
    void pictureGoesToTheViewGraphicItem();
    void viewTextAsksForAFile();

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

void TestOpenFiles::pictureGoesToTheViewGraphicItem()
{
    int viewGraphic = 0;
    menus().onTriggered(QStringLiteral("mnuBmp"), this, [&viewGraphic] { ++viewGraphic; });
    select(2, QStringLiteral("photo.bmp"));

    Q_EMIT board().fileDoubleClicked(2);

    QCOMPARE(viewGraphic, 1);
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

QTEST_MAIN(TestOpenFiles)
#include "tst_openfiles.moc"
