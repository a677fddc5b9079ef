#include "support/TestCase.h"
#include "web/SearchAddress.h"
#include "web/SearchEngines.h"

#include <QSet>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

class TestSearchAddress : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void keywordIsEncodedWhole_data();
    void keywordIsEncodedWhole();
    void keywordGoesIntoEveryPlace_data();
    void keywordGoesIntoEveryPlace();
    void everyEngineHasAWorkingAddress();
    void sharedPortalDiffersOnlyInProvider();
    void googleCarriesItsFixedCof();
};

void TestSearchAddress::keywordIsEncodedWhole_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("encoded");

    QTest::newRow("ampersand cannot add a parameter") << "a&b" << "a%26b";
    QTest::newRow("equals sign") << "x=1" << "x%3D1";
    QTest::newRow("hash cannot cut the address") << "a#b" << "a%23b";
    QTest::newRow("plus is no blank") << "c++" << "c%2B%2B";
    QTest::newRow("percent") << "100%" << "100%25";
    QTest::newRow("double quotes") << "\"exact\"" << "%22exact%22";
    QTest::newRow("apostrophe") << "o'neil" << "o%27neil";
    QTest::newRow("non-ASCII as UTF-8") << QStringLiteral("Größe €") << "Gr%C3%B6%C3%9Fe%20%E2%82%AC";
    QTest::newRow("a blank alone") << " " << "%20";
    QTest::newRow("blanks at the ends are kept") << " a b " << "%20a%20b%20";
    QTest::newRow("unreserved characters stay") << "Az09-._~" << "Az09-._~";
    QTest::newRow("braces cannot form a place") << "{keyword}" << "%7Bkeyword%7D";
}

void TestSearchAddress::keywordIsEncodedWhole()
{
    QFETCH(QString, keyword);
    QFETCH(QString, encoded);
    QCOMPARE(SearchAddress::encodeKeyword(keyword), encoded);

    // Through a real engine the whole keyword comes back as the one value of its parameter.
    const SearchEngine *yahoo = SearchEngines::byItem(QStringLiteral("mnuYahoo"));
    QVERIFY(yahoo);
    const QUrl address(SearchAddress::build(yahoo->addressTemplate, keyword), QUrl::StrictMode);
    QVERIFY2(address.isValid(), qPrintable(address.errorString()));
    QVERIFY(!address.hasFragment());
    const QUrlQuery query(address);
    QCOMPARE(query.queryItems().size(), 1);
    QCOMPARE(query.queryItemValue(QStringLiteral("p"), QUrl::FullyDecoded), keyword);
}

void TestSearchAddress::keywordGoesIntoEveryPlace_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("pathAndQuery");

    QTest::newRow("All The Web, twice") << "mnuAllTheWeb" << "/search?a%20b=web&cs=utf-8&q=a%20b&_sb_lang=en";
    QTest::newRow("Ixquick, three times")
        << "mnuIxquick"
        << "/do/metasearch.pl?a%20b=weba%20b=web&cmd=process_search&language=english&query=a%20b"
           "&orl=&search.x=25&search.y=11";
    QTest::newRow("Ask Jeeves, once") << "mnuAskJeeves" << "/main/askjeeves.asp?ask=a%20b";
    QTest::newRow("AOL keeps its own escapes")
        << "mnuAol" << "/dirsearch.adp?start=&from=topsearchbox.%2Findex.adp&query=a%20b&x=22&y=10";
}

void TestSearchAddress::keywordGoesIntoEveryPlace()
{
    QFETCH(QString, item);
    QFETCH(QString, pathAndQuery);
    const SearchEngine *engine = SearchEngines::byItem(item);
    QVERIFY(engine);
    const QString address = SearchAddress::build(engine->addressTemplate, QStringLiteral("a b"));
    QVERIFY(address.startsWith(QLatin1String("http://")));
    const QString host = QUrl(address).host();
    QCOMPARE(address, QStringLiteral("http://") + host + pathAndQuery);
}

void TestSearchAddress::everyEngineHasAWorkingAddress()
{
    const QList<SearchEngine> &engines = SearchEngines::all();
    QCOMPARE(engines.size(), 22);
    QSet<QString> items, keys;
    for (const SearchEngine &engine : engines) {
        items.insert(engine.item);
        keys.insert(engine.key);
        QVERIFY2(engine.key.startsWith(QLatin1String("Search ")), qPrintable(engine.key));
        QVERIFY2(engine.label.endsWith(QLatin1String(" For Infomation On:")), qPrintable(engine.label));
        QVERIFY2(engine.addressTemplate.contains(SearchAddress::KeywordPlace), qPrintable(engine.item));
        const QUrl address(SearchAddress::build(engine.addressTemplate, QStringLiteral("panoptra")),
                           QUrl::StrictMode);
        QVERIFY2(address.isValid(), qPrintable(engine.item));
        QCOMPARE(address.scheme(), QStringLiteral("http"));
        QVERIFY2(!address.host().isEmpty(), qPrintable(engine.item));
        QVERIFY2(address.toString(QUrl::FullyEncoded).contains(QLatin1String("panoptra")), qPrintable(engine.item));
    }
    QCOMPARE(items.size(), 22);
    QCOMPARE(keys.size(), 22);
}

void TestSearchAddress::sharedPortalDiffersOnlyInProvider()
{
    QStringList hosts, remainders;
    for (const char *item : {"mnuInktomi", "mnuHotBot", "mnuTeoma"}) {
        const SearchEngine *engine = SearchEngines::byItem(QLatin1String(item));
        QVERIFY(engine);
        const QUrl address(SearchAddress::build(engine->addressTemplate, QStringLiteral("x")));
        hosts << address.host();
        QUrlQuery query(address);
        remainders << query.queryItemValue(QStringLiteral("prov"));
        query.removeQueryItem(QStringLiteral("prov"));
        remainders << query.toString();
    }
    QCOMPARE(hosts.at(0), hosts.at(1));
    QCOMPARE(hosts.at(0), hosts.at(2));
    QCOMPARE(remainders.at(0), QStringLiteral("Inktomi"));
    QCOMPARE(remainders.at(2), QStringLiteral("FAST"));
    QCOMPARE(remainders.at(4), QStringLiteral("Teoma"));
    QCOMPARE(remainders.at(1), remainders.at(3));
    QCOMPARE(remainders.at(1), remainders.at(5));
}

void TestSearchAddress::googleCarriesItsFixedCof()
{
    const SearchEngine *google = SearchEngines::byItem(QStringLiteral("mnuGoogle"));
    QVERIFY(google);
    const QUrlQuery query(QUrl(SearchAddress::build(google->addressTemplate, QStringLiteral("x"))));
    const QString cof = query.queryItemValue(QStringLiteral("cof"), QUrl::FullyDecoded);
    const QStringList entries = cof.split(QLatin1Char(';'));
    QCOMPARE(entries.size(), 12); // eleven entries, each closed by ";"
    QCOMPARE(entries.first(), QStringLiteral("GIMP:003399"));
    QVERIFY(entries.at(9).startsWith(QLatin1String("S:http://")));
    QCOMPARE(entries.at(10), QStringLiteral("AWFID:7c41e09ab3d25f68"));
    QCOMPARE(query.queryItemValue(QStringLiteral("q")), QStringLiteral("x"));
}

QTEST_GUILESS_MAIN(TestSearchAddress)
#include "tst_searchaddress.moc"
