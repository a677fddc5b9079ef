#include "FormFixture.h"

#include "app/InternetMenu.h"
#include "app/MainMenus.h"
#include "web/SearchEngines.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The "&Internet" menu's items reach their commands on the running main window.
class TestInternetMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyEngineItemFillsTheKeywordPrompt();
    void storedEngineOpensAfterRestart();
};

void TestInternetMenu::everyEngineItemFillsTheKeywordPrompt()
{
    FormFixture f;
    Form1 &form = f.start();
    KeywordSearch &search = form.internetMenu().keywordSearch();
    for (const SearchEngine &engine : SearchEngines::all()) {
        QAction *item = form.menus().action(engine.item);
        QVERIFY2(item, qPrintable(engine.item));
        item->trigger();
        QVERIFY(search.ISeek());
        QCOMPARE(search.ISeek()->key(), engine.key);
    }
}

void TestInternetMenu::storedEngineOpensAfterRestart()
{
    FormFixture f;
    f.start();
    f.store.SaveRegString(HKEY_CURRENT_USER, UserLinkSlots::MenuKey, QStringLiteral("mnuYes2"), QStringLiteral("R&D"));
    f.store.SaveRegString(HKEY_CURRENT_USER, UserLinkSlots::WebLinksKey, QStringLiteral("mnuYes2"),
                          QStringLiteral("http://rd.example/?a=1&b=2"));
    Form1 &form = f.restart();
    QAction *item = form.menus().action(QStringLiteral("mnuYes2"));
    QVERIFY(item->isVisible());
    QCOMPARE(item->text(), QStringLiteral("R&&D"));
    item->trigger();
    LinkPrompt *prompt = form.internetMenu().keywordSearch().ISeek();
    QVERIFY(prompt);
    QCOMPARE(prompt->key(), QStringLiteral("Panoptra R&D Search"));
    QCOMPARE(prompt->label1()->text(), QStringLiteral("Search R&D"));
    QTest::mouseClick(prompt->button(QStringLiteral("Command1")), Qt::LeftButton);
    QCOMPARE(f.services.browser.addresses, QStringList{QStringLiteral("http://rd.example/?a=1&b=2")});
}

QTEST_MAIN(TestInternetMenu)
#include "tst_internetmenu.moc"
