#include "fileops/SharedStandby.h"
#include "fileops/Standby.h"
#include "platform/ui/ToolkitColor.h"
#include "support/Doubles.h"
#include "support/TestCase.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {
constexpr int fastTick = 1;

// Runs action once, from the event loop, after the given number of Timer1 ticks of window.
void afterTicks(Standby *window, int ticks, std::function<void()> action)
{
    auto count = std::make_shared<int>(0);
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(window->timer1(), &QTimer::timeout, window, [=] {
        if (++*count == ticks) {
            QObject::disconnect(*connection);
            // Outside the tick itself, as a click would arrive.
            QTimer::singleShot(0, action);
        }
    });
}

bool standbyOnScreen()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("Standby") && window->isVisible())
            return true;
    }
    return false;
}
} // namespace

class TestStandby : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void designValues();
    void typesOneLetterPerTick();
    void commandsWithOtherTexts_data();
    void commandsWithOtherTexts();
    void blankWaitThenCallersText();
    void closeUnloadsAndNextUseStartsFromDesign();
    void closeDuringWaitReturns_data();
    void closeDuringWaitReturns();
    void programEndingEndsWait();
    void secondUseDuringWaitEndsBoth();
};

void TestStandby::designValues()
{
    RecordingProgramEnd programEnd;
    SharedStandby standby(programEnd);
    QVERIFY(!standby.isLoaded());
    Standby *window = standby.window();

    QCOMPARE(window->objectName(), QStringLiteral("Standby"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Form9"));
    QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(window->isWindow());
    QCOMPARE(window->geometry(), QRect(3, 520, 800, 25));
    QCOMPARE(ToolkitColor::backColor(window), ToolkitColor::Red);

    QLabel *label = window->findChild<QLabel *>(QStringLiteral("Label1"));
    QCOMPARE(label, window->label1());
    QVERIFY(label->text().isEmpty());
    // It shows paths, and "<b>x.txt" is a name.
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(label->geometry(), QRect(0, 0, 538, 17));
    QCOMPARE(ToolkitColor::backColor(label), ToolkitColor::Red);

    QLineEdit *text1 = window->findChild<QLineEdit *>(QStringLiteral("Text1"));
    QCOMPARE(text1, window->text1());
    QCOMPARE(text1->text(), QStringLiteral("Deleting ..."));
    QVERIFY(text1->isHidden());

    QTimer *timer = window->findChild<QTimer *>(QStringLiteral("Timer1"));
    QCOMPARE(timer, window->timer1());
    QCOMPARE(timer->interval(), 10);
    // Enabled by design until its first tick.
    QVERIFY(timer->isActive());
    QTRY_VERIFY(!timer->isActive());
    // Loading does not show it.
    QVERIFY(!window->isVisible());
}

void TestStandby::typesOneLetterPerTick()
{
    RecordingProgramEnd programEnd;
    SharedStandby standby(programEnd); // the design's 10 ms tick
    Standby *window = standby.window();
    standby.show();
    QTRY_VERIFY(!window->timer1()->isActive());

    QStringList seen;
    connect(window->timer1(), &QTimer::timeout, window, [&] { seen << window->labelText(); });
    standby.Command1();

    const QString text = QStringLiteral("Deleting ...");
    QStringList expected;
    for (qsizetype i = 1; i <= text.size(); ++i)
        expected << text.left(i);
    QCOMPARE(seen, expected);
    QCOMPARE(window->labelText(), text);
    QVERIFY(!window->timer1()->isActive());
    QVERIFY(window->isVisible());
}

void TestStandby::commandsWithOtherTexts_data()
{
    QTest::addColumn<QString>("text1");
    QTest::addColumn<bool>("typing");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("finalLabel");

    QTest::newRow("typing an empty text clears and starts no tick") << QString() << true << 0 << QString();
    QTest::newRow("blank wait on an empty text") << QString() << false << 0 << QString();
    QTest::newRow("typing a caller's text") << QStringLiteral("abc") << true << 3 << QStringLiteral("abc");
    QTest::newRow("blank wait lasts one tick per letter") << QStringLiteral("abcd") << false << 4 << QString();
}

void TestStandby::commandsWithOtherTexts()
{
    QFETCH(QString, text1);
    QFETCH(bool, typing);
    QFETCH(int, ticks);
    QFETCH(QString, finalLabel);

    RecordingProgramEnd programEnd;
    SharedStandby standby(programEnd, fastTick);
    Standby *window = standby.window();
    QTRY_VERIFY(!window->timer1()->isActive());
    window->setLabelText(QStringLiteral("left over"));
    window->text1()->setText(text1);

    int tickCount = 0;
    connect(window->timer1(), &QTimer::timeout, window, [&] { ++tickCount; });
    if (typing)
        standby.Command1();
    else
        standby.Command3();

    QCOMPARE(tickCount, ticks);
    QCOMPARE(window->labelText(), finalLabel);
    QVERIFY(!window->timer1()->isActive());
}

void TestStandby::blankWaitThenCallersText()
{
    RecordingProgramEnd programEnd;
    SharedStandby standby(programEnd, fastTick);
    Standby *window = standby.window();
    QTRY_VERIFY(!window->timer1()->isActive());
    window->setLabelText(QStringLiteral("  Copying to /before"));

    QStringList seen;
    connect(window->timer1(), &QTimer::timeout, window, [&] { seen << window->labelText(); });
    standby.Command3();
    QCOMPARE(seen, QStringList(12, QString()));

    standby.setLabel1(QStringLiteral("  Copying to /out/a.txt"));
    QCOMPARE(window->label1()->text(), QStringLiteral("  Copying to /out/a.txt"));
}

void TestStandby::closeUnloadsAndNextUseStartsFromDesign()
{
    RecordingProgramEnd programEnd;
    SharedStandby standby(programEnd, fastTick);
    standby.show();
    QPointer<Standby> first = standby.window();
    first->text1()->setText(QStringLiteral("other"));
    first->setLabelText(QStringLiteral("typed"));

    standby.Command2();
    QVERIFY(!standby.isLoaded());
    QVERIFY(!first->isVisible());
    QTRY_VERIFY(first.isNull());

    standby.show();
    Standby *second = standby.window();
    QVERIFY(second->labelText().isEmpty());
    QCOMPARE(second->text1()->text(), QStringLiteral("Deleting ..."));
    QVERIFY(second->timer1()->isActive());

    // Twice in a row, and once more while not loaded: no window is left on the screen.
    standby.Command2();
    standby.Command2();
    QVERIFY(!standby.isLoaded());
    QVERIFY(!standbyOnScreen());
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestStandby::closeDuringWaitReturns_data()
{
    QTest::addColumn<bool>("typing");
    QTest::addColumn<bool>("destroyOutright");

    QTest::newRow("Command2 while typing") << true << false;
    QTest::newRow("Command2 during the blank wait") << false << false;
    QTest::newRow("window destroyed while typing") << true << true;
}

void TestStandby::closeDuringWaitReturns()
{
    QFETCH(bool, typing);
    QFETCH(bool, destroyOutright);

    RecordingProgramEnd programEnd;
    SharedStandby standby(programEnd, Standby::DesignTickMs);
    standby.show();
    QPointer<Standby> window = standby.window();
    QTRY_VERIFY(!window->timer1()->isActive());

    afterTicks(window, 3, [&] {
        if (destroyOutright)
            delete window.data();
        else
            standby.Command2();
    });
    if (typing)
        standby.Command1();
    else
        standby.Command3();

    // Returned long before the twelve ticks were up, and the window is gone.
    if (window)
        QVERIFY(window->labelText().size() < 12);
    QTRY_VERIFY(window.isNull());
    QVERIFY(!standby.isLoaded());
}

void TestStandby::programEndingEndsWait()
{
    RecordingProgramEnd programEnd;
    SharedStandby standby(programEnd, Standby::DesignTickMs);
    Standby *window = standby.window();
    QTRY_VERIFY(!window->timer1()->isActive());

    afterTicks(window, 2, [&] { programEnd.endNow(); });
    standby.Command1();
    QVERIFY(window->labelText().size() < 5);

    // Once ending, no wait starts.
    int ticks = 0;
    connect(window->timer1(), &QTimer::timeout, window, [&] { ++ticks; });
    standby.Command3();
    QCOMPARE(ticks, 0);
}

void TestStandby::secondUseDuringWaitEndsBoth()
{
    RecordingProgramEnd programEnd;
    SharedStandby standby(programEnd, fastTick);
    Standby *window = standby.window();
    QTRY_VERIFY(!window->timer1()->isActive());

    bool innerReturned = false;
    afterTicks(window, 2, [&] {
        standby.Command3();
        innerReturned = true;
    });
    standby.Command1();
    QVERIFY(innerReturned);
    QVERIFY(standby.isLoaded());
}

QTEST_MAIN(TestStandby)
#include "tst_standby.moc"
