#include "WebFixture.h"

#include "platform/Twips.h"
#include "support/TestCase.h"
#include "web/KeywordSearch.h"
#include "web/SearchAddress.h"
#include "web/SearchEngines.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QUrlQuery>

namespace {

struct SearchFixture : WebFixture
{
    KeywordSearch search{test.services(), store, lookup(), &owner};

    LinkPrompt *choose(const QString &engineItem)
    {
        search.engineItem_Click(engineItem);
        return search.ISeek();
    }
    // Types keyword into the open prompt and presses "Okay".
    void searchFor(const QString &keyword)
    {
        search.ISeek()->text1()->setText(keyword);
        okay();
    }
    void okay()
    {
        QTest::mouseClick(search.ISeek()->button(QStringLiteral("Command1")), Qt::LeftButton);
        settle();
    }
};

const QString sevenBlanks = QStringLiteral("       ");

} // namespace

class TestKeywordSearch : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void designOfThePrompt();
    void enterAndEscPressNothing();
    void everyFixedEngineSearchesOnce();
    void keywordArrivesWhole_data();
    void keywordArrivesWhole();
    void emptyKeywordAsksForText();
    void busyBrowserKeepsTheLauncher();
    void keyOfWrongCaseMatchesNothing();
    void keywordKeptWhileHiddenEmptiedAfterCancel();
    void userEngineItemFillsThePrompt_data();
    void userEngineItemFillsThePrompt();
    void enginesOfOneNameOpenTheLowerSlot();
    void slotChangedBeforeOkay_data();
    void slotChangedBeforeOkay();
    void fixedEngineAfterUserEngineShowsTheKeywordAgain();
};

void TestKeywordSearch::designOfThePrompt()
{
    SearchFixture f;
    LinkPrompt *prompt = f.choose(QStringLiteral("mnuGoogle"));
    QVERIFY(prompt);
    QCOMPARE(prompt->objectName(), QStringLiteral("ISeek"));
    QVERIFY(prompt->windowFlags().testFlag(Qt::Tool));
    QCOMPARE(prompt->size(), Twips::size(5520, 3750));
    QVERIFY(prompt->isVisible());
    QCOMPARE(prompt->key(), QStringLiteral("Search Google"));
    QCOMPARE(prompt->label1()->text(), sevenBlanks + QStringLiteral("Search Google For Infomation On:"));
    QCOMPARE(prompt->label1()->textFormat(), Qt::PlainText);
    QVERIFY(prompt->text1()->isVisible());
    QCOMPARE(prompt->text1()->text(), QString());
    // Tab moves only between the buttons: the keyword box is no tab stop.
    QVERIFY(!(prompt->text1()->focusPolicy() & Qt::TabFocus));
    QPushButton *okay = prompt->button(QStringLiteral("Command1"));
    QPushButton *cancel = prompt->button(QStringLiteral("Command2"));
    QCOMPARE(okay->text(), QStringLiteral("Okay"));
    QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
    QCOMPARE(okay->nextInFocusChain(), cancel);
}

void TestKeywordSearch::enterAndEscPressNothing()
{
    SearchFixture f;
    f.choose(QStringLiteral("mnuYahoo"));
    QLineEdit *keyword = f.search.ISeek()->text1();
    // With an empty box "Okay" would ask for text; with a keyword it would search.
    QTest::keyClick(keyword, Qt::Key_Return);
    QTest::keyClick(keyword, Qt::Key_Escape);
    keyword->setText(QStringLiteral("abc"));
    QTest::keyClick(keyword, Qt::Key_Enter);
    QTest::keyClick(keyword, Qt::Key_Escape);
    WebFixture::settle();
    QVERIFY(f.test.dialogs.messages().isEmpty());
    QVERIFY(f.browserAddresses().isEmpty());
    QVERIFY(f.search.ISeek());
    QVERIFY(f.search.ISeek()->isVisible());
}

void TestKeywordSearch::everyFixedEngineSearchesOnce()
{
    SearchFixture f;
    ShowCounter inetShows(QStringLiteral("Inet"));
    int searches = 0;
    for (const SearchEngine &engine : SearchEngines::all()) {
        LinkPrompt *prompt = f.choose(engine.item);
        QCOMPARE(prompt->key(), engine.key);
        QCOMPARE(prompt->label1()->text(), sevenBlanks + engine.label);
        f.searchFor(QStringLiteral("panoptra"));
        ++searches;
        QCOMPARE(f.browserAddresses().size(), searches);
        QCOMPARE(f.browserAddresses().last(), SearchAddress::build(engine.addressTemplate, QStringLiteral("panoptra")));
        QCOMPARE(f.test.browser.styles.last(), WindowStyle::Normal);
        QCOMPARE(f.test.browserAutomation.quits, searches);
        // The launcher closed itself; the prompt is only hidden and keeps its texts.
        QVERIFY(!f.search.Inet());
        QVERIFY(!WebFixture::windowExists(QStringLiteral("Inet")));
        QVERIFY(f.search.ISeek());
        QVERIFY(!f.search.ISeek()->isVisible());
        QCOMPARE(f.search.ISeek()->text1()->text(), QStringLiteral("panoptra"));
    }
    QVERIFY(f.test.dialogs.messages().isEmpty());
    QCOMPARE(inetShows.shows, 0);
}

void TestKeywordSearch::keywordArrivesWhole_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::newRow("ampersand and hash") << "a&b #c";
    QTest::newRow("equals and plus") << "x=1+2";
    QTest::newRow("percent") << "50%off";
    QTest::newRow("quotes") << "\"it's\"";
    QTest::newRow("non-ASCII") << QStringLiteral("naïve café");
    QTest::newRow("a blank alone") << " ";
}

void TestKeywordSearch::keywordArrivesWhole()
{
    QFETCH(QString, keyword);
    SearchFixture f;
    f.choose(QStringLiteral("mnuGoogle"));
    f.searchFor(keyword);
    QCOMPARE(f.browserAddresses().size(), 1);
    const QUrl address(f.browserAddresses().first(), QUrl::StrictMode);
    QVERIFY(address.isValid());
    QVERIFY(!address.hasFragment());
    const QUrlQuery query(address);
    QCOMPARE(query.queryItemValue(QStringLiteral("q"), QUrl::FullyDecoded), keyword);
    QCOMPARE(query.queryItems().size(), 3); // q, sa, cof
}

void TestKeywordSearch::emptyKeywordAsksForText()
{
    SearchFixture f;
    f.test.dialogs.acceptAllMessages();
    LinkPrompt *prompt = f.choose(QStringLiteral("mnuLycos"));
    prompt->button(QStringLiteral("Command1"))->setFocus();
    f.okay();
    QCOMPARE(f.test.dialogs.messageTexts(), QStringList{QStringLiteral("Please Enter Search Text To Continue")});
    const MessageRequest &message = f.test.dialogs.messages().first();
    QCOMPARE(message.title, QStringLiteral("Panoptra"));
    QCOMPARE(message.buttons, MessageButtons::Ok);
    QCOMPARE(message.icon, MessageIcon::None);
    QVERIFY(f.browserAddresses().isEmpty());
    QVERIFY(!f.search.Inet());
    QCOMPARE(f.search.ISeek(), prompt);
    QVERIFY(prompt->isVisible());
    QCOMPARE(prompt->focusWidget(), prompt->text1());
}

void TestKeywordSearch::busyBrowserKeepsTheLauncher()
{
    SearchFixture f;
    ShowCounter inetShows(QStringLiteral("Inet"));
    f.test.browserAutomation.busy = true;
    f.choose(QStringLiteral("mnuGoogle"));
    f.searchFor(QStringLiteral("first"));
    QCOMPARE(f.browserAddresses().size(), 1);
    QCOMPARE(f.test.browserAutomation.quits, 0);
    LauncherWindow *inet = f.search.Inet();
    QVERIFY(inet);
    QVERIFY(inet->isVisible());
    QVERIFY(inet->windowState().testFlag(Qt::WindowMaximized));
    QCOMPARE(inet->windowTitle(), QString());
    QVERIFY(inet->findChild<QPushButton *>(QStringLiteral("Command1")));
    QCOMPARE(inet->findChild<QPushButton *>(QStringLiteral("Command2"))->text(), QStringLiteral("Go Forward"));
    QVERIFY(inet->findChild<QScrollBar *>(QStringLiteral("VScroll1")));
    QVERIFY(!f.search.ISeek()->isVisible());

    // While it stays, a further search only brings it up again and starts nothing.
    f.choose(QStringLiteral("mnuYahoo"));
    QVERIFY(f.search.ISeek()->isVisible());
    f.searchFor(QStringLiteral("second"));
    QCOMPARE(f.browserAddresses().size(), 1);
    QCOMPARE(f.search.Inet(), inet);
    QVERIFY(inet->isVisible());
    QVERIFY(!f.search.ISeek()->isVisible());
    QCOMPARE(inetShows.shows, 1);

    // Once the user closed it, the next search starts the browser again.
    inet->close();
    WebFixture::settle();
    QVERIFY(!f.search.Inet());
    QVERIFY(f.search.ISeek()); // closing Inet leaves ISeek alone
    f.test.browserAutomation.busy = false;
    f.choose(QStringLiteral("mnuYahoo"));
    f.searchFor(QStringLiteral("third"));
    QCOMPARE(f.browserAddresses().size(), 2);
    QVERIFY(f.browserAddresses().last().endsWith(QLatin1String("p=third")));
    QCOMPARE(f.test.browserAutomation.quits, 1);
    QVERIFY(!f.search.Inet());
}

void TestKeywordSearch::keyOfWrongCaseMatchesNothing()
{
    SearchFixture f;
    LinkPrompt *prompt = f.choose(QStringLiteral("mnuGoogle"));
    prompt->setKey(QStringLiteral("search google"));
    f.searchFor(QStringLiteral("abc"));
    QVERIFY(f.browserAddresses().isEmpty());
    QCOMPARE(f.test.browserAutomation.quits, 0);
    QVERIFY(f.search.Inet());
    QVERIFY(f.search.Inet()->isVisible());
    QVERIFY(!f.search.ISeek()->isVisible());
}

void TestKeywordSearch::keywordKeptWhileHiddenEmptiedAfterCancel()
{
    SearchFixture f;
    f.choose(QStringLiteral("mnuMSN"));
    f.searchFor(QStringLiteral("kept"));
    QCOMPARE(f.choose(QStringLiteral("mnuDmoz"))->text1()->text(), QStringLiteral("kept"));

    QTest::mouseClick(f.search.ISeek()->button(QStringLiteral("Command2")), Qt::LeftButton);
    WebFixture::settle();
    QVERIFY(!f.search.ISeek());
    LinkPrompt *fresh = f.choose(QStringLiteral("mnuDmoz"));
    QCOMPARE(fresh->text1()->text(), QString());
    QVERIFY(fresh->text1()->isVisible());
    QCOMPARE(f.browserAddresses().size(), 1);
}

void TestKeywordSearch::userEngineItemFillsThePrompt_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("label");
    QTest::newRow("slot 1") << 1 << "Search Docs & Co";
    QTest::newRow("slot 8") << 8 << "Search Docs & Co";
    QTest::newRow("slot 9, indented") << 9 << "       Search Docs & Co";
    QTest::newRow("slot 10, indented") << 10 << "       Search Docs & Co";
}

void TestKeywordSearch::userEngineItemFillsThePrompt()
{
    QFETCH(int, slot);
    QFETCH(QString, label);
    SearchFixture f;
    f.addLink(UserLinkSlots::searchEngines(), slot, QStringLiteral("Docs & Co"), QStringLiteral("http://docs.example/"));
    f.search.mnuYes_Click(slot);
    LinkPrompt *prompt = f.search.ISeek();
    QVERIFY(prompt->isVisible());
    QCOMPARE(prompt->label1()->text(), label);
    QCOMPARE(prompt->key(), QStringLiteral("Panoptra Docs & Co Search"));
    QVERIFY(prompt->text1()->isHidden());
    // No keyword is asked: the empty box does not stop the search.
    f.okay();
    QVERIFY(f.test.dialogs.messages().isEmpty());
    QCOMPARE(f.browserAddresses(), QStringList{QStringLiteral("http://docs.example/")});
    QCOMPARE(f.test.browser.styles, QList<WindowStyle>{WindowStyle::Normal});
}

void TestKeywordSearch::enginesOfOneNameOpenTheLowerSlot()
{
    SearchFixture f;
    const UserLinkFamily &engines = UserLinkSlots::searchEngines();
    f.addLink(engines, 2, QStringLiteral("Docs"), QStringLiteral("http://first.example/"));
    f.addLink(engines, 5, QStringLiteral("Docs"), QStringLiteral("http://second.example/"));
    f.addLink(engines, 7, QStringLiteral("docs"), QStringLiteral("http://lower-case.example/"));
    f.search.mnuYes_Click(5);
    f.okay();
    f.search.mnuYes_Click(2);
    f.okay();
    // A name that differs in case only is another engine.
    f.search.mnuYes_Click(7);
    f.okay();
    QCOMPARE(f.browserAddresses(), (QStringList{QStringLiteral("http://first.example/"),
                                                QStringLiteral("http://first.example/"),
                                                QStringLiteral("http://lower-case.example/")}));
}

void TestKeywordSearch::slotChangedBeforeOkay_data()
{
    QTest::addColumn<QString>("storedName"); // what slot 3 holds at "Okay"; "" for removed
    QTest::addColumn<int>("twinSlot");       // another engine named "Docs", 0 for none
    QTest::addColumn<QString>("opened");     // "" for nothing
    QTest::newRow("removed") << "" << 0 << "";
    QTest::newRow("renamed") << "Other" << 0 << "";
    QTest::newRow("renamed in case only") << "docs" << 0 << "";
    QTest::newRow("removed, a later engine of the name") << "" << 4 << "http://twin.example/";
    QTest::newRow("renamed, an earlier engine of the name") << "Other" << 1 << "http://twin.example/";
}

void TestKeywordSearch::slotChangedBeforeOkay()
{
    QFETCH(QString, storedName);
    QFETCH(int, twinSlot);
    QFETCH(QString, opened);
    SearchFixture f;
    const UserLinkFamily &engines = UserLinkSlots::searchEngines();
    f.addLink(engines, 3, QStringLiteral("Docs"), QStringLiteral("http://docs.example/"));
    if (twinSlot)
        f.addLink(engines, twinSlot, QStringLiteral("Docs"), QStringLiteral("http://twin.example/"));
    f.search.mnuYes_Click(3);
    if (storedName.isEmpty()) {
        // As the removal does: both values go and the item hides, keeping its caption.
        f.store.DeleteRegValue(HKEY_CURRENT_USER, UserLinkSlots::MenuKey, engines.slotName(3));
        f.store.DeleteRegValue(HKEY_CURRENT_USER, UserLinkSlots::WebLinksKey, engines.slotName(3));
        f.item(engines.slotName(3))->setVisible(false);
    } else {
        f.addLink(engines, 3, storedName, QStringLiteral("http://renamed.example/"));
    }
    f.okay();
    QCOMPARE(f.browserAddresses(), opened.isEmpty() ? QStringList() : QStringList{opened});
    // Either way Inet closed itself, ISeek is out of the way and the next search runs.
    QVERIFY(!f.search.Inet());
    QVERIFY(!f.search.ISeek()->isVisible());
    f.choose(QStringLiteral("mnuYahoo"));
    f.searchFor(QStringLiteral("next"));
    QVERIFY(f.browserAddresses().last().endsWith(QLatin1String("p=next")));
    QVERIFY(!f.search.Inet());
}

void TestKeywordSearch::fixedEngineAfterUserEngineShowsTheKeywordAgain()
{
    SearchFixture f;
    f.addLink(UserLinkSlots::searchEngines(), 1, QStringLiteral("Mine"), QStringLiteral("http://mine.example/"));
    f.choose(QStringLiteral("mnuCnet"));
    f.searchFor(QStringLiteral("last fixed"));
    f.search.mnuYes_Click(1);
    f.okay();
    LinkPrompt *prompt = f.choose(QStringLiteral("mnuCnet"));
    QVERIFY(prompt->text1()->isVisible());
    QCOMPARE(prompt->text1()->text(), QStringLiteral("last fixed"));
    f.okay();
    QCOMPARE(f.browserAddresses().size(), 3);
    QCOMPARE(f.browserAddresses().at(1), QStringLiteral("http://mine.example/"));
    QCOMPARE(f.browserAddresses().at(2), f.browserAddresses().at(0));
}

QTEST_MAIN(TestKeywordSearch)
#include "tst_keywordsearch.moc"
