// The steps undo and redo take on the lines: typing a word at a time, every other edit by
// itself, each text held once, the memory they hold bounded, and the state last saved known.

#include "textbox/EditHistory.h"
#include "support/TestCase.h"

#include <QTest>

namespace {

// Lines and their history, edited as the text box edits them.
struct Edited
{
    TextLines lines;
    EditHistory history;

    explicit Edited(const QString &text = {}, qint64 limit = EditHistory::defaultMemoryLimit)
        : lines(text), history(limit)
    {
    }

    void edit(qint64 position, qint64 removing, const QString &inserted, bool typed = false)
    {
        history.record(position, lines.replace(position, position + removing, inserted), inserted, typed);
    }
    void type(qint64 position, const QString &text) { edit(position, 0, text, true); }

    // The steps as undo takes them, last first, as "position:removed>inserted" of the edit
    // each undid.
    QStringList undoAll()
    {
        QStringList steps;
        while (const std::optional<EditHistory::Change> change = history.undo(lines))
            steps << QStringLiteral("%1:%2>%3").arg(change->position).arg(change->inserted, change->removed);
        return steps;
    }
};

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
    void undoAndRedoGiveBackTheLinesAndTheirEnds();
    void eachTextIsHeldOnce();
    void theOldestStepsGoFirstToKeepToTheLimit();
    void aStepOverTheLimitStaysToUndo();
    void undoingBackToTheSavedStateIsUnchanged_data();
    void undoingBackToTheSavedStateIsUnchanged();
    void aSavedStateDroppedByTheLimitIsNeverReached();
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
    Edited e;
    for (qsizetype i = 0; i < keys.size(); ++i)
        e.type(i, keys.mid(i, 1));
    QCOMPARE(e.undoAll(), undone);
    QCOMPARE(e.lines.text(), QString());
    QVERIFY(!e.history.canUndo());
    QVERIFY(e.history.canRedo());
}

void EditHistoryTest::onlyTypingRightAfterTypingJoins()
{
    Edited e(QStringLiteral("0123456789"));
    e.type(0, "a");
    // Typed elsewhere: the caret moved.
    e.type(5, "b");
    // Pasted right after it: not typed.
    e.edit(6, 0, "c");
    // Typed right after the paste.
    e.type(7, "d");
    // Typed after the character typed last, but over a removed one.
    e.edit(8, 1, "e", true);
    QCOMPARE(e.lines.text(), QStringLiteral("a0123bcde56789"));
    QCOMPARE(e.undoAll(), (QStringList{"8:4>e", "7:>d", "6:>c", "5:>b", "0:>a"}));
    QCOMPARE(e.lines.text(), QStringLiteral("0123456789"));
}

void EditHistoryTest::closeTypingStartsANewStep()
{
    Edited e;
    e.type(0, "a");
    e.history.closeTyping();
    e.type(1, "b");
    e.type(2, "c");
    QCOMPARE(e.undoAll(), (QStringList{"1:>bc", "0:>a"}));

    // A step undone and done again takes no more typing.
    Edited again;
    again.type(0, "a");
    QVERIFY(again.history.undo(again.lines));
    QVERIFY(again.history.redo(again.lines));
    again.type(1, "b");
    QCOMPARE(again.undoAll(), (QStringList{"1:>b", "0:>a"}));
}

void EditHistoryTest::aNewStepDropsWhatWasUndone()
{
    Edited e;
    e.edit(0, 0, "one");
    e.edit(3, 0, "two");
    QVERIFY(e.history.undo(e.lines));
    QVERIFY(e.history.canRedo());
    e.edit(3, 0, "three");
    QVERIFY(!e.history.canRedo());
    QVERIFY(!e.history.redo(e.lines));
    QCOMPARE(e.lines.text(), QStringLiteral("onethree"));
    QCOMPARE(e.undoAll(), (QStringList{"3:>three", "0:>one"}));

    // A typed character drops them too.
    Edited typed;
    typed.type(0, "a");
    typed.edit(1, 0, "X");
    QVERIFY(typed.history.undo(typed.lines));
    typed.type(1, "b");
    QVERIFY(!typed.history.canRedo());
    QVERIFY(!typed.history.redo(typed.lines));
    QCOMPARE(typed.lines.text(), QStringLiteral("ab"));
}

void EditHistoryTest::undoAndRedoGiveBackTheLinesAndTheirEnds()
{
    Edited e;
    e.lines = TextLines::fromBytes("x\ry\r\nz", TextEncoding::Utf8).lines;
    QVERIFY(!e.history.undo(e.lines));
    QVERIFY(!e.history.redo(e.lines));
    e.edit(0, 0, "a");
    e.edit(1, 5, "b\nc");
    e.edit(4, 0, "d");
    QCOMPARE(e.lines.fileText(LineEnd::Lf), QStringLiteral("ab\ncd"));

    std::optional<EditHistory::Change> change = e.history.undo(e.lines);
    QVERIFY(change);
    QCOMPARE(change->position, 4);
    QCOMPARE(change->removed, QStringLiteral("d"));
    QCOMPARE(change->inserted, QString());
    change = e.history.undo(e.lines);
    QVERIFY(change);
    QCOMPARE(change->position, 1);
    QCOMPARE(change->removed, QStringLiteral("b\nc"));
    QCOMPARE(change->inserted, QStringLiteral("x\ny\nz"));
    // Each line has its own end again.
    QCOMPARE(e.lines.fileText(LineEnd::Lf), QStringLiteral("ax\ry\r\nz"));

    // Redo takes the last undone first, with all it held.
    change = e.history.redo(e.lines);
    QVERIFY(change);
    QCOMPARE(change->removed, QStringLiteral("x\ny\nz"));
    QCOMPARE(e.lines.fileText(LineEnd::Lf), QStringLiteral("ab\nc"));
    QVERIFY(e.history.redo(e.lines));
    QVERIFY(!e.history.redo(e.lines));
    QVERIFY(!e.history.canRedo());
    QCOMPARE(e.lines.text(), QStringLiteral("ab\ncd"));

    QCOMPARE(e.undoAll(), (QStringList{"4:>d", "1:x\ny\nz>b\nc", "0:>a"}));
    QCOMPARE(e.lines.fileText(LineEnd::Lf), QStringLiteral("x\ry\r\nz"));
    QVERIFY(e.history.redo(e.lines) && e.history.redo(e.lines));
    QCOMPARE(e.lines.fileText(LineEnd::Lf), QStringLiteral("ab\nc"));
    e.history.clear();
    QVERIFY(!e.history.canUndo() && !e.history.canRedo());
    QCOMPARE(e.history.memoryUse(), 0);
}

void EditHistoryTest::eachTextIsHeldOnce()
{
    // A paste: the lines hold it, the history only what it replaced.
    const QString pasted = QString(500'000, QLatin1Char('p')) + QStringLiteral("\n") + QString(500'000, QLatin1Char('q'));
    const qint64 pastedBytes = pasted.size() * qint64(sizeof(QChar));
    Edited e(QStringLiteral("abc"));
    e.edit(1, 1, pasted);
    QVERIFY2(e.history.memoryUse() < 1024, qPrintable(QString::number(e.history.memoryUse())));
    // Undone, the history holds it and the lines no longer do; redone, the other way round.
    QVERIFY(e.history.undo(e.lines));
    QCOMPARE(e.lines.text(), QStringLiteral("abc"));
    QVERIFY(e.history.memoryUse() >= pastedBytes);
    QVERIFY(e.history.memoryUse() < pastedBytes + 1024);
    QVERIFY(e.history.redo(e.lines));
    QCOMPARE(e.lines.characterCount(), pasted.size() + 2);
    QVERIFY(e.history.memoryUse() < 1024);

    // What an edit removed is the history's alone.
    e.edit(0, e.lines.characterCount(), QString());
    QVERIFY(e.history.memoryUse() >= pastedBytes);
    QVERIFY(e.history.undo(e.lines));
    QVERIFY(e.history.memoryUse() < 1024);
    QCOMPARE(e.lines.text(), QStringLiteral("a") + pasted + QStringLiteral("c"));
}

void EditHistoryTest::theOldestStepsGoFirstToKeepToTheLimit()
{
    // Each step removes 1000 characters: 2000 bytes and a little; twelve fit under 25,000 bytes.
    constexpr qint64 limit = 25'000;
    QString text;
    for (char letter = 'a'; letter <= 't'; ++letter)
        text += QString(1000, QLatin1Char(letter));
    Edited e(text, limit);
    for (int step = 0; step < 20; ++step) {
        e.edit(0, 1000, QString());
        QVERIFY(e.history.memoryUse() <= limit);
    }
    QCOMPARE(e.lines.text(), QString());
    QCOMPARE(e.history.stepCount(), size_t(12));
    // The newest twelve come back, newest first; the text of the oldest is gone for good.
    QCOMPARE(e.undoAll().size(), 12);
    QCOMPARE(e.lines.text(), text.sliced(8000));

    // Undoing puts text into the history: then the farthest redo steps give way.
    Edited typed(QString(), 5000);
    for (int step = 0; step < 3; ++step)
        typed.edit(typed.lines.characterCount(), 0, QString(1000, QLatin1Char('a' + step)));
    QCOMPARE(typed.undoAll().size(), 3);
    QVERIFY(typed.history.memoryUse() <= 5000);
    QCOMPARE(typed.history.stepCount(), size_t(2));
    QVERIFY(typed.history.redo(typed.lines) && typed.history.redo(typed.lines));
    QVERIFY(!typed.history.canRedo());
    QCOMPARE(typed.lines.text(), QString(1000, QLatin1Char('a')) + QString(1000, QLatin1Char('b')));
}

void EditHistoryTest::aStepOverTheLimitStaysToUndo()
{
    const QString text(10'000, QLatin1Char('x'));
    Edited e(text, 1000);
    e.edit(0, 2, QStringLiteral("ab"));
    e.edit(0, text.size(), QString());
    QCOMPARE(e.history.stepCount(), size_t(1));
    QVERIFY(e.history.undo(e.lines));
    QCOMPARE(e.lines.text(), QStringLiteral("ab") + text.sliced(2));
    QVERIFY(!e.history.canUndo());
    QVERIFY(e.history.redo(e.lines));
    QCOMPARE(e.lines.text(), QString());
}

void EditHistoryTest::undoingBackToTheSavedStateIsUnchanged_data()
{
    // e: an edit, t: a typed character after the last, u: undo, r: redo, s: the text saved,
    // f: no state saved any more. After each, whether the text is changed.
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QString>("changed");
    QTest::newRow("a new text") << "" << "";
    QTest::newRow("an edit undone") << "eu" << "yn";
    QTest::newRow("undone past the saved state and redone to it") << "eseuur" << "ynynyn";
    QTest::newRow("redone away from it and undone to it") << "eeusru" << "yyynyn";
    QTest::newRow("typing after a save is a step of its own") << "tstu" << "ynyn";
    QTest::newRow("a new edit drops the undone saved state") << "esueur" << "ynyyyy";
    QTest::newRow("saved, then forgotten") << "esfur" << "ynyyy";
}

void EditHistoryTest::undoingBackToTheSavedStateIsUnchanged()
{
    QFETCH(QString, actions);
    QFETCH(QString, changed);
    Edited e;
    QVERIFY(!e.history.isModified());
    QString seen;
    for (const QChar action : actions) {
        switch (action.toLatin1()) {
        case 'e': e.edit(0, 0, QStringLiteral("e")); break;
        case 't': e.type(e.lines.characterCount(), QStringLiteral("t")); break;
        case 'u': e.history.undo(e.lines); break;
        case 'r': e.history.redo(e.lines); break;
        case 's': e.history.markSaved(); break;
        case 'f': e.history.forgetSaved(); break;
        }
        seen += e.history.isModified() ? QLatin1Char('y') : QLatin1Char('n');
    }
    QCOMPARE(seen, changed);
}

void EditHistoryTest::aSavedStateDroppedByTheLimitIsNeverReached()
{
    // Each step holds 2000 bytes and a little: two fit under the limit.
    const QString text(4000, QLatin1Char('x'));
    Edited e(text, 5000);
    for (int step = 0; step < 3; ++step)
        e.edit(0, 1000, QString());
    QCOMPARE(e.history.stepCount(), size_t(2));
    // The text as it was loaded lay before the step dropped.
    QVERIFY(e.history.undo(e.lines) && e.history.undo(e.lines));
    QVERIFY(!e.history.canUndo());
    QCOMPARE(e.lines.characterCount(), 3000);
    QVERIFY(e.history.isModified());

    // A state saved after the step dropped is still reached.
    QVERIFY(e.history.redo(e.lines));
    e.history.markSaved();
    QVERIFY(e.history.redo(e.lines));
    e.edit(0, 1000, QString());
    QCOMPARE(e.history.stepCount(), size_t(2));
    QVERIFY(e.history.undo(e.lines));
    QVERIFY(e.history.isModified());
    QVERIFY(e.history.undo(e.lines));
    QVERIFY(!e.history.isModified());
    QCOMPARE(e.lines.characterCount(), 2000);
}

QTEST_GUILESS_MAIN(EditHistoryTest)
#include "tst_edithistory.moc"
