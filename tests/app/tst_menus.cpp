#include "app/Form1.h"
#include "app/MainMenus.h"
#include "app/PopupPresenter.h"
#include "panes/PaneBoard.h"
#include "settings/RegistryStore.h"
#include "support/TestServices.h"
#include "FormFixture.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>


class TestMenus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
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

private:
    std::unique_ptr<FormFixture> m_fixture;
    TestServices *m_services = nullptr;
    Form1 *m_form = nullptr;
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
