#include "FormFixture.h"

#include "app/InternetMenu.h"
#include "app/MainMenus.h"
#include "support/TestCase.h"
#include "web/SearchEngines.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>

#include <array>

// The "&Internet" menu's items reach their commands on the running main window.
class TestInternetMenu : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void everyEngineItemFillsTheKeywordPrompt();
    void storedEngineOpensAfterRestart();
    void fixedSiteItemsOpenTheirSites();
    void addedLinkShowsAfterRestart_data();
    void addedLinkShowsAfterRestart();
    void userLinkChangedOrTwinned_data();
    void userLinkChangedOrTwinned();
};

namespace {

// Adds a link through the family's add command and dialog.
void addLink(Form1 &form, const QString &addItem, const QString &name, const QString &address)
{
    form.menus().action(addItem)->trigger();
    UserLinkEditor &editor = form.internetMenu().linkEditor();
    for (LinkKind kind : LinkFamilies::kinds()) {
        if (WebDialog *dialog = editor.addDialog(kind)) {
            dialog->text1()->setText(name);
            dialog->text2()->setText(address);
            QTest::mouseClick(dialog->button(QStringLiteral("Command1")), Qt::LeftButton);
        }
    }
}

// Removes every link of that name through the family's remove command and DeLink.
void removeLink(Form1 &form, const QString &removeItem, const QString &name)
{
    form.menus().action(removeItem)->trigger();
    WebDialog *deLink = form.internetMenu().linkEditor().DeLink();
    deLink->text1()->setText(name);
    QTest::mouseClick(deLink->button(QStringLiteral("Command1")), Qt::LeftButton);
}

PromptPair &pairOf(Form1 &form, const QString &slotStem)
{
    InternetMenu &web = form.internetMenu();
    if (slotStem == QLatin1String("mnuYes"))
        return web.keywordSearch().pair();
    if (slotStem == QLatin1String("mnuAuc"))
        return web.auctions().pair();
    return web.favourites().pair();
}

void okay(PromptPair &pair)
{
    QTest::mouseClick(pair.loadedPrompt()->button(QStringLiteral("Command1")), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

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

void TestInternetMenu::fixedSiteItemsOpenTheirSites()
{
    FormFixture f;
    Form1 &form = f.start();
    QStringList items = NewsAndWeather::items() + AuctionLinks::fixedItems();
    for (const QString &name : items) {
        form.menus().action(name)->trigger();
        // Whichever prompt the item filled, its "Okay" opens one site.
        LinkPrompt *prompt = nullptr;
        for (PromptPair *pair : {&form.internetMenu().newsAndWeather().news(),
                                 &form.internetMenu().newsAndWeather().weather(), &form.internetMenu().auctions().pair()}) {
            if (pair->loadedPrompt() && pair->loadedPrompt()->isVisible())
                prompt = pair->loadedPrompt();
        }
        QVERIFY2(prompt, qPrintable(name));
        QTest::mouseClick(prompt->button(QStringLiteral("Command1")), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QCOMPARE(f.services.browser.addresses.size(), items.size());
    QCOMPARE(QSet<QString>(f.services.browser.addresses.cbegin(), f.services.browser.addresses.cend()).size(),
             items.size());

    form.menus().action(QStringLiteral("mnuIStart"))->trigger();
    QVERIFY(form.internetMenu().internetStart().IStart());
    form.menus().action(QStringLiteral("mnuSiteSearch"))->trigger();
    QVERIFY(form.internetMenu().findWebSite().pair().loadedPrompt());
}

void TestInternetMenu::addedLinkShowsAfterRestart_data()
{
    QTest::addColumn<QString>("addItem");
    QTest::addColumn<QString>("slot");
    QTest::newRow("engine") << "mnuAddSLink" << "mnuYes1";
    QTest::newRow("auction") << "mnuAddALink" << "mnuAuc1";
    QTest::newRow("favourite") << "mnuFav0" << "mnuFav1";
}

void TestInternetMenu::addedLinkShowsAfterRestart()
{
    QFETCH(QString, addItem);
    QFETCH(QString, slot);
    FormFixture f;
    Form1 &form = f.start();
    form.menus().action(addItem)->trigger();
    QWidget *dialog = nullptr;
    for (LinkKind kind : LinkFamilies::kinds()) {
        if (form.internetMenu().linkEditor().addDialog(kind))
            dialog = form.internetMenu().linkEditor().addDialog(kind);
    }
    QVERIFY(dialog);
    auto *designed = static_cast<WebDialog *>(dialog);
    designed->text1()->setText(QStringLiteral("R&D"));
    designed->text2()->setText(QStringLiteral("http://rd.example/"));
    QTest::mouseClick(designed->button(QStringLiteral("Command1")), Qt::LeftButton);
    QCOMPARE(form.menus().action(slot)->text(), QStringLiteral("R&&D"));

    Form1 &again = f.restart();
    QAction *item = again.menus().action(slot);
    QVERIFY(item->isVisible());
    QCOMPARE(item->text(), QStringLiteral("R&&D"));
    item->trigger();
    LinkPrompt *prompt = nullptr;
    for (PromptPair *pair : {&again.internetMenu().keywordSearch().pair(), &again.internetMenu().auctions().pair(),
                             &again.internetMenu().favourites().pair()}) {
        if (pair->loadedPrompt())
            prompt = pair->loadedPrompt();
    }
    QVERIFY(prompt);
    QVERIFY(prompt->key().contains(QLatin1String("R&D")));
    QTest::mouseClick(prompt->button(QStringLiteral("Command1")), Qt::LeftButton);
    QCOMPARE(f.services.browser.addresses, QStringList{QStringLiteral("http://rd.example/")});
}

void TestInternetMenu::userLinkChangedOrTwinned_data()
{
    QTest::addColumn<QString>("slotStem");
    QTest::addColumn<QString>("addItem");
    QTest::addColumn<QString>("removeItem");
    QTest::addColumn<QString>("change"); // between the item's click and "Okay"
    const QList<std::array<const char *, 4>> families{
        {"engines", "mnuYes", "mnuAddSLink", "mnuRemoveSLink"},
        {"auctions", "mnuAuc", "mnuAddALink", "mnuRemoveALink"},
        {"favourites", "mnuFav", "mnuFav0", "mnuRemoveFav"},
    };
    for (const auto &[family, stem, add, remove] : families) {
        for (const char *change : {"none, two of one name", "removed", "replaced by another name"}) {
            QTest::addRow("%s: %s", family, change) << QString::fromLatin1(stem) << QString::fromLatin1(add)
                                                    << QString::fromLatin1(remove) << QString::fromLatin1(change);
        }
    }
}

void TestInternetMenu::userLinkChangedOrTwinned()
{
    QFETCH(QString, slotStem);
    QFETCH(QString, addItem);
    QFETCH(QString, removeItem);
    QFETCH(QString, change);
    FormFixture f;
    Form1 &form = f.start();
    const bool twins = change.startsWith(QLatin1String("none"));
    addLink(form, addItem, QStringLiteral("Docs"), QStringLiteral("http://docs.example/one"));
    addLink(form, addItem, twins ? QStringLiteral("Docs") : QStringLiteral("Next"),
            QStringLiteral("http://docs.example/two"));
    QVERIFY(form.menus().action(slotStem + QLatin1Char('2'))->isVisible());
    PromptPair &pair = pairOf(form, slotStem);

    if (twins) {
        // Either item of two links of one name opens the lower slot.
        for (QChar slot : {QLatin1Char('2'), QLatin1Char('1')}) {
            form.menus().action(slotStem + slot)->trigger();
            okay(pair);
        }
        QCOMPARE(f.services.browser.addresses,
                 (QStringList{QStringLiteral("http://docs.example/one"), QStringLiteral("http://docs.example/one")}));
        return;
    }

    form.menus().action(slotStem + QLatin1Char('1'))->trigger();
    removeLink(form, removeItem, QStringLiteral("Docs"));
    if (change.startsWith(QLatin1String("replaced")))
        addLink(form, addItem, QStringLiteral("Other"), QStringLiteral("http://other.example/"));
    okay(pair);
    // Nothing to open: nothing starts, and no blank launcher stays to hold back the family.
    QVERIFY(f.services.browser.addresses.isEmpty());
    QVERIFY(!pair.loadedLauncher());
    QVERIFY(!pair.loadedPrompt() || !pair.loadedPrompt()->isVisible());
    form.menus().action(slotStem + QLatin1Char('2'))->trigger();
    okay(pair);
    QCOMPARE(f.services.browser.addresses, QStringList{QStringLiteral("http://docs.example/two")});
    QVERIFY(!pair.loadedLauncher());
}

QTEST_MAIN(TestInternetMenu)
#include "tst_internetmenu.moc"
