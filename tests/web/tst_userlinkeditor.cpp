#include "WebFixture.h"

#include "platform/Twips.h"
#include "support/TestCase.h"
#include "web/UserLinkEditor.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>

Q_DECLARE_METATYPE(LinkKind)

namespace {

struct EditorFixture : WebFixture
{
    UserLinkEditor editor{test.services(), store, lookup(), &owner};

    EditorFixture() { test.dialogs.acceptAllMessages(); }

    const UserLinkFamily &family(LinkKind kind) const { return LinkFamilies::of(kind).family; }

    // Stores and shows a link in every slot of the family but those in free.
    void fill(LinkKind kind, const QList<int> &free = {})
    {
        for (int slot = 1; slot <= family(kind).count; ++slot) {
            if (!free.contains(slot))
                addLink(family(kind), slot, QStringLiteral("link %1").arg(slot), QStringLiteral("http://link/%1").arg(slot));
        }
    }
    void press(QWidget *dialog, const char *button)
    {
        QTest::mouseClick(static_cast<DesignedWindow *>(dialog)->button(QLatin1String(button)), Qt::LeftButton);
        settle();
    }
    WebDialog *addFilled(LinkKind kind, const QString &name, const QString &address)
    {
        editor.addCommand(kind);
        WebDialog *dialog = editor.addDialog(kind);
        dialog->text1()->setText(name);
        dialog->text2()->setText(address);
        return dialog;
    }
    WebDialog *removeTyped(LinkKind kind, const QString &name)
    {
        editor.removeCommand(kind);
        editor.DeLink()->text1()->setText(name);
        return editor.DeLink();
    }
    QList<int> shown(LinkKind kind) const
    {
        QList<int> used;
        for (int slot = 1; slot <= family(kind).count; ++slot) {
            if (item(family(kind).slotName(slot))->isVisible())
                used << slot;
        }
        return used;
    }
};

void addKindColumn()
{
    QTest::addColumn<LinkKind>("kind");
    QTest::newRow("search engines") << LinkKind::SearchEngines;
    QTest::newRow("auctions") << LinkKind::Auctions;
    QTest::newRow("favourites") << LinkKind::Favourites;
}

} // namespace

class TestUserLinkEditor : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void addDialogDesign_data();
    void addDialogDesign();
    void fullFamilyShowsTheLimit_data();
    void fullFamilyShowsTheLimit();
    void addChecksNameThenAddress();
    void newLinkTakesTheFirstFreeSlot();
    void addDialogsOfTwoFamiliesAtOnce();
    void addAgainBringsTheSameDialog();
    void cancelForgetsTheTexts();
    void removeTakesEveryExactMatch_data();
    void removeTakesEveryExactMatch();
    void removeWithEmptyName_data();
    void removeWithEmptyName();
    void removeCaptionFollowsTheLastCommand();
    void removedSlotIsFreeForTheNextAdd();
    void linkThatCannotBeSavedIsSaidOnce();
    void anotherCopysLinksAreKept();
};

void TestUserLinkEditor::addDialogDesign_data()
{
    QTest::addColumn<LinkKind>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("nameLabel");
    QTest::addColumn<bool>("toolWindow");
    QTest::addColumn<QSize>("twips");
    const QString fourteen(14, QLatin1Char(' '));
    const QString eleven(11, QLatin1Char(' '));
    QTest::newRow("engines") << LinkKind::SearchEngines << "SLink" << "Add Search Engine Link"
                             << fourteen + "Name For Link" << true << QSize(4680, 3195);
    QTest::newRow("auctions") << LinkKind::Auctions << "ALink" << "Panoptra Auction Add Link"
                              << eleven + "Name For Link" << true << QSize(4680, 3195);
    QTest::newRow("favourites") << LinkKind::Favourites << "FavLink" << "Panoptra Favorites Add Link"
                                << eleven + "Name For Link" << false << QSize(4590, 2805);
}

void TestUserLinkEditor::addDialogDesign()
{
    QFETCH(LinkKind, kind);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, nameLabel);
    QFETCH(bool, toolWindow);
    QFETCH(QSize, twips);
    EditorFixture f;
    f.editor.addCommand(kind);
    WebDialog *dialog = f.editor.addDialog(kind);
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->objectName(), name);
    QCOMPARE(dialog->windowTitle(), caption);
    QCOMPARE(dialog->label1()->text(), nameLabel);
    QCOMPARE(dialog->label(QStringLiteral("Label2"))->text(), QString(14, QLatin1Char(' ')) + "Website Address");
    QCOMPARE(dialog->text1()->text(), QString());
    QCOMPARE(dialog->text2()->text(), QStringLiteral("http://www."));
    QCOMPARE(dialog->windowFlags().testFlag(Qt::Tool), toolWindow);
    QCOMPARE(dialog->size(), Twips::size(twips.width(), twips.height()));
    QCOMPARE(dialog->focusWidget(), dialog->text1());
    QCOMPARE(dialog->text1()->nextInFocusChain(), dialog->text2());
}

void TestUserLinkEditor::fullFamilyShowsTheLimit_data()
{
    QTest::addColumn<LinkKind>("kind");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("ten engines") << LinkKind::SearchEngines << "You have reached the limit for extra Search Engine links.";
    QTest::newRow("ten auctions") << LinkKind::Auctions << "You have reached the limit for extra Auction links.";
    QTest::newRow("twenty favourites") << LinkKind::Favourites << "You have reached the limit for extra Favorite links.";
}

void TestUserLinkEditor::fullFamilyShowsTheLimit()
{
    QFETCH(LinkKind, kind);
    QFETCH(QString, firstLine);
    EditorFixture f;
    f.fill(kind, {2});
    f.editor.addCommand(kind); // one slot free: the dialog opens
    QVERIFY(f.editor.addDialog(kind));
    QVERIFY(f.test.dialogs.messages().isEmpty());
    f.press(f.editor.addDialog(kind), "Command2");

    f.fill(kind);
    f.editor.addCommand(kind);
    QVERIFY(!f.editor.addDialog(kind));
    QCOMPARE(f.test.dialogs.messageTexts(),
             QStringList{firstLine + "\r\nMore extra links may be available under another category.\r\n"
                                     "Or remove a link to add another one."});
    QCOMPARE(f.test.dialogs.messages().first().title, QStringLiteral("Panoptra"));
}

void TestUserLinkEditor::addChecksNameThenAddress()
{
    EditorFixture f;
    WebDialog *dialog = f.addFilled(LinkKind::Auctions, QString(), QStringLiteral("http://www."));
    f.press(dialog, "Command1");
    QCOMPARE(f.test.dialogs.messageTexts(), QStringList{QStringLiteral("Please create a name for this link to continue")});

    dialog->text1()->setText(QStringLiteral(" "));
    f.press(dialog, "Command1");
    QCOMPARE(f.test.dialogs.messageTexts().last(), QStringLiteral("Please enter a valid web address to continue"));
    QCOMPARE(f.editor.addDialog(LinkKind::Auctions), dialog);
    QCOMPARE(dialog->text1()->text(), QStringLiteral(" "));
    QCOMPARE(dialog->text2()->text(), QStringLiteral("http://www."));
    QVERIFY(f.shown(LinkKind::Auctions).isEmpty());

    // Twelve characters of anything will do.
    dialog->text2()->setText(QStringLiteral("not an addr!"));
    f.press(dialog, "Command1");
    QCOMPARE(f.test.dialogs.messages().size(), 2);
    QVERIFY(!f.editor.addDialog(LinkKind::Auctions));
    QCOMPARE(f.shown(LinkKind::Auctions), QList<int>{1});
    QCOMPARE(UserLinkSlots::storedName(f.store, UserLinkSlots::auctions(), 1), QStringLiteral(" "));
    QCOMPARE(UserLinkSlots::storedAddress(f.store, UserLinkSlots::auctions(), 1), QStringLiteral("not an addr!"));
}

void TestUserLinkEditor::newLinkTakesTheFirstFreeSlot()
{
    EditorFixture f;
    const UserLinkFamily &engines = UserLinkSlots::searchEngines();
    for (int slot : {1, 2, 4, 5})
        f.addLink(engines, slot, QStringLiteral("E%1").arg(slot), QStringLiteral("http://e/%1").arg(slot));
    f.press(f.addFilled(LinkKind::SearchEngines, QStringLiteral("R&D"), QStringLiteral("http://rd.example/?a&b")),
            "Command1");
    QCOMPARE(f.shown(LinkKind::SearchEngines), (QList<int>{1, 2, 3, 4, 5}));
    QAction *added = f.item(QStringLiteral("mnuYes3"));
    QCOMPARE(added->text(), QStringLiteral("R&&D"));
    QCOMPARE(UserLinkSlots::linkName(added), QStringLiteral("R&D"));
    const QList<QAction *> order = f.slotMenu.actions();
    QCOMPARE(order.indexOf(added), order.indexOf(f.item(QStringLiteral("mnuYes2"))) + 1);
    QCOMPARE(order.indexOf(f.item(QStringLiteral("mnuYes4"))), order.indexOf(added) + 1);

    QSettings file(f.store.iniPath(), QSettings::IniFormat);
    QCOMPARE(file.value(QStringLiteral("Software/Panoptra/Menu/mnuYes3")).toString(), QStringLiteral("R&D"));
    QCOMPARE(file.value(QStringLiteral("Software/Panoptra/WebLinks/mnuYes3")).toString(),
             QStringLiteral("http://rd.example/?a&b"));
    QVERIFY(!file.contains(QStringLiteral("Software/Panoptra/Menu/mnuYes6")));
}

void TestUserLinkEditor::addDialogsOfTwoFamiliesAtOnce()
{
    EditorFixture f;
    WebDialog *engine = f.addFilled(LinkKind::SearchEngines, QStringLiteral("Engine"), QStringLiteral("http://engine/"));
    WebDialog *favourite = f.addFilled(LinkKind::Favourites, QStringLiteral("Fav"), QStringLiteral("http://fav/"));
    QVERIFY(engine->isVisible());
    QVERIFY(favourite->isVisible());
    f.press(engine, "Command1");
    QCOMPARE(f.shown(LinkKind::SearchEngines), QList<int>{1});
    QVERIFY(f.shown(LinkKind::Favourites).isEmpty());
    QCOMPARE(UserLinkSlots::storedName(f.store, UserLinkSlots::favourites(), 1), QString());
    QCOMPARE(f.editor.addDialog(LinkKind::Favourites), favourite);
    QCOMPARE(favourite->text1()->text(), QStringLiteral("Fav"));
    QCOMPARE(favourite->text2()->text(), QStringLiteral("http://fav/"));
}

void TestUserLinkEditor::addAgainBringsTheSameDialog()
{
    EditorFixture f;
    WebDialog *dialog = f.addFilled(LinkKind::Favourites, QStringLiteral("half"), QStringLiteral("http://www.ha"));
    f.editor.addCommand(LinkKind::Favourites);
    QCOMPARE(f.editor.addDialog(LinkKind::Favourites), dialog);
    QCOMPARE(dialog->text1()->text(), QStringLiteral("half"));
    QCOMPARE(dialog->text2()->text(), QStringLiteral("http://www.ha"));
}

void TestUserLinkEditor::cancelForgetsTheTexts()
{
    EditorFixture f;
    f.press(f.addFilled(LinkKind::Auctions, QStringLiteral("gone"), QStringLiteral("http://gone.example/")), "Command2");
    QVERIFY(!f.editor.addDialog(LinkKind::Auctions));
    QVERIFY(f.shown(LinkKind::Auctions).isEmpty());
    QCOMPARE(UserLinkSlots::storedName(f.store, UserLinkSlots::auctions(), 1), QString());
    f.editor.addCommand(LinkKind::Auctions);
    QCOMPARE(f.editor.addDialog(LinkKind::Auctions)->text1()->text(), QString());
    QCOMPARE(f.editor.addDialog(LinkKind::Auctions)->text2()->text(), QStringLiteral("http://www."));
}

void TestUserLinkEditor::removeTakesEveryExactMatch_data()
{
    QTest::addColumn<LinkKind>("kind");
    QTest::addColumn<int>("far"); // the second slot named Bids
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("left");

    // The family holds Bids in slots 1 and far, and Other in slot 4.
    QTest::newRow("both of one name go") << LinkKind::Auctions << 9 << "Bids" << QList<int>{4};
    QTest::newRow("case counts") << LinkKind::Auctions << 9 << "bids" << QList<int>{1, 4, 9};
    QTest::newRow("a trailing blank counts") << LinkKind::Auctions << 9 << "Bids " << QList<int>{1, 4, 9};
    QTest::newRow("a fixed site's caption") << LinkKind::Auctions << 9 << "Ebay" << QList<int>{1, 4, 9};
    QTest::newRow("favourite in slot 15") << LinkKind::Favourites << 15 << "Bids" << QList<int>{4};
    QTest::newRow("engines") << LinkKind::SearchEngines << 10 << "Other" << QList<int>{1, 10};
}

void TestUserLinkEditor::removeTakesEveryExactMatch()
{
    QFETCH(LinkKind, kind);
    QFETCH(int, far);
    QFETCH(QString, typed);
    QFETCH(QList<int>, left);
    EditorFixture f;
    const UserLinkFamily &family = f.family(kind);
    f.addLink(family, 1, QStringLiteral("Bids"), QStringLiteral("http://bids/1"));
    f.addLink(family, 4, QStringLiteral("Other"), QStringLiteral("http://other/"));
    f.addLink(family, far, QStringLiteral("Bids"), QStringLiteral("http://bids/2"));
    // The same name in another family is never touched.
    const LinkKind otherKind = kind == LinkKind::Auctions ? LinkKind::Favourites : LinkKind::Auctions;
    f.addLink(f.family(otherKind), 1, QStringLiteral("Bids"), QStringLiteral("http://elsewhere/"));

    f.press(f.removeTyped(kind, typed), "Command1");
    QVERIFY(!f.editor.DeLink());
    QVERIFY(f.test.dialogs.messages().isEmpty());
    QCOMPARE(f.shown(kind), left);
    for (int slot : {1, 4, far}) {
        const bool kept = left.contains(slot);
        QCOMPARE(UserLinkSlots::storedName(f.store, family, slot).isEmpty(), !kept);
        QCOMPARE(UserLinkSlots::storedAddress(f.store, family, slot).isEmpty(), !kept);
    }
    QCOMPARE(f.shown(otherKind), QList<int>{1});
    QCOMPARE(UserLinkSlots::storedName(f.store, f.family(otherKind), 1), QStringLiteral("Bids"));
}

void TestUserLinkEditor::removeWithEmptyName_data()
{
    addKindColumn();
}

void TestUserLinkEditor::removeWithEmptyName()
{
    QFETCH(LinkKind, kind);
    EditorFixture f;
    f.addLink(f.family(kind), 1, QStringLiteral("Kept"), QStringLiteral("http://kept/"));
    WebDialog *dialog = f.removeTyped(kind, QString());
    f.press(dialog, "Command1");
    QCOMPARE(f.test.dialogs.messageTexts(),
             QStringList{QStringLiteral("Please enter name of link as it appears to continue")});
    QCOMPARE(f.editor.DeLink(), dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(f.shown(kind), QList<int>{1});
}

void TestUserLinkEditor::removeCaptionFollowsTheLastCommand()
{
    EditorFixture f;
    f.addLink(UserLinkSlots::favourites(), 2, QStringLiteral("Same"), QStringLiteral("http://fav/"));
    f.addLink(UserLinkSlots::searchEngines(), 3, QStringLiteral("Same"), QStringLiteral("http://engine/"));
    WebDialog *dialog = f.removeTyped(LinkKind::Favourites, QStringLiteral("Same"));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Remove Favorite Link"));
    QCOMPARE(dialog->objectName(), QStringLiteral("DeLink"));
    QVERIFY(dialog->windowFlags().testFlag(Qt::Tool));
    QCOMPARE(dialog->size(), Twips::size(5520, 2010));
    QCOMPARE(dialog->label1()->text(), QStringLiteral("Link name to remove"));

    f.editor.removeCommand(LinkKind::SearchEngines);
    QCOMPARE(f.editor.DeLink(), dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Remove Search Engine Link"));
    QCOMPARE(dialog->text1()->text(), QStringLiteral("Same"));
    f.press(dialog, "Command1");
    QVERIFY(f.shown(LinkKind::SearchEngines).isEmpty());
    QCOMPARE(f.shown(LinkKind::Favourites), QList<int>{2});

    f.editor.removeCommand(LinkKind::Auctions);
    QCOMPARE(f.editor.DeLink()->windowTitle(), QStringLiteral("Remove Auction Link"));
    QCOMPARE(f.editor.DeLink()->text1()->text(), QString()); // a fresh dialog after the last Okay
}

void TestUserLinkEditor::removedSlotIsFreeForTheNextAdd()
{
    EditorFixture f;
    f.fill(LinkKind::Favourites);
    f.addLink(UserLinkSlots::favourites(), 7, QStringLiteral("link 7"), QStringLiteral("http://x/7"));
    f.editor.addCommand(LinkKind::Favourites);
    QVERIFY(!f.editor.addDialog(LinkKind::Favourites));
    f.press(f.removeTyped(LinkKind::Favourites, QStringLiteral("link 7")), "Command1");
    f.press(f.addFilled(LinkKind::Favourites, QStringLiteral("new seven"), QStringLiteral("http://seven/")), "Command1");
    QCOMPARE(f.shown(LinkKind::Favourites).size(), 20);
    QCOMPARE(f.item(QStringLiteral("mnuFav7"))->text(), QStringLiteral("new seven"));
    QCOMPARE(UserLinkSlots::storedAddress(f.store, UserLinkSlots::favourites(), 7), QStringLiteral("http://seven/"));
}

void TestUserLinkEditor::linkThatCannotBeSavedIsSaidOnce()
{
    EditorFixture f;
    const UserLinkFamily &family = UserLinkSlots::favourites();
    f.addLink(family, 2, QStringLiteral("Twin"), QStringLiteral("http://twin/2"));
    f.addLink(family, 3, QStringLiteral("Twin"), QStringLiteral("http://twin/3"));
    // Another writer holds the settings file's lock and never lets go.
    QVERIFY(QDir().mkpath(f.store.iniPath() + QStringLiteral(".lock")));
    const RegistryStore nextRun(f.store.iniPath());

    // Two values go unsaved, one message says so; the link works for the rest of the run.
    f.press(f.addFilled(LinkKind::Favourites, QStringLiteral("Mine"), QStringLiteral("http://mine.example/")),
            "Command1");
    QCOMPARE(f.test.dialogs.messageTexts(), QStringList{f.store.saveFailedMessage()});
    QCOMPARE(f.test.dialogs.messages().first().icon, MessageIcon::Exclamation);
    QVERIFY(!f.editor.addDialog(LinkKind::Favourites));
    QCOMPARE(f.shown(LinkKind::Favourites), (QList<int>{1, 2, 3}));
    QCOMPARE(UserLinkSlots::storedAddress(f.store, family, 1), QStringLiteral("http://mine.example/"));
    QCOMPARE(UserLinkSlots::storedName(nextRun, family, 1), QString());

    // Removing two links of one name (four values) says so once as well.
    f.test.dialogs.clear();
    f.press(f.removeTyped(LinkKind::Favourites, QStringLiteral("Twin")), "Command1");
    QCOMPARE(f.test.dialogs.messageTexts(), QStringList{f.store.saveFailedMessage()});
    QCOMPARE(f.shown(LinkKind::Favourites), QList<int>{1});
    QCOMPARE(UserLinkSlots::storedName(f.store, family, 2), QString());
    QCOMPARE(UserLinkSlots::storedName(nextRun, family, 2), QStringLiteral("Twin"));
}

void TestUserLinkEditor::anotherCopysLinksAreKept()
{
    EditorFixture f;
    const UserLinkFamily &family = UserLinkSlots::favourites();
    // Another running copy, over the same file, adds a link while this copy's dialog is open.
    RegistryStore other(f.store.iniPath());
    WebDialog *dialog = f.addFilled(LinkKind::Favourites, QStringLiteral("Mine"), QStringLiteral("http://mine.example/"));
    QVERIFY(other.SaveRegString(HKEY_CURRENT_USER, UserLinkSlots::MenuKey, QStringLiteral("mnuFav1"), QStringLiteral("Theirs")));
    QVERIFY(other.SaveRegString(HKEY_CURRENT_USER, UserLinkSlots::WebLinksKey, QStringLiteral("mnuFav1"),
                                QStringLiteral("http://theirs.example/")));
    f.press(dialog, "Command1");
    QVERIFY(f.test.dialogs.messages().isEmpty());
    QCOMPARE(f.shown(LinkKind::Favourites), (QList<int>{1, 2}));
    QCOMPARE(UserLinkSlots::linkName(f.item(QStringLiteral("mnuFav1"))), QStringLiteral("Theirs"));
    QCOMPARE(UserLinkSlots::linkName(f.item(QStringLiteral("mnuFav2"))), QStringLiteral("Mine"));
    const RegistryStore nextRun(f.store.iniPath());
    QCOMPARE(UserLinkSlots::storedName(nextRun, family, 1), QStringLiteral("Theirs"));
    QCOMPARE(UserLinkSlots::storedAddress(nextRun, family, 1), QStringLiteral("http://theirs.example/"));
    QCOMPARE(UserLinkSlots::storedName(nextRun, family, 2), QStringLiteral("Mine"));
    QCOMPARE(UserLinkSlots::storedAddress(nextRun, family, 2), QStringLiteral("http://mine.example/"));

    // The other copy fills the family while the dialog is open: the limit is said, nothing is
    // stored, and the dialog keeps its texts.
    dialog = f.addFilled(LinkKind::Favourites, QStringLiteral("Late"), QStringLiteral("http://late.example/"));
    for (int slot = 3; slot <= family.count; ++slot)
        QVERIFY(other.SaveRegString(HKEY_CURRENT_USER, UserLinkSlots::MenuKey, family.slotName(slot),
                                    QStringLiteral("theirs %1").arg(slot)));
    f.press(dialog, "Command1");
    QCOMPARE(f.test.dialogs.messageTexts().size(), 1);
    QVERIFY(f.test.dialogs.messageTexts().first().startsWith(QStringLiteral("You have reached the limit for extra Favorite links.")));
    QCOMPARE(f.editor.addDialog(LinkKind::Favourites), dialog);
    QCOMPARE(dialog->text1()->text(), QStringLiteral("Late"));
    QCOMPARE(f.shown(LinkKind::Favourites).size(), 20);
    for (int slot = 3; slot <= family.count; ++slot)
        QCOMPARE(UserLinkSlots::storedName(RegistryStore(f.store.iniPath()), family, slot), QStringLiteral("theirs %1").arg(slot));

    // A link the other copy removed goes from this menu at the next command.
    QVERIFY(other.DeleteRegValue(HKEY_CURRENT_USER, UserLinkSlots::MenuKey, QStringLiteral("mnuFav1")));
    f.press(dialog, "Command2");
    f.editor.addCommand(LinkKind::Favourites);
    QVERIFY(!f.item(QStringLiteral("mnuFav1"))->isVisible());
    QVERIFY(f.editor.addDialog(LinkKind::Favourites));
}

QTEST_MAIN(TestUserLinkEditor)
#include "tst_userlinkeditor.moc"
