// The editor's text box on screen: the mouse, scrolling through a long text, wrapping at the
// box's width, and the caret kept in view.

#include "TextBoxFixture.h"
#include "support/TestCase.h"

#include <QSignalSpy>
#include <QWheelEvent>

namespace {

QString numberedLines(int count)
{
    QStringList lines;
    for (int n = 0; n < count; ++n)
        lines << QStringLiteral("line %1").arg(n);
    return lines.join(QLatin1Char('\n'));
}

// Three short lines and one that wraps over several rows between them.
QString mixedText()
{
    return QStringLiteral("one two three\n") + TextBoxFixture::words(0, 40) + QStringLiteral("\n\nshort");
}

} // namespace

class TextBoxViewTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<TextBoxFixture> f;

    // The caret's row counted from the top row shown.
    qint64 caretRowShown() const { return f->rowOfText(f->box->position()) - f->bar()->value(); }

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        f = TextBoxFixture::shown();
        QVERIFY2(f, "the box's window did not show");
    }
    void cleanup() { f.reset(); }

    void clickPutsTheCaret_data();
    void clickPutsTheCaret();
    void aClickRightOfAWrappedRowStaysOnIt();
    void shiftClickExtendsTheSelection();
    void dragSelects_data();
    void dragSelects();
    void dragBelowTheBoxScrollsOn();
    void doubleClickSelectsAWord_data();
    void doubleClickSelectsAWord();
    void ctrlEndShowsTheLastLine();
    void theScrollBarScrollsTheText();
    void theScrollBarGrowsAsWrappedLinesAreLaidOut();
    void newLinesStartAfresh();
    void aResizeWrapsAgain();
    void aFontChangeWrapsAgain();
    void anEditOfTheTopLineScrolledIntoKeepsTheViewSound();
    void theCaretStaysShownWhileTyping_data();
    void theCaretStaysShownWhileTyping();
    void enterAfterAWrappedLineAtTheBottomScrolls();
    void undoAndRedoShowTheCaret();
    void theViewHoldsStillWhileTypingInAWrappedLine_data();
    void theViewHoldsStillWhileTypingInAWrappedLine();
    void bigEditsKeepTheBarRight();
    void deletingTheEndShowsTheLastScreenful();
    void pagingThroughALongText();
};

void TextBoxViewTest::clickPutsTheCaret_data()
{
    // Where the click goes: at the character that begins at target, moved by dx pixels and
    // dy rows; and the caret it gives.
    QTest::addColumn<qint64>("target");
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    QTest::addColumn<qint64>("expected");
    const QString text = mixedText();
    const qint64 wrapped = 14;
    const qint64 empty = text.indexOf(QStringLiteral("\n\n")) + 1;
    QTest::newRow("the first character") << 0ll << 0 << 0 << 0ll;
    QTest::newRow("in the first line") << 4ll << 0 << 0 << 4ll;
    QTest::newRow("the first line's end") << 13ll << 0 << 0 << 13ll;
    QTest::newRow("right of the first line's end") << 13ll << 80 << 0 << 13ll;
    QTest::newRow("the wrapped line's start") << wrapped << 0 << 0 << wrapped;
    QTest::newRow("in the wrapped line's first row") << wrapped + 8 << 0 << 0 << wrapped + 8;
    QTest::newRow("the empty line") << empty << 0 << 0 << empty;
    QTest::newRow("right of the empty line") << empty << 100 << 0 << empty;
    QTest::newRow("the last line") << empty + 3 << 0 << 0 << empty + 3;
    QTest::newRow("below the text: the end") << empty + 3 << 0 << 1 << qint64(text.size());
    QTest::newRow("left of the text: a line's start") << 9ll << -200 << 0 << 0ll;
}

void TextBoxViewTest::clickPutsTheCaret()
{
    QFETCH(qint64, target);
    QFETCH(int, dx);
    QFETCH(int, dy);
    QFETCH(qint64, expected);
    f->setText(mixedText(), 5, 5);
    f->box->viewport()->repaint();
    QVERIFY(f->box->rowsOf(1) >= 3);
    const QPoint at = f->pointOf(target) + QPoint(dx, dy * f->rowHeight());
    f->click(QPoint(std::max(0, at.x()), at.y()));
    QCOMPARE(f->box->position(), expected);
    QVERIFY(!f->box->hasSelection());
}

void TextBoxViewTest::aClickRightOfAWrappedRowStaysOnIt()
{
    const QString text = mixedText();
    f->setText(text, 0, 0);
    f->box->viewport()->repaint();
    const int rows = f->box->rowsOf(1);
    for (int row = 0; row + 1 < rows; ++row) {
        const LineLayout::Row textRow = f->box->rowOf(1, row);
        const qint64 rowStart = 14 + textRow.textStart();
        const QPoint atRow = f->pointOf(rowStart);
        f->click(QPoint(f->box->viewport()->width() - 2, atRow.y()));
        QCOMPARE(f->rowInLine(f->box->position()), row);
        // Before the blank the row broke at.
        QCOMPARE(f->box->position(), rowStart + textRow.textLength() - 1);
        QCOMPARE(text.at(f->box->position()), QLatin1Char(' '));
    }
}

void TextBoxViewTest::shiftClickExtendsTheSelection()
{
    f->setText(mixedText(), 0, 0);
    f->box->viewport()->repaint();
    // Into a later row of the wrapped line.
    const qint64 later = 14 + f->box->rowOf(1, 2).textStart() + 3;
    f->click(f->pointOf(4));
    f->click(f->pointOf(later), Qt::ShiftModifier);
    QCOMPARE(f->box->anchor(), 4);
    QCOMPARE(f->box->position(), later);
    f->click(f->pointOf(2), Qt::ShiftModifier);
    QCOMPARE(f->box->anchor(), 4);
    QCOMPARE(f->box->position(), 2);
    QCOMPARE(f->box->selectedText(), QStringLiteral("e "));
    // A click without Shift drops the selection.
    f->click(f->pointOf(later));
    QVERIFY(!f->box->hasSelection());
    QCOMPARE(f->box->position(), later);
}

void TextBoxViewTest::dragSelects_data()
{
    QTest::addColumn<qint64>("from");
    QTest::addColumn<qint64>("to");
    QTest::newRow("in a line") << 4ll << 7ll;
    QTest::newRow("backwards") << 7ll << 4ll;
    QTest::newRow("down over lines") << 2ll << 30ll;
    QTest::newRow("up over lines") << 30ll << 2ll;
}

void TextBoxViewTest::dragSelects()
{
    QFETCH(qint64, from);
    QFETCH(qint64, to);
    f->setText(mixedText(), 0, 0);
    f->box->viewport()->repaint();
    f->mouse(QEvent::MouseButtonPress, f->pointOf(from), Qt::LeftButton);
    const QPoint step = (f->pointOf(to) - f->pointOf(from)) / 2;
    f->mouse(QEvent::MouseMove, f->pointOf(from) + step, Qt::LeftButton);
    QCOMPARE(f->box->anchor(), from);
    QVERIFY(f->box->hasSelection());
    f->mouse(QEvent::MouseMove, f->pointOf(to), Qt::LeftButton);
    f->mouse(QEvent::MouseButtonRelease, f->pointOf(to), Qt::NoButton);
    QCOMPARE(f->box->anchor(), from);
    QCOMPARE(f->box->position(), to);
    QCOMPARE(f->box->selectedText(), mixedText().mid(std::min(from, to), std::abs(to - from)));
    // Moving with the button up selects no more.
    f->mouse(QEvent::MouseMove, f->pointOf(0), Qt::NoButton);
    QCOMPARE(f->box->position(), to);
}

void TextBoxViewTest::dragBelowTheBoxScrollsOn()
{
    f->setText(numberedLines(200), 0, 0);
    f->box->viewport()->repaint();
    f->mouse(QEvent::MouseButtonPress, f->pointOf(2), Qt::LeftButton);
    const QPoint below(20, f->box->viewport()->height() + 10);
    f->mouse(QEvent::MouseMove, below, Qt::LeftButton);
    QTRY_VERIFY(f->bar()->value() >= 3);
    f->mouse(QEvent::MouseButtonRelease, below, Qt::NoButton);
    const int top = f->bar()->value();
    QCOMPARE(f->box->anchor(), 2);
    QVERIFY(f->box->lines().lineAt(f->box->position()) >= f->shownRows());
    // The release stops the scrolling.
    QTest::qWait(200);
    QCOMPARE(f->bar()->value(), top);
    // Above the box, back up: the selection grows from where the drag began.
    const qint64 from = f->clickFirstShown();
    f->mouse(QEvent::MouseButtonPress, QPoint(20, 20), Qt::LeftButton);
    const qint64 anchor = f->box->anchor();
    QVERIFY(anchor >= from);
    f->mouse(QEvent::MouseMove, QPoint(20, -10), Qt::LeftButton);
    QTRY_VERIFY(f->bar()->value() <= top - 3);
    f->mouse(QEvent::MouseButtonRelease, QPoint(20, -10), Qt::NoButton);
    QCOMPARE(f->box->anchor(), anchor);
    QVERIFY(f->box->position() < from);
    QCOMPARE(f->box->lines().lineAt(f->box->position()), f->bar()->value());
}

void TextBoxViewTest::doubleClickSelectsAWord_data()
{
    QTest::addColumn<qint64>("at");
    QTest::addColumn<QString>("word");
    // Over "hello world, again_and again\n\nlast".
    QTest::newRow("a word's first letter") << 0ll << "hello";
    QTest::newRow("in a word") << 2ll << "hello";
    QTest::newRow("a word before a comma") << 8ll << "world";
    QTest::newRow("a word with underscores") << 15ll << "again_and";
    QTest::newRow("the last word of a line") << 25ll << "again";
    QTest::newRow("the last line") << 31ll << "last";
}

void TextBoxViewTest::doubleClickSelectsAWord()
{
    QFETCH(qint64, at);
    QFETCH(QString, word);
    const QString text = QStringLiteral("hello world, again_and again\n\nlast");
    f->setText(text, 0, 0);
    f->box->viewport()->repaint();
    // Into the character's left half, so that the click lands before it.
    QTest::mouseDClick(f->box->viewport(), Qt::LeftButton, Qt::NoModifier, f->pointOf(at) + QPoint(1, 0));
    QCOMPARE(f->box->selectedText(), word);
    const qint64 start = text.lastIndexOf(word, at);
    QCOMPARE(f->box->anchor(), start);
    QCOMPARE(f->box->position(), start + word.size());
}

void TextBoxViewTest::ctrlEndShowsTheLastLine()
{
    const int count = 10000;
    f->setText(numberedLines(count), 0, 0);
    f->box->viewport()->repaint();
    const int shown = f->shownRows();
    QCOMPARE(f->bar()->maximum(), count - shown);
    f->key(Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(f->box->position(), f->box->characterCount());
    QVERIFY2(f->bar()->value() >= f->bar()->maximum() - 1, qPrintable(QString::number(f->bar()->value())));
    // What is painted is the last screenful.
    const qint64 first = f->clickFirstShown();
    const qsizetype line = f->box->lines().lineAt(first);
    QVERIFY2(line >= count - shown && line < count, qPrintable(QString::number(line)));
    QCOMPARE(first, f->box->lines().lineStart(line));
    QCOMPARE(f->box->lines().line(line), QStringLiteral("line %1").arg(line));
    // And back.
    f->key(Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(f->bar()->value(), 0);
    QCOMPARE(f->clickFirstShown(), 0);
}

void TextBoxViewTest::theScrollBarScrollsTheText()
{
    f->setText(numberedLines(1000), 0, 0);
    f->box->viewport()->repaint();
    f->bar()->setValue(500);
    QCOMPARE(f->box->lines().lineAt(f->clickFirstShown()), 500);
    // The caret stays where the click put it when the bar moves on.
    f->bar()->setValue(10);
    QCOMPARE(f->box->lines().lineAt(f->box->position()), 500);
    QCOMPARE(f->box->lines().lineAt(f->clickFirstShown()), 10);
    f->bar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(f->box->lines().lineAt(f->clickFirstShown()), 10 + f->shownRows());
}

void TextBoxViewTest::theScrollBarGrowsAsWrappedLinesAreLaidOut()
{
    // Lines of several rows each: until they are laid out the box counts each one row.
    const int count = 300;
    QStringList lines;
    for (int n = 0; n < count; ++n)
        lines << TextBoxFixture::words(n, 30);
    f->setText(lines.join(QLatin1Char('\n')), 0, 0);
    const int rowsALine = f->box->rowsOf(0);
    QVERIFY(rowsALine >= 2);
    f->box->viewport()->repaint();
    const int shownFirst = f->bar()->maximum();
    QVERIFY2(shownFirst > count - f->shownRows(), qPrintable(QString::number(shownFirst)));
    QVERIFY(shownFirst < count * rowsALine);
    f->key(Qt::Key_End, Qt::ControlModifier);
    f->box->viewport()->repaint();
    const int shownLast = f->bar()->maximum();
    QVERIFY2(shownLast > shownFirst, qPrintable(QString::number(shownLast)));
    // The last row shows at the bottom.
    QCOMPARE(f->bar()->value(), f->bar()->maximum());
    f->click(QPoint(f->box->viewport()->width() - 2, f->margin + (f->shownRows() - 1) * f->rowHeight() + 2));
    QCOMPARE(f->box->position(), f->box->characterCount());
    // Through the whole text a page at a time: every line laid out, the bar counts every row.
    f->key(Qt::Key_Home, Qt::ControlModifier);
    while (f->bar()->value() < f->bar()->maximum()) {
        f->bar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        f->box->viewport()->repaint();
    }
    qint64 rows = 0;
    for (int n = 0; n < count; ++n)
        rows += f->box->rowsOf(n);
    QCOMPARE(f->bar()->maximum(), rows - f->shownRows());
}

void TextBoxViewTest::newLinesStartAfresh()
{
    f->setText(numberedLines(500), 0, 0);
    f->box->setCursorPosition(100);
    f->type(QStringLiteral("typed"));
    f->key(Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(f->bar()->value() > 0);
    QSignalSpy changes(f->box, &TextBox::contentsChange);
    const qint64 before = f->box->characterCount();

    f->box->setLines(TextLines(QStringView(u"fresh\ntext")));
    QCOMPARE(f->box->toPlainText(), QStringLiteral("fresh\ntext"));
    QCOMPARE(f->box->position(), 0);
    QCOMPARE(f->box->anchor(), 0);
    QCOMPARE(f->bar()->value(), 0);
    QCOMPARE(f->bar()->maximum(), 0);
    QVERIFY(!f->box->canUndo());
    f->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("fresh\ntext"));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.first().at(0).toLongLong(), 0);
    QCOMPARE(changes.first().at(1).toLongLong(), before);
    QCOMPARE(changes.first().at(2).toLongLong(), 10);
    QCOMPARE(f->clickFirstShown(), 0);
}

void TextBoxViewTest::aResizeWrapsAgain()
{
    const QString line = TextBoxFixture::words(0, 40);
    f->setText(line + QStringLiteral("\nshort"), 0, 0);
    f->box->viewport()->repaint();
    const int narrowRows = f->box->rowsOf(0);
    QVERIFY(narrowRows >= 3);
    f->window.setFixedSize(640, 240);
    f->box->resize(640, 200);
    f->box->viewport()->repaint();
    const int wideRows = f->box->rowsOf(0);
    QVERIFY2(wideRows < narrowRows, qPrintable(QStringLiteral("%1 %2").arg(wideRows).arg(narrowRows)));
    for (int row = 0; row < wideRows; ++row)
        QVERIFY(f->box->rowOf(0, row).naturalTextWidth() <= f->box->layoutWidth());
    // The next line starts on the row after the wrapped one's last.
    QCOMPARE(f->box->lines().lineAt(f->box->position()), 0);
    f->click(f->pointOf(line.size() + 1));
    QCOMPARE(f->box->position(), line.size() + 1);
    f->box->resize(320, 200);
    f->box->viewport()->repaint();
    QCOMPARE(f->box->rowsOf(0), narrowRows);
}

void TextBoxViewTest::aFontChangeWrapsAgain()
{
    f->setText(TextBoxFixture::words(0, 40), 0, 0);
    f->box->viewport()->repaint();
    const int rows = f->box->rowsOf(0);
    QFont font = f->box->font();
    font.setPointSizeF(font.pointSizeF() * 2);
    f->box->setFont(font);
    f->box->viewport()->repaint();
    QVERIFY2(f->box->rowsOf(0) > rows, qPrintable(QStringLiteral("%1 %2").arg(f->box->rowsOf(0)).arg(rows)));
    // Clicks find the rows at their new height.
    const qint64 later = f->box->rowOf(0, 2).textStart() + 2;
    f->click(f->pointOf(later));
    QCOMPARE(f->box->position(), later);
}

void TextBoxViewTest::anEditOfTheTopLineScrolledIntoKeepsTheViewSound()
{
    // The first line shown from its third row on; then the line shrinks to one row.
    f->setText(TextBoxFixture::words(0, 200) + QStringLiteral("\n") + numberedLines(50), 0, 0);
    f->box->viewport()->repaint();
    QVERIFY(f->box->rowsOf(0) > 5);
    f->bar()->setValue(3);
    f->box->viewport()->repaint();
    f->box->select(0, f->box->lines().lineLength(0));
    f->type(QStringLiteral("x"));
    QCOMPARE(f->box->lines().line(0), QStringLiteral("x"));
    QCOMPARE(f->clickFirstShown(), 0);
    QCOMPARE(f->bar()->value(), 0);
    f->key(Qt::Key_Down);
    QCOMPARE(f->box->position(), 2);
    // The bar counts the rows the text has now.
    f->box->viewport()->repaint();
    QCOMPARE(f->bar()->maximum(), 51 - f->shownRows());
}

void TextBoxViewTest::theCaretStaysShownWhileTyping_data()
{
    QTest::addColumn<QString>("text");
    // What is typed at the text's end, Enter standing for "\n".
    QTest::addColumn<QString>("typed");
    QTest::newRow("Enter after Enter") << "start" << QString(60, QLatin1Char('\n'));
    QTest::newRow("lines typed") << "start" << QStringLiteral("a line\n").repeated(40);
    QTest::newRow("a line that wraps, at the bottom") << numberedLines(11) << TextBoxFixture::words(0, 80);
    QTest::newRow("Enter at the end of a long text") << numberedLines(3000) << QString(20, QLatin1Char('\n'));
}

void TextBoxViewTest::theCaretStaysShownWhileTyping()
{
    QFETCH(QString, text);
    QFETCH(QString, typed);
    f->setText(text, text.size(), text.size());
    f->box->viewport()->repaint();
    for (const QChar ch : typed) {
        if (ch == QLatin1Char('\n'))
            f->key(Qt::Key_Return);
        else
            f->type(QString(ch));
        const qint64 row = caretRowShown();
        QVERIFY2(row >= 0 && row < f->shownRows(), qPrintable(QString::number(row)));
    }
    QCOMPARE(f->box->toPlainText(), text + typed);
    // And painted there: the text's end is in the last screenful.
    const qsizetype first = f->box->lines().lineAt(f->clickFirstShown());
    QVERIFY(f->box->lines().lineCount() - 1 - first < f->shownRows());
}

void TextBoxViewTest::enterAfterAWrappedLineAtTheBottomScrolls()
{
    // The wrapped line's rows reach the bottom: the line Enter makes after it is the first hidden.
    const QString wrapped = TextBoxFixture::words(0, 20);
    f->setText(wrapped, 0, 0);
    const int rows = f->box->rowsOf(0);
    QVERIFY(rows >= 2 && rows < f->shownRows());
    f->setText(numberedLines(f->shownRows() - rows) + QStringLiteral("\n") + wrapped, 0, 0);
    f->box->viewport()->repaint();
    QCOMPARE(f->bar()->maximum(), 0);
    f->box->setCursorPosition(f->box->characterCount());
    f->key(Qt::Key_Return);
    QVERIFY(f->caretShown());
    QCOMPARE(f->bar()->value(), 1);
    f->box->viewport()->repaint();
    QCOMPARE(caretRowShown(), f->shownRows() - 1);
}

void TextBoxViewTest::undoAndRedoShowTheCaret()
{
    f->setText(numberedLines(1000), 3, 3);
    f->type(QStringLiteral("abc"));
    f->key(Qt::Key_End, Qt::ControlModifier);
    QVERIFY(f->bar()->value() > 900);
    f->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f->box->position(), 3);
    QCOMPARE(f->bar()->value(), 0);
    f->key(Qt::Key_End, Qt::ControlModifier);
    f->key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(f->box->position(), 6);
    QCOMPARE(f->bar()->value(), 0);
    QCOMPARE(f->clickFirstShown(), 0);
    // A wheel turn scrolls the text, not the caret.
    QWheelEvent wheel(QPointF(20, 20), f->box->viewport()->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(f->box->viewport(), &wheel);
    QVERIFY(f->bar()->value() > 0);
    QCOMPARE(f->box->lines().lineAt(f->clickFirstShown()), f->bar()->value());
}

void TextBoxViewTest::theViewHoldsStillWhileTypingInAWrappedLine_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    // How many rows down the caret goes.
    QTest::addColumn<int>("down");
    QTest::newRow("a letter") << "x" << 0 << 0;
    QTest::newRow("a word") << "abc" << 0 << 0;
    QTest::newRow("Backspace") << "" << int(Qt::Key_Backspace) << 0;
    QTest::newRow("Delete") << "" << int(Qt::Key_Delete) << 0;
    QTest::newRow("Enter: the rest of the line a row down") << "" << int(Qt::Key_Return) << 1;
}

void TextBoxViewTest::theViewHoldsStillWhileTypingInAWrappedLine()
{
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(int, down);
    // A paragraph as one line, far taller than the box, shown from within.
    f->setText(TextBoxFixture::words(0, 400) + QStringLiteral("\nnext"), 0, 0);
    f->box->viewport()->repaint();
    QVERIFY(f->box->rowsOf(0) > 3 * f->shownRows());
    f->bar()->setValue(10);
    f->box->viewport()->repaint();
    // Into the middle of the fifth row shown.
    const qint64 caret = f->box->rowOf(0, 14).textStart() + 3;
    f->click(f->pointOf(caret));
    QCOMPARE(f->box->position(), caret);
    const qint64 rowShown = caretRowShown();
    QCOMPARE(rowShown, 4);

    f->type(typed);
    if (key != 0)
        f->key(key);
    f->box->viewport()->repaint();
    QCOMPARE(f->bar()->value(), 10);
    QCOMPARE(caretRowShown(), rowShown + down);
    QCOMPARE(f->clickFirstShown(), f->box->rowOf(0, 10).textStart());
}

void TextBoxViewTest::bigEditsKeepTheBarRight()
{
    f->setText(numberedLines(10000), 5000, 5000);
    f->box->viewport()->repaint();
    f->key(Qt::Key_A, Qt::ControlModifier);
    f->key(Qt::Key_Delete);
    QCOMPARE(f->box->characterCount(), 0);
    QCOMPARE(f->clickFirstShown(), 0);
    QCOMPARE(f->bar()->maximum(), 0);
    QCOMPARE(f->bar()->value(), 0);
    // A paste of many lines: the caret after it, shown, the bar over all of them.
    f->clipboard.setText(numberedLines(2000));
    f->key(Qt::Key_V, Qt::ControlModifier);
    f->box->viewport()->repaint();
    QCOMPARE(f->bar()->maximum(), 2000 - f->shownRows());
    QCOMPARE(f->bar()->value(), f->bar()->maximum());
    const qsizetype first = f->box->lines().lineAt(f->clickFirstShown());
    QCOMPARE(first, 2000 - f->shownRows());
    // Its undo: the box empty again, shown from the top.
    f->key(Qt::Key_Z, Qt::ControlModifier);
    f->box->viewport()->repaint();
    QCOMPARE(f->box->characterCount(), 0);
    QCOMPARE(f->bar()->maximum(), 0);
    QCOMPARE(f->clickFirstShown(), 0);
}

void TextBoxViewTest::deletingTheEndShowsTheLastScreenful()
{
    f->setText(numberedLines(100), 0, 0);
    f->key(Qt::Key_End, Qt::ControlModifier);
    f->box->viewport()->repaint();
    // The second half goes: the view shows the last lines left, from where the bar says.
    f->box->select(f->box->lines().lineStart(50) - 1, f->box->characterCount());
    f->key(Qt::Key_Delete);
    QCOMPARE(f->box->lines().lineCount(), 50);
    const qsizetype first = f->box->lines().lineAt(f->clickFirstShown());
    QCOMPARE(first, 50 - f->shownRows());
    QCOMPARE(f->bar()->value(), f->bar()->maximum());
    QCOMPARE(f->bar()->maximum(), 50 - f->shownRows());
    // A row up on the bar is a row up in the view.
    f->bar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(f->box->lines().lineAt(f->clickFirstShown()), first - 1);
}

void TextBoxViewTest::pagingThroughALongText()
{
    // More lines than the box keeps laid out: what it drops it lays out again when shown.
    const int count = 3000;
    QStringList lines;
    for (int n = 0; n < count; ++n)
        lines << (n % 7 == 0 ? TextBoxFixture::words(n, 20) : QStringLiteral("line %1").arg(n));
    f->setText(lines.join(QLatin1Char('\n')), 0, 0);
    f->box->viewport()->repaint();
    QVERIFY(f->caretShown());
    f->bar()->setValue(100);
    f->box->viewport()->repaint();
    QVERIFY(!f->caretShown());
    f->bar()->setValue(0);
    int pages = 0;
    while (f->box->position() < f->box->characterCount()) {
        const qint64 before = f->box->position();
        f->key(Qt::Key_PageDown);
        f->box->viewport()->repaint();
        QVERIFY(f->box->position() > before);
        QVERIFY(f->caretShown());
        ++pages;
    }
    // The wrapped lines take pages of their own.
    QVERIFY(pages > count / f->shownRows());
    QVERIFY(f->box->lines().lineAt(f->clickFirstShown()) > count - 1 - f->shownRows());
    f->key(Qt::Key_End, Qt::ControlModifier);
    while (f->box->position() > 0) {
        f->key(Qt::Key_PageUp);
        f->box->viewport()->repaint();
        QVERIFY(f->caretShown());
    }
    QCOMPARE(f->bar()->value(), 0);
    QCOMPARE(f->clickFirstShown(), 0);
}

QTEST_MAIN(TextBoxViewTest)
#include "tst_textboxview.moc"
