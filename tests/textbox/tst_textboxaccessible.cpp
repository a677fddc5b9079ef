// What a screen reader learns of the editor's text box and may do with it.

#include "TextBoxFixture.h"
#include "textbox/ui/AccessibleString.h"
#include "support/TestCase.h"

#include <QAccessible>
#include <QAccessibleTextInterface>

namespace {

struct Found
{
    QString text;
    int start = -1;
    int end = -1;
    bool operator==(const Found &other) const = default;
};

QString describe(const Found &found)
{
    return QStringLiteral("\"%1\" %2..%3").arg(found.text).arg(found.start).arg(found.end);
}

char *toString(const Found &found)
{
    return QTest::toString(describe(found));
}

enum class Side { Before, At, After };

Found itemOf(const QAccessibleTextInterface *text, int offset, QAccessible::TextBoundaryType type, Side side)
{
    Found found;
    switch (side) {
    case Side::Before:
        found.text = text->textBeforeOffset(offset, type, &found.start, &found.end);
        break;
    case Side::At:
        found.text = text->textAtOffset(offset, type, &found.start, &found.end);
        break;
    case Side::After:
        found.text = text->textAfterOffset(offset, type, &found.start, &found.end);
        break;
    }
    return found;
}

} // namespace

class TextBoxAccessibleTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<TextBoxFixture> f;

    QAccessibleTextInterface *text()
    {
        QAccessibleInterface *box = QAccessible::queryAccessibleInterface(f->box);
        return box ? box->textInterface() : nullptr;
    }

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        f = TextBoxFixture::shown();
        QVERIFY2(f, "the box's window did not show");
    }
    void cleanup() { f.reset(); }

    void readsTheTextCaretAndSelection();
    void movesTheCaretAndSelects();
    void findsCharactersOnTheScreen();
    void readsByItemsAsInTheWholeText_data();
    void readsByItemsAsInTheWholeText();
    void readsAtTheTextsEnds_data();
    void readsAtTheTextsEnds();
    void readsByRowsAsTheyShow();
    void editsTheText_data();
    void editsTheText();
};

void TextBoxAccessibleTest::readsTheTextCaretAndSelection()
{
    f->setText(QStringLiteral("ab\ncd"), 1, 4);
    QAccessibleInterface *box = QAccessible::queryAccessibleInterface(f->box);
    QVERIFY(box);
    QCOMPARE(box->role(), QAccessible::EditableText);
    QVERIFY(box->state().multiLine);
    QVERIFY(box->state().editable);
    QCOMPARE(box->text(QAccessible::Value), QStringLiteral("ab\ncd"));
    QAccessibleTextInterface *text = box->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), 5);
    QCOMPARE(text->text(1, 4), QStringLiteral("b\nc"));
    // Offsets beyond the text are kept within it.
    QCOMPARE(text->text(-3, 99), QStringLiteral("ab\ncd"));
    QCOMPARE(text->cursorPosition(), 4);
    QCOMPARE(text->selectionCount(), 1);
    int start = -1;
    int end = -1;
    text->selection(0, &start, &end);
    QCOMPARE(start, 1);
    QCOMPARE(end, 4);

    f->box->setReadOnly(true);
    QVERIFY(box->state().readOnly);
    QVERIFY(!box->state().editable);
}

void TextBoxAccessibleTest::movesTheCaretAndSelects()
{
    f->setText(QStringLiteral("one\ntwo\nthree"), 0, 0);
    QAccessibleTextInterface *text = this->text();
    QVERIFY(text);
    text->setCursorPosition(6);
    QCOMPARE(f->box->position(), 6);
    QVERIFY(!f->box->hasSelection());
    text->setSelection(0, 4, 7);
    QCOMPARE(f->box->selectedText(), QStringLiteral("two"));
    // The box has one selection: another takes its place.
    text->addSelection(0, 3);
    QCOMPARE(f->box->selectedText(), QStringLiteral("one"));
    text->removeSelection(0);
    QVERIFY(!f->box->hasSelection());
    QCOMPARE(text->selectionCount(), 0);
}

void TextBoxAccessibleTest::findsCharactersOnTheScreen()
{
    f->setText(QStringLiteral("alpha beta\ngamma"), 0, 0);
    QAccessibleTextInterface *text = this->text();
    QVERIFY(text);
    for (const int offset : {0, 3, 6, 11, 14}) {
        const QRect character = text->characterRect(offset);
        QVERIFY2(character.width() > 0 && character.height() > 0, qPrintable(QString::number(offset)));
        QCOMPARE(text->offsetAtPoint(character.center()), offset);
    }
    // A character further right shows further right; one on the next line, lower.
    QVERIFY(text->characterRect(3).left() > text->characterRect(0).left());
    QVERIFY(text->characterRect(11).top() > text->characterRect(0).top());
    QCOMPARE(text->offsetAtPoint(f->box->mapToGlobal(QPoint(-50, -50))), -1);

    // Far down a long text: the box scrolls there.
    QString lines;
    for (int n = 0; n < 500; ++n)
        lines += QStringLiteral("line %1\n").arg(n);
    f->box->setPlainText(lines);
    const int far = int(f->box->lines().lineStart(400));
    text->scrollToSubstring(far, far + 4);
    QVERIFY(f->bar()->value() > 300);
    QCOMPARE(text->offsetAtPoint(text->characterRect(far).center()), far);
}

void TextBoxAccessibleTest::readsByItemsAsInTheWholeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("words and lines") << "Hello, world!\nsecond line here\nlast";
    QTest::newRow("blank lines and blanks") << "  one\n\n\n   \ntwo  \n\n";
    QTest::newRow("sentences over lines") << "A first one. A second\none goes on. Third?\n\nAnd a fourth.";
    QTest::newRow("pairs and marks") << "a\U0001F600b e\u0301\u0323x\n\U0001F600\n";
    QTest::newRow("a line break first and last") << "\nmiddle\n";
    QTest::newRow("one line") << "just one line";
    QTest::newRow("empty") << "";
}

// Characters, words, sentences and lines (ends and all) are what Qt's own text interface finds
// in the whole text, though the box reads only the lines around the offset.
void TextBoxAccessibleTest::readsByItemsAsInTheWholeText()
{
    QFETCH(QString, text);
    f->setText(text, 0, 0);
    QAccessibleTextInterface *box = this->text();
    QVERIFY(box);
    // Qt's own text interface over the whole text.
    const AccessibleString whole(text);
    const QAccessible::TextBoundaryType types[] = {QAccessible::CharBoundary, QAccessible::WordBoundary,
                                                   QAccessible::SentenceBoundary, QAccessible::ParagraphBoundary,
                                                   QAccessible::NoBoundary};
    for (const QAccessible::TextBoundaryType type : types) {
        for (const Side side : {Side::Before, Side::At, Side::After}) {
            for (int offset = -1; offset <= int(text.size()) + 1; ++offset) {
                const Found found = itemOf(box, offset, type, side);
                // Qt's own search for the word or sentence at the text's very ends may never
                // end: those are checked below instead.
                const bool atAnEnd = offset == 0 || offset == -1 || offset == text.size();
                const bool wordOrSentence = type == QAccessible::WordBoundary || type == QAccessible::SentenceBoundary;
                if (side == Side::At && atAnEnd && wordOrSentence)
                    continue;
                const Found expected = itemOf(&whole, offset, type, side);
                if (!(found == expected)) {
                    const QString where = QStringLiteral("type %1, side %2, offset %3: %4 instead of %5")
                                              .arg(int(type)).arg(int(side)).arg(offset)
                                              .arg(describe(found), describe(expected));
                    QFAIL(qPrintable(where));
                }
            }
        }
    }
}

void TextBoxAccessibleTest::readsAtTheTextsEnds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("start");
    const int word = QAccessible::WordBoundary;
    const int sentence = QAccessible::SentenceBoundary;
    QTest::newRow("a word at the start") << "Hello, world" << word << 0 << "Hello" << 0;
    QTest::newRow("blanks at the start") << "  one two" << word << 0 << "  " << 0;
    QTest::newRow("line breaks at the start") << "\n\none" << word << 0 << "\n\n" << 0;
    QTest::newRow("nothing but blanks and breaks") << " \n \n" << word << 0 << " \n \n" << 0;
    QTest::newRow("a sentence at the start") << "One. Two." << sentence << 0 << "One. " << 0;
    QTest::newRow("after a last word: nothing") << "one two" << word << 7 << "" << 7;
    QTest::newRow("the end as -1") << "one two" << word << -1 << "" << 7;
    QTest::newRow("after blanks at the end: them") << "one  " << word << 5 << "  " << 3;
    QTest::newRow("after the last sentence: nothing") << "One. Two." << sentence << 9 << "" << 9;
}

// Where Qt's own search would go on for ever, the box answers as at any other place.
void TextBoxAccessibleTest::readsAtTheTextsEnds()
{
    QFETCH(QString, text);
    QFETCH(int, type);
    QFETCH(int, offset);
    QFETCH(QString, item);
    QFETCH(int, start);
    f->setText(text, 0, 0);
    QAccessibleTextInterface *box = this->text();
    QVERIFY(box);
    QCOMPARE(itemOf(box, offset, QAccessible::TextBoundaryType(type), Side::At), (Found{item, start, start + int(item.size())}));
}

void TextBoxAccessibleTest::readsByRowsAsTheyShow()
{
    const QString text = TextBoxFixture::words(0, 40) + QStringLiteral("\nshort\n") + TextBoxFixture::words(40, 30);
    f->setText(text, 0, 0);
    QAccessibleTextInterface *box = this->text();
    QVERIFY(box);
    QVERIFY(f->box->rowsOf(0) > 2);
    // Row after row from the start: each as the box shows it, the last of a line with its break.
    QString read;
    int start = -1;
    int end = -1;
    QString row = box->textAtOffset(0, QAccessible::LineBoundary, &start, &end);
    QCOMPARE(start, 0);
    QList<int> starts;
    while (start >= 0) {
        QCOMPARE(row, text.mid(start, end - start));
        const qsizetype line = f->box->lines().lineAt(start);
        const int column = int(start - f->box->lines().lineStart(line));
        const LineLayout::Row shown = f->box->rowOf(line, f->rowInLine(start));
        QCOMPARE(shown.textStart(), column);
        starts << start;
        read += row;
        // Any offset within the row reads that row.
        int atStart = -1;
        int atEnd = -1;
        QCOMPARE(box->textAtOffset((start + end) / 2, QAccessible::LineBoundary, &atStart, &atEnd), row);
        row = box->textAfterOffset(start, QAccessible::LineBoundary, &start, &end);
    }
    QCOMPARE(read, text);
    QCOMPARE(starts.size(), f->box->rowsOf(0) + f->box->rowsOf(1) + f->box->rowsOf(2));
    // And back again, row before row.
    row = box->textAtOffset(-1, QAccessible::LineBoundary, &start, &end);
    for (qsizetype index = starts.size() - 1; index >= 0; --index) {
        QCOMPARE(start, starts.at(index));
        row = box->textBeforeOffset(start, QAccessible::LineBoundary, &start, &end);
    }
    QCOMPARE(start, -1);
    QVERIFY(row.isEmpty());
}

void TextBoxAccessibleTest::editsTheText_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");
    // Over "one\ntwo three".
    QTest::newRow("put in") << "insert" << 4 << 4 << "new " << "one\nnew two three";
    QTest::newRow("put in, with breaks of its own") << "insert" << 3 << 3 << "\r\nA\r" << "one\nA\n\ntwo three";
    QTest::newRow("put in beyond the end") << "insert" << 99 << 99 << "!" << "one\ntwo three!";
    QTest::newRow("deleted") << "delete" << 2 << 5 << "" << "onwo three";
    QTest::newRow("deleted backwards") << "delete" << 5 << 2 << "" << "onwo three";
    QTest::newRow("replaced") << "replace" << 4 << 7 << "2" << "one\n2 three";
}

void TextBoxAccessibleTest::editsTheText()
{
    QFETCH(QString, edit);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, text);
    QFETCH(QString, after);
    const QString before = QStringLiteral("one\ntwo three");
    f->setText(before, 0, 0);
    QAccessibleInterface *box = QAccessible::queryAccessibleInterface(f->box);
    QVERIFY(box);
    QAccessibleEditableTextInterface *editable = box->editableTextInterface();
    QVERIFY(editable);
    const auto apply = [&] {
        if (edit == QLatin1String("insert"))
            editable->insertText(from, text);
        else if (edit == QLatin1String("delete"))
            editable->deleteText(from, to);
        else
            editable->replaceText(from, to, text);
    };
    apply();
    QCOMPARE(f->box->toPlainText(), after);
    // One step to undo, as typed.
    f->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), before);
    // A read-only box takes none.
    f->box->setReadOnly(true);
    apply();
    QCOMPARE(f->box->toPlainText(), before);
}

QTEST_MAIN(TextBoxAccessibleTest)
#include "tst_textboxaccessible.moc"
