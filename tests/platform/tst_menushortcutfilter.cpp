#include "platform/ui/MenuShortcutFilter.h"
#include "platform/ui/MenuTree.h"
#include "support/TestCase.h"

#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

// The menu's keys in a text box: the item's command runs, but for the keys the box keeps and
// the keys of disabled items.
class TestMenuShortcutFilter : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void keyGoesToMenuOrBox_data();
    void keyGoesToMenuOrBox();
};

void TestMenuShortcutFilter::keyGoesToMenuOrBox_data()
{
    QTest::addColumn<bool>("watched");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("kept"); // Ctrl+A among the keys the box keeps
    QTest::addColumn<bool>("menuRuns"); // else the box selects all its text

    QTest::newRow("an item's key runs the item") << true << true << false << true;
    QTest::newRow("a kept key stays the box's") << true << true << true << false;
    QTest::newRow("a disabled item leaves its key to the box") << true << false << false << false;
    QTest::newRow("a box not watched takes the key itself") << false << true << false << false;
}

void TestMenuShortcutFilter::keyGoesToMenuOrBox()
{
    QFETCH(bool, watched);
    QFETCH(bool, enabled);
    QFETCH(bool, kept);
    QFETCH(bool, menuRuns);

    QMainWindow window;
    auto *client = new QWidget(&window);
    auto *box = new QLineEdit(client);
    new QVBoxLayout(client);
    client->layout()->addWidget(box);
    window.setCentralWidget(client);
    const MenuTree menus({{QString(), QStringLiteral("mnuEdit"), QStringLiteral("Edit"), QString()},
                          {QStringLiteral("mnuEdit"), QStringLiteral("mnuSelect"), QStringLiteral("Select"),
                           QStringLiteral("Ctrl+A")}},
                         window.menuBar(), &window);
    QAction *item = menus.action(QStringLiteral("mnuSelect"));
    item->setEnabled(enabled);
    MenuShortcutFilter filter(menus, kept ? QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+A"))}
                                          : QList<QKeySequence>{});
    if (watched)
        filter.watch(box);
    box->setText(QStringLiteral("typed"));
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    QSignalSpy triggered(item, &QAction::triggered);

    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);

    QCOMPARE(triggered.size(), menuRuns ? 1 : 0);
    QCOMPARE(box->selectedText(), menuRuns ? QString() : QStringLiteral("typed"));
}

QTEST_MAIN(TestMenuShortcutFilter)
#include "tst_menushortcutfilter.moc"
