// What a screen reader learns of the editor's text box and may do with it.

#include "TextBoxFixture.h"
#include "support/TestCase.h"

#include <QAccessible>
#include <QAccessibleTextInterface>

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

QTEST_MAIN(TextBoxAccessibleTest)
#include "tst_textboxaccessible.moc"
