// The editor's text box and an input method: the text it replaces around the caret, the caret
// and looks of the text it is composing, and the selection it asks for.

#include "TextBoxFixture.h"
#include "support/TestCase.h"

#include <QImage>
#include <QTextCharFormat>

namespace {

using Attributes = QList<QInputMethodEvent::Attribute>;

QInputMethodEvent::Attribute caretAt(int at, bool shown = true)
{
    return {QInputMethodEvent::Cursor, at, shown ? 1 : 0, QVariant()};
}

QInputMethodEvent::Attribute underlined(int start, int length, QTextCharFormat::UnderlineStyle style)
{
    QTextCharFormat format;
    format.setUnderlineStyle(style);
    return {QInputMethodEvent::TextFormat, start, length, format};
}

} // namespace

class TextBoxInputMethodTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<TextBoxFixture> f;

    void compose(const QString &preedit, const Attributes &attributes)
    {
        QInputMethodEvent event(preedit, attributes);
        QCoreApplication::sendEvent(f->box, &event);
    }
    QImage shown() const { return f->box->viewport()->grab().toImage(); }
    // The dark pixels of the first row.
    int inkOfFirstRow() const
    {
        const QImage image = shown();
        int ink = 0;
        for (int y = TextBoxFixture::margin; y < TextBoxFixture::margin + f->rowHeight(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        }
        return ink;
    }

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        f = TextBoxFixture::shown();
        QVERIFY2(f, "the box's window did not show");
    }
    void cleanup() { f.reset(); }

    void aCommitReplacesTheRangeItNames_data();
    void aCommitReplacesTheRangeItNames();
    void theCaretStandsWithinTheComposedText();
    void theComposedTextShowsAsTheInputMethodSays();
    void theInputMethodSelects();
    void aClickEndsTheComposing();
};

void TextBoxInputMethodTest::aCommitReplacesTheRangeItNames_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("anchor");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<QString>("commit");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("after");
    QTest::addColumn<qint64>("caret");
    QTest::newRow("before the caret") << "hello wrld" << 8ll << 8ll << "wor" << -2 << 2 << "hello world" << 9ll;
    QTest::newRow("after the caret") << "hello wrld" << 6ll << 6ll << "world" << 0 << 4 << "hello world" << 11ll;
    QTest::newRow("around the caret") << "one tow three" << 6ll << 6ll << "two" << -2 << 3 << "one two three" << 7ll;
    QTest::newRow("nothing committed: a deletion") << "abcdef" << 3ll << 3ll << "" << -1 << 2 << "abef" << 2ll;
    QTest::newRow("no range: put in at the caret") << "abef" << 2ll << 2ll << "cd" << 0 << 0 << "abcdef" << 4ll;
    QTest::newRow("kept within the caret's line") << "ab\ncd\nef" << 4ll << 4ll << "X" << -5 << 9 << "ab\nX\nef" << 4ll;
    QTest::newRow("over a selection") << "hello world" << 0ll << 5ll << "HI" << 0 << 0 << "HI world" << 2ll;
    QTest::newRow("from the line's start")
        << "ab\ncd" << 5ll << 5ll << "\u4F60" << -2 << 2 << "ab\n\u4F60" << 4ll;
}

void TextBoxInputMethodTest::aCommitReplacesTheRangeItNames()
{
    QFETCH(QString, text);
    QFETCH(qint64, anchor);
    QFETCH(qint64, position);
    QFETCH(QString, commit);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, after);
    QFETCH(qint64, caret);
    f->setText(text, anchor, position);
    QInputMethodEvent event;
    event.setCommitString(commit, start, length);
    QCoreApplication::sendEvent(f->box, &event);
    QCOMPARE(f->box->toPlainText(), after);
    QCOMPARE(f->box->position(), caret);
    QVERIFY(!f->box->hasSelection());
    // One step to undo.
    f->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), text);
}

void TextBoxInputMethodTest::theCaretStandsWithinTheComposedText()
{
    f->setText(QStringLiteral("ab\ncd"), 1, 1);
    // "wxyz" composed after the "a", the input method's caret after its "wx".
    compose(QStringLiteral("wxyz"), {caretAt(2)});
    QCOMPARE(f->box->toPlainText(), QStringLiteral("ab\ncd"));
    QCOMPARE(f->box->position(), 1);
    const QRect composing = static_cast<QWidget *>(f->box)->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    // Where the caret stands once the text is the line's own, between its "x" and "y".
    QInputMethodEvent committed;
    committed.setCommitString(QStringLiteral("wxyz"));
    QCoreApplication::sendEvent(f->box, &committed);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("awxyzb\ncd"));
    QCOMPARE(composing, f->box->cursorRect(3));
    QVERIFY(composing.x() > f->box->cursorRect(1).x());
    QVERIFY(composing.x() < f->box->cursorRect(5).x());
}

void TextBoxInputMethodTest::theComposedTextShowsAsTheInputMethodSays()
{
    f->setText(QStringLiteral("ab"), 2, 2);
    // The caret hidden each time, as an input method may ask, so that it does not blink in.
    compose(QStringLiteral("wxyz"), {caretAt(4, false)});
    const QImage plain = shown();
    const int plainInk = inkOfFirstRow();
    compose(QStringLiteral("wxyz"), {caretAt(4, false), underlined(0, 4, QTextCharFormat::SingleUnderline)});
    const QImage single = shown();
    QVERIFY(single != plain);
    QVERIFY(inkOfFirstRow() > plainInk);
    compose(QStringLiteral("wxyz"), {caretAt(4, false), underlined(0, 4, QTextCharFormat::WaveUnderline)});
    QVERIFY(shown() != single);
    QVERIFY(shown() != plain);
    // Looks over a part of it, the rest plain.
    compose(QStringLiteral("wxyz"), {caretAt(4, false), underlined(2, 2, QTextCharFormat::SingleUnderline)});
    QVERIFY(shown() != single);
    QVERIFY(inkOfFirstRow() > plainInk);
    // And the caret shows when not hidden.
    f->box->setCursorPosition(2);
    compose(QStringLiteral("wxyz"), {caretAt(4)});
    QVERIFY(shown() != plain);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("ab"));
}

void TextBoxInputMethodTest::theInputMethodSelects()
{
    // Counted from the start of the caret's line, the text the input method was told of.
    f->setText(QStringLiteral("one\ntwo three"), 6, 6);
    QCOMPARE(static_cast<QWidget *>(f->box)->inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("two three"));
    compose(QString(), {{QInputMethodEvent::Selection, 4, 5, QVariant()}});
    QCOMPARE(f->box->selectedText(), QStringLiteral("three"));
    QCOMPARE(f->box->anchor(), 8);
    QCOMPARE(f->box->position(), 13);
}

void TextBoxInputMethodTest::aClickEndsTheComposing()
{
    f->setText(QStringLiteral("abcdef"), 1, 1);
    f->box->viewport()->repaint();
    const QPoint atE = f->pointOf(4) + QPoint(1, 0);
    compose(QStringLiteral("wxyz"), {});
    // The input method here commits nothing: what it was composing goes, and the click lands
    // where the line's own text shows.
    f->click(atE);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("abcdef"));
    QCOMPARE(f->box->position(), 4);
    QCOMPARE(f->box->rowOf(0, 0).textLength(), 6);
}

QTEST_MAIN(TextBoxInputMethodTest)
#include "tst_textboxinputmethod.moc"
