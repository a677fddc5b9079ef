#include "app/Form1.h"
#include "app/MainMenus.h"
#include "app/PopupPresenter.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "platform/Twips.h"
#include "settings/RegistryStore.h"
#include "support/TestCase.h"
#include "support/TestDir.h"
#include "support/TestServices.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

// A real settings file that also records every read, with whether the main window was
// visible at that moment.
class RecordingStore : public RegistryStore
{
public:
    using RegistryStore::RegistryStore;
    QString GetRegString(RegistryRoot root, const QString &key, const QString &valueName) const override
    {
        reads << valueName;
        mainVisibleAtRead << (mainWindow && mainWindow->isVisible());
        return RegistryStore::GetRegString(root, key, valueName);
    }
    QWidget *mainWindow = nullptr;
    mutable QStringList reads;
    mutable QList<bool> mainVisibleAtRead;
};

class RecordingPopups : public PopupPresenter
{
public:
    void popup(QMenu *menu, const QPoint &globalPos) override
    {
        shown << menu->objectName();
        positions << globalPos;
    }
    QStringList shown;
    QList<QPoint> positions;
};

const SplashTimings quickSplash{50, 15, 2};

// The contrast ratio of two colours as the accessibility guidelines define it: 1 to 21.
double contrast(const QColor &a, const QColor &b)
{
    auto luminance = [](const QColor &c) {
        auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QStringList slotNames(const QString &stem, int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << stem + QString::number(i);
    return names;
}

} // namespace

class TestStartup : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        m_popups = RecordingPopups();
        m_services = std::make_unique<TestServices>();
        m_store = std::make_unique<RecordingStore>(m_services->configHome() + QStringLiteral("/Panoptra/Panoptra.ini"));
    }
    void cleanup()
    {
        m_form.reset();
        m_store.reset();
        m_services.reset();
    }

    void readsComeInOrderAfterTheWindowShows()
    {
        makeForm();
        m_form->Form_Load();
        QStringList expected = slotNames(QStringLiteral("mnuAuc"), 10);
        expected << QStringLiteral("Form BackColor") << QStringLiteral("DirBox BackColor")
                 << QStringLiteral("FileBox BackColor");
        expected << slotNames(QStringLiteral("mnuFav"), 20) << slotNames(QStringLiteral("mnuYes"), 10);
        QCOMPARE(m_store->reads, expected);
        QVERIFY(!m_store->mainVisibleAtRead.contains(false));
        QVERIFY(m_form->isVisible());
    }

    void firstStartLeavesEverySlotHidden()
    {
        makeForm();
        m_form->Form_Load();
        for (const QString &stem : {QStringLiteral("mnuYes"), QStringLiteral("mnuAuc"), QStringLiteral("mnuFav")}) {
            for (const QString &name : slotNames(stem, stem == QLatin1String("mnuFav") ? 20 : 10))
                QVERIFY2(!m_form->menus().action(name)->isVisible(), qPrintable(name));
        }
        QVERIFY(!QFile::exists(m_store->iniPath()));
    }

    void storedLinksShowTheirSlots()
    {
        const QString menuKey = QStringLiteral("Software\\Panoptra\\Menu");
        m_store->SaveRegString(HKEY_CURRENT_USER, menuKey, QStringLiteral("mnuYes3"), QStringLiteral("My Engine"));
        m_store->SaveRegString(HKEY_CURRENT_USER, menuKey, QStringLiteral("mnuYes4"), QString());
        m_store->SaveRegString(HKEY_CURRENT_USER, menuKey, QStringLiteral("mnuAuc10"), QStringLiteral("Stamps"));
        m_store->SaveRegString(HKEY_CURRENT_USER, menuKey, QStringLiteral("mnuFav20"), QStringLiteral("News"));
        makeForm();
        m_form->Form_Load();

        for (const QString &name : slotNames(QStringLiteral("mnuYes"), 10)) {
            QAction *action = m_form->menus().action(name);
            QCOMPARE(action->isVisible(), name == QLatin1String("mnuYes3"));
            if (name != QLatin1String("mnuYes3"))
                QCOMPARE(action->text(), name.mid(3));
        }
        QCOMPARE(m_form->menus().action(QStringLiteral("mnuYes3"))->text(), QStringLiteral("My Engine"));
        QVERIFY(m_form->menus().action(QStringLiteral("mnuAuc10"))->isVisible());
        QCOMPARE(m_form->menus().action(QStringLiteral("mnuAuc10"))->text(), QStringLiteral("Stamps"));
        QVERIFY(m_form->menus().action(QStringLiteral("mnuFav20"))->isVisible());
        QVERIFY(!m_form->menus().action(QStringLiteral("mnuFav19"))->isVisible());
    }

    void splashCountsThenCloses()
    {
        makeForm();
        m_form->Form_Load();
        Splash *splash = m_form->splash().ifLoaded();
        QVERIFY(splash);
        QVERIFY(splash->isVisible());
        QStringList counts;
        QObject::connect(splash->txtTime(0), &QLineEdit::textChanged, splash,
                         [&counts](const QString &text) { counts << text; });
        QTRY_VERIFY_WITH_TIMEOUT(!m_form->splash().isLoaded(), 5000);
        QVERIFY(m_form->isVisible());
        QCOMPARE(counts.last(), QStringLiteral(" 10"));
        QVERIFY(counts.contains(QStringLiteral(" 5")));
        QVERIFY(counts.size() <= 10);
    }

    // The name row and the counter stand where the splash was designed, and every letter of the
    // name reads over the part of the logo behind it.
    void splashPlacesTheNameOverTheLogo()
    {
        makeForm(SplashTimings{50, 1000, 2});
        m_form->Form_Load();
        Splash *splash = m_form->splash().ifLoaded();
        QVERIFY(splash);
        const auto *frame = splash->findChild<QWidget *>(QStringLiteral("Frame1"));
        QVERIFY(frame);
        QCOMPARE(frame->geometry(), splash->rect());
        QCOMPARE(splash->txtTime(0)->parentWidget(), frame);
        QCOMPARE(splash->txtTime(0)->geometry(), Twips::rect(3120, 7200, 615, 285));

        const auto *logo = splash->findChild<QLabel *>(QStringLiteral("imgLogo"));
        QVERIFY(logo);
        QCOMPARE(logo->geometry(), Twips::rect(2280, 960, 8295, 5625));
        const QImage behind = logo->pixmap().toImage();
        QCOMPARE(behind.size(), logo->size());
        QString name;
        for (int i = 0; i < 8; ++i) {
            const auto *letter = splash->findChild<QLabel *>(QStringLiteral("lblLetter%1").arg(i));
            QVERIFY(letter);
            QCOMPARE(letter->parentWidget(), frame);
            QCOMPARE(letter->y(), Twips::pixels(2520));
            name += letter->text();
            const QColor ink = letter->palette().color(QPalette::WindowText);
            const QRect under = letter->geometry().translated(-logo->pos()).intersected(behind.rect());
            QVERIFY2(!under.isEmpty(), "the row stands over the logo");
            double worst = 21;
            for (int y = under.top(); y <= under.bottom(); ++y) {
                for (int x = under.left(); x <= under.right(); ++x)
                    worst = std::min(worst, contrast(ink, behind.pixelColor(x, y)));
            }
            QVERIFY2(worst >= 4.5, qPrintable(QStringLiteral("letter %1 contrast %2").arg(i).arg(worst)));
        }
        QCOMPARE(name, QStringLiteral("Panoptra"));
    }

    void theSplashWaitKeepsTheMainWindowHidden()
    {
        makeForm(SplashTimings{300, 1000, 2});
        bool visibleDuringWait = true;
        QTimer::singleShot(100, m_form.get(), [&] { visibleDuringWait = m_form->isVisible(); });
        m_form->Form_Load();
        QVERIFY(!visibleDuringWait);
        QVERIFY(m_form->isVisible());
    }

    void closeQuestion_data()
    {
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<int>("ends");
        QTest::newRow("no keeps the program") << false << 0;
        QTest::newRow("yes ends it") << true << 1;
    }
    void closeQuestion()
    {
        QFETCH(bool, answerYes);
        QFETCH(int, ends);
        makeForm();
        m_form->show();
        m_services->dialogs.answerMessage(answerYes ? MessageAnswer::Yes : MessageAnswer::No);
        m_form->close();
        QCOMPARE(m_services->dialogs.messages().size(), 1);
        const MessageRequest asked = m_services->dialogs.messages().first();
        QCOMPARE(asked.text, QStringLiteral("Exit Panoptra?"));
        QCOMPARE(asked.title, QStringLiteral("Exit"));
        QCOMPARE(asked.buttons, MessageButtons::YesNo);
        QCOMPARE(asked.icon, MessageIcon::None);
        QCOMPARE(m_services->programEnd.endCalls, ends);
        QCOMPARE(m_services->shellWindows.quitCalls, 0);
        QVERIFY(m_form->isVisible()); // only the program's end hides it
    }

    void exitAsksTheShellWindowsThenEnds()
    {
        makeForm();
        m_form->menus().action(QStringLiteral("mnuExit"))->trigger();
        QCOMPARE(m_services->shellWindows.quitCalls, 1);
        QCOMPARE(m_services->programEnd.endCalls, 1);
        QVERIFY(m_services->dialogs.messages().isEmpty());
    }

    void endGuardCanKeepTheProgramRunning()
    {
        makeForm();
        int asked = 0;
        m_form->setEndGuard([&asked] { ++asked; return false; });
        m_form->mnuExit_Click();
        m_services->dialogs.answerMessage(MessageAnswer::Yes);
        bool cancel = false;
        m_form->Form_QueryUnload(cancel);
        QCOMPARE(asked, 2);
        QVERIFY(cancel);
        QCOMPARE(m_services->programEnd.endCalls, 0);
    }

    void rightReleaseShowsThePanePopup_data()
    {
        QTest::addColumn<int>("pane");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("menu");
        QTest::newRow("file list of pane 2") << 2 << false << QStringLiteral("mnuPopUp2");
        QTest::newRow("file list of pane 5") << 5 << false << QStringLiteral("mnuPopup5");
        QTest::newRow("folder list of pane 1") << 1 << true << QStringLiteral("mnuDirPop1");
    }
    void rightReleaseShowsThePanePopup()
    {
        QFETCH(int, pane);
        QFETCH(bool, folder);
        QFETCH(QString, menu);
        TestDir dir;
        dir.createFile(QStringLiteral("a.txt"));
        dir.createFile(QStringLiteral("b.txt"));
        makeForm();
        m_form->show();
        PaneBoard &board = m_form->board();
        board.pane(pane).folderList()->setPath(dir.path());
        QWidget *list = folder ? static_cast<QWidget *>(board.pane(pane).folderList())
                               : static_cast<QWidget *>(board.pane(pane).fileList());
        const QString text7 = board.text7()->text();
        QTest::mouseClick(static_cast<QAbstractScrollArea *>(list)->viewport(), Qt::RightButton, {}, QPoint(10, 5));
        QCOMPARE(m_popups.shown, QStringList{menu});
        QCOMPARE(board.text7()->text(), text7);
        QCOMPARE(board.pane(pane).fileList()->fileName(), QString());
    }

    void popupRefreshReReadsOnlyItsPane()
    {
        TestDir dir;
        dir.createFile(QStringLiteral("a.txt"));
        makeForm();
        PaneBoard &board = m_form->board();
        for (int n = 1; n <= 5; ++n)
            board.pane(n).folderList()->setPath(dir.path());
        dir.createFile(QStringLiteral("b.txt"));
        m_form->menus().action(QStringLiteral("mnuRefresh2"))->trigger();
        QCOMPARE(board.pane(2).fileList()->listCount(), 2);
        QCOMPARE(board.pane(3).fileList()->listCount(), 1);
        m_form->menus().action(QStringLiteral("mnuRefresh"))->trigger();
        for (int n = 1; n <= 5; ++n)
            QCOMPARE(board.pane(n).fileList()->listCount(), 2);
    }

private:
    void makeForm(const SplashTimings &timings = quickSplash)
    {
        m_form = std::make_unique<Form1>(m_services->services(), *m_store, m_popups, timings);
        m_store->mainWindow = m_form.get();
    }

    RecordingPopups m_popups;
    std::unique_ptr<TestServices> m_services;
    std::unique_ptr<RecordingStore> m_store;
    std::unique_ptr<Form1> m_form;
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
