// Text dragged within the editor's text box, dropped on it from elsewhere, or refused by it.

#include "TextBoxFixture.h"
#include "textbox/TextScan.h"
#include "support/TestCase.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

namespace {

// The box's text as a save would write it, line ends as they are.
QString fileText(const TextBox *box)
{
    return box->lines().fileText(LineEnd::Lf);
}

} // namespace

class TextBoxDragTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<TextBoxFixture> f;

    // A file's bytes in the box, as a load puts them there.
    void load(const QByteArray &bytes)
    {
        TextScan scan;
        scan.add(bytes);
        f->box->setLines(TextLines::fromBytes(bytes, scan.encoding()).lines);
    }
    // Sends a drag of data over the box at position and, when drop, lets it go there; says
    // whether the box took it.
    bool dragOnto(qint64 position, const QString &text, bool drop)
    {
        QMimeData data;
        data.setText(text);
        const QPointF at = f->pointOf(position);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f->box->viewport(), &enter);
        if (!enter.isAccepted() || !drop)
            return enter.isAccepted();
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f->box->viewport(), &dropped);
        return dropped.isAccepted();
    }

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        f = TextBoxFixture::shown();
        QVERIFY2(f, "the box's window did not show");
    }
    void cleanup()
    {
        f.reset();
        // The drags started, which Qt ends later.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void draggingWithinTheBox_data();
    void draggingWithinTheBox();
    void aReadOnlyBoxOffersACopy();
    void movingTheSelection_data();
    void movingTheSelection();
    void textDroppedFromElsewhere();
    void textFromElsewhereOfferedAsAMoveIsCopied();
    void aReadOnlyBoxTakesNoDrop();
    void aClickInTheSelectionWithoutADragPlacesTheCaret();
};

void TextBoxDragTest::draggingWithinTheBox_data()
{
    QTest::addColumn<qint64>("from");
    QTest::addColumn<qint64>("to");
    QTest::addColumn<qint64>("droppedAt");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<QString>("after");
    // Over "one two three".
    QTest::newRow("a word moved on") << 4ll << 8ll << 13ll << false << "one threetwo ";
    QTest::newRow("a word moved back") << 8ll << 13ll << 0ll << false << "threeone two ";
    QTest::newRow("the first word to the end") << 0ll << 4ll << 13ll << false << "two threeone ";
    QTest::newRow("with Ctrl held, copied") << 4ll << 8ll << 13ll << true << "one two threetwo ";
    QTest::newRow("onto itself, nothing") << 4ll << 8ll << 6ll << false << "one two three";
}

// A drag of the selection starts as a move, and the box moves the text when it drops within
// it: QDrag's own loop is the platform's (which offscreen gives up at once), so the drop is
// sent as the platform would send it, with the data the box's drag carries.
void TextBoxDragTest::draggingWithinTheBox()
{
    QFETCH(qint64, from);
    QFETCH(qint64, to);
    QFETCH(qint64, droppedAt);
    QFETCH(bool, ctrl);
    QFETCH(QString, after);
    const QString before = QStringLiteral("one two three");
    f->setText(before, from, to);
    f->box->viewport()->repaint();
    const QPoint inside = f->pointOf(from + 1);
    f->mouse(QEvent::MouseButtonPress, inside, Qt::LeftButton);
    f->mouse(QEvent::MouseMove, inside + QPoint(QApplication::startDragDistance() + 1, 0), Qt::LeftButton);
    auto *drag = f->box->findChild<QDrag *>();
    QVERIFY(drag);
    QCOMPARE(drag->supportedActions(), Qt::CopyAction | Qt::MoveAction);
    QCOMPARE(drag->defaultAction(), Qt::MoveAction);
    const QString dragged = before.mid(from, to - from);
    QCOMPARE(drag->mimeData()->text(), dragged);
    QCOMPARE(f->box->toPlainText(), before);

    const Qt::KeyboardModifiers modifiers = ctrl ? Qt::ControlModifier : Qt::NoModifier;
    const Qt::DropAction wanted = ctrl ? Qt::CopyAction : Qt::MoveAction;
    const QPointF target = f->pointOf(droppedAt) + QPoint(droppedAt == before.size() ? 5 : 1, 0);
    const Qt::DropActions offered = drag->supportedActions();
    QDragEnterEvent enter(target.toPoint(), offered, drag->mimeData(), Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(f->box->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QCOMPARE(enter.dropAction(), wanted);
    QDropEvent dropped(target, offered, drag->mimeData(), Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(f->box->viewport(), &dropped);
    QVERIFY(dropped.isAccepted());
    QCOMPARE(dropped.dropAction(), wanted);
    QCOMPARE(f->box->toPlainText(), after);
    QCOMPARE(f->box->toPlainText().count(dragged), before.count(dragged) + (ctrl ? 1 : 0));
    if (after == before)
        return;
    // One step to undo.
    f->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), before);
    f->key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), after);
}

void TextBoxDragTest::aReadOnlyBoxOffersACopy()
{
    f->setText(QStringLiteral("one two three"), 4, 7);
    f->box->setReadOnly(true);
    f->box->viewport()->repaint();
    const QPoint inside = f->pointOf(5);
    f->mouse(QEvent::MouseButtonPress, inside, Qt::LeftButton);
    f->mouse(QEvent::MouseMove, inside + QPoint(QApplication::startDragDistance() + 1, 0), Qt::LeftButton);
    auto *drag = f->box->findChild<QDrag *>();
    QVERIFY(drag);
    QCOMPARE(drag->supportedActions(), Qt::CopyAction);
    QCOMPARE(drag->mimeData()->text(), QStringLiteral("two"));
    QCOMPARE(f->box->toPlainText(), QStringLiteral("one two three"));
}

void TextBoxDragTest::movingTheSelection_data()
{
    QTest::addColumn<qint64>("anchor");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<qint64>("to");
    QTest::addColumn<QString>("after");
    QTest::addColumn<qint64>("selectedFrom");
    // "one" CR LF "two" LF "three" CR "four": each line keeps its end where it goes.
    QTest::newRow("a letter down the line") << 4ll << 5ll << 7ll << "one\r\nwot\nthree\rfour" << 6ll;
    QTest::newRow("a letter up the line") << 6ll << 7ll << 4ll << "one\r\notw\nthree\rfour" << 4ll;
    QTest::newRow("a line with its break down") << 0ll << 4ll << 14ll << "two\nthree\rone\r\nfour" << 10ll;
    QTest::newRow("two lines with their breaks up") << 4ll << 14ll << 0ll << "two\nthree\rone\r\nfour" << 0ll;
    QTest::newRow("to the very end") << 0ll << 2ll << 18ll << "e\r\ntwo\nthree\rfouron" << 16ll;
    QTest::newRow("onto itself: nothing") << 4ll << 7ll << 5ll << "one\r\ntwo\nthree\rfour" << 4ll;
}

void TextBoxDragTest::movingTheSelection()
{
    QFETCH(qint64, anchor);
    QFETCH(qint64, position);
    QFETCH(qint64, to);
    QFETCH(QString, after);
    QFETCH(qint64, selectedFrom);
    load("one\r\ntwo\nthree\rfour");
    const QString before = fileText(f->box);
    const qint64 length = std::abs(position - anchor);
    f->box->select(anchor, position);
    f->box->moveSelectionTo(to);
    QCOMPARE(fileText(f->box), after);
    // The moved text stays selected where it went.
    QCOMPARE(f->box->selectionStart(), selectedFrom);
    QCOMPARE(f->box->selectionEnd(), selectedFrom + length);
    if (after == before)
        return;
    // One step to undo, which gives every line its own end back, and to redo.
    f->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(fileText(f->box), before);
    f->key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(fileText(f->box), after);
}

void TextBoxDragTest::textDroppedFromElsewhere()
{
    f->setText(QStringLiteral("alpha beta"), 0, 0);
    QVERIFY(dragOnto(6, QStringLiteral("new\r\nlines "), true));
    QCOMPARE(f->box->toPlainText(), QStringLiteral("alpha new\nlines beta"));
    QCOMPARE(f->box->position(), 16);
    QVERIFY(f->box->hasFocus());
    f->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("alpha beta"));
}

void TextBoxDragTest::textFromElsewhereOfferedAsAMoveIsCopied()
{
    // Another program's text: the box takes a copy, and that program keeps its own.
    f->setText(QStringLiteral("alpha beta"), 0, 5);
    QMimeData data;
    data.setText(QStringLiteral("new "));
    const QPointF at = f->pointOf(6);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f->box->viewport(), &enter);
    QCOMPARE(enter.dropAction(), Qt::CopyAction);
    QDropEvent dropped(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f->box->viewport(), &dropped);
    QVERIFY(dropped.isAccepted());
    QCOMPARE(dropped.dropAction(), Qt::CopyAction);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("alpha new beta"));
}

void TextBoxDragTest::aReadOnlyBoxTakesNoDrop()
{
    f->setText(QStringLiteral("alpha beta"), 0, 0);
    f->box->setReadOnly(true);
    QVERIFY(!dragOnto(6, QStringLiteral("dropped"), false));
    QMimeData data;
    data.setText(QStringLiteral("dropped"));
    QDropEvent dropped(QPointF(f->pointOf(6)), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f->box->viewport(), &dropped);
    QCOMPARE(f->box->toPlainText(), QStringLiteral("alpha beta"));
}

void TextBoxDragTest::aClickInTheSelectionWithoutADragPlacesTheCaret()
{
    f->setText(QStringLiteral("alpha beta gamma"), 0, 16);
    const QPoint inside = f->pointOf(8);
    f->mouse(QEvent::MouseButtonPress, inside, Qt::LeftButton);
    // Pressed in the selection: it stays until the button is let go, as a drag may begin.
    QVERIFY(f->box->hasSelection());
    f->mouse(QEvent::MouseButtonRelease, inside, Qt::NoButton);
    QVERIFY(!f->box->hasSelection());
    QCOMPARE(f->box->position(), 8);
}

QTEST_MAIN(TextBoxDragTest)
#include "tst_textboxdrag.moc"
