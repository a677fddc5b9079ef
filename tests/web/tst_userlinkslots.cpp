#include "support/TestCase.h"
#include "WebFixture.h"

#include <QFile>
#include <QSettings>
#include <QThread>

#include <algorithm>
#include <atomic>
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

// Another running copy of the program: a store of its own over the same settings file, and a
// menu of its own.
struct OtherCopy
{
    explicit OtherCopy(const QString &ini) : store(ini), items(addSlotItems(menu)) {}
    UserLinkSlots::SlotLookup lookup()
    {
        return [this](const QString &name) { return items.value(name); };
    }
    // Adds a link as the add dialog's Okay does: stored, then shown in its slot.
    int add(const UserLinkFamily &family, const QString &name)
    {
        const UserLinkSlots::SavedLink saved =
            UserLinkSlots::LinkSave(store, family, lookup(), name, QStringLiteral("http://") + name + u'/');
        if (saved.slot)
            UserLinkSlots::showSlot(items.value(family.slotName(saved.slot)), name);
        return saved.slot;
    }

    RegistryStore store;
    QMenu menu;
    QHash<QString, QAction *> items;
};

// "slot=name" for every slot of the family that holds a link, as a new start would find them.
QStringList storedLinks(const QString &ini, const UserLinkFamily &family)
{
    const RegistryStore store(ini);
    QStringList links;
    for (int slot = 1; slot <= family.count; ++slot) {
        const QString name = UserLinkSlots::storedName(store, family, slot);
        if (!name.isEmpty()) {
            links << QStringLiteral("%1=%2").arg(slot).arg(name);
            if (UserLinkSlots::storedAddress(store, family, slot) != QStringLiteral("http://") + name + u'/')
                links << QStringLiteral("%1 has another address").arg(slot);
        }
    }
    return links;
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
    void twoCopiesAddingInTurnKeepEveryLink();
    void twoCopiesAddingAtOnceKeepEveryLink();
    void syncShowsWhatAnotherCopyChanged();
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

    const UserLinkSlots::SavedLink saved
        = UserLinkSlots::LinkSave(f.store, family, f.lookup(), QStringLiteral("New"), QStringLiteral("http://new.example/"));
    QCOMPARE(saved.slot, expected);
    QVERIFY(saved.written);

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
    QCOMPARE(UserLinkSlots::LinkSave(f.store, engines, f.lookup(), QStringLiteral("One"), QStringLiteral("http://one/")).slot,
             1);
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

void TestUserLinkSlots::twoCopiesAddingInTurnKeepEveryLink()
{
    WebFixture f;
    const UserLinkFamily &favourites = UserLinkSlots::favourites();
    OtherCopy first(f.store.iniPath());
    OtherCopy second(f.store.iniPath());
    // Both started on the same file; neither menu learns of the other's links.
    QCOMPARE(first.add(favourites, QStringLiteral("a1")), 1);
    QCOMPARE(second.add(favourites, QStringLiteral("b1")), 2);
    QCOMPARE(first.add(favourites, QStringLiteral("a2")), 3);
    QCOMPARE(second.add(favourites, QStringLiteral("b2")), 4);
    QCOMPARE(storedLinks(f.store.iniPath(), favourites),
             (QStringList{QStringLiteral("1=a1"), QStringLiteral("2=b1"), QStringLiteral("3=a2"), QStringLiteral("4=b2")}));
    // Each menu shows its own links only until it is brought in line.
    QVERIFY(!first.items.value(QStringLiteral("mnuFav2"))->isVisible());
    UserLinkSlots::sync(first.store, favourites, first.lookup());
    QCOMPARE(UserLinkSlots::linkName(first.items.value(QStringLiteral("mnuFav2"))), QStringLiteral("b1"));
    QVERIFY(first.items.value(QStringLiteral("mnuFav4"))->isVisible());

    // A family the other filled meanwhile: nothing stored, nothing overwritten.
    const UserLinkFamily &engines = UserLinkSlots::searchEngines();
    for (int slot = 1; slot <= engines.count; ++slot)
        QCOMPARE(first.add(engines, QStringLiteral("e%1").arg(slot)), slot);
    QCOMPARE(second.add(engines, QStringLiteral("late")), 0);
    QCOMPARE(storedLinks(f.store.iniPath(), engines).size(), 10);
    QVERIFY(!storedLinks(f.store.iniPath(), engines).contains(QStringLiteral("1=late")));
}

void TestUserLinkSlots::twoCopiesAddingAtOnceKeepEveryLink()
{
    // Two copies add ten favourites each at the same time, each through its own store, with
    // menus that show none of the other's: twenty links in twenty slots.
    WebFixture f;
    const UserLinkFamily &favourites = UserLinkSlots::favourites();
    OtherCopy copies[2] = {OtherCopy(f.store.iniPath()), OtherCopy(f.store.iniPath())};
    std::atomic<int> ready = 0;
    QList<int> taken[2];
    QList<QThread *> threads;
    for (int copy = 0; copy < 2; ++copy) {
        // Only the store works in the thread; the menu items are read there, never changed.
        threads << QThread::create([&, copy] {
            ++ready;
            while (ready < 2) {
            }
            for (int link = 0; link < 10; ++link)
                taken[copy] << UserLinkSlots::LinkSave(copies[copy].store, favourites, copies[copy].lookup(),
                                                       QStringLiteral("c%1-%2").arg(copy).arg(link),
                                                       QStringLiteral("http://c%1-%2/").arg(copy).arg(link))
                                   .slot;
        });
    }
    for (QThread *thread : threads)
        thread->start();
    for (QThread *thread : threads) {
        QVERIFY(thread->wait(30000));
        delete thread;
    }
    QList<int> all = taken[0] + taken[1];
    std::sort(all.begin(), all.end());
    QList<int> every;
    for (int slot = 1; slot <= 20; ++slot)
        every << slot;
    QCOMPARE(all, every);
    const QStringList links = storedLinks(f.store.iniPath(), favourites);
    QCOMPARE(links.size(), 20);
    for (int copy = 0; copy < 2; ++copy) {
        for (int link = 0; link < 10; ++link)
            QVERIFY(links.contains(QStringLiteral("%1=c%2-%3").arg(taken[copy].at(link)).arg(copy).arg(link)));
    }
}

void TestUserLinkSlots::syncShowsWhatAnotherCopyChanged()
{
    WebFixture f;
    const UserLinkFamily &auctions = UserLinkSlots::auctions();
    f.addLink(auctions, 1, QStringLiteral("Mine"), QStringLiteral("http://Mine/"));
    f.addLink(auctions, 2, QStringLiteral("Gone"), QStringLiteral("http://Gone/"));
    OtherCopy other(f.store.iniPath());
    UserLinkSlots::reload(other.store, auctions, other.lookup());
    QCOMPARE(other.add(auctions, QStringLiteral("Theirs")), 3);
    QCOMPARE(UserLinkSlots::LinkRemove(other.store, auctions, QStringLiteral("Gone")).slotNumbers, QList<int>{2});
    QVERIFY(other.store.SaveRegString(HKEY_CURRENT_USER, UserLinkSlots::MenuKey, QStringLiteral("mnuAuc1"),
                                      QStringLiteral("Renamed")));

    UserLinkSlots::sync(f.store, auctions, f.lookup());
    QCOMPARE(visibleSlots(f, auctions), (QList<int>{1, 3}));
    QCOMPARE(UserLinkSlots::linkName(f.item(QStringLiteral("mnuAuc1"))), QStringLiteral("Renamed"));
    QCOMPARE(UserLinkSlots::linkName(f.item(QStringLiteral("mnuAuc3"))), QStringLiteral("Theirs"));

    // A file that cannot be read changes no slot.
    QVERIFY(QFile::setPermissions(f.store.iniPath(), QFileDevice::Permissions()));
    const bool unreadable = !QFile(f.store.iniPath()).open(QIODevice::ReadOnly);
    if (unreadable) {
        RegistryStore locked(f.store.iniPath());
        UserLinkSlots::sync(locked, auctions, f.lookup());
        QCOMPARE(visibleSlots(f, auctions), (QList<int>{1, 3}));
    }
}

QTEST_MAIN(TestUserLinkSlots)
#include "tst_userlinkslots.moc"
