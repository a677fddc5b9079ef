// The text box with lines far longer than a screen, laid out in segments of their own: only
// what is shown is laid out; rows, the caret, clicks and the selection run on across the
// segments as across the rows of a short line; edits keep what was laid out around them.

#include "TextBoxFixture.h"
#include "support/TestCase.h"

#include <QImage>

namespace {

const QString pair = QStringLiteral("\U0001F600");

// Words of varied length up to about characters long, blanks between them.
QString wordLine(qsizetype characters)
{
    QString line;
    for (int n = 0; line.size() < characters; ++n)
        line += QStringLiteral("w%1%2 ").arg(n % 997).arg(QString(n % 5, QLatin1Char('x')));
    return line;
}

QString hexLine(qsizetype characters)
{
    QString line;
    for (qsizetype n = 0; n < characters; ++n)
        line += QLatin1Char("0123456789abcdef"[(n * 7919) % 16]);
    return line;
}

// A letter under count combining marks: one cluster.
QString markLine(qsizetype count)
{
    QString line = QStringLiteral("a");
    for (qsizetype n = 0; n < count; ++n)
        line += QChar(0x300 + int(n % 0x70));
    return line;
}

} // namespace

class TextBoxLongLinesTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<TextBoxFixture> f;

    // Every row of line 0 from the first on, laid out as it is reached, tiles the line: each
    // begins where the one before it ended, the last ends at the line's end. At most rows rows.
    void checkRowsTile(int rows, const std::function<void(const LineLayout::Row &, int)> &check = {})
    {
        const qsizetype length = f->box->lines().lineLength(0);
        qsizetype start = 0;
        for (int row = 0; row < rows; ++row) {
            const LineLayout::Row textRow = f->box->rowOf(0, row);
            QCOMPARE(textRow.lineNumber(), row);
            QCOMPARE(textRow.textStart(), start);
            QVERIFY(textRow.textLength() > 0 || length == 0);
            if (check)
                check(textRow, row);
            if (QTest::currentTestFailed())
                return;
            start += textRow.textLength();
            if (textRow.isLast()) {
                QCOMPARE(start, length);
                return;
            }
        }
    }

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        f = TextBoxFixture::shown();
        QVERIFY2(f, "the box's window did not show");
    }
    void cleanup() { f.reset(); }

    void onlyWhatIsShownIsLaidOut_data();
    void onlyWhatIsShownIsLaidOut();
    void rowsBreakAtBlanksAndBetweenCharacters_data();
    void rowsBreakAtBlanksAndBetweenCharacters();
    void homeEndAndArrowsAcrossSegments();
    void upAndDownAcrossSegmentsKeepTheColumn();
    void clicksHitTheirCharacter();
    void typingInALongLineKeepsTheViewStill();
    void theSelectionShowsAcrossSegments();
    void anEditAboveKeepsTheLinesBelowLaidOut();
};

void TextBoxLongLinesTest::onlyWhatIsShownIsLaidOut_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("words") << wordLine(1'000'000);
    QTest::newRow("hex digits, no blank") << hexLine(1'000'000);
    QTest::newRow("pairs") << pair.repeated(500'000);
    QTest::newRow("combining marks") << markLine(1'000'000);
}

// However the caret goes through a line of a million characters, the box holds a bounded part
// of it laid out, and the caret shows.
void TextBoxLongLinesTest::onlyWhatIsShownIsLaidOut()
{
    QFETCH(QString, line);
    f->setText(line + QStringLiteral("\nafter"), 0, 0);
    f->box->viewport()->repaint();
    const qsizetype bound = 300'000;
    QVERIFY2(f->box->layoutCharacters() < 20'000, qPrintable(QString::number(f->box->layoutCharacters())));
    QVERIFY(f->box->rowsOf(0) > 1000);
    const std::pair<int, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_End, Qt::ControlModifier}, {Qt::Key_Up, {}}, {Qt::Key_PageUp, {}}, {Qt::Key_Home, Qt::ControlModifier},
        {Qt::Key_PageDown, {}}, {Qt::Key_End, {}}, {Qt::Key_Right, {}}, {Qt::Key_End, Qt::ControlModifier},
    };
    for (const auto &[key, modifiers] : keys) {
        f->key(key, modifiers);
        f->box->viewport()->repaint();
        QVERIFY2(f->caretShown(), qPrintable(QStringLiteral("key %1 to %2").arg(key).arg(f->box->position())));
        QVERIFY2(f->box->layoutCharacters() < bound, qPrintable(QString::number(f->box->layoutCharacters())));
    }
    // In the middle, as a click or a find puts the caret.
    f->box->setCursorPosition(line.size() / 2);
    f->box->viewport()->repaint();
    QVERIFY(f->caretShown());
    QVERIFY(f->box->layoutCharacters() < bound);
    // Laid out anew at another width.
    f->box->resize(f->box->width() - 60, f->box->height());
    f->box->viewport()->repaint();
    QVERIFY(f->caretShown());
    QVERIFY(f->box->layoutCharacters() < 20'000);
    // Narrower than a character: no more rows than characters are counted.
    f->box->resize(TextBoxFixture::margin * 2 + f->box->verticalScrollBar()->width() + 2, f->box->height());
    f->box->viewport()->repaint();
    QVERIFY(f->box->rowsOf(0) <= line.size());
    QVERIFY(f->caretShown());
}

void TextBoxLongLinesTest::rowsBreakAtBlanksAndBetweenCharacters_data()
{
    QTest::addColumn<QString>("line");
    // A row ends after a blank (words), never inside a pair, and holds at most this many
    // characters of a long cluster.
    QTest::addColumn<bool>("atBlanks");
    QTest::addColumn<qsizetype>("longestRow");
    QTest::newRow("words") << wordLine(30'000) << true << qsizetype(200);
    QTest::newRow("pairs") << pair.repeated(15'000) << false << qsizetype(200);
    QTest::newRow("combining marks") << markLine(30'000) << false << LineLayout::longCluster;
}

// Rows over several segments tile the line as a short line's rows do.
void TextBoxLongLinesTest::rowsBreakAtBlanksAndBetweenCharacters()
{
    QFETCH(QString, line);
    QFETCH(bool, atBlanks);
    QFETCH(qsizetype, longestRow);
    f->setText(line, 0, 0);
    checkRowsTile(100'000, [&](const LineLayout::Row &row, int number) {
        const qsizetype end = row.textStart() + row.textLength();
        QVERIFY2(row.textLength() <= longestRow, qPrintable(QStringLiteral("row %1").arg(number)));
        QVERIFY2(end == line.size() || !line.at(end).isLowSurrogate(), qPrintable(QStringLiteral("row %1").arg(number)));
        if (atBlanks && !row.isLast())
            QVERIFY2(line.at(end - 1) == QLatin1Char(' '), qPrintable(QStringLiteral("row %1").arg(number)));
        QVERIFY(row.naturalTextWidth() <= f->box->layoutWidth() + 1);
    });
}

// Home and End keep to their row, the arrows step one character, wherever a segment ends.
void TextBoxLongLinesTest::homeEndAndArrowsAcrossSegments()
{
    const QString line = wordLine(20'000);
    f->setText(line, 0, 0);
    const int rows = f->box->rowsOf(0);
    QVERIFY(rows > 100);
    for (int row = 0; row < f->box->rowsOf(0); ++row) {
        const LineLayout::Row textRow = f->box->rowOf(0, row);
        const qint64 rowStart = textRow.textStart();
        f->box->setCursorPosition(rowStart + 1);
        f->key(Qt::Key_End);
        QCOMPARE(f->rowInLine(f->box->position()), row);
        QCOMPARE(f->box->position(), textRow.isLast() ? line.size() : rowStart + textRow.textLength() - 1);
        f->key(Qt::Key_Home);
        QCOMPARE(f->box->position(), rowStart);
        if (row == 0)
            continue;
        f->key(Qt::Key_Left);
        QCOMPARE(f->box->position(), rowStart - 1);
        QCOMPARE(f->rowInLine(f->box->position()), row - 1);
        f->key(Qt::Key_Right);
        QCOMPARE(f->box->position(), rowStart);
        f->key(Qt::Key_Right);
        QCOMPARE(f->box->position(), rowStart + 1);
    }
    // Word by word through the whole line: each word's start, none left out.
    f->box->setCursorPosition(0);
    qint64 words = 0;
    while (f->box->position() < line.size()) {
        const qint64 before = f->box->position();
        f->key(Qt::Key_Right, Qt::ControlModifier);
        QVERIFY(f->box->position() > before);
        ++words;
    }
    QCOMPARE(words, line.count(QLatin1Char(' ')));
}

void TextBoxLongLinesTest::upAndDownAcrossSegmentsKeepTheColumn()
{
    const QString line = wordLine(20'000);
    f->setText(line + QStringLiteral("\nlast"), 3, 3);
    const qreal wantedX = f->box->rowOf(0, 0).cursorToX(3);
    // The rows are counted as they are laid out on the way down.
    int row = 0;
    while (!f->box->rowOf(0, row).isLast()) {
        ++row;
        f->key(Qt::Key_Down);
        QCOMPARE(f->rowInLine(f->box->position()), row);
        const qreal x = f->box->rowOf(0, row).cursorToX(f->box->position());
        QVERIFY2(std::abs(x - wantedX) < 30, qPrintable(QStringLiteral("row %1 at %2").arg(row).arg(x)));
        QVERIFY(f->caretShown());
    }
    QVERIFY(row > 100);
    f->key(Qt::Key_Down);
    QCOMPARE(f->box->lines().lineAt(f->box->position()), 1);
    for (; row >= 0; --row) {
        f->key(Qt::Key_Up);
        QCOMPARE(f->rowInLine(f->box->position()), row);
    }
    QCOMPARE(f->box->position(), 3);
}

// A click on a character shown from a row deep in a long line puts the caret before it.
void TextBoxLongLinesTest::clicksHitTheirCharacter()
{
    const QString line = wordLine(40'000);
    f->setText(line, 0, 0);
    f->box->setCursorPosition(20'000);
    f->box->viewport()->repaint();
    // The rows above laid out, as the clicks' places are worked out from them, and what is shown
    // stays where it is.
    const qint64 firstShown = f->box->positionAt(QPoint(TextBoxFixture::margin, TextBoxFixture::margin + 1));
    f->rowOfText(20'000);
    f->box->viewport()->repaint();
    QCOMPARE(f->box->positionAt(QPoint(TextBoxFixture::margin, TextBoxFixture::margin + 1)), firstShown);
    const qint64 top = f->bar()->value();
    for (qint64 row = top; row < top + f->shownRows(); ++row) {
        const LineLayout::Row textRow = f->box->rowOf(0, int(row));
        for (const qint64 target : {textRow.textStart(), textRow.textStart() + textRow.textLength() / 2}) {
            f->click(f->pointOf(target));
            QCOMPARE(f->box->position(), target);
            QCOMPARE(f->bar()->value(), top);
        }
    }
}

void TextBoxLongLinesTest::typingInALongLineKeepsTheViewStill()
{
    const QString line = wordLine(200'000);
    f->setText(line, 0, 0);
    // The caret in the middle of the box, so that Enter does not scroll.
    f->box->setCursorPosition(100'000);
    for (const int key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up})
        f->key(key);
    f->box->viewport()->repaint();
    const QPoint topLeft(TextBoxFixture::margin, TextBoxFixture::margin + 1);
    const qint64 firstShown = f->box->positionAt(topLeft);
    const QRect caret = f->box->cursorRect(f->box->position());
    f->type(QStringLiteral("typed"));
    f->box->viewport()->repaint();
    QCOMPARE(f->box->positionAt(topLeft), firstShown);
    QVERIFY(std::abs(f->box->cursorRect(f->box->position()).y() - caret.y()) <= f->rowHeight());
    const int top = f->bar()->value();
    QCOMPARE(f->box->toPlainText(), QString(line).insert(100'000, QStringLiteral("typed")));
    // Broken there, and joined again: the view stays, the text is the same.
    f->key(Qt::Key_Return);
    f->box->viewport()->repaint();
    QVERIFY(f->caretShown());
    QCOMPARE(f->box->lines().lineCount(), 2);
    f->key(Qt::Key_Backspace);
    f->box->viewport()->repaint();
    QVERIFY(f->caretShown());
    QCOMPARE(f->bar()->value(), top);
    QCOMPARE(f->box->positionAt(topLeft), firstShown);
    QCOMPARE(f->box->toPlainText(), QString(line).insert(100'000, QStringLiteral("typed")));
}

// Each row shown of a selection over several segments shows selected.
void TextBoxLongLinesTest::theSelectionShowsAcrossSegments()
{
    const QString line = wordLine(20'000);
    f->setText(line, 0, 0);
    // The caret after the first segment's end, the selection from well before it.
    const qint64 from = 2'000;
    const qint64 to = LineLayout::segmentLength + 100;
    f->box->select(from, to);
    f->box->viewport()->repaint();
    const qint64 top = f->bar()->value();
    const QImage shown = f->box->viewport()->grab().toImage();
    const QColor highlight = f->box->palette().color(QPalette::Highlight);
    for (int row = 0; row < f->shownRows(); ++row) {
        const LineLayout::Row textRow = f->box->rowOf(0, int(top + row));
        const bool selected = textRow.textStart() < to && textRow.textStart() + textRow.textLength() > from;
        int highlighted = 0;
        const int y = TextBoxFixture::margin + row * f->rowHeight() + f->rowHeight() / 2;
        for (int x = 0; x < shown.width(); ++x)
            highlighted += shown.pixelColor(x, y) == highlight ? 1 : 0;
        QVERIFY2(selected == (highlighted > 0), qPrintable(QStringLiteral("row %1").arg(top + row)));
    }
}

// A line broken above a long wrapped line leaves that line laid out, under its new number.
void TextBoxLongLinesTest::anEditAboveKeepsTheLinesBelowLaidOut()
{
    const QString wrapped = TextBoxFixture::words(0, 80);
    f->setText(QStringLiteral("one\ntwo\n") + wrapped, 1, 1);
    f->box->viewport()->repaint();
    const qsizetype laidOut = f->box->layoutCharacters();
    QCOMPARE(laidOut, 6 + wrapped.size());
    const int rows = f->box->rowsOf(2);
    QVERIFY(rows > 3);
    const int barEnd = f->bar()->maximum();
    f->key(Qt::Key_Return);
    // The first line laid out anew, the others kept.
    QCOMPARE(f->box->layoutCharacters(), 1 + 2 + 3 + wrapped.size());
    f->box->viewport()->repaint();
    QCOMPARE(f->box->rowsOf(3), rows);
    QCOMPARE(f->bar()->maximum(), barEnd + 1);
}

QTEST_MAIN(TextBoxLongLinesTest)
#include "tst_textboxlonglines.moc"
