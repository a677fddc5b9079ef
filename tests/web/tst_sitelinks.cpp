#include "WebFixture.h"

#include "platform/Twips.h"
#include "support/TestCase.h"
#include "web/AuctionLinks.h"
#include "web/FavouriteLinks.h"
#include "web/FindWebSite.h"
#include "web/InternetStart.h"
#include "web/NewsAndWeather.h"
#include "web/SiteTables.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

namespace {

struct SitesFixture : WebFixture
{
    NewsAndWeather newsAndWeather{test.services(), &owner};
    AuctionLinks auctions{test.services(), store, lookup(), &owner};
    FavouriteLinks favourites{test.services(), store, lookup(), &owner};
    InternetStart internetStart{test.services(), &owner};
    FindWebSite findWebSite{test.services(), &owner};

    static void press(QWidget *window, const char *button)
    {
        QTest::mouseClick(static_cast<DesignedWindow *>(window)->button(QLatin1String(button)), Qt::LeftButton);
        settle();
    }
    // The pair that a fixed item of news, weather or auctions fills, after its click.
    PromptPair &click(const QString &item)
    {
        if (AuctionLinks::fixedItems().contains(item)) {
            auctions.fixedItem_Click(item);
            return auctions.pair();
        }
        newsAndWeather.item_Click(item);
        return SiteTables::item(SiteTables::newsItems(), item) ? newsAndWeather.news() : newsAndWeather.weather();
    }
};

} // namespace

class TestSiteLinks : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void fixedSiteOpensOnce_data();
    void fixedSiteOpensOnce();
    void busyLauncherStays_data();
    void busyLauncherStays();
    void newsPromptRefilledWhileOpen();
    void auctionSlotLinks();
    void userAuctionNamedLikeFixedSite();
    void everyFavouriteOpensItsOwnAddress();
    void favouriteChangedBeforeOkay();
    void internetStartNeedsABrowser();
    void findWebSitePassesTheTextAsTyped_data();
    void findWebSitePassesTheTextAsTyped();
};

void TestSiteLinks::fixedSiteOpensOnce_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("label");
    const QString eight(8, QLatin1Char(' '));
    const QString seven(7, QLatin1Char(' '));
    const QString goTo = QString(18, QLatin1Char(' ')) + "Go to Auction?";
    QTest::newRow("ABC News") << "mnuABCNews" << "ABC News" << eight + "Visit ABC News?";
    QTest::newRow("CNN") << "mnuCNNNews" << "CNN" << QString(11, QLatin1Char(' ')) + "Visit CNN?";
    QTest::newRow("CBS News") << "mnuCBSNews" << "CBS News" << eight + "Visit CBS News?";
    QTest::newRow("Fox News") << "mnuFoxNews" << "Fox News" << eight + "Visit Fox News?";
    QTest::newRow("USA Today") << "mnuUSAToday" << "USA Today" << eight + "Visit USA Today?";
    QTest::newRow("NOAA") << "mnuNOAA" << "National Oceanic and Atmosperic Administration"
                          << QString(19, QLatin1Char(' ')) + "Visit NOAA?";
    QTest::newRow("Weather Channel") << "mnuWeatherChannel" << "The Weather Channel"
                                     << seven + "Visit The Weather Channel?";
    QTest::newRow("Yahoo weather") << "mnuYaho" << "Yahoo Weather" << seven + "Visit Yahoo weather?";
    QTest::newRow("Auction Guide") << "mnuAuctionGuide" << "Auction Guide" << goTo;
    QTest::newRow("Bent Monkey") << "mnuBentMonkey" << "Bent Monkey" << goTo;
    QTest::newRow("Bid 4 Assets") << "mnuBid4Assets" << "Bid 4 Assets" << goTo;
    QTest::newRow("Buy Sell Trades") << "mnuBuySellTrades" << "Buy Sell Trades" << goTo;
    QTest::newRow("Ebay") << "mnuEbay" << "Ebay" << goTo;
    QTest::newRow("Sotheby's") << "mnuSothebys" << "Sotheby's" << goTo;
    QTest::newRow("Sports Collective") << "mnuSportsCollective" << "Sports Collective" << goTo;
}

void TestSiteLinks::fixedSiteOpensOnce()
{
    QFETCH(QString, item);
    QFETCH(QString, key);
    QFETCH(QString, label);
    SitesFixture f;
    PromptPair &pair = f.click(item);
    LinkPrompt *prompt = pair.loadedPrompt();
    QVERIFY(prompt);
    QVERIFY(prompt->isVisible());
    QCOMPARE(prompt->key(), key);
    QCOMPARE(prompt->label1()->text(), label);
    QCOMPARE(prompt->focusWidget(), prompt->button(QStringLiteral("Command1")));

    SitesFixture::press(prompt, "Command1");
    QCOMPARE(f.browserAddresses().size(), 1);
    const QUrl address(f.browserAddresses().first(), QUrl::StrictMode);
    QCOMPARE(address.scheme(), QStringLiteral("http"));
    QVERIFY(!address.host().isEmpty());
    QVERIFY(!address.hasQuery());
    QCOMPARE(f.test.browser.styles.first(), WindowStyle::Maximized);
    QCOMPARE(f.test.browserAutomation.quits, 1);
    // The launcher closed itself and took its prompt along.
    QVERIFY(!pair.loadedLauncher());
    QVERIFY(!pair.loadedPrompt());
}

void TestSiteLinks::busyLauncherStays_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("maximised");
    QTest::addColumn<bool>("promptVisible");
    QTest::newRow("news: maximised, prompt hidden") << "mnuCNNNews" << true << false;
    QTest::newRow("weather: normal, prompt hidden") << "mnuNOAA" << false << false;
    QTest::newRow("auctions: maximised, prompt stays") << "mnuEbay" << true << true;
}

void TestSiteLinks::busyLauncherStays()
{
    QFETCH(QString, item);
    QFETCH(bool, maximised);
    QFETCH(bool, promptVisible);
    SitesFixture f;
    f.test.browserAutomation.busy = true;
    PromptPair &pair = f.click(item);
    SitesFixture::press(pair.loadedPrompt(), "Command1");
    QCOMPARE(f.browserAddresses().size(), 1);
    LauncherWindow *launcher = pair.loadedLauncher();
    QVERIFY(launcher);
    QVERIFY(launcher->isVisible());
    QCOMPARE(launcher->windowState().testFlag(Qt::WindowMaximized), maximised);
    QCOMPARE(pair.loadedPrompt()->isVisible(), promptVisible);

    // Again from the menu: the launcher only comes up.
    f.click(item);
    SitesFixture::press(pair.loadedPrompt(), "Command1");
    QCOMPARE(f.browserAddresses().size(), 1);
    QCOMPARE(pair.loadedLauncher(), launcher);

    // Closing the launcher closes its prompt too.
    launcher->close();
    WebFixture::settle();
    QVERIFY(!pair.loadedLauncher());
    QVERIFY(!pair.loadedPrompt());
}

void TestSiteLinks::newsPromptRefilledWhileOpen()
{
    SitesFixture f;
    f.click(QStringLiteral("mnuABCNews"));
    LinkPrompt *prompt = f.newsAndWeather.news().loadedPrompt();
    f.click(QStringLiteral("mnuCNNNews"));
    QCOMPARE(f.newsAndWeather.news().loadedPrompt(), prompt);
    QCOMPARE(prompt->key(), QStringLiteral("CNN"));
    SitesFixture::press(prompt, "Command1");
    QCOMPARE(f.browserAddresses(), QStringList{*SiteTables::find(SiteTables::news(), QStringLiteral("CNN"))});
}

void TestSiteLinks::auctionSlotLinks()
{
    SitesFixture f;
    const UserLinkFamily &auctions = UserLinkSlots::auctions();
    f.addLink(auctions, 3, QStringLiteral("Bids"), QStringLiteral("http://bids.example/a b"));
    f.addLink(auctions, 6, QStringLiteral("Bids"), QStringLiteral("http://bids.example/six"));
    f.auctions.mnuAuc_Click(6);
    LinkPrompt *prompt = f.auctions.pair().loadedPrompt();
    QCOMPARE(prompt->label1()->text(), QStringLiteral("          Visit Bids Auction ?"));
    QCOMPARE(prompt->key(), QStringLiteral("Search Bids Website"));
    SitesFixture::press(prompt, "Command1");
    f.auctions.mnuAuc_Click(3);
    SitesFixture::press(f.auctions.pair().loadedPrompt(), "Command1");
    // Both open the lower slot, its address unchanged.
    QCOMPARE(f.browserAddresses(),
             (QStringList{QStringLiteral("http://bids.example/a b"), QStringLiteral("http://bids.example/a b")}));

    // A fixed item after a slot item keeps the slot's label under the fixed key.
    f.auctions.mnuAuc_Click(3);
    f.auctions.fixedItem_Click(QStringLiteral("mnuEbay"));
    prompt = f.auctions.pair().loadedPrompt();
    QCOMPARE(prompt->label1()->text(), QStringLiteral("          Visit Bids Auction ?"));
    SitesFixture::press(prompt, "Command1");
    QCOMPARE(f.browserAddresses().last(), *SiteTables::find(SiteTables::auctions(), QStringLiteral("Ebay")));
}

void TestSiteLinks::userAuctionNamedLikeFixedSite()
{
    SitesFixture f;
    f.addLink(UserLinkSlots::auctions(), 1, QStringLiteral("Ebay"), QStringLiteral("http://my-ebay.example/"));
    f.auctions.mnuAuc_Click(1);
    SitesFixture::press(f.auctions.pair().loadedPrompt(), "Command1");
    QCOMPARE(f.browserAddresses(), QStringList{QStringLiteral("http://my-ebay.example/")});
}

void TestSiteLinks::everyFavouriteOpensItsOwnAddress()
{
    SitesFixture f;
    const UserLinkFamily &favourites = UserLinkSlots::favourites();
    // Names that differ only in case or an end blank, and two of one name: the second of
    // those opens the first's address.
    const QStringList names{QStringLiteral("News"), QStringLiteral("news"), QStringLiteral("News "),
                            QStringLiteral("Twin"), QStringLiteral("Twin")};
    QStringList expected;
    for (int slot = 1; slot <= favourites.count; ++slot) {
        const QString name = slot <= names.size() ? names.at(slot - 1) : QStringLiteral("Fav number %1").arg(slot);
        f.addLink(favourites, slot, name, QStringLiteral("http://fav.example/%1").arg(slot));
        expected << QStringLiteral("http://fav.example/%1").arg(slot == 5 ? 4 : slot);
    }
    for (int slot = 1; slot <= favourites.count; ++slot) {
        f.favourites.mnuFav_Click(slot);
        LinkPrompt *prompt = f.favourites.pair().loadedPrompt();
        const QString name = UserLinkSlots::linkName(f.item(favourites.slotName(slot)));
        QCOMPARE(prompt->label1()->text(), QStringLiteral("Visit ") + name + QStringLiteral(" ?"));
        QCOMPARE(prompt->key(), QStringLiteral("Visit ") + name + QStringLiteral(" Website"));
        QVERIFY(!prompt->windowFlags().testFlag(Qt::Tool));
        SitesFixture::press(prompt, "Command1");
        QVERIFY(!f.favourites.pair().loadedPrompt());
    }
    QCOMPARE(f.browserAddresses(), expected);
    QVERIFY(std::all_of(f.test.browser.styles.cbegin(), f.test.browser.styles.cend(),
                        [](WindowStyle style) { return style == WindowStyle::Maximized; }));
}

void TestSiteLinks::favouriteChangedBeforeOkay()
{
    SitesFixture f;
    const UserLinkFamily &favourites = UserLinkSlots::favourites();
    f.addLink(favourites, 1, QStringLiteral("Old"), QStringLiteral("http://one/"));
    f.addLink(favourites, 2, QStringLiteral("Old"), QStringLiteral("http://two/"));
    f.favourites.mnuFav_Click(2);
    // Removed, then another link added in the same slot: the other of the name still opens.
    f.addLink(favourites, 2, QStringLiteral("New"), QStringLiteral("http://new/"));
    SitesFixture::press(f.favourites.pair().loadedPrompt(), "Command1");
    QCOMPARE(f.browserAddresses(), QStringList{QStringLiteral("http://one/")});

    // With no other of the name nothing opens, and neither window is left behind to hold
    // back the next favourite.
    f.favourites.mnuFav_Click(1);
    f.addLink(favourites, 1, QStringLiteral("Newer"), QStringLiteral("http://newer/"));
    SitesFixture::press(f.favourites.pair().loadedPrompt(), "Command1");
    QCOMPARE(f.browserAddresses().size(), 1);
    QVERIFY(!f.favourites.pair().loadedLauncher());
    QVERIFY(!f.favourites.pair().loadedPrompt());
    f.favourites.mnuFav_Click(2);
    SitesFixture::press(f.favourites.pair().loadedPrompt(), "Command1");
    QCOMPARE(f.browserAddresses().last(), QStringLiteral("http://new/"));
}

void TestSiteLinks::internetStartNeedsABrowser()
{
    SitesFixture f;
    f.test.browser.installed = false;
    f.internetStart.mnuIStart_Click();
    WebDialog *window = f.internetStart.IStart();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Internet Connect"));
    QCOMPARE(window->label1()->text(), QString(15, QLatin1Char(' ')) + "Make Internet Connection?");
    QCOMPARE(window->size(), Twips::size(5610, 3795));
    QVERIFY(!window->windowFlags().testFlag(Qt::Tool));
    // The window system places it, unlike the prompts, which stand centred.
    const QPoint centred = QGuiApplication::primaryScreen()->availableGeometry().center() - window->rect().center();
    QVERIFY(window->pos() != centred);
    SitesFixture::press(window, "Command1");
    QVERIFY(f.browserAddresses().isEmpty());
    QCOMPARE(f.internetStart.IStart(), window);
    QVERIFY(window->isVisible());
    QVERIFY(f.test.dialogs.messages().isEmpty());

    f.test.browser.installed = true;
    SitesFixture::press(window, "Command1");
    QCOMPARE(f.browserAddresses(), QStringList{SiteTables::portal()});
    QVERIFY(!SiteTables::portal().contains(QLatin1Char('/')));
    QCOMPARE(f.test.browser.styles, QList<WindowStyle>{WindowStyle::Normal});
    QVERIFY(!f.internetStart.IStart());

    f.internetStart.mnuIStart_Click();
    SitesFixture::press(f.internetStart.IStart(), "Command2");
    QVERIFY(!f.internetStart.IStart());
    QCOMPARE(f.browserAddresses().size(), 1);
}

void TestSiteLinks::findWebSitePassesTheTextAsTyped_data()
{
    QTest::addColumn<QString>("typed"); // a null text leaves the design text
    QTest::newRow("design text untouched") << QString();
    QTest::newRow("blanks and case kept") << "  Http://Example.COM/a b  ";
    QTest::newRow("empty box") << "";
}

void TestSiteLinks::findWebSitePassesTheTextAsTyped()
{
    QFETCH(QString, typed);
    SitesFixture f;
    f.findWebSite.mnuSiteSearch_Click();
    LinkPrompt *dialog = f.findWebSite.pair().loadedPrompt();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Find Website"));
    QCOMPARE(dialog->pos(), QGuiApplication::primaryScreen()->availableGeometry().center() - dialog->rect().center());
    QCOMPARE(dialog->focusWidget(), dialog->text1());
    if (!typed.isNull())
        dialog->text1()->setText(typed);
    const QString expected = typed.isNull() ? QStringLiteral("http://www.") : typed;
    SitesFixture::press(dialog, "Command1");
    // The dialog stays, so "Okay" can open the address again.
    QCOMPARE(f.findWebSite.pair().loadedPrompt(), dialog);
    QVERIFY(dialog->isVisible());
    SitesFixture::press(dialog, "Command1");
    QCOMPARE(f.browserAddresses(), (QStringList{expected, expected}));
    QCOMPARE(f.test.browserAutomation.quits, 2);
    QVERIFY(!f.findWebSite.pair().loadedLauncher());
}

QTEST_MAIN(TestSiteLinks)
#include "tst_sitelinks.moc"
