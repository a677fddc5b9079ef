// The editor's text box at the keyboard: typing, the editing and moving keys, the clipboard
// and a read-only box.

#include "TextBoxFixture.h"
#include "support/TestCase.h"

#include <QSignalSpy>

namespace {

// A character outside the basic plane: two UTF-16 units.
const QString pair = QStringLiteral("\U0001F600");
// A letter with two marks: three code points, one character on the screen.
const QString marked = QStringLiteral("e\u0301\u0323");

} // namespace

class TextBoxTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<TextBoxFixture> f;

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        f = TextBoxFixture::shown();
        QVERIFY2(f, "the box's window did not show");
    }
    void cleanup() { f.reset(); }

    void typing_data();
    void typing();
    void editingKeys_data();
    void editingKeys();
    void tabTypesATabInsteadOfMovingTheFocus();
    void caretKeys_data();
    void caretKeys();
    void homeAndEndStayOnTheirRow();
    void endOnARowBrokenInAWordKeepsPairsWhole();
    void upAndDownKeepTheColumn();
    void pageDownAndPageUp();
    void clipboardKeys_data();
    void clipboardKeys();
    void readOnlyRefusesEveryEdit_data();
    void readOnlyRefusesEveryEdit();
    void readOnlyMovesAndCopies();
    void composingShowsAtTheCaretUntilCommitted();
};

void TextBoxTest::typing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("anchor");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<qint64>("caret");
    QTest::newRow("into an empty box") << "" << 0ll << 0ll << "hello" << "hello" << 5ll;
    QTest::newRow("in a line") << "ab\ncd" << 4ll << 4ll << "xy" << "ab\ncxyd" << 6ll;
    QTest::newRow("before a line break") << "ab\ncd" << 2ll << 2ll << "!" << "ab!\ncd" << 3ll;
    QTest::newRow("over a selection across lines") << "ab\ncd" << 1ll << 4ll << "Z" << "aZd" << 2ll;
    QTest::newRow("over a selection made backwards") << "abcdef" << 4ll << 1ll << "Z" << "aZef" << 2ll;
    QTest::newRow("a pair") << "ab" << 1ll << 1ll << pair << "a" + pair + "b" << 3ll;
    QTest::newRow("a letter after a pair") << pair << 2ll << 2ll << "x" << pair + "x" << 3ll;
}

void TextBoxTest::typing()
{
    QFETCH(QString, text);
    QFETCH(qint64, anchor);
    QFETCH(qint64, position);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QFETCH(qint64, caret);
    f->setText(text, anchor, position);
    if (typed.size() == 2 && typed.front().isHighSurrogate())
        f->typePair(typed);
    else
        f->type(typed);
    QCOMPARE(f->box->toPlainText(), after);
    QCOMPARE(f->box->position(), caret);
    QVERIFY(!f->box->hasSelection());
    QCOMPARE(f->box->characterCount(), after.size());
}

void TextBoxTest::editingKeys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("anchor");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("after");
    QTest::addColumn<qint64>("caret");
    const int none = Qt::NoModifier;
    QTest::newRow("Enter") << "abcd" << 2ll << 2ll << int(Qt::Key_Return) << none << "ab\ncd" << 3ll;
    QTest::newRow("Shift+Enter: a line break too")
        << "abcd" << 2ll << 2ll << int(Qt::Key_Return) << int(Qt::ShiftModifier) << "ab\ncd" << 3ll;
    QTest::newRow("the keypad's Enter")
        << "abcd" << 2ll << 2ll << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "ab\ncd" << 3ll;
    QTest::newRow("Enter over a selection") << "abcd" << 1ll << 3ll << int(Qt::Key_Return) << none << "a\nd" << 2ll;
    QTest::newRow("Enter at the end") << "ab" << 2ll << 2ll << int(Qt::Key_Return) << none << "ab\n" << 3ll;
    QTest::newRow("Tab") << "abcd" << 2ll << 2ll << int(Qt::Key_Tab) << none << "ab\tcd" << 3ll;
    QTest::newRow("Backspace at a line's start joins it to the one before")
        << "ab\ncd" << 3ll << 3ll << int(Qt::Key_Backspace) << none << "abcd" << 2ll;
    QTest::newRow("Backspace at an empty line's start")
        << "ab\n\ncd" << 3ll << 3ll << int(Qt::Key_Backspace) << none << "ab\ncd" << 2ll;
    QTest::newRow("Backspace in a line") << "ab\ncd" << 5ll << 5ll << int(Qt::Key_Backspace) << none << "ab\nc" << 4ll;
    QTest::newRow("Backspace at the start does nothing")
        << "ab" << 0ll << 0ll << int(Qt::Key_Backspace) << none << "ab" << 0ll;
    QTest::newRow("Delete at a line's end joins the next to it")
        << "ab\ncd" << 2ll << 2ll << int(Qt::Key_Delete) << none << "abcd" << 2ll;
    QTest::newRow("Delete at an empty line's end")
        << "ab\n\ncd" << 3ll << 3ll << int(Qt::Key_Delete) << none << "ab\ncd" << 3ll;
    QTest::newRow("Delete in a line") << "ab\ncd" << 3ll << 3ll << int(Qt::Key_Delete) << none << "ab\nd" << 3ll;
    QTest::newRow("Delete at the end does nothing") << "ab" << 2ll << 2ll << int(Qt::Key_Delete) << none << "ab" << 2ll;
    QTest::newRow("Backspace after a pair takes the pair")
        << "a" + pair + "b" << 3ll << 3ll << int(Qt::Key_Backspace) << none << "ab" << 1ll;
    QTest::newRow("Backspace after a letter with marks takes the last mark")
        << "a" + marked + "b" << 4ll << 4ll << int(Qt::Key_Backspace) << none << "ae\u0301b" << 3ll;
    QTest::newRow("Backspace after a letter with one mark takes the mark")
        << "ae\u0301" << 3ll << 3ll << int(Qt::Key_Backspace) << none << "ae" << 2ll;
    QTest::newRow("Delete before a letter with marks takes them all")
        << "a" + marked + "b" << 1ll << 1ll << int(Qt::Key_Delete) << none << "ab" << 1ll;
    QTest::newRow("Delete before a pair takes the pair")
        << "a" + pair + "b" << 1ll << 1ll << int(Qt::Key_Delete) << none << "ab" << 1ll;
    QTest::newRow("Backspace takes a selection")
        << "ab\ncd" << 1ll << 4ll << int(Qt::Key_Backspace) << none << "ad" << 1ll;
    QTest::newRow("Delete takes a selection") << "ab\ncd" << 4ll << 1ll << int(Qt::Key_Delete) << none << "ad" << 1ll;
    QTest::newRow("Ctrl+Backspace takes the word before")
        << "one two" << 7ll << 7ll << int(Qt::Key_Backspace) << int(Qt::ControlModifier) << "one " << 4ll;
    QTest::newRow("Ctrl+Delete takes the word after")
        << "one two" << 0ll << 0ll << int(Qt::Key_Delete) << int(Qt::ControlModifier) << "two" << 0ll;
    QTest::newRow("Ctrl+Backspace at a line's start joins the lines")
        << "one\ntwo" << 4ll << 4ll << int(Qt::Key_Backspace) << int(Qt::ControlModifier) << "onetwo" << 3ll;
    QTest::newRow("Ctrl+Delete at a line's end joins the lines")
        << "one\ntwo" << 3ll << 3ll << int(Qt::Key_Delete) << int(Qt::ControlModifier) << "onetwo" << 3ll;
}

void TextBoxTest::editingKeys()
{
    QFETCH(QString, text);
    QFETCH(qint64, anchor);
    QFETCH(qint64, position);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, after);
    QFETCH(qint64, caret);
    f->setText(text, anchor, position);
    f->key(key, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f->box->toPlainText(), after);
    QCOMPARE(f->box->position(), caret);
    QCOMPARE(f->box->anchor(), caret);
    QCOMPARE(f->box->lines().lineCount(), after.count(QLatin1Char('\n')) + 1);
}

void TextBoxTest::tabTypesATabInsteadOfMovingTheFocus()
{
    // The window has another widget to take the focus: Tab is text all the same.
    f->setText(QStringLiteral("ab"), 1, 1);
    f->key(Qt::Key_Tab);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("a\tb"));
    QVERIFY(f->box->hasFocus());
    // A box that cannot be edited passes the focus on, as a label would.
    f->box->setReadOnly(true);
    f->key(Qt::Key_Tab);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("a\tb"));
    QVERIFY(f->next->hasFocus());
}

void TextBoxTest::caretKeys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("anchor");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<qint64>("anchorAfter");
    QTest::addColumn<qint64>("positionAfter");
    const int none = Qt::NoModifier;
    const int shift = Qt::ShiftModifier;
    const int ctrl = Qt::ControlModifier;
    // Lines that begin alike, so that a column's x is the same on each.
    const QString text = QStringLiteral("one two\none three\nfour");
    QTest::newRow("Left over a line break") << text << 8ll << 8ll << int(Qt::Key_Left) << none << 7ll << 7ll;
    QTest::newRow("Right over a line break") << text << 7ll << 7ll << int(Qt::Key_Right) << none << 8ll << 8ll;
    QTest::newRow("Left at the start") << text << 0ll << 0ll << int(Qt::Key_Left) << none << 0ll << 0ll;
    QTest::newRow("Right at the end") << text << 22ll << 22ll << int(Qt::Key_Right) << none << 22ll << 22ll;
    QTest::newRow("Left over a pair") << "a" + pair << 3ll << 3ll << int(Qt::Key_Left) << none << 1ll << 1ll;
    QTest::newRow("Right over a pair") << "a" + pair << 1ll << 1ll << int(Qt::Key_Right) << none << 3ll << 3ll;
    QTest::newRow("Left over a letter with marks")
        << "a" + marked + "b" << 4ll << 4ll << int(Qt::Key_Left) << none << 1ll << 1ll;
    QTest::newRow("Right over a letter with marks")
        << "a" + marked + "b" << 1ll << 1ll << int(Qt::Key_Right) << none << 4ll << 4ll;
    QTest::newRow("Ctrl+Right goes a word on") << text << 0ll << 0ll << int(Qt::Key_Right) << ctrl << 4ll << 4ll;
    QTest::newRow("Ctrl+Left goes a word back") << text << 7ll << 7ll << int(Qt::Key_Left) << ctrl << 4ll << 4ll;
    QTest::newRow("Home") << text << 11ll << 11ll << int(Qt::Key_Home) << none << 8ll << 8ll;
    QTest::newRow("End") << text << 9ll << 9ll << int(Qt::Key_End) << none << 17ll << 17ll;
    QTest::newRow("Ctrl+Home") << text << 11ll << 11ll << int(Qt::Key_Home) << ctrl << 0ll << 0ll;
    QTest::newRow("Ctrl+End") << text << 2ll << 2ll << int(Qt::Key_End) << ctrl << 22ll << 22ll;
    QTest::newRow("Up from the second line") << text << 10ll << 10ll << int(Qt::Key_Up) << none << 2ll << 2ll;
    QTest::newRow("Down from the first line") << text << 2ll << 2ll << int(Qt::Key_Down) << none << 10ll << 10ll;
    QTest::newRow("Shift+Left") << text << 8ll << 8ll << int(Qt::Key_Left) << shift << 8ll << 7ll;
    QTest::newRow("Shift+Right extends a selection") << text << 1ll << 3ll << int(Qt::Key_Right) << shift << 1ll << 4ll;
    QTest::newRow("Shift+Left shrinks a selection") << text << 1ll << 3ll << int(Qt::Key_Left) << shift << 1ll << 2ll;
    QTest::newRow("Shift+Right over a line break") << text << 6ll << 7ll << int(Qt::Key_Right) << shift << 6ll << 8ll;
    QTest::newRow("Shift+End") << text << 9ll << 9ll << int(Qt::Key_End) << shift << 9ll << 17ll;
    QTest::newRow("Shift+Home") << text << 11ll << 11ll << int(Qt::Key_Home) << shift << 11ll << 8ll;
    QTest::newRow("Shift+Down") << text << 2ll << 2ll << int(Qt::Key_Down) << shift << 2ll << 10ll;
    QTest::newRow("Shift+Up") << text << 10ll << 10ll << int(Qt::Key_Up) << shift << 10ll << 2ll;
    QTest::newRow("Ctrl+Shift+End") << text << 2ll << 2ll << int(Qt::Key_End) << ctrl + shift << 2ll << 22ll;
    QTest::newRow("Ctrl+Shift+Home") << text << 11ll << 11ll << int(Qt::Key_Home) << ctrl + shift << 11ll << 0ll;
    QTest::newRow("Ctrl+Shift+Right") << text << 0ll << 0ll << int(Qt::Key_Right) << ctrl + shift << 0ll << 4ll;
    QTest::newRow("Left on a selection goes to its start") << text << 2ll << 10ll << int(Qt::Key_Left) << none << 2ll << 2ll;
    QTest::newRow("Left on a backward selection") << text << 10ll << 2ll << int(Qt::Key_Left) << none << 2ll << 2ll;
    QTest::newRow("Right on a selection goes to its end") << text << 2ll << 10ll << int(Qt::Key_Right) << none << 10ll << 10ll;
    QTest::newRow("Right on a backward selection") << text << 10ll << 2ll << int(Qt::Key_Right) << none << 10ll << 10ll;
    QTest::newRow("Down on a selection moves on from the caret")
        << text << 0ll << 2ll << int(Qt::Key_Down) << none << 10ll << 10ll;
    QTest::newRow("Ctrl+A") << text << 5ll << 5ll << int(Qt::Key_A) << ctrl << 0ll << 22ll;
}

void TextBoxTest::caretKeys()
{
    QFETCH(QString, text);
    QFETCH(qint64, anchor);
    QFETCH(qint64, position);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(qint64, anchorAfter);
    QFETCH(qint64, positionAfter);
    f->setText(text, anchor, position);
    QSignalSpy changes(f->box, &TextBox::contentsChange);
    f->key(key, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f->box->anchor(), anchorAfter);
    QCOMPARE(f->box->position(), positionAfter);
    QCOMPARE(f->box->toPlainText(), text);
    QCOMPARE(changes.count(), 0);
}

void TextBoxTest::homeAndEndStayOnTheirRow()
{
    const QString line = TextBoxFixture::words(0, 60);
    f->setText(line + QStringLiteral("\nnext"), 0, 0);
    const int rows = f->box->rowsOf(0);
    QVERIFY(rows >= 3);
    for (int row = 0; row < rows; ++row) {
        const LineLayout::Row textRow = f->box->rowOf(0, row);
        const qint64 rowStart = textRow.textStart();
        const qint64 rowEnd = rowStart + textRow.textLength();
        // Into the row's first word.
        f->box->setCursorPosition(rowStart + 2);
        QCOMPARE(f->rowInLine(f->box->position()), row);
        f->key(Qt::Key_End);
        QCOMPARE(f->rowInLine(f->box->position()), row);
        if (row + 1 < rows) {
            // Before the blank the row broke at.
            QCOMPARE(f->box->position(), rowEnd - 1);
            QCOMPARE(line.at(rowEnd - 1), QLatin1Char(' '));
        } else {
            QCOMPARE(f->box->position(), line.size());
        }
        f->key(Qt::Key_End);
        QCOMPARE(f->rowInLine(f->box->position()), row);
        f->key(Qt::Key_Home);
        QCOMPARE(f->box->position(), rowStart);
        f->key(Qt::Key_Home);
        QCOMPARE(f->box->position(), rowStart);
        // Shift+End selects the rest of the row, no more.
        f->box->setCursorPosition(rowStart + 2);
        f->key(Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(f->box->anchor(), rowStart + 2);
        QCOMPARE(f->rowInLine(f->box->position()), row);
    }
}

void TextBoxTest::endOnARowBrokenInAWordKeepsPairsWhole()
{
    // One word wider than the box, of letters and pairs: its rows break anywhere.
    const QString line = QString(QStringLiteral("ab") + pair).repeated(80);
    f->setText(line, 0, 0);
    const int rows = f->box->rowsOf(0);
    QVERIFY(rows >= 3);
    for (int row = 0; row + 1 < rows; ++row) {
        const LineLayout::Row textRow = f->box->rowOf(0, row);
        f->box->setCursorPosition(textRow.textStart());
        f->key(Qt::Key_End);
        const qint64 end = f->box->position();
        QCOMPARE(f->rowInLine(end), row);
        QVERIFY2(!line.at(end - 1).isHighSurrogate(), qPrintable(QString::number(end)));
        QVERIFY(end > textRow.textStart() + textRow.textLength() - 3);
        // Shift+Left and Backspace from there take whole characters.
        f->key(Qt::Key_Left, Qt::ShiftModifier);
        QVERIFY(!line.at(f->box->position() - 1).isHighSurrogate());
    }
}

void TextBoxTest::upAndDownKeepTheColumn()
{
    const QString text = QStringLiteral("abcdefghij\nabc\nabcdefghij\n") + TextBoxFixture::words(0, 60) + QStringLiteral("\nabcdefghij");
    f->setText(text, 8, 8);
    f->key(Qt::Key_Down);
    // The short line's end.
    QCOMPARE(f->box->position(), 14);
    f->key(Qt::Key_Down);
    QCOMPARE(f->box->position(), 15 + 8);
    f->key(Qt::Key_Up);
    QCOMPARE(f->box->position(), 14);
    f->key(Qt::Key_Up);
    QCOMPARE(f->box->position(), 8);
    // Down each row of the wrapped line and on to the last: the same column there.
    f->box->setCursorPosition(15 + 8);
    const qsizetype wrapped = 3;
    const qint64 wrappedStart = f->box->lines().lineStart(wrapped);
    const int wantedX = qRound(f->box->rowOf(2, 0).cursorToX(8));
    for (int row = 0; row < f->box->rowsOf(wrapped); ++row) {
        f->key(Qt::Key_Down);
        QCOMPARE(f->box->lines().lineAt(f->box->position()), wrapped);
        QCOMPARE(f->rowInLine(f->box->position()), row);
        const LineLayout::Row textRow = f->box->rowOf(wrapped, row);
        const qreal x = textRow.cursorToX(int(f->box->position() - wrappedStart));
        QVERIFY2(std::abs(x - wantedX) < 12, qPrintable(QString::number(x)));
    }
    f->key(Qt::Key_Down);
    QCOMPARE(f->box->position(), f->box->lines().lineStart(4) + 8);
    // A move along the line forgets the column.
    f->box->setCursorPosition(8);
    f->key(Qt::Key_Down);
    f->key(Qt::Key_Left);
    f->key(Qt::Key_Down);
    QCOMPARE(f->box->position(), 15 + 2);
}

void TextBoxTest::pageDownAndPageUp()
{
    QStringList lines;
    for (int n = 0; n < 100; ++n)
        lines << QStringLiteral("line %1").arg(n);
    f->setText(lines.join(QLatin1Char('\n')), 0, 0);
    const int page = f->shownRows();
    QVERIFY(page >= 5);
    QCOMPARE(f->bar()->pageStep(), page);
    f->key(Qt::Key_PageDown);
    QCOMPARE(f->box->lines().lineAt(f->box->position()), page);
    QCOMPARE(f->box->position(), f->box->lines().lineStart(page));
    // Scrolled so that the caret shows.
    QVERIFY(f->bar()->value() <= page && page < f->bar()->value() + page);
    f->key(Qt::Key_PageDown);
    QCOMPARE(f->box->lines().lineAt(f->box->position()), 2 * page);
    QVERIFY(f->bar()->value() <= 2 * page && 2 * page < f->bar()->value() + page);
    f->key(Qt::Key_PageUp);
    QCOMPARE(f->box->lines().lineAt(f->box->position()), page);
    QVERIFY(f->bar()->value() <= page && page < f->bar()->value() + page);
    f->key(Qt::Key_PageUp, Qt::ShiftModifier);
    QCOMPARE(f->box->position(), 0);
    QCOMPARE(f->box->anchor(), f->box->lines().lineStart(page));
    QCOMPARE(f->bar()->value(), 0);
    // Past the end: the end.
    f->box->setCursorPosition(f->box->lines().lineStart(99 - page / 2));
    f->key(Qt::Key_PageDown);
    QCOMPARE(f->box->position(), f->box->characterCount());
}

void TextBoxTest::clipboardKeys_data()
{
    QTest::addColumn<qint64>("anchor");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<QString>("clipboardBefore");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("clipboardAfter");
    QTest::addColumn<qint64>("caret");
    // Over "one\ntwo".
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("Ctrl+C copies the selection") << 2ll << 5ll << "old" << int(Qt::Key_C) << ctrl << "one\ntwo"
                                                 << "e\nt" << 5ll;
    QTest::newRow("Ctrl+C with nothing selected keeps the clipboard")
        << 2ll << 2ll << "old" << int(Qt::Key_C) << ctrl << "one\ntwo" << "old" << 2ll;
    QTest::newRow("Ctrl+Insert copies") << 5ll << 2ll << "old" << int(Qt::Key_Insert) << ctrl << "one\ntwo" << "e\nt"
                                        << 2ll;
    QTest::newRow("Ctrl+X cuts") << 2ll << 5ll << "old" << int(Qt::Key_X) << ctrl << "onwo" << "e\nt" << 2ll;
    QTest::newRow("Ctrl+X with nothing selected does nothing")
        << 2ll << 2ll << "old" << int(Qt::Key_X) << ctrl << "one\ntwo" << "old" << 2ll;
    QTest::newRow("Ctrl+V pastes at the caret") << 3ll << 3ll << "AB" << int(Qt::Key_V) << ctrl << "oneAB\ntwo" << "AB"
                                                << 5ll;
    QTest::newRow("Ctrl+V pastes over the selection") << 1ll << 6ll << "AB" << int(Qt::Key_V) << ctrl << "oABo"
                                                      << "AB" << 3ll;
    QTest::newRow("Ctrl+V: the clipboard's line ends become line breaks")
        << 0ll << 0ll << "a\r\nb\rc\nd" << int(Qt::Key_V) << ctrl << "a\nb\nc\ndone\ntwo" << "a\r\nb\rc\nd" << 7ll;
    QTest::newRow("Shift+Insert pastes") << 7ll << 7ll << "!" << int(Qt::Key_Insert) << int(Qt::ShiftModifier)
                                         << "one\ntwo!" << "!" << 8ll;
}

void TextBoxTest::clipboardKeys()
{
    QFETCH(qint64, anchor);
    QFETCH(qint64, position);
    QFETCH(QString, clipboardBefore);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, after);
    QFETCH(QString, clipboardAfter);
    QFETCH(qint64, caret);
    f->setText(QStringLiteral("one\ntwo"), anchor, position);
    f->clipboard.setText(clipboardBefore);
    f->key(key, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f->box->toPlainText(), after);
    QCOMPARE(f->clipboard.text(), clipboardAfter);
    QCOMPARE(f->box->position(), caret);
    QCOMPARE(f->box->lines().lineCount(), after.count(QLatin1Char('\n')) + 1);
}

void TextBoxTest::readOnlyRefusesEveryEdit_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    // Typed with the key, or committed by an input method when key is 0.
    QTest::addColumn<QString>("typed");
    const int none = Qt::NoModifier;
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("typing") << int(Qt::Key_Q) << none << "q";
    QTest::newRow("a capital") << int(Qt::Key_Q) << int(Qt::ShiftModifier) << "Q";
    QTest::newRow("AltGr") << int(Qt::Key_E) << int(Qt::ControlModifier | Qt::AltModifier) << "\u20AC";
    QTest::newRow("an input method") << 0 << none << "\u00E9";
    QTest::newRow("Enter") << int(Qt::Key_Return) << none << "";
    QTest::newRow("Shift+Enter") << int(Qt::Key_Return) << int(Qt::ShiftModifier) << "";
    QTest::newRow("Tab") << int(Qt::Key_Tab) << none << "";
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << none << "";
    QTest::newRow("Delete") << int(Qt::Key_Delete) << none << "";
    QTest::newRow("Ctrl+Backspace") << int(Qt::Key_Backspace) << ctrl << "";
    QTest::newRow("Ctrl+Delete") << int(Qt::Key_Delete) << ctrl << "";
    QTest::newRow("Ctrl+X") << int(Qt::Key_X) << ctrl << "";
    QTest::newRow("Shift+Delete") << int(Qt::Key_Delete) << int(Qt::ShiftModifier) << "";
    QTest::newRow("Ctrl+V") << int(Qt::Key_V) << ctrl << "";
    QTest::newRow("Shift+Insert") << int(Qt::Key_Insert) << int(Qt::ShiftModifier) << "";
    QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << ctrl << "";
    QTest::newRow("Ctrl+Y") << int(Qt::Key_Y) << ctrl << "";
}

void TextBoxTest::readOnlyRefusesEveryEdit()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, typed);
    // An edit to undo and another to redo.
    f->setText(QStringLiteral("ab\ncd"), 5, 5);
    f->box->insertText(u"1");
    f->box->insertText(u" 2");
    f->box->undo();
    const QString text = QStringLiteral("ab\ncd1");
    QCOMPARE(f->box->toPlainText(), text);
    f->clipboard.setText(QStringLiteral("pasted"));
    f->box->select(1, 4);
    f->box->setReadOnly(true);
    QVERIFY(f->box->isReadOnly());
    QSignalSpy changes(f->box, &TextBox::contentsChange);

    if (key == 0) {
        f->commit(typed);
    } else {
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), typed);
        QCoreApplication::sendEvent(f->box, &press);
    }
    QCOMPARE(f->box->toPlainText(), text);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(f->box->selectionStart(), 1);
    QCOMPARE(f->box->selectionEnd(), 4);

    // Editable again, the same key edits: the check above is no key the box ignores anyway.
    f->box->setReadOnly(false);
    f->box->select(1, 4);
    if (key == 0) {
        f->commit(typed);
    } else {
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), typed);
        QCoreApplication::sendEvent(f->box, &press);
    }
    QVERIFY(f->box->toPlainText() != text);
}

void TextBoxTest::readOnlyMovesAndCopies()
{
    f->setText(QStringLiteral("one two\nthree"), 0, 0);
    f->box->setReadOnly(true);
    f->clipboard.setText(QStringLiteral("old"));
    f->key(Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(f->box->position(), 4);
    f->key(Qt::Key_End, Qt::ShiftModifier);
    QCOMPARE(f->box->selectedText(), QStringLiteral("two"));
    f->key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(f->clipboard.text(), QStringLiteral("two"));
    f->key(Qt::Key_Down);
    QCOMPARE(f->box->lines().lineAt(f->box->position()), 1);
    f->key(Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(f->box->selectionStart(), 0);
    QCOMPARE(f->box->selectionEnd(), f->box->characterCount());
    f->key(Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(f->clipboard.text(), QStringLiteral("one two\nthree"));
    // The mouse moves the caret and selects.
    f->box->viewport()->repaint();
    f->click(f->pointOf(2));
    QCOMPARE(f->box->position(), 2);
    f->click(f->pointOf(10), Qt::ShiftModifier);
    QCOMPARE(f->box->selectedText(), QStringLiteral("e two\nth"));
    QCOMPARE(f->box->toPlainText(), QStringLiteral("one two\nthree"));
}

// An input method's text being composed shows in its line at the caret, but is no text yet.
void TextBoxTest::composingShowsAtTheCaretUntilCommitted()
{
    f->box->setPlainText(u"ab\ncd");
    f->box->setCursorPosition(1);
    const qreal plainWidth = f->box->rowOf(0, 0).naturalTextWidth();

    QInputMethodEvent composing(QStringLiteral("nihao"), {});
    QCoreApplication::sendEvent(f->box, &composing);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("ab\ncd"));
    QVERIFY(f->box->rowOf(0, 0).naturalTextWidth() > plainWidth);

    QInputMethodEvent committed;
    committed.setCommitString(QStringLiteral("\u4F60\u597D"));
    QCoreApplication::sendEvent(f->box, &committed);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("a\u4F60\u597Db\ncd"));
    QCOMPARE(f->box->position(), 3);
    // Nothing is composed now: the line shows its own text alone.
    TextBox plain(f->clipboard);
    plain.resize(f->box->size());
    plain.setFont(f->box->font());
    plain.setPlainText(f->box->toPlainText());
    QCOMPARE(f->box->rowOf(0, 0).naturalTextWidth(), plain.rowOf(0, 0).naturalTextWidth());
}

QTEST_MAIN(TextBoxTest)
#include "tst_textbox.moc"
