// Right-to-left lines in the editor's text box: which side a line starts from, and the caret's
// moves along it.

#include "TextBoxFixture.h"
#include "support/TestCase.h"

namespace {

// Hebrew words: "shalom", "olam".
const QString shalom = QStringLiteral("\u05E9\u05DC\u05D5\u05DD");
const QString olam = QStringLiteral("\u05E2\u05D5\u05DC\u05DD");
// Arabic "salam".
const QString salam = QStringLiteral("\u0633\u0644\u0627\u0645");

} // namespace

class TextBoxDirectionTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<TextBoxFixture> f;

    // Where the caret at position shows, in the viewport.
    int caretX(qint64 position) const
    {
        return f->box->cursorRect(position).x() - f->box->viewport()->geometry().x();
    }

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        f = TextBoxFixture::shown();
        QVERIFY2(f, "the box's window did not show");
    }
    void cleanup() { f.reset(); }

    void aLineStartsOnTheSideOfItsFirstStrongCharacter_data();
    void aLineStartsOnTheSideOfItsFirstStrongCharacter();
    void keysInRightToLeftLines_data();
    void keysInRightToLeftLines();
    void leftAndRightGoAlongTheLineAsItReads_data();
    void leftAndRightGoAlongTheLineAsItReads();
    void homeAndEndGoToTheRowsEnds_data();
    void homeAndEndGoToTheRowsEnds();
    void endOnAWrappedRightToLeftRowStaysOnIt();
};

void TextBoxDirectionTest::aLineStartsOnTheSideOfItsFirstStrongCharacter_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("fromTheRight");
    QTest::newRow("Hebrew") << shalom + " " + olam << true;
    QTest::newRow("Arabic") << salam << true;
    QTest::newRow("digits before Hebrew") << "42 " + shalom << true;
    QTest::newRow("Hebrew in brackets") << "(" + shalom + ")" << true;
    QTest::newRow("Hebrew, then Latin") << shalom + " abc" << true;
    QTest::newRow("Latin, then Hebrew") << "abc " + shalom << false;
    QTest::newRow("digits only") << "1234" << false;
    QTest::newRow("blanks only") << "   " << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("a wrapped Hebrew line") << (shalom + " " + olam + " ").repeated(30) << true;
}

void TextBoxDirectionTest::aLineStartsOnTheSideOfItsFirstStrongCharacter()
{
    QFETCH(QString, line);
    QFETCH(bool, fromTheRight);
    // Between two Latin lines, which keep to the left.
    f->setText("abc\n" + line + "\nabc", 0, 0);
    f->box->viewport()->repaint();
    QCOMPARE(TextBox::directionOf(line), fromTheRight ? Qt::RightToLeft : Qt::LeftToRight);
    QCOMPARE(f->box->rowOf(0, 0).naturalTextRect().left(), 0.0);
    QCOMPARE(f->box->rowOf(2, 0).naturalTextRect().left(), 0.0);
    // Each row keeps to its side: a right-to-left one reaches the right edge (its last blank,
    // where it wrapped, hangs beyond).
    const qreal width = f->box->layoutWidth();
    for (int row = 0; row < f->box->rowsOf(1); ++row) {
        const QRectF shown = f->box->rowOf(1, row).naturalTextRect();
        const QString where = QStringLiteral("row %1 from %2 to %3").arg(row).arg(shown.left()).arg(shown.right());
        if (fromTheRight)
            QVERIFY2(shown.right() >= width - 1, qPrintable(where));
        else
            QVERIFY2(shown.left() == 0, qPrintable(where));
    }
    // The end of a line read from the right stands left of its start.
    const qint64 start = f->box->lines().lineStart(1);
    if (fromTheRight)
        QVERIFY(caretX(start + line.size()) < caretX(start));
}

void TextBoxDirectionTest::keysInRightToLeftLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("anchor");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<qint64>("anchorAfter");
    QTest::addColumn<qint64>("positionAfter");
    const int none = Qt::NoModifier;
    const int ctrl = Qt::ControlModifier;
    // "shalom olam" (0..9), then "abc" (10..13) and "olam" (14..18).
    const QString text = shalom + " " + olam + "\nabc\n" + olam;
    QTest::newRow("Left goes on through the line") << text << 0ll << 0ll << int(Qt::Key_Left) << none << 1ll << 1ll;
    QTest::newRow("Right goes back") << text << 3ll << 3ll << int(Qt::Key_Right) << none << 2ll << 2ll;
    QTest::newRow("Left at the line's left end goes on to the next line")
        << text << 9ll << 9ll << int(Qt::Key_Left) << none << 10ll << 10ll;
    QTest::newRow("Right at its start goes back to the line before")
        << text << 14ll << 14ll << int(Qt::Key_Right) << none << 13ll << 13ll;
    QTest::newRow("Left at the start of a Latin line goes back to a Hebrew one's end")
        << text << 10ll << 10ll << int(Qt::Key_Left) << none << 9ll << 9ll;
    QTest::newRow("Right at the very start does nothing") << text << 0ll << 0ll << int(Qt::Key_Right) << none << 0ll << 0ll;
    QTest::newRow("Left at the very end does nothing") << text << 18ll << 18ll << int(Qt::Key_Left) << none << 18ll << 18ll;
    QTest::newRow("Ctrl+Left goes a word on") << text << 0ll << 0ll << int(Qt::Key_Left) << ctrl << 5ll << 5ll;
    QTest::newRow("Ctrl+Right goes a word back") << text << 9ll << 9ll << int(Qt::Key_Right) << ctrl << 5ll << 5ll;
    QTest::newRow("Shift+Left selects on") << text << 1ll << 1ll << int(Qt::Key_Left) << int(Qt::ShiftModifier) << 1ll << 2ll;
    QTest::newRow("Left on a selection goes to its left end") << text << 1ll << 3ll << int(Qt::Key_Left) << none << 3ll << 3ll;
    QTest::newRow("Right on a selection goes to its right end") << text << 3ll << 1ll << int(Qt::Key_Right) << none << 1ll << 1ll;
    QTest::newRow("Home goes to the right end") << text << 3ll << 3ll << int(Qt::Key_Home) << none << 0ll << 0ll;
    QTest::newRow("End goes to the left end") << text << 3ll << 3ll << int(Qt::Key_End) << none << 9ll << 9ll;
}

void TextBoxDirectionTest::keysInRightToLeftLines()
{
    QFETCH(QString, text);
    QFETCH(qint64, anchor);
    QFETCH(qint64, position);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(qint64, anchorAfter);
    QFETCH(qint64, positionAfter);
    f->setText(text, anchor, position);
    f->key(key, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f->box->anchor(), anchorAfter);
    QCOMPARE(f->box->position(), positionAfter);
    QCOMPARE(f->box->toPlainText(), text);
}

void TextBoxDirectionTest::leftAndRightGoAlongTheLineAsItReads_data()
{
    QTest::addColumn<QString>("line");
    // Of one direction only, so that each step shows further along.
    QTest::addColumn<bool>("oneDirection");
    QTest::newRow("Hebrew") << shalom + " " + olam << true;
    QTest::newRow("Arabic") << salam + " " + salam << true;
    QTest::newRow("Latin within Hebrew") << shalom + " abc " + olam << false;
    QTest::newRow("Hebrew within Latin") << "abc " + shalom + " def" << false;
    QTest::newRow("Arabic and digits") << salam + " 123 " + salam << false;
    QTest::newRow("Latin") << QStringLiteral("abc def") << true;
}

// From the line's start, the key towards its end (Left in a line read from right to left) goes
// through it character by character as QTextCursor goes; the other key comes back the same way.
void TextBoxDirectionTest::leftAndRightGoAlongTheLineAsItReads()
{
    QFETCH(QString, line);
    QFETCH(bool, oneDirection);
    // A second line like it: its start is on the same side.
    f->setText(line + "\n" + line, 0, 0);
    f->box->viewport()->repaint();
    const bool rightToLeft = TextBox::directionOf(line) == Qt::RightToLeft;
    const Qt::Key onwards = rightToLeft ? Qt::Key_Left : Qt::Key_Right;
    const Qt::Key back = rightToLeft ? Qt::Key_Right : Qt::Key_Left;
    for (qint64 position = 1; position <= line.size(); ++position) {
        const int before = caretX(position - 1);
        f->key(onwards);
        QCOMPARE(f->box->position(), position);
        if (oneDirection)
            QVERIFY2(rightToLeft ? caretX(position) < before : caretX(position) > before, qPrintable(QString::number(position)));
    }
    // On past the line's end to the next line's start, and back.
    f->key(onwards);
    QCOMPARE(f->box->position(), line.size() + 1);
    f->key(back);
    QCOMPARE(f->box->position(), line.size());
    for (qint64 position = line.size() - 1; position >= 0; --position) {
        f->key(back);
        QCOMPARE(f->box->position(), position);
    }
    f->key(back);
    QCOMPARE(f->box->position(), 0);
}

void TextBoxDirectionTest::homeAndEndGoToTheRowsEnds_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<qint64>("home");
    QTest::addColumn<qint64>("end");
    QTest::newRow("Hebrew") << shalom + " " + olam << 0ll << 9ll;
    QTest::newRow("Hebrew ending in Latin") << shalom + " abc" << 0ll << 8ll;
    QTest::newRow("Latin ending in Hebrew") << "abc " + shalom << 0ll << 8ll;
    QTest::newRow("digits before Hebrew") << "42 " + shalom << 0ll << 7ll;
    QTest::newRow("Latin") << QStringLiteral("abc def") << 0ll << 7ll;
}

// Home and End go where a click beyond the row's ends puts the caret: Home on the side the
// line is read from.
void TextBoxDirectionTest::homeAndEndGoToTheRowsEnds()
{
    QFETCH(QString, line);
    QFETCH(qint64, home);
    QFETCH(qint64, end);
    f->setText(line, 2, 2);
    f->box->viewport()->repaint();
    f->key(Qt::Key_Home);
    QCOMPARE(f->box->position(), home);
    f->box->setCursorPosition(2);
    f->key(Qt::Key_End);
    QCOMPARE(f->box->position(), end);
    const bool rightToLeft = TextBox::directionOf(line) == Qt::RightToLeft;
    const int y = f->pointOf(0).y();
    f->click(QPoint(f->box->viewport()->width() - 1, y));
    QCOMPARE(f->box->position(), rightToLeft ? home : end);
    f->click(QPoint(1, y));
    QCOMPARE(f->box->position(), rightToLeft ? end : home);
}

void TextBoxDirectionTest::endOnAWrappedRightToLeftRowStaysOnIt()
{
    const QString line = (shalom + " " + olam + " ").repeated(30);
    f->setText(line, 0, 0);
    f->box->viewport()->repaint();
    const int rows = f->box->rowsOf(0);
    QVERIFY(rows >= 3);
    for (int row = 0; row < rows; ++row) {
        const LineLayout::Row shown = f->box->rowOf(0, row);
        f->box->setCursorPosition(shown.textStart() + 1);
        f->key(Qt::Key_End);
        QCOMPARE(f->rowInLine(f->box->position()), row);
        QVERIFY(caretX(f->box->position()) < caretX(shown.textStart()));
        f->key(Qt::Key_Home);
        QCOMPARE(f->box->position(), shown.textStart());
    }
}

QTEST_MAIN(TextBoxDirectionTest)
#include "tst_textboxdirection.moc"
