// The editor's text box under the mouse as on a Linux desktop: a triple click, drags by whole
// words and lines, the X primary selection and the middle button that pastes it.

#include "TextBoxFixture.h"
#include "support/TestCase.h"

namespace {

const QString threeLines = QStringLiteral("first line\n\n") + TextBoxFixture::words(0, 40) + QStringLiteral("\nlast");

} // namespace

class TextBoxMouseTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<TextBoxFixture> f;

    // A double click at, its button still held (as for a drag from it).
    void pressTwice(QPoint at)
    {
        f->mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
        f->mouse(QEvent::MouseButtonRelease, at, Qt::NoButton);
        f->mouse(QEvent::MouseButtonDblClick, at, Qt::LeftButton);
    }
    void pressThrice(QPoint at)
    {
        pressTwice(at);
        f->mouse(QEvent::MouseButtonRelease, at, Qt::NoButton);
        f->mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
    }
    void dragTo(QPoint at)
    {
        f->mouse(QEvent::MouseMove, at, Qt::LeftButton);
        f->mouse(QEvent::MouseButtonRelease, at, Qt::NoButton);
    }
    void middleClick(QPoint at)
    {
        f->mouse(QEvent::MouseButtonPress, at, Qt::MiddleButton, Qt::NoModifier, Qt::MiddleButton);
        f->mouse(QEvent::MouseButtonRelease, at, Qt::NoButton, Qt::NoModifier, Qt::MiddleButton);
    }
    // Into the character's left half, so that the click lands before it.
    QPoint at(qint64 position) const { return f->pointOf(position) + QPoint(1, 0); }

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        f = TextBoxFixture::shown();
        QVERIFY2(f, "the box's window did not show");
    }
    void cleanup() { f.reset(); }

    void aTripleClickSelectsTheLine_data();
    void aTripleClickSelectsTheLine();
    void aDragAfterATripleClickTakesWholeLines();
    void aDragAfterADoubleClickTakesWholeWords_data();
    void aDragAfterADoubleClickTakesWholeWords();
    void aThirdClickElsewhereIsAClick();
    void selectingByHandSetsThePrimarySelection_data();
    void selectingByHandSetsThePrimarySelection();
    void aMiddleClickPastesThePrimarySelection_data();
    void aMiddleClickPastesThePrimarySelection();
    void withoutAPrimarySelectionNothingIsOfferedOrPasted();
};

void TextBoxMouseTest::aTripleClickSelectsTheLine_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("row");
    QTest::newRow("a short line") << 0 << 0;
    QTest::newRow("an empty line") << 1 << 0;
    QTest::newRow("a wrapped line, on its first row") << 2 << 0;
    QTest::newRow("a wrapped line, on a later row") << 2 << 2;
    QTest::newRow("the last line, which has no break") << 3 << 0;
}

void TextBoxMouseTest::aTripleClickSelectsTheLine()
{
    QFETCH(int, line);
    QFETCH(int, row);
    f->setText(threeLines, 0, 0);
    f->box->viewport()->repaint();
    QVERIFY(f->box->rowsOf(2) > 2);
    const qint64 start = f->box->lines().lineStart(line);
    const qint64 clicked = start + f->box->rowOf(line, row).textStart();
    pressThrice(at(clicked));
    f->mouse(QEvent::MouseButtonRelease, at(clicked), Qt::NoButton);
    // The line with its break, as the line's text shows it whole.
    const bool last = line + 1 == f->box->lines().lineCount();
    QCOMPARE(f->box->selectedText(), f->box->lines().line(line) + (last ? "" : "\n"));
    QCOMPARE(f->box->selectionStart(), start);
    QCOMPARE(f->clipboard.selection, f->box->selectedText());
}

void TextBoxMouseTest::aDragAfterATripleClickTakesWholeLines()
{
    f->setText(QStringLiteral("one one\ntwo two\nthree three\nfour"), 0, 0);
    f->box->viewport()->repaint();
    pressThrice(at(10));
    dragTo(at(19));
    QCOMPARE(f->box->selectedText(), QStringLiteral("two two\nthree three\n"));
    // Upwards the selection keeps the line clicked whole, its end as anchor.
    pressThrice(at(19));
    dragTo(at(2));
    QCOMPARE(f->box->anchor(), 28);
    QCOMPARE(f->box->position(), 0);
    QCOMPARE(f->clipboard.selection, QStringLiteral("one one\ntwo two\nthree three\n"));
}

void TextBoxMouseTest::aDragAfterADoubleClickTakesWholeWords_data()
{
    QTest::addColumn<qint64>("to");
    QTest::addColumn<qint64>("anchor");
    QTest::addColumn<qint64>("position");
    // "three" double-clicked in "one two three four five".
    QTest::newRow("on into a later word") << 15ll << 8ll << 18ll;
    QTest::newRow("to the last word") << 21ll << 8ll << 23ll;
    QTest::newRow("back into an earlier word") << 5ll << 13ll << 4ll;
    QTest::newRow("back to the first word") << 1ll << 13ll << 0ll;
    QTest::newRow("within the word") << 10ll << 8ll << 13ll;
    QTest::newRow("onto the blank after it") << 13ll << 8ll << 13ll;
}

void TextBoxMouseTest::aDragAfterADoubleClickTakesWholeWords()
{
    QFETCH(qint64, to);
    QFETCH(qint64, anchor);
    QFETCH(qint64, position);
    f->setText(QStringLiteral("one two three four five"), 0, 0);
    f->box->viewport()->repaint();
    pressTwice(at(9));
    QCOMPARE(f->box->selectedText(), QStringLiteral("three"));
    // Over a letter of another word first, then to its place: whole words all the way.
    f->mouse(QEvent::MouseMove, at(to), Qt::LeftButton);
    dragTo(at(to));
    QCOMPARE(f->box->anchor(), anchor);
    QCOMPARE(f->box->position(), position);
    QCOMPARE(f->clipboard.selection, f->box->selectedText());
}

void TextBoxMouseTest::aThirdClickElsewhereIsAClick()
{
    f->setText(QStringLiteral("one two three four five"), 0, 0);
    f->box->viewport()->repaint();
    pressTwice(at(9));
    f->mouse(QEvent::MouseButtonRelease, at(9), Qt::NoButton);
    f->click(at(19));
    QVERIFY(!f->box->hasSelection());
    QCOMPARE(f->box->position(), 19);
}

void TextBoxMouseTest::selectingByHandSetsThePrimarySelection_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("selected");
    // Over "alpha beta\ngamma", the caret after "alpha".
    QTest::newRow("a drag") << "drag" << "beta\nga";
    QTest::newRow("Shift+Right") << "Shift+Right" << " ";
    QTest::newRow("Shift+End") << "Shift+End" << " beta";
    QTest::newRow("a shift-click") << "shift-click" << " beta\nga";
    QTest::newRow("a double click") << "double click" << "gamma";
    QTest::newRow("Ctrl+A") << "Ctrl+A" << "alpha beta\ngamma";
    // Selecting nothing leaves the primary selection to what it was.
    QTest::newRow("a click") << "click" << "";
    QTest::newRow("a selection the program makes") << "program" << "";
}

void TextBoxMouseTest::selectingByHandSetsThePrimarySelection()
{
    QFETCH(QString, how);
    QFETCH(QString, selected);
    f->setText(QStringLiteral("alpha beta\ngamma"), 5, 5);
    f->box->viewport()->repaint();
    f->clipboard.setText(QStringLiteral("copied"));
    f->clipboard.setSelectionText(QStringLiteral("earlier"));
    if (how == QLatin1String("drag")) {
        f->mouse(QEvent::MouseButtonPress, at(6), Qt::LeftButton);
        dragTo(at(13));
    } else if (how == QLatin1String("Shift+Right")) {
        f->key(Qt::Key_Right, Qt::ShiftModifier);
    } else if (how == QLatin1String("Shift+End")) {
        f->key(Qt::Key_End, Qt::ShiftModifier);
    } else if (how == QLatin1String("shift-click")) {
        f->click(at(13), Qt::ShiftModifier);
    } else if (how == QLatin1String("double click")) {
        pressTwice(at(12));
        f->mouse(QEvent::MouseButtonRelease, at(12), Qt::NoButton);
    } else if (how == QLatin1String("Ctrl+A")) {
        f->key(Qt::Key_A, Qt::ControlModifier);
    } else if (how == QLatin1String("click")) {
        f->click(at(8));
    } else {
        f->box->select(0, 5);
    }
    if (!selected.isEmpty())
        QCOMPARE(f->box->selectedText(), selected);
    QCOMPARE(f->clipboard.selection, selected.isEmpty() ? QStringLiteral("earlier") : selected);
    // The clipboard itself is another thing, left alone.
    QCOMPARE(f->clipboard.text(), QStringLiteral("copied"));
}

void TextBoxMouseTest::aMiddleClickPastesThePrimarySelection_data()
{
    QTest::addColumn<QString>("primary");
    QTest::addColumn<qint64>("selectedFrom");
    QTest::addColumn<qint64>("selectedTo");
    QTest::addColumn<qint64>("clicked");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("after");
    QTest::addColumn<qint64>("caret");
    // Into "alpha beta".
    QTest::newRow("where clicked") << "new " << 0ll << 0ll << 6ll << false << "alpha new beta" << 10ll;
    QTest::newRow("within the box's own selection, beside it")
        << "new " << 0ll << 5ll << 2ll << false << "alnew pha beta" << 6ll;
    QTest::newRow("at the end") << "!" << 0ll << 0ll << 10ll << false << "alpha beta!" << 11ll;
    QTest::newRow("lines, their breaks as the box's")
        << "one\r\ntwo\n" << 3ll << 3ll << 0ll << false << "one\ntwo\nalpha beta" << 8ll;
    QTest::newRow("nothing selected anywhere: the caret goes there")
        << "" << 0ll << 0ll << 6ll << false << "alpha beta" << 6ll;
    QTest::newRow("a read-only box takes nothing") << "new " << 0ll << 0ll << 6ll << true << "alpha beta" << 0ll;
}

void TextBoxMouseTest::aMiddleClickPastesThePrimarySelection()
{
    QFETCH(QString, primary);
    QFETCH(qint64, selectedFrom);
    QFETCH(qint64, selectedTo);
    QFETCH(qint64, clicked);
    QFETCH(bool, readOnly);
    QFETCH(QString, after);
    QFETCH(qint64, caret);
    const QString before = QStringLiteral("alpha beta");
    f->setText(before, selectedFrom, selectedTo);
    f->box->setReadOnly(readOnly);
    f->box->viewport()->repaint();
    f->clipboard.setText(QStringLiteral("copied"));
    f->clipboard.setSelectionText(primary);
    middleClick(clicked == before.size() ? f->pointOf(clicked) + QPoint(5, 0) : at(clicked));
    QCOMPARE(f->box->toPlainText(), after);
    QCOMPARE(f->box->position(), readOnly ? selectedTo : caret);
    QCOMPARE(f->box->hasSelection(), readOnly && selectedFrom != selectedTo);
    // The clipboard is another thing; the primary selection is still what it was.
    QCOMPARE(f->clipboard.text(), QStringLiteral("copied"));
    QCOMPARE(f->clipboard.selection, primary);
    if (after == before)
        return;
    // One step to undo.
    f->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), before);
}

void TextBoxMouseTest::withoutAPrimarySelectionNothingIsOfferedOrPasted()
{
    // As on a system with no primary selection, such as the offscreen platform itself.
    f->clipboard.supported = false;
    f->setText(QStringLiteral("alpha beta"), 0, 0);
    f->box->viewport()->repaint();
    f->mouse(QEvent::MouseButtonPress, at(0), Qt::LeftButton);
    dragTo(at(5));
    QCOMPARE(f->box->selectedText(), QStringLiteral("alpha"));
    middleClick(at(6));
    QCOMPARE(f->box->toPlainText(), QStringLiteral("alpha beta"));
    QVERIFY(f->clipboard.selectionsSet.isEmpty());
}

QTEST_MAIN(TextBoxMouseTest)
#include "tst_textboxmouse.moc"
