#include "app/FileOperations.h"
#include "app/Form1.h"
#include "app/MainMenus.h"
#include "app/PopupPresenter.h"
#include "FormFixture.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "settings/RegistryStore.h"
#include "support/TestCase.h"
#include "support/TestDir.h"
#include "support/TestServices.h"

#include <QAction>
#include <QApplication>
#include <QTest>

namespace {

QWidget *topLevel(const QString &name)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == name && window->isVisible())
            return window;
    }
    return nullptr;
}
} // namespace

// The menu items of the main window reach the file operations of their pane.
class TestFileOperations : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        m_fixture = std::make_unique<FormFixture>();
        m_services = &m_fixture->services;
        m_form = m_fixture->form.get();
        m_source = std::make_unique<TestDir>();
        m_target = std::make_unique<TestDir>();
        m_source->createFile(QStringLiteral("a.txt"), "alpha");
        m_source->createFile(QStringLiteral("b.txt"), "beta");
        board().pane(2).folderList()->setPath(m_source->path());
        board().pane(4).folderList()->setPath(m_target->path());
    }
    void cleanup()
    {
        m_fixture.reset();
    }

    void copyThenPasteThroughThePopups()
    {
        board().pane(2).fileList()->setSelected(0, true);
        board().pane(2).fileList()->setSelected(1, true);
        trigger(QStringLiteral("mnuCopy2"));
        QCOMPARE(m_form->fileOperations().batch().list1(), (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
        trigger(QStringLiteral("mnuPasteFile4"));
        QCOMPARE(m_target->read(QStringLiteral("a.txt")), QByteArray("alpha"));
        QCOMPARE(m_target->read(QStringLiteral("b.txt")), QByteArray("beta"));
        QCOMPARE(board().pane(4).fileList()->listCount(), 2);
    }

    void fileMenuPastePicksTheActivePane()
    {
        board().pane(2).fileList()->setSelected(0, true);
        board().pane(2).fileList()->setListIndex(0);
        trigger(QStringLiteral("mnuCopy"));
        m_services->dialogs.answerMessage(MessageAnswer::Ok);
        trigger(QStringLiteral("mnuPaste0"));
        QCOMPARE(m_services->dialogs.messageTexts(),
                 QStringList{QStringLiteral("Click on any list of files to choose destination of file(s)")});
        board().fileListClick(4);
        trigger(QStringLiteral("mnuPaste0"));
        QVERIFY(QFile::exists(m_target->filePath(QStringLiteral("a.txt"))));
    }

    void deleteGoesToTheTrash()
    {
        board().pane(2).fileList()->setListIndex(1);
        board().pane(2).fileList()->setSelected(1, true);
        trigger(QStringLiteral("mnuDelete2"));
        QTRY_VERIFY(!QFile::exists(m_source->filePath(QStringLiteral("b.txt"))));
        QVERIFY(QFile::exists(m_source->filePath(QStringLiteral("a.txt"))));
        QCOMPARE(m_services->trash.asked, QStringList{m_source->filePath(QStringLiteral("b.txt"))});
    }

    void popupItemsOpenTheirWindows_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("window");
        QTest::newRow("copy file to, pane 1") << QStringLiteral("mnuCopee1") << QStringLiteral("Form2");
        QTest::newRow("copy file to, pane 5") << QStringLiteral("mnuCopee5") << QStringLiteral("Form8");
        QTest::newRow("file rename") << QStringLiteral("mnuReeName2") << QStringLiteral("Namer2");
        QTest::newRow("folder rename") << QStringLiteral("mnuRename3") << QStringLiteral("Namer");
        QTest::newRow("new folder") << QStringLiteral("mnuAddnew4") << QStringLiteral("FoldMaker");
    }
    void popupItemsOpenTheirWindows()
    {
        QFETCH(QString, item);
        QFETCH(QString, window);
        board().pane(2).fileList()->setListIndex(0);
        trigger(item);
        QVERIFY2(topLevel(window), qPrintable(window));
    }

    void removeFolderThroughThePopup()
    {
        const QString empty = m_target->createDir(QStringLiteral("empty"));
        board().pane(5).folderList()->setPath(empty);
        trigger(QStringLiteral("mnuRemove5"));
        QVERIFY(!QFile::exists(empty));
        QCOMPARE(board().pane(5).folderList()->path(), m_target->path());
    }

private:
    PaneBoard &board() { return m_form->board(); }
    void trigger(const QString &item)
    {
        QAction *action = m_form->menus().action(item);
        QVERIFY2(action, qPrintable(item));
        action->trigger();
    }

    std::unique_ptr<FormFixture> m_fixture;
    TestServices *m_services = nullptr;
    Form1 *m_form = nullptr;
    std::unique_ptr<TestDir> m_source;
    std::unique_ptr<TestDir> m_target;
};

QTEST_MAIN(TestFileOperations)
#include "tst_fileoperations.moc"
