#include "app/Form1.h"
#include "app/MainMenus.h"
#include "app/PopupPresenter.h"
#include "FormFixture.h"
#include "panes/PaneBoard.h"
#include "settings/RegistryStore.h"
#include "support/TestCase.h"
#include "support/TestDir.h"
#include "support/TestServices.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>


class TestMenus : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        m_fixture = std::make_unique<FormFixture>();
        m_services = &m_fixture->services;
        m_form = m_fixture->form.get();
    }
    void cleanup()
    {
        m_fixture.reset();
    }

    // Every item's name, caption (blanks included), shortcut and design visibility, against
    // the tree written down in the golden file.
    void treeMatchesGolden()
    {
        QFile golden(QStringLiteral(PANOPTRA_TEST_DATA "/menu-tree.golden"));
        QVERIFY(golden.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList expected = QString::fromUtf8(golden.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const QStringList actual = m_form->menus().dump();
        for (int i = 0; i < std::min(expected.size(), actual.size()); ++i)
            QCOMPARE(actual.at(i), expected.at(i));
        QCOMPARE(actual.size(), expected.size());
    }

    // Each submenu that lists user links shows, when it opens, the links another running copy
    // added or removed since the start.
    void linkMenusShowAnotherCopysLinksWhenOpened_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("slot");
        QTest::newRow("auctions") << "mnuAuction" << "mnuAuc2";
        QTest::newRow("search engines") << "mnuSearchEngines" << "mnuYes2";
        QTest::newRow("favourites") << "mnuFavorites" << "mnuFav2";
    }
    void linkMenusShowAnotherCopysLinksWhenOpened()
    {
        QFETCH(QString, menu);
        QFETCH(QString, slot);
        m_fixture->start();
        QAction *item = m_form->menus().action(slot);
        QVERIFY(!item->isVisible());
        RegistryStore other(m_fixture->store.iniPath());
        QVERIFY(other.SaveRegString(HKEY_CURRENT_USER, QStringLiteral("Software\\Panoptra\\Menu"), slot,
                                    QStringLiteral("Theirs")));
        QVERIFY(!item->isVisible());
        QVERIFY(QMetaObject::invokeMethod(m_form->menus().menu(menu), "aboutToShow"));
        QVERIFY(item->isVisible());
        QCOMPARE(item->text(), QStringLiteral("Theirs"));
        QVERIFY(other.DeleteRegValue(HKEY_CURRENT_USER, QStringLiteral("Software\\Panoptra\\Menu"), slot));
        QVERIFY(QMetaObject::invokeMethod(m_form->menus().menu(menu), "aboutToShow"));
        QVERIFY(!item->isVisible());
    }

    void menuBarShowsFiveMenus()
    {
        QStringList titles;
        for (QAction *action : m_form->menuBar()->actions()) {
            if (action->isVisible())
                titles << action->text();
        }
        QCOMPARE(titles, (QStringList{QStringLiteral("&File"), QStringLiteral("View"), QStringLiteral(" Desktop"),
                                      QStringLiteral("&Internet"), QStringLiteral("Help")}));
    }

    void onlyTheTenShortcutsAreBound()
    {
        QStringList keys;
        for (QAction *action : m_form->menus().shortcutActions())
            keys << action->shortcut().toString(QKeySequence::PortableText);
        keys.sort();
        QCOMPARE(keys, (QStringList{QStringLiteral("Ctrl+A"), QStringLiteral("Ctrl+C"), QStringLiteral("Ctrl+D"),
                                    QStringLiteral("Ctrl+F"), QStringLiteral("Ctrl+G"), QStringLiteral("Ctrl+H"),
                                    QStringLiteral("Ctrl+P"), QStringLiteral("Ctrl+R"), QStringLiteral("Ctrl+S"),
                                    QStringLiteral("Ctrl+T")}));
    }

    void shortcutsWinOverPatternBox_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("key");
        QTest::newRow("copy") << QStringLiteral("mnuCopy") << int(Qt::Key_C);
        QTest::newRow("select all") << QStringLiteral("mnuSelectAll0") << int(Qt::Key_A);
        QTest::newRow("delete") << QStringLiteral("mnuDelete0") << int(Qt::Key_D);
        QTest::newRow("view html") << QStringLiteral("mnuHtm_0") << int(Qt::Key_H);
    }
    void shortcutsWinOverPatternBox()
    {
        QFETCH(QString, item);
        QFETCH(int, key);
        m_form->show();
        QApplication::setActiveWindow(m_form);
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        QLineEdit *box = m_form->board().pane(2).patternBox();
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        const QString before = box->text();
        // The commands find no selected file and say so; that is not what this test is about.
        m_services->dialogs.acceptAllMessages();
        QSignalSpy triggered(m_form->menus().action(item), &QAction::triggered);
        QTest::keyClick(box, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(triggered.size(), 1);
        QCOMPARE(box->text(), before);
    }

    // The ten menu keys run their item from every kind of control of the main window, the
    // message field included, and the control does not act on the key itself.
    void menuKeysWinOverEveryControl_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("drive list") << QStringLiteral("Drive2");
        QTest::newRow("folder list") << QStringLiteral("DirBox2");
        QTest::newRow("file list") << QStringLiteral("FileBox2");
        QTest::newRow("button") << QStringLiteral("Command2");
        QTest::newRow("pattern box") << QStringLiteral("Text2");
        QTest::newRow("message field") << QStringLiteral("Text8");
    }
    void menuKeysWinOverEveryControl()
    {
        QFETCH(QString, control);
        const struct
        {
            Qt::Key key;
            const char *item;
        } keys[] = {
            {Qt::Key_C, "mnuCopy"},      {Qt::Key_F, "mnuSendFileTo"}, {Qt::Key_D, "mnuDelete0"},
            {Qt::Key_P, "mnuPaste0"},    {Qt::Key_R, "mnuExecute0"},   {Qt::Key_A, "mnuSelectAll0"},
            {Qt::Key_S, "mnuSearchFor"}, {Qt::Key_G, "mnuBmp"},        {Qt::Key_T, "mnuOpenTextFile"},
            {Qt::Key_H, "mnuHtm_0"},
        };
        TestDir dir;
        dir.createFile(QStringLiteral("a.txt"));
        dir.createFile(QStringLiteral("b.txt"));
        dir.createDir(QStringLiteral("sub"));
        m_form->Form_Load();
        PaneBoard &board = m_form->board();
        board.pane(2).folderList()->setPath(dir.path());
        // The message field shows after a pattern that leaves a list empty.
        board.pane(3).patternBox()->setText(QStringLiteral("*.none"));
        QTest::mouseClick(board.pane(3).button(), Qt::LeftButton);
        QVERIFY(board.text8()->isVisible());
        // The commands find no selected file and say so; that is not what this test is about.
        m_services->dialogs.acceptAllMessages();

        auto *widget = m_form->findChild<QWidget *>(control);
        QVERIFY(widget);
        auto *lineEdit = qobject_cast<QLineEdit *>(widget);
        const QString text = lineEdit ? lineEdit->text() : QString();
        for (const auto &[key, item] : keys) {
            const QString name = QLatin1String(item);
            QApplication::setActiveWindow(m_form);
            QVERIFY(QTest::qWaitForWindowActive(m_form));
            widget->setFocus();
            QTRY_VERIFY(widget->hasFocus());
            QSignalSpy triggered(m_form->menus().action(name), &QAction::triggered);
            QTest::keyClick(widget, key, Qt::ControlModifier);
            QVERIFY2(triggered.size() == 1, qPrintable(control + QStringLiteral(": Ctrl+") + QChar(key) + QStringLiteral(" did not reach ") + name));
            if (lineEdit) {
                QCOMPARE(lineEdit->text(), text);
                QVERIFY(!lineEdit->hasSelectedText());
            }
        }
    }

    // The dump names each item's parent as built, so an item in the wrong submenu is caught.
    void dumpNamesTheParentAsBuilt()
    {
        QMenuBar bar;
        QWidget owner;
        const QList<MenuEntry> table = {
            {QString(), QStringLiteral("mnuTop"), QStringLiteral("Top"), QString()},
            {QStringLiteral("mnuTop"), QStringLiteral("mnuSub"), QStringLiteral("Sub"), QString()},
            {QStringLiteral("mnuSub"), QStringLiteral("mnuInner"), QStringLiteral("Inner"), QStringLiteral("Ctrl+K")},
            {QStringLiteral("mnuTop"), QStringLiteral("mnuOuter"), QStringLiteral("Outer"), QString()},
            {QString(), QStringLiteral("mnuHiddenRoot"), QStringLiteral("Root"), QString(), true},
            {QStringLiteral("mnuHiddenRoot"), QStringLiteral("mnuPop"), QStringLiteral("Pop"), QString()},
        };
        const MenuTree tree(table, &bar, &owner);
        QCOMPARE(tree.dump(), (QStringList{
                                  QStringLiteral("- | mnuTop | Top |  | visible"),
                                  QStringLiteral("mnuTop | mnuSub | Sub |  | visible"),
                                  QStringLiteral("mnuSub | mnuInner | Inner | Ctrl+K | visible"),
                                  QStringLiteral("mnuTop | mnuOuter | Outer |  | visible"),
                                  QStringLiteral("- | mnuHiddenRoot | Root |  | hidden"),
                                  QStringLiteral("mnuHiddenRoot | mnuPop | Pop |  | visible"),
                              }));
    }

private:
    std::unique_ptr<FormFixture> m_fixture;
    TestServices *m_services = nullptr;
    Form1 *m_form = nullptr;
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
