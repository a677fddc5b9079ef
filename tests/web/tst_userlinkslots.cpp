#include "support/TestCase.h"
#include "WebFixture.h"

#include <QSettings>
#include <QTest>

namespace {

// The family by its stem, for the tables.
const UserLinkFamily &familyOf(const QString &stem)
{
    if (stem == QLatin1String("mnuAuc"))
        return UserLinkSlots::auctions();
    if (stem == QLatin1String("mnuFav"))
        return UserLinkSlots::favourites();
    return UserLinkSlots::searchEngines();
}

QList<int> visibleSlots(const WebFixture &f, const UserLinkFamily &family)
{
    QList<int> shown;
    for (int slot = 1; slot <= family.count; ++slot) {
        if (f.item(family.slotName(slot))->isVisible())
            shown << slot;
    }
    return shown;
}

} // namespace

class TestUserLinkSlots : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void reloadShowsStoredSlots();
    void newLinkGoesToFirstFreeSlot_data();
    void newLinkGoesToFirstFreeSlot();
    void storedEmptyNameIsFree();
    void nameShowsAsTheTextItIs_data();
    void nameShowsAsTheTextItIs();
};

void TestUserLinkSlots::reloadShowsStoredSlots()
{
    WebFixture f;
    const UserLinkFamily &favourites = UserLinkSlots::favourites();
    f.store.SaveRegString(HKEY_CURRENT_USER, UserLinkSlots::MenuKey, QStringLiteral("mnuFav15"), QStringLiteral("  "));
    f.store.SaveRegString(HKEY_CURRENT_USER, UserLinkSlots::MenuKey, QStringLiteral("mnuFav21"), QStringLiteral("none"));
    f.store.SaveRegString(HKEY_CURRENT_USER, UserLinkSlots::WebLinksKey, QStringLiteral("mnuFav3"), QStringLiteral("http://x/"));
    f.item(QStringLiteral("mnuFav4"))->setVisible(true); // the reload never hides
    UserLinkSlots::reload(f.store, favourites, f.lookup());
    QCOMPARE(visibleSlots(f, favourites), (QList<int>{4, 15}));
    QCOMPARE(f.item(QStringLiteral("mnuFav15"))->text(), QStringLiteral("  "));
    QCOMPARE(f.item(QStringLiteral("mnuFav3"))->text(), QStringLiteral("Fav3"));
    QVERIFY(visibleSlots(f, UserLinkSlots::searchEngines()).isEmpty());
}

void TestUserLinkSlots::newLinkGoesToFirstFreeSlot_data()
{
    QTest::addColumn<QString>("stem");
    QTest::addColumn<QList<int>>("stored");
    QTest::addColumn<int>("expected"); // 0: the family is full and nothing is stored

    QTest::newRow("engines 1, 2, 4: into 3") << "mnuYes" << QList<int>{1, 2, 4} << 3;
    QTest::newRow("no engine yet: into 1") << "mnuYes" << QList<int>{} << 1;
    QTest::newRow("favourite 15 only: into 1") << "mnuFav" << QList<int>{15} << 1;
    QTest::newRow("favourites 1 to 19: into 20")
        << "mnuFav" << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19} << 20;
    QTest::newRow("auctions full") << "mnuAuc" << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10} << 0;
    QTest::newRow("engines full") << "mnuYes" << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10} << 0;
}

void TestUserLinkSlots::newLinkGoesToFirstFreeSlot()
{
    QFETCH(QString, stem);
    QFETCH(QList<int>, stored);
    QFETCH(int, expected);
    const UserLinkFamily &family = familyOf(stem);
    WebFixture f;
    // What an earlier run stored.
    for (int slot : stored) {
        f.store.SaveRegString(HKEY_CURRENT_USER, UserLinkSlots::MenuKey, family.slotName(slot),
                              QStringLiteral("old %1").arg(slot));
        f.store.SaveRegString(HKEY_CURRENT_USER, UserLinkSlots::WebLinksKey, family.slotName(slot),
                              QStringLiteral("http://old/%1").arg(slot));
    }

    UserLinkSlots::reload(f.store, family, f.lookup());
    QCOMPARE(visibleSlots(f, family), stored);
    QCOMPARE(UserLinkSlots::firstFreeSlot(family, f.lookup()), expected);

    UserLinkSlots::LinkNameSave(f.store, family, f.lookup(), QStringLiteral("New"));
    UserLinkSlots::LinkAddressSave(f.store, family, f.lookup(), QStringLiteral("http://new.example/"));

    // Read back from the settings file itself.
    QSettings file(f.store.iniPath(), QSettings::IniFormat);
    for (int slot = 1; slot <= family.count; ++slot) {
        const QString name = file.value(QStringLiteral("Software/Panoptra/Menu/") + family.slotName(slot)).toString();
        const QString address = file.value(QStringLiteral("Software/Panoptra/WebLinks/") + family.slotName(slot)).toString();
        if (slot == expected) {
            QCOMPARE(name, QStringLiteral("New"));
            QCOMPARE(address, QStringLiteral("http://new.example/"));
        } else if (stored.contains(slot)) {
            QCOMPARE(name, QStringLiteral("old %1").arg(slot));
            QCOMPARE(address, QStringLiteral("http://old/%1").arg(slot));
        } else {
            QCOMPARE(name, QString());
            QCOMPARE(address, QString());
        }
    }
    // The saves change no menu item.
    QCOMPARE(visibleSlots(f, family), stored);
}

void TestUserLinkSlots::storedEmptyNameIsFree()
{
    WebFixture f;
    const UserLinkFamily &engines = UserLinkSlots::searchEngines();
    f.store.SaveRegString(HKEY_CURRENT_USER, UserLinkSlots::MenuKey, QStringLiteral("mnuYes1"), QString());
    f.store.SaveRegString(HKEY_CURRENT_USER, UserLinkSlots::WebLinksKey, QStringLiteral("mnuYes1"), QStringLiteral("http://stale/"));
    f.store.SaveRegString(HKEY_CURRENT_USER, UserLinkSlots::MenuKey, QStringLiteral("mnuYes2"), QStringLiteral("Two"));
    UserLinkSlots::reload(f.store, engines, f.lookup());
    QCOMPARE(visibleSlots(f, engines), QList<int>{2});
    UserLinkSlots::LinkNameSave(f.store, engines, f.lookup(), QStringLiteral("One"));
    UserLinkSlots::LinkAddressSave(f.store, engines, f.lookup(), QStringLiteral("http://one/"));
    QCOMPARE(UserLinkSlots::storedName(f.store, engines, 1), QStringLiteral("One"));
    QCOMPARE(UserLinkSlots::storedAddress(f.store, engines, 1), QStringLiteral("http://one/"));
    QCOMPARE(UserLinkSlots::storedName(f.store, engines, 2), QStringLiteral("Two"));
}

void TestUserLinkSlots::nameShowsAsTheTextItIs_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("ampersand") << "R&D" << "R&&D";
    QTest::newRow("two ampersands") << "A && B" << "A &&&& B";
    QTest::newRow("markup") << "<b>bold</b>" << "<b>bold</b>";
    QTest::newRow("blanks") << " x " << " x ";
}

void TestUserLinkSlots::nameShowsAsTheTextItIs()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    WebFixture f;
    f.store.SaveRegString(HKEY_CURRENT_USER, UserLinkSlots::MenuKey, QStringLiteral("mnuAuc2"), name);
    UserLinkSlots::reload(f.store, UserLinkSlots::auctions(), f.lookup());
    QAction *item = f.item(QStringLiteral("mnuAuc2"));
    QVERIFY(item->isVisible());
    QCOMPARE(item->text(), caption);
    QCOMPARE(UserLinkSlots::linkName(item), name);
}

QTEST_MAIN(TestUserLinkSlots)
#include "tst_userlinkslots.moc"
