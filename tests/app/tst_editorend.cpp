// The program's end offers the editor's unsaved text for saving first.

#include "FormFixture.h"

#include "editor/TextEditor.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include "textbox/ui/TextBox.h"
#include <QTest>

Q_DECLARE_METATYPE(MessageAnswer)

class EditorEndTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<FormFixture> f;
    TestDir dir;

    void changeEditorText()
    {
        Textpad *textpad = f->form->editor().show();
        textpad->StartNewDocument();
        textpad->txtNote()->insertText(u"unsaved");
        QVERIFY(f->form->editor().state().textChanged);
    }

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); f = std::make_unique<FormFixture>(); }
    void cleanup()
    {
        QVERIFY(f->services.dialogs.scriptIsEmpty());
        f.reset();
    }

    void endWays_data();
    void endWays();
    void noQuestionWithoutChangedText();
};

void EditorEndTest::endWays_data()
{
    QTest::addColumn<bool>("byExit");
    QTest::addColumn<MessageAnswer>("saveAnswer");
    QTest::addColumn<QString>("saveName"); // "" cancels the save dialog, "-" fails the save
    QTest::addColumn<bool>("ends");
    for (const bool byExit : {true, false}) {
        const char *way = byExit ? "Exit" : "close box, Yes";
        QTest::addRow("%s, No: the text goes", way) << byExit << MessageAnswer::No << QString() << true;
        QTest::addRow("%s, Yes and saved", way) << byExit << MessageAnswer::Yes << "saved.txt" << true;
        QTest::addRow("%s, Yes then Cancel keeps running", way) << byExit << MessageAnswer::Yes << QString() << false;
        QTest::addRow("%s, Yes then a failed save keeps running", way) << byExit << MessageAnswer::Yes << "-" << false;
    }
}

void EditorEndTest::endWays()
{
    QFETCH(bool, byExit);
    QFETCH(MessageAnswer, saveAnswer);
    QFETCH(QString, saveName);
    QFETCH(bool, ends);
    changeEditorText();
    ScriptedDialogs &dialogs = f->services.dialogs;
    if (!byExit)
        dialogs.answerMessage(MessageAnswer::Yes); // "Exit Panoptra?"
    dialogs.answerMessage(saveAnswer);
    if (saveAnswer == MessageAnswer::Yes) {
        if (saveName.isEmpty()) {
            dialogs.answerText(std::nullopt);
        } else if (saveName == QLatin1String("-")) {
            dialogs.answerText(dir.filePath(QStringLiteral("missing/saved.txt")));
            dialogs.answerMessage(MessageAnswer::Ok);
        } else {
            dialogs.answerText(dir.filePath(saveName));
        }
    }

    if (byExit)
        f->form->mnuExit_Click();
    else
        f->form->close();

    QCOMPARE(f->services.programEnd.endCalls, ends ? 1 : 0);
    QVERIFY(dialogs.messageTexts().contains(QStringLiteral("Save changes to New?")));
    if (saveName == QLatin1String("saved.txt"))
        QCOMPARE(dir.read(saveName), QByteArray("unsaved\n"));
    if (!ends)
        QCOMPARE(f->form->editor().window().ifLoaded()->text(), QStringLiteral("unsaved"));
}

void EditorEndTest::noQuestionWithoutChangedText()
{
    f->form->editor().show();
    f->form->mnuExit_Click();
    QCOMPARE(f->services.programEnd.endCalls, 1);
    QVERIFY(f->services.dialogs.messages().isEmpty());
}

QTEST_MAIN(EditorEndTest)
#include "tst_editorend.moc"
