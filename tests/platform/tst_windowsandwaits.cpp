#include "platform/EventWaits.h"
#include "platform/ui/SharedWindow.h"
#include "support/TestCase.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

namespace {

// A window with a load handler and a handler that unloads its own window.
class Probe : public QWidget
{
public:
    explicit Probe(int *loads) { Form_Load(loads); }
    void Form_Load(int *loads)
    {
        ++*loads;
        caption = QStringLiteral("design");
    }
    void Command1_Click(SharedWindow<Probe> &shared)
    {
        shared.unload();
        // The handler goes on using its window after the unload.
        caption = QStringLiteral("after unload");
        handled = true;
    }
    QString caption;
    bool handled = false;
};

void runDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestWindowsAndWaits : public TestCase
{
    Q_OBJECT

private slots:
    void firstReferenceCreatesAndLoadsOnce();
    void unloadDestroysAndNextReferenceStartsFromDesign();
    void unloadFromItsOwnHandlerIsSafe();
    void windowDestroyedElsewhereIsCreatedAgain();
    void windowThatUnloadsInItsLoadIsGone();

    void timedWaitRunsEventsAndEndsAfterItsTime();
    void timedWaitEndsWhenItsGuardIsDestroyed();
    void timeSliceYieldYieldsOncePerSlice();
};

void TestWindowsAndWaits::firstReferenceCreatesAndLoadsOnce()
{
    int loads = 0;
    SharedWindow<Probe> shared([&] { return new Probe(&loads); });
    QVERIFY(!shared.isLoaded());
    QCOMPARE(shared.ifLoaded(), nullptr);
    QCOMPARE(loads, 0);

    Probe *first = shared.get();
    QVERIFY(first);
    QCOMPARE(shared.get(), first);
    QCOMPARE(shared->caption, QStringLiteral("design"));
    QCOMPARE(shared.ifLoaded(), first);
    QCOMPARE(loads, 1);
}

void TestWindowsAndWaits::windowThatUnloadsInItsLoadIsGone()
{
    int loads = 0;
    bool closeInLoad = true;
    SharedWindow<Probe> *sharedRef = nullptr;
    QPointer<Probe> created;
    SharedWindow<Probe> shared([&] {
        auto *probe = new Probe(&loads);
        created = probe;
        if (closeInLoad)
            sharedRef->unload(); // the load decides there is nothing to show
        return probe;
    });
    sharedRef = &shared;

    QCOMPARE(shared.get(), nullptr);
    QVERIFY(!shared.isLoaded());
    QVERIFY(created && !created->isVisible());
    runDeferredDeletes();
    QVERIFY(!created);

    // The next reference loads afresh, and a load that keeps its window keeps it.
    closeInLoad = false;
    Probe *second = shared.get();
    QVERIFY(second);
    QCOMPARE(shared.get(), second);
    QCOMPARE(loads, 2);
}

void TestWindowsAndWaits::unloadDestroysAndNextReferenceStartsFromDesign()
{
    int loads = 0;
    SharedWindow<Probe> shared([&] { return new Probe(&loads); });
    QPointer<Probe> first = shared.get();
    first->caption = QStringLiteral("changed");
    first->show();

    shared.unload();
    QVERIFY(!shared.isLoaded());
    QVERIFY(first && !first->isVisible());
    runDeferredDeletes();
    QVERIFY(first.isNull());

    QCOMPARE(shared->caption, QStringLiteral("design"));
    QCOMPARE(loads, 2);
    shared.unload();
    shared.unload(); // unloading a window that is not loaded does nothing
    QCOMPARE(loads, 2);
}

void TestWindowsAndWaits::unloadFromItsOwnHandlerIsSafe()
{
    int loads = 0;
    SharedWindow<Probe> shared([&] { return new Probe(&loads); });
    QPointer<Probe> window = shared.get();

    window->Command1_Click(shared);
    QVERIFY(window);
    QVERIFY(window->handled);
    QVERIFY(!shared.isLoaded());
    runDeferredDeletes();
    QVERIFY(window.isNull());
}

void TestWindowsAndWaits::windowDestroyedElsewhereIsCreatedAgain()
{
    int loads = 0;
    SharedWindow<Probe> shared([&] { return new Probe(&loads); });
    delete shared.get();
    QVERIFY(!shared.isLoaded());
    QVERIFY(shared.get());
    QCOMPARE(loads, 2);
}

void TestWindowsAndWaits::timedWaitRunsEventsAndEndsAfterItsTime()
{
    bool ticked = false;
    QTimer::singleShot(10, this, [&] { ticked = true; });
    QElapsedTimer clock;
    clock.start();
    QVERIFY(EventWaits::timedWait(100));
    QVERIFY(clock.elapsed() >= 100);
    QVERIFY(ticked);
}

void TestWindowsAndWaits::timedWaitEndsWhenItsGuardIsDestroyed()
{
    auto *window = new QWidget;
    QTimer::singleShot(20, window, &QObject::deleteLater);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!EventWaits::timedWait(60000, window));
    QVERIFY(clock.elapsed() < 30000);

    // A wait whose guard lives on runs its full time.
    QObject guard;
    QVERIFY(EventWaits::timedWait(10, &guard));
}

void TestWindowsAndWaits::timeSliceYieldYieldsOncePerSlice()
{
    int handled = 0;
    TimeSliceYield everyHour(3'600'000);
    everyHour.maybeYield(); // the first call yields
    QTimer::singleShot(0, this, [&] { ++handled; });
    everyHour.maybeYield();
    QCOMPARE(handled, 0);
    // A shorter slice ends early; a longer one is cut to the yield's own.
    QVERIFY(everyHour.isDue(0));
    QVERIFY(!everyHour.isDue(7'200'000));
    QVERIFY(!everyHour.isDue());

    TimeSliceYield always(0);
    always.maybeYield();
    QCOMPARE(handled, 1);
}

QTEST_MAIN(TestWindowsAndWaits)
#include "tst_windowsandwaits.moc"
