// Find and Find Next in the editor window, with the find dialog.

#include "EditorFixture.h"

#include "editor/frmFind.h"
#include "platform/ui/MenuTree.h"
#include "support/TestCase.h"

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

class EditorFindTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<EditorFixture> f;

    Textpad *withText(const QString &text, int caret)
    {
        Textpad *textpad = f->window();
        textpad->txtNote()->setPlainText(text);
        f->editor.state().textChanged = false;
        f->select(caret, 0);
        return textpad;
    }
    frmFind *dialog() { return f->window()->findDialog().ifLoaded(); }
    QPair<int, int> selection()
    {
        return {int(f->box()->selectionStart()), int(f->box()->selectionEnd())};
    }
    FindState &state() { return f->editor.state().find; }

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); f = std::make_unique<EditorFixture>(); }
    void cleanup()
    {
        QVERIFY(f->dialogs().scriptIsEmpty());
        f.reset();
    }

    void theDialog();
    void findThreeTimesDown();
    void upFromTheEndAndFromTheStart();
    void caseOnAndOff_data();
    void caseOnAndOff();
    void freshSearchFindsTheMatchAtTheCaret();
    void findTakesTheSelectionOrTheLastText();
    void cancelKeepsTheTextForFindNext();
    void findNextBeforeAnyFindOpensTheDialog();
    void directionLastChosenComesBackButTheWindowLoadResetsIt();
};

void EditorFindTest::theDialog()
{
    withText(QStringLiteral("abc"), 0);
    f->window()->mnuSearchFind_Click();
    frmFind *find = dialog();
    QVERIFY(find && find->isVisible());
    QCOMPARE(find->windowTitle(), QStringLiteral("Find"));
    QCOMPARE(find->windowModality(), Qt::ApplicationModal);
    QCOMPARE(find->size(), QSize(330, 93));
    QCOMPARE(find->y(), 30);
    QCOMPARE(find->x(), QGuiApplication::primaryScreen()->geometry().width() / 2 - find->width() / 2);
    QVERIFY(find->txtFind()->text().isEmpty());
    QVERIFY(!find->cmdFind()->isEnabled());
    QVERIFY(find->cmdFind()->isDefault());
    QVERIFY(!find->chkCase()->isChecked());
    QVERIFY(find->optDirection(1)->isChecked());
    QCOMPARE(find->optDirection(0)->text(), QStringLiteral("&Up"));
    QCOMPARE(find->cmdcancel()->toolTip(), QStringLiteral("Return to Notepad"));

    QTest::keyClicks(find->txtFind(), QStringLiteral("b"));
    QVERIFY(find->cmdFind()->isEnabled());
    // Enter presses "Find".
    QTest::keyClick(find->txtFind(), Qt::Key_Return);
    QCOMPARE(selection(), qMakePair(1, 2));
    // Esc is "Cancel".
    QTest::keyClick(find->txtFind(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!dialog());
}

void EditorFindTest::findThreeTimesDown()
{
    withText(QStringLiteral("abcabc"), 0);
    f->window()->mnuSearchFind_Click();
    dialog()->txtFind()->setText(QStringLiteral("abc"));
    dialog()->cmdFind()->click();
    QCOMPARE(selection(), qMakePair(0, 3));
    dialog()->cmdFind()->click();
    QCOMPARE(selection(), qMakePair(3, 6));
    f->dialogs().answerMessage(MessageAnswer::Ok);
    dialog()->cmdFind()->click();
    QCOMPARE(selection(), qMakePair(3, 6));
    const MessageRequest message = f->dialogs().messages().last();
    QCOMPARE(message.text, QStringLiteral("Cannot find \"abc\""));
    QCOMPARE(message.title, QStringLiteral("Panoptra"));
    QCOMPARE(message.icon, MessageIcon::None);
    QVERIFY(!f->changed());
}

void EditorFindTest::upFromTheEndAndFromTheStart()
{
    withText(QStringLiteral("abcabc"), 6);
    f->window()->mnuSearchFind_Click();
    dialog()->optDirection(0)->click();
    QCOMPARE(state().FindDirection, 0);
    dialog()->txtFind()->setText(QStringLiteral("c"));
    dialog()->cmdFind()->click();
    QCOMPARE(selection(), qMakePair(5, 6));
    f->window()->mnuSearchFindNext_Click();
    QCOMPARE(selection(), qMakePair(2, 3));
    f->dialogs().answerMessage(MessageAnswer::Ok);
    f->window()->mnuSearchFindNext_Click();
    QCOMPARE(selection(), qMakePair(2, 3));

    f->select(0, 0);
    f->dialogs().answerMessage(MessageAnswer::Ok);
    f->window()->mnuSearchFindNext_Click();
    QCOMPARE(selection(), qMakePair(0, 0));
    QCOMPARE(f->dialogs().messages().size(), 2);
}

void EditorFindTest::caseOnAndOff_data()
{
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QList<int>>("matches");
    QTest::newRow("case ignored") << false << QList<int>{0, 4, 8};
    QTest::newRow("case matched") << true << QList<int>{8};
}

void EditorFindTest::caseOnAndOff()
{
    QFETCH(bool, matchCase);
    QFETCH(QList<int>, matches);
    withText(QStringLiteral("abc aBc ABC"), 0);
    f->window()->mnuSearchFind_Click();
    dialog()->txtFind()->setText(QStringLiteral("ABC"));
    dialog()->chkCase()->setChecked(matchCase);
    QCOMPARE(state().FindMatchCase, matchCase);
    for (const int match : matches) {
        dialog()->cmdFind()->click();
        QCOMPARE(selection().first, match);
    }
    f->dialogs().answerMessage(MessageAnswer::Ok);
    dialog()->cmdFind()->click();
    QCOMPARE(f->dialogs().messageTexts(), QStringList{QStringLiteral("Cannot find \"ABC\"")});
}

void EditorFindTest::freshSearchFindsTheMatchAtTheCaret()
{
    withText(QStringLiteral("xx needle xx needle"), 3);
    f->window()->mnuSearchFind_Click();
    dialog()->txtFind()->setText(QStringLiteral("needle"));
    dialog()->cmdFind()->click();
    QCOMPARE(selection(), qMakePair(3, 9));
    // A repeated search moves on from the match it selected.
    dialog()->cmdFind()->click();
    QCOMPARE(selection(), qMakePair(13, 19));
}

void EditorFindTest::findTakesTheSelectionOrTheLastText()
{
    withText(QStringLiteral("one two one"), 0);
    f->select(4, 3);
    f->window()->mnuSearchFind_Click();
    QCOMPARE(dialog()->txtFind()->text(), QStringLiteral("two"));
    QVERIFY(dialog()->cmdFind()->isEnabled());
    dialog()->cmdcancel()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    f->select(0, 0);
    f->window()->mnuSearchFind_Click();
    QCOMPARE(dialog()->txtFind()->text(), QStringLiteral("two"));
    dialog()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!dialog());

    state().FindWhat.clear();
    f->window()->mnuSearchFind_Click();
    QVERIFY(dialog()->txtFind()->text().isEmpty());
    QVERIFY(!dialog()->cmdFind()->isEnabled());
}

void EditorFindTest::cancelKeepsTheTextForFindNext()
{
    withText(QStringLiteral("alpha beta"), 0);
    f->window()->mnuSearchFind_Click();
    dialog()->txtFind()->setText(QStringLiteral("BETA"));
    dialog()->chkCase()->setChecked(false);
    dialog()->cmdcancel()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!dialog());
    QCOMPARE(state().FindWhat, QStringLiteral("BETA"));
    // F3 reaches Find Next from the text box.
    f->window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f->window()));
    QTest::keyClick(f->box(), Qt::Key_F3);
    QCOMPARE(selection(), qMakePair(6, 10));
    QVERIFY(!dialog());
}

void EditorFindTest::findNextBeforeAnyFindOpensTheDialog()
{
    withText(QStringLiteral("text"), 0);
    f->window()->menus().action(QStringLiteral("mnuSearchFindNext"))->trigger();
    QVERIFY(dialog() && dialog()->isVisible());
    QVERIFY(state().FindFresh);
}

void EditorFindTest::directionLastChosenComesBackButTheWindowLoadResetsIt()
{
    withText(QStringLiteral("text"), 0);
    f->window()->mnuSearchFind_Click();
    dialog()->optDirection(0)->click();
    dialog()->cmdcancel()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    f->window()->mnuSearchFind_Click();
    QVERIFY(dialog()->optDirection(0)->isChecked());
    dialog()->cmdcancel()->click();

    f->window()->mnuFileExit_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(state().FindDirection, 0);
    f->window();
    QCOMPARE(state().FindDirection, 1);
    QCOMPARE(state().FindWhat, QString());
}

QTEST_MAIN(EditorFindTest)
#include "tst_editorfind.moc"
