#include "picview/ViewState.h"
#include "picview/ZoomLadder.h"
#include "support/TestCase.h"

#include <QTest>

class TestViewState : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void ladder_data();
    void ladder();
    void ladderEnds();
    void enlargeWalk_data();
    void enlargeWalk();
    void enlargeLimit_data();
    void enlargeLimit();
    void smallPictureAtTheTop();
    void reduceUndoesEnlarge_data();
    void reduceUndoesEnlarge();
    void reduceAtTheBottom();
    void scrollBarThreshold_data();
    void scrollBarThreshold();
    void scrollingAndZoom();
    void replacePicture();
    void offTheLadder();
};

void TestViewState::ladder_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<double>("sizeFactor");
    QTest::addColumn<double>("printFactor");

    QTest::newRow("top") << 0 << "Magnification X10" << 32.0 << 10.0;
    QTest::newRow("X8") << 1 << "Magnification X8" << 16.0 << 8.0;
    QTest::newRow("X6 is eight times") << 2 << "Magnification X6" << 8.0 << 6.0;
    QTest::newRow("X4") << 3 << "Magnification X4" << 4.0 << 4.0;
    QTest::newRow("X2") << 4 << "Magnification X2" << 2.0 << 2.0;
    QTest::newRow("true size") << 5 << "True Size" << 1.0 << 1.0;
    QTest::newRow("/2") << 6 << "Size/2" << 0.5 << 0.5;
    QTest::newRow("/4") << 7 << "Size/4" << 0.25 << 0.25;
    QTest::newRow("/6 is an eighth") << 8 << "Size/6" << 0.125 << 1.0 / 6;
    QTest::newRow("/8") << 9 << "Size/8" << 1.0 / 16 << 0.125;
    QTest::newRow("bottom") << 10 << "Size/10" << 1.0 / 32 << 0.1;
}

void TestViewState::ladder()
{
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(double, sizeFactor);
    QFETCH(double, printFactor);

    QCOMPARE(ZoomLadder::steps().size(), 11);
    const ZoomStep &step = ZoomLadder::steps().at(index);
    QCOMPARE(step.caption, caption);
    QCOMPARE(step.sizeFactor(), sizeFactor);
    QCOMPARE(step.printFactor(), printFactor);
    QCOMPARE(ZoomLadder::step(caption)->caption, caption);
}

void TestViewState::ladderEnds()
{
    QCOMPARE(ZoomLadder::captionAbove(QStringLiteral("True Size")), QStringLiteral("Magnification X2"));
    QCOMPARE(ZoomLadder::captionBelow(QStringLiteral("True Size")), QStringLiteral("Size/2"));
    QVERIFY(!ZoomLadder::captionAbove(QStringLiteral("Magnification X10")));
    QVERIFY(!ZoomLadder::captionBelow(QStringLiteral("Size/10")));
    // Captions are compared exactly.
    QVERIFY(!ZoomLadder::step(QStringLiteral("true size")));
    QVERIFY(!ZoomLadder::step(QStringLiteral("True Size ")));
    QVERIFY(!ZoomLadder::captionAbove(QString()));
    QVERIFY(!ZoomLadder::captionBelow(QString()));
}

void TestViewState::enlargeWalk_data()
{
    QTest::addColumn<int>("enlarges");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<double>("height");

    // A picture 100 x 120 twips climbs the whole ladder.
    QTest::newRow("none") << 0 << "True Size" << 120.0;
    QTest::newRow("one") << 1 << "Magnification X2" << 240.0;
    QTest::newRow("two") << 2 << "Magnification X4" << 480.0;
    QTest::newRow("three") << 3 << "Magnification X6" << 960.0;
    QTest::newRow("four") << 4 << "Magnification X8" << 1920.0;
    QTest::newRow("five") << 5 << "Magnification X10" << 3840.0;
}

void TestViewState::enlargeWalk()
{
    QFETCH(int, enlarges);
    QFETCH(QString, caption);
    QFETCH(double, height);

    ViewState state;
    state.showLoaded(QSizeF(100, 120));
    QCOMPARE(state.imageRect(), QRectF(0, 20, 100, 120));
    QVERIFY(!state.isStretched());
    for (int i = 0; i < enlarges; ++i)
        QCOMPARE(state.enlarge(), ViewState::EnlargeResult::Changed);
    QCOMPARE(state.caption(), caption);
    QCOMPARE(state.isStretched(), enlarges > 0);
    const QPointF place = enlarges > 0 ? QPointF(0, 0) : QPointF(0, 20);
    QCOMPARE(state.imageRect(), QRectF(place, QSizeF(height * 100 / 120, height)));
}

void TestViewState::enlargeLimit_data()
{
    QTest::addColumn<double>("height");
    QTest::addColumn<bool>("refused");

    QTest::newRow("4000 twips") << 4000.0 << false;
    QTest::newRow("4001 twips") << 4001.0 << true;
    QTest::newRow("3999.5 twips") << 3999.5 << false;
}

void TestViewState::enlargeLimit()
{
    QFETCH(double, height);
    QFETCH(bool, refused);

    ViewState state;
    state.showLoaded(QSizeF(600, height));
    const QRectF before = state.imageRect();
    if (refused) {
        QCOMPARE(state.enlarge(), ViewState::EnlargeResult::AtMaximum);
        QCOMPARE(state.caption(), QStringLiteral("True Size"));
        QCOMPARE(state.imageRect(), before);
        QVERIFY(!state.isStretched());
        return;
    }
    QCOMPARE(state.enlarge(), ViewState::EnlargeResult::Changed);
    QCOMPARE(state.caption(), QStringLiteral("Magnification X2"));
    QCOMPARE(state.imageRect(), QRectF(0, 0, 1200, 2 * height));
    // Now above the limit: the next Enlarge changes nothing.
    QCOMPARE(state.enlarge(), ViewState::EnlargeResult::AtMaximum);
    QCOMPARE(state.caption(), QStringLiteral("Magnification X2"));
    QCOMPARE(state.imageRect(), QRectF(0, 0, 1200, 2 * height));
}

void TestViewState::smallPictureAtTheTop()
{
    // At most 125 twips: at "Magnification X10" it is 4000 high, and a further Enlarge is
    // neither refused nor changes anything visible.
    ViewState small;
    small.showLoaded(QSizeF(90, 125));
    for (int i = 0; i < 5; ++i)
        small.enlarge();
    QCOMPARE(small.caption(), QStringLiteral("Magnification X10"));
    QCOMPARE(small.imageRect(), QRectF(0, 0, 90 * 32, 4000));
    QCOMPARE(small.enlarge(), ViewState::EnlargeResult::Unchanged);
    QCOMPARE(small.imageRect(), QRectF(0, 0, 90 * 32, 4000));

    // 250 twips: 8000 high at the top, where the next Enlarge is refused.
    ViewState larger;
    larger.showLoaded(QSizeF(250, 250));
    for (int i = 0; i < 5; ++i)
        larger.enlarge();
    QCOMPARE(larger.caption(), QStringLiteral("Magnification X10"));
    QCOMPARE(larger.imageRect().height(), 8000.0);
    QCOMPARE(larger.enlarge(), ViewState::EnlargeResult::AtMaximum);
}

void TestViewState::reduceUndoesEnlarge_data()
{
    QTest::addColumn<int>("reducesFirst");

    for (int reduces = 0; reduces <= 4; ++reduces)
        QTest::addRow("from %d steps down", reduces) << reduces;
}

void TestViewState::reduceUndoesEnlarge()
{
    QFETCH(int, reducesFirst);

    ViewState state;
    state.showLoaded(QSizeF(300, 200));
    for (int i = 0; i < reducesFirst; ++i)
        QVERIFY(state.reduce());
    const QString caption = state.caption();
    const QSizeF size = state.imageRect().size();

    QCOMPARE(state.enlarge(), ViewState::EnlargeResult::Changed);
    QVERIFY(state.reduce());
    QCOMPARE(state.caption(), caption);
    QCOMPARE(state.imageRect().size(), size);

    QVERIFY(state.reduce());
    QCOMPARE(state.enlarge(), ViewState::EnlargeResult::Changed);
    QCOMPARE(state.caption(), caption);
    QCOMPARE(state.imageRect().size(), size);
}

void TestViewState::reduceAtTheBottom()
{
    ViewState state;
    state.showLoaded(QSizeF(3200, 6400));
    for (int i = 0; i < 5; ++i)
        QVERIFY(state.reduce());
    QCOMPARE(state.caption(), QStringLiteral("Size/10"));
    QCOMPARE(state.imageRect(), QRectF(0, 0, 100, 200));
    QVERIFY(!state.reduce());
    QCOMPARE(state.caption(), QStringLiteral("Size/10"));
    QCOMPARE(state.imageRect(), QRectF(0, 0, 100, 200));

    // A picture taller than the limit at "True Size" can be reduced, then enlarged back once
    // it is small enough.
    ViewState tall;
    tall.showLoaded(QSizeF(100, 9000));
    QCOMPARE(tall.enlarge(), ViewState::EnlargeResult::AtMaximum);
    QVERIFY(tall.isStretched() == false);
    QVERIFY(tall.reduce());
    QCOMPARE(tall.imageRect().height(), 4500.0);
    QCOMPARE(tall.enlarge(), ViewState::EnlargeResult::AtMaximum);
    QVERIFY(tall.reduce());
    QCOMPARE(tall.enlarge(), ViewState::EnlargeResult::Changed);
    QCOMPARE(tall.caption(), QStringLiteral("Size/2"));
}

void TestViewState::scrollBarThreshold_data()
{
    QTest::addColumn<double>("height");
    QTest::addColumn<bool>("shown");

    QTest::newRow("5000 twips") << 5000.0 << false;
    QTest::newRow("5001 twips") << 5001.0 << true;
    QTest::newRow("small") << 15.0 << false;
}

void TestViewState::scrollBarThreshold()
{
    QFETCH(double, height);
    QFETCH(bool, shown);

    ViewState state;
    QVERIFY(!state.scrollBarShown());
    state.showLoaded(QSizeF(100, height));
    QCOMPARE(state.scrollBarShown(), shown);
    // Shrinking never hides it; another picture never shows it.
    state.reduce();
    QCOMPARE(state.scrollBarShown(), shown);
    state.replacePicture(QSizeF(100, 20000));
    QCOMPARE(state.scrollBarShown(), shown);
}

void TestViewState::scrollingAndZoom()
{
    ViewState state;
    state.showLoaded(QSizeF(3000, 6000));
    QVERIFY(state.reduce());
    state.scrollTo(250);
    QCOMPARE(state.scrollValue(), 250);
    QCOMPARE(state.imageRect(), QRectF(0, -250, 1500, 3000));
    // The next zoom step puts the image back at the top; the thumb stays.
    QCOMPARE(state.enlarge(), ViewState::EnlargeResult::Changed);
    QCOMPARE(state.imageRect(), QRectF(0, 0, 3000, 6000));
    QCOMPARE(state.scrollValue(), 250);
}

void TestViewState::replacePicture()
{
    // Never zoomed: the image keeps its place and takes the new picture's size.
    ViewState plain;
    plain.showLoaded(QSizeF(300, 300));
    plain.replacePicture(QSizeF(450, 150));
    QCOMPARE(plain.imageRect(), QRectF(0, 20, 450, 150));
    QCOMPARE(plain.caption(), QStringLiteral("True Size"));

    // After two Enlarge steps the new picture is stretched into the enlarged rectangle.
    ViewState zoomed;
    zoomed.showLoaded(QSizeF(300, 300));
    zoomed.enlarge();
    zoomed.enlarge();
    zoomed.replacePicture(QSizeF(450, 150));
    QCOMPARE(zoomed.imageRect(), QRectF(0, 0, 1200, 1200));
    QCOMPARE(zoomed.caption(), QStringLiteral("Magnification X4"));

    // A refused Enlarge does not stretch; a Reduce at the bottom does.
    ViewState bottom;
    bottom.showLoaded(QSizeF(300, 300));
    for (int i = 0; i < 6; ++i)
        bottom.reduce();
    bottom.replacePicture(QSizeF(10, 10));
    QCOMPARE(bottom.imageRect().size(), QSizeF(300.0 / 32, 300.0 / 32));
}

void TestViewState::offTheLadder()
{
    // A window whose load found no pane: no caption, and the zoom buttons change no caption.
    ViewState state;
    QCOMPARE(state.caption(), QString());
    QCOMPARE(state.enlarge(), ViewState::EnlargeResult::Unchanged);
    QVERIFY(state.isStretched());
    QVERIFY(!state.reduce());
    QCOMPARE(state.caption(), QString());
    QCOMPARE(state.imageRect(), QRectF(0, 20, 0, 0));
}

QTEST_APPLESS_MAIN(TestViewState)
#include "tst_viewstate.moc"
