// The steps undo and redo take: typing a word at a time, every other edit by itself.

#include "textbox/EditHistory.h"
#include "support/TestCase.h"

#include <QTest>

namespace {

EditStep typed(qint64 position, const QString &text)
{
    return {position, {}, {}, text, true, {}};
}

EditStep edit(qint64 position, const QString &removed, const QString &inserted,
              std::vector<TextLines::End> removedEnds = {})
{
    return {position, removed, std::move(removedEnds), inserted, false, {}};
}

// The steps as undo hands them out, last first, as "position:removed>inserted".
QStringList undoAll(EditHistory &history)
{
    QStringList steps;
    while (const std::optional<EditStep> step = history.undo())
        steps << QStringLiteral("%1:%2>%3").arg(step->position).arg(step->removed, step->inserted);
    return steps;
}

} // namespace

class EditHistoryTest : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void typingGoesAWordAtATime_data();
    void typingGoesAWordAtATime();
    void onlyTypingRightAfterTypingJoins();
    void closeTypingStartsANewStep();
    void aNewStepDropsWhatWasUndone();
    void undoAndRedoGoBackAndForthInOrder();
};

void EditHistoryTest::typingGoesAWordAtATime_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("undone");
    QTest::newRow("one word") << "abc" << QStringList{"0:>abc"};
    QTest::newRow("a blank ends a word") << "ab cd" << QStringList{"3:>cd", "0:>ab "};
    QTest::newRow("blanks run together") << "a  \tb" << QStringList{"4:>b", "0:>a  \t"};
    QTest::newRow("a blank first") << " ab" << QStringList{"1:>ab", "0:> "};
    QTest::newRow("three words") << "x y z" << QStringList{"4:>z", "2:>y ", "0:>x "};
}

// Each key types one character after the one before.
void EditHistoryTest::typingGoesAWordAtATime()
{
    QFETCH(QString, keys);
    QFETCH(QStringList, undone);
    EditHistory history;
    for (qsizetype i = 0; i < keys.size(); ++i)
        history.record(typed(i, keys.mid(i, 1)));
    QCOMPARE(undoAll(history), undone);
    QVERIFY(!history.canUndo());
    QVERIFY(history.canRedo());
}

void EditHistoryTest::onlyTypingRightAfterTypingJoins()
{
    EditHistory history;
    history.record(typed(0, "a"));
    // Typed elsewhere: the caret moved.
    history.record(typed(5, "b"));
    // Pasted right after it: not typed.
    history.record(edit(6, {}, "c"));
    // Typed right after the paste.
    history.record(typed(7, "d"));
    // Typed after the character typed last, but over a removed one.
    history.record({8, "q", {}, "e", true, {}});
    QCOMPARE(undoAll(history), (QStringList{"8:q>e", "7:>d", "6:>c", "5:>b", "0:>a"}));
}

void EditHistoryTest::closeTypingStartsANewStep()
{
    EditHistory history;
    history.record(typed(0, "a"));
    history.closeTyping();
    history.record(typed(1, "b"));
    history.record(typed(2, "c"));
    QCOMPARE(undoAll(history), (QStringList{"1:>bc", "0:>a"}));

    // A step undone and done again takes no more typing.
    history.clear();
    history.record(typed(0, "a"));
    QVERIFY(history.undo());
    QVERIFY(history.redo());
    history.record(typed(1, "b"));
    QCOMPARE(undoAll(history), (QStringList{"1:>b", "0:>a"}));
}

void EditHistoryTest::aNewStepDropsWhatWasUndone()
{
    EditHistory history;
    history.record(edit(0, {}, "one"));
    history.record(edit(3, {}, "two"));
    QVERIFY(history.undo());
    QVERIFY(history.canRedo());
    history.record(edit(3, {}, "three"));
    QVERIFY(!history.canRedo());
    QVERIFY(!history.redo());
    QCOMPARE(undoAll(history), (QStringList{"3:>three", "0:>one"}));

    // A typed character drops them too.
    history.clear();
    history.record(typed(0, "a"));
    history.record(edit(1, {}, "X"));
    QVERIFY(history.undo());
    history.record(typed(1, "b"));
    QVERIFY(!history.canRedo());
    QVERIFY(!history.redo());
}

void EditHistoryTest::undoAndRedoGoBackAndForthInOrder()
{
    EditHistory history;
    QVERIFY(!history.canUndo());
    QVERIFY(!history.undo());
    QVERIFY(!history.redo());
    const std::vector<TextLines::End> ends{LineEnd::Cr, std::nullopt};
    history.record(edit(0, {}, "a"));
    history.record(edit(1, "x\ny\nz", "b", ends));
    history.record(edit(2, "c", {}));

    std::optional<EditStep> step = history.undo();
    QVERIFY(step);
    QCOMPARE(step->position, 2);
    QCOMPARE(step->removed, QStringLiteral("c"));
    QCOMPARE(step->inserted, QString());
    step = history.undo();
    QVERIFY(step);
    QCOMPARE(step->position, 1);
    QCOMPARE(step->removed, QStringLiteral("x\ny\nz"));
    QVERIFY(step->removedEnds == ends);
    QCOMPARE(step->inserted, QStringLiteral("b"));

    // Redo takes the last undone first, with all it held.
    step = history.redo();
    QVERIFY(step);
    QCOMPARE(step->position, 1);
    QVERIFY(step->removedEnds == ends);
    QCOMPARE(step->inserted, QStringLiteral("b"));
    step = history.redo();
    QVERIFY(step);
    QCOMPARE(step->removed, QStringLiteral("c"));
    QVERIFY(!history.redo());
    QVERIFY(!history.canRedo());

    QCOMPARE(undoAll(history), (QStringList{"2:c>", "1:x\ny\nz>b", "0:>a"}));
    QVERIFY(!history.canUndo());
    history.clear();
    QVERIFY(!history.canRedo());
    QVERIFY(!history.redo());
}

QTEST_GUILESS_MAIN(EditHistoryTest)
#include "tst_edithistory.moc"
