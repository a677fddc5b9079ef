// The editor's text box undoing and redoing what the keys did, and the changes it reports.

#include "TextBoxFixture.h"
#include "support/TestCase.h"

#include <QRandomGenerator>
#include <QSignalSpy>

#include <array>

namespace {

// A character outside the basic plane: two UTF-16 units.
const QString pair = QStringLiteral("\U0001F600");

// An edit of a row's table: its text and selection, what it types, then the key it presses
// (none when 0).
struct Edit
{
    QString text;
    qint64 anchor = 0;
    qint64 position = 0;
    QString typed;
    int key = 0;
    int modifiers = Qt::NoModifier;
};

void addEditColumns()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("anchor");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
}

Edit fetchEdit()
{
    QFETCH(QString, text);
    QFETCH(qint64, anchor);
    QFETCH(qint64, position);
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    return Edit{text, anchor, position, typed, key, modifiers};
}

} // namespace

class TextBoxUndoTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<TextBoxFixture> f;

    void make(const Edit &edit)
    {
        f->type(edit.typed);
        if (edit.key != 0)
            f->key(edit.key, Qt::KeyboardModifiers(edit.modifiers));
    }

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        f = TextBoxFixture::shown();
        QVERIFY2(f, "the box's window did not show");
    }
    void cleanup() { f.reset(); }

    void undoAndRedo_data();
    void undoAndRedo();
    void undoTakesAWordAtATime();
    void undoPutsTheCaretBackWhereTheEditWas();
    void aNewEditDropsWhatWasUndone();
    void contentsChange_data();
    void contentsChange();
    void aLongRunOfRandomEditsStaysSound_data();
    void aLongRunOfRandomEditsStaysSound();
    void undoBackToTheUnchangedTextIsUnchanged();
    void aPasteIsHeldOnce();
};

void TextBoxUndoTest::undoAndRedo_data()
{
    addEditColumns();
    QTest::addColumn<QString>("edited");
    QTest::addColumn<qint64>("caretEdited");
    QTest::addColumn<qint64>("caretUndone");
    const int none = Qt::NoModifier;
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("a typed word") << "ab " << 3ll << 3ll << "hello" << 0 << none << "ab hello" << 8ll << 3ll;
    QTest::newRow("a word typed in a line") << "ab\ncd" << 4ll << 4ll << "xyz" << 0 << none << "ab\ncxyzd" << 7ll << 4ll;
    QTest::newRow("a word typed over a selection")
        << "hello world" << 6ll << 11ll << "there" << 0 << none << "hello there" << 11ll << 11ll;
    QTest::newRow("Enter") << "abcd" << 2ll << 2ll << "" << int(Qt::Key_Return) << none << "ab\ncd" << 3ll << 2ll;
    QTest::newRow("Backspace joining lines")
        << "ab\ncd" << 3ll << 3ll << "" << int(Qt::Key_Backspace) << none << "abcd" << 2ll << 3ll;
    QTest::newRow("Backspace over a pair")
        << "a" + pair << 3ll << 3ll << "" << int(Qt::Key_Backspace) << none << "a" << 1ll << 3ll;
    QTest::newRow("Delete over a selection")
        << "ab\ncd" << 1ll << 4ll << "" << int(Qt::Key_Delete) << none << "ad" << 1ll << 4ll;
    QTest::newRow("a paste over a selection")
        << "abcd" << 1ll << 3ll << "" << int(Qt::Key_V) << ctrl << "aX\nYd" << 4ll << 3ll;
    QTest::newRow("a cut") << "ab\ncd" << 1ll << 4ll << "" << int(Qt::Key_X) << ctrl << "ad" << 1ll << 4ll;
}

void TextBoxUndoTest::undoAndRedo()
{
    const Edit edit = fetchEdit();
    const QString &text = edit.text;
    QFETCH(QString, edited);
    QFETCH(qint64, caretEdited);
    QFETCH(qint64, caretUndone);
    f->clipboard.setText(QStringLiteral("X\nY"));
    f->setText(text, edit.anchor, edit.position);
    QVERIFY(!f->box->canUndo());
    make(edit);
    QCOMPARE(f->box->toPlainText(), edited);
    QCOMPARE(f->box->position(), caretEdited);
    QVERIFY(f->box->canUndo());

    f->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), text);
    QCOMPARE(f->box->position(), caretUndone);
    QCOMPARE(f->box->lines().lineCount(), text.count(QLatin1Char('\n')) + 1);
    // One step: nothing more to undo.
    QVERIFY(!f->box->canUndo());
    f->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), text);

    f->key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), edited);
    QCOMPARE(f->box->position(), caretEdited);
    f->key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f->box->toPlainText(), edited);
    f->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), text);
    // Ctrl+Shift+Z redoes as well.
    f->key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f->box->toPlainText(), edited);
}

void TextBoxUndoTest::undoTakesAWordAtATime()
{
    f->setText(QString(), 0, 0);
    f->type(QStringLiteral("one two  three"));
    const QStringList steps{QStringLiteral("one two  "), QStringLiteral("one "), QString()};
    for (const QString &step : steps) {
        f->key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f->box->toPlainText(), step);
        QCOMPARE(f->box->position(), step.size());
    }
    QVERIFY(!f->box->canUndo());
    // A move of the caret ends a step, even within a word.
    f->type(QStringLiteral("abc"));
    f->key(Qt::Key_Left);
    f->key(Qt::Key_Right);
    f->type(QStringLiteral("def"));
    f->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("abc"));
    // So does a typed character elsewhere.
    f->type(QStringLiteral("x"));
    f->box->setCursorPosition(0);
    f->type(QStringLiteral("y"));
    f->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("abcx"));
}

void TextBoxUndoTest::undoPutsTheCaretBackWhereTheEditWas()
{
    f->setText(QStringLiteral("first\nsecond\nthird"), 9, 9);
    f->type(QStringLiteral("XY"));
    f->key(Qt::Key_End, Qt::ControlModifier);
    f->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("first\nsecond\nthird"));
    QCOMPARE(f->box->position(), 9);
    QVERIFY(!f->box->hasSelection());
    f->key(Qt::Key_Home, Qt::ControlModifier);
    f->key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("first\nsecXYond\nthird"));
    QCOMPARE(f->box->position(), 11);
}

void TextBoxUndoTest::aNewEditDropsWhatWasUndone()
{
    f->setText(QStringLiteral("ab"), 2, 2);
    f->type(QStringLiteral("cd"));
    f->key(Qt::Key_Z, Qt::ControlModifier);
    f->type(QStringLiteral("x"));
    f->key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("abx"));
    f->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("ab"));
    QVERIFY(!f->box->canUndo());
}

void TextBoxUndoTest::contentsChange_data()
{
    addEditColumns();
    // Whether Ctrl+Z follows the edit; the change then reported is the undo's.
    QTest::addColumn<bool>("undo");
    QTest::addColumn<qint64>("changedAt");
    QTest::addColumn<qint64>("removed");
    QTest::addColumn<qint64>("added");
    const int none = Qt::NoModifier;
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("a typed character") << "ab\ncd" << 4ll << 4ll << "x" << 0 << none << false << 4ll << 0ll << 1ll;
    QTest::newRow("a typed character over a selection")
        << "ab\ncd" << 1ll << 4ll << "x" << 0 << none << false << 1ll << 3ll << 1ll;
    QTest::newRow("Enter") << "ab\ncd" << 1ll << 1ll << "" << int(Qt::Key_Return) << none << false << 1ll << 0ll << 1ll;
    QTest::newRow("Backspace over a line break")
        << "ab\ncd" << 3ll << 3ll << "" << int(Qt::Key_Backspace) << none << false << 2ll << 1ll << 0ll;
    QTest::newRow("Delete before a pair")
        << "a" + pair << 1ll << 1ll << "" << int(Qt::Key_Delete) << none << false << 1ll << 2ll << 0ll;
    QTest::newRow("a paste over a selection")
        << "abcdef" << 1ll << 3ll << "" << int(Qt::Key_V) << ctrl << false << 1ll << 2ll << 4ll;
    QTest::newRow("a paste over lines")
        << "ab\ncd\nef" << 1ll << 7ll << "" << int(Qt::Key_V) << ctrl << false << 1ll << 6ll << 4ll;
    QTest::newRow("undo of a typed word") << "ab" << 1ll << 1ll << "xyz" << 0 << none << true << 1ll << 3ll << 0ll;
    QTest::newRow("undo of a paste over a selection")
        << "abcdef" << 1ll << 3ll << "" << int(Qt::Key_V) << ctrl << true << 1ll << 4ll << 2ll;
    QTest::newRow("undo of Backspace over a line break")
        << "ab\ncd" << 3ll << 3ll << "" << int(Qt::Key_Backspace) << none << true << 2ll << 0ll << 1ll;
}

void TextBoxUndoTest::contentsChange()
{
    const Edit edit = fetchEdit();
    const QString &text = edit.text;
    QFETCH(bool, undo);
    QFETCH(qint64, changedAt);
    QFETCH(qint64, removed);
    QFETCH(qint64, added);
    f->clipboard.setText(QStringLiteral("X\nYZ"));
    f->setText(text, edit.anchor, edit.position);
    QSignalSpy changes(f->box, &TextBox::contentsChange);
    make(edit);
    QCOMPARE(changes.count(), qMax<qsizetype>(edit.typed.size(), 1));
    if (undo) {
        changes.clear();
        f->key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(changes.count(), 1);
    }
    const QList<QVariant> change = changes.last();
    QCOMPARE(change.at(0).toLongLong(), changedAt);
    QCOMPARE(change.at(1).toLongLong(), removed);
    QCOMPARE(change.at(2).toLongLong(), added);
    QCOMPARE(f->box->characterCount(), undo ? text.size() : text.size() - removed + added);
}

void TextBoxUndoTest::aLongRunOfRandomEditsStaysSound_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::newRow("seed 20261211") << 20261211u;
    QTest::newRow("seed 7") << 7u;
    QTest::newRow("seed 9") << 9u;
}

void TextBoxUndoTest::aLongRunOfRandomEditsStaysSound()
{
    QFETCH(quint32, seed);
    QStringList start;
    for (int n = 0; n < 60; ++n)
        start << (n % 5 == 0 ? TextBoxFixture::words(n, 50) : QStringLiteral("line %1").arg(n));
    const QString text = start.join(QLatin1Char('\n'));
    f->setText(text, 0, 0);
    // What the reported changes make of the text, to match the box's at the end.
    QString model = text;
    connect(f->box, &TextBox::contentsChange, this, [&](qint64 position, qint64 removed, qint64 added) {
        model.replace(position, removed, f->box->toPlainText().mid(position, added));
    });
    const std::array moves{Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home,
                           Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown};
    bool moved = false;
    connect(f->box, &TextBox::cursorPositionChanged, this, [&moved] { moved = true; });
    QRandomGenerator random(seed);
    for (int step = 0; step < 3000; ++step) {
        const int pick = random.bounded(100);
        moved = false;
        if (pick < 30) {
            f->type(QString(QLatin1Char(" abcxyz"[random.bounded(7)])));
        } else if (pick < 33) {
            f->typePair(QStringLiteral("\U0001F600"));
        } else if (pick < 40) {
            f->key(Qt::Key_Return);
        } else if (pick < 55) {
            f->key(pick % 2 ? Qt::Key_Backspace : Qt::Key_Delete, pick % 5 ? Qt::NoModifier : Qt::ControlModifier);
        } else if (pick < 80) {
            const Qt::KeyboardModifiers modifiers = (pick % 3 ? Qt::NoModifier : Qt::ShiftModifier)
                | (pick % 7 ? Qt::NoModifier : Qt::ControlModifier);
            f->key(moves[size_t(random.bounded(int(moves.size())))], modifiers);
        } else if (pick < 90) {
            f->key(Qt::Key_Z, pick % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
        } else if (pick < 93) {
            f->clipboard.setText(pick % 2 ? QStringLiteral("pasted\nlines\n") + TextBoxFixture::words(0, 30)
                                          : QStringLiteral("one"));
            f->key(Qt::Key_V, Qt::ControlModifier);
        } else if (pick < 95) {
            f->key(Qt::Key_X, Qt::ControlModifier);
        } else if (pick < 98) {
            const QWidget *viewport = f->box->viewport();
            f->click(QPoint(random.bounded(viewport->width()), random.bounded(viewport->height())));
        } else {
            f->bar()->setValue(random.bounded(f->bar()->maximum() + 1));
        }
        f->box->viewport()->repaint();
        const QString now = f->box->toPlainText();
        QCOMPARE(f->box->characterCount(), now.size());
        QVERIFY(f->box->position() >= 0 && f->box->position() <= now.size());
        QVERIFY(f->box->anchor() >= 0 && f->box->anchor() <= now.size());
        // The caret never lands between the halves of a pair.
        QVERIFY(f->box->position() == 0 || !now.at(f->box->position() - 1).isHighSurrogate());
        QVERIFY(f->bar()->value() <= f->bar()->maximum());
        // Scrolled by the bar, the caret shows again once it moves or the text changes.
        if (moved)
            QVERIFY2(f->caretShown(), qPrintable(QStringLiteral("step %1").arg(step)));
    }
    const QString end = f->box->toPlainText();
    QCOMPARE(model, end);
    QCOMPARE(f->box->lines().lineCount(), end.count(QLatin1Char('\n')) + 1);
    // Every step undone gives the text it began with; redone, the one it came to.
    while (f->box->canUndo())
        f->box->undo();
    QCOMPARE(f->box->toPlainText(), text);
    for (int n = 0; n < 10000 && f->box->toPlainText() != end; ++n)
        f->box->redo();
    QCOMPARE(f->box->toPlainText(), end);
    QCOMPARE(model, end);
}

void TextBoxUndoTest::undoBackToTheUnchangedTextIsUnchanged()
{
    QSignalSpy changes(f->box, &TextBox::contentsChange);
    f->setText(QStringLiteral("ab\ncd"), 5, 5);
    // A new text is the unchanged one, and each change is told with the history as it is.
    QVERIFY(!f->box->isModified());
    connect(f->box, &TextBox::contentsChange, this, [&] { changes.last().append(f->box->isModified()); });
    f->type(QStringLiteral("xy"));
    QVERIFY(f->box->isModified());
    QCOMPARE(changes.last().last().toBool(), true);
    f->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("ab\ncd"));
    QVERIFY(!f->box->isModified());
    QCOMPARE(changes.last().last().toBool(), false);
    f->key(Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(f->box->isModified());

    // Marked unchanged (as a save does), then undone past it and redone back to it.
    f->box->setModified(false);
    QVERIFY(!f->box->isModified());
    f->type(QStringLiteral("z"));
    f->key(Qt::Key_Return);
    QVERIFY(f->box->isModified());
    f->key(Qt::Key_Z, Qt::ControlModifier);
    f->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("ab\ncdxy"));
    QVERIFY(!f->box->isModified());
    f->key(Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(f->box->isModified());
    f->key(Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(!f->box->isModified());
    // A new edit after an undo past it leaves no way back to it.
    f->key(Qt::Key_Z, Qt::ControlModifier);
    f->type(QStringLiteral("q"));
    f->key(Qt::Key_Backspace);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("ab\ncd"));
    QVERIFY(f->box->isModified());
    f->box->setModified(true);
    f->key(Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(f->box->isModified());
}

void TextBoxUndoTest::aPasteIsHeldOnce()
{
    QString big;
    for (int line = 0; line < 20'000; ++line)
        big += QStringLiteral("pasted line %1\n").arg(line);
    // Its characters and the end of each of its line breaks.
    const qint64 bigBytes = big.size() * qint64(sizeof(QChar)) + 20'000 * qint64(sizeof(TextLines::End));
    f->clipboard.setText(big);
    f->setText(QStringLiteral("abc"), 1, 2);
    f->key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f->box->characterCount(), big.size() + 2);
    // The lines hold the pasted text; the history only the "b" it replaced.
    QVERIFY2(f->box->history().memoryUse() < 1024, qPrintable(QString::number(f->box->history().memoryUse())));
    f->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("abc"));
    QVERIFY2(f->box->history().memoryUse() >= bigBytes && f->box->history().memoryUse() < bigBytes + 1024,
             qPrintable(QStringLiteral("%1 of %2").arg(f->box->history().memoryUse()).arg(bigBytes)));
    f->key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("a") + big + QStringLiteral("c"));
    QVERIFY(f->box->history().memoryUse() < 1024);
}

QTEST_MAIN(TextBoxUndoTest)
#include "tst_textboxundo.moc"
