// Saving a document read as Windows-1252 once it holds a character Windows-1252 cannot hold:
// Save says which character and line stop it, Save As offers UTF-8, and the close prompt keeps
// the text, on real files with scripted dialogs.

#include "EditorFixture.h"

#include "editor/EditorMessages.h"
#include "support/TestCase.h"

#include <QStringEncoder>

class EditorEncodingTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<EditorFixture> f;

    // latin.txt, bytes that are not UTF-8, loaded, with typed added at the end of its last line.
    void latinDocumentWith(const QString &typed, const QByteArray &lineEnd = "\n")
    {
        const QString path = f->dir.createFile(QStringLiteral("latin.txt"), "caf\xE9" + lineEnd + "na\xEFve" + lineEnd);
        QVERIFY(f->load(path));
        QCOMPARE(f->window()->document().format().encoding, TextEncoding::Windows1252);
        // Put in through the text cursor, as a paste would: a key press carries no half of a
        // character beyond 16 bits.
        f->box()->setCursorPosition(f->box()->characterCount());
        f->box()->insertText(typed);
        QVERIFY(f->changed());
    }

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        f = std::make_unique<EditorFixture>();
    }
    void cleanup()
    {
        QVERIFY(f->dialogs().scriptIsEmpty());
        f.reset();
    }

    void saveNamesTheCharacterAndItsLine_data();
    void saveNamesTheCharacterAndItsLine();
    void saveAsOffersUtf8_data();
    void saveAsOffersUtf8();
    void saveAsOntoItsOwnFileKeepsUtf8();
    void textWindows1252HoldsIsSavedAsBefore();
    void closePromptYesKeepsTheWindowAndTheText();
    void everyTextFileIsSavedAsItWasRead_data();
    void everyTextFileIsSavedAsItWasRead();
};

void EditorEncodingTest::saveNamesTheCharacterAndItsLine_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("named"); // the character and its number as the message shows them
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::newRow("an arrow") << QStringLiteral("\u2192") << QStringLiteral("\"\u2192\" (U+2192)") << 3 << QByteArray("\n");
    QTest::newRow("the first of two") << QStringLiteral("\u4E2D \u2192") << QStringLiteral("\"\u4E2D\" (U+4E2D)") << 3 << QByteArray("\n");
    QTest::newRow("a character beyond 16 bits, whole") << QStringLiteral("ok \U0001F600") << QStringLiteral("\"\U0001F600\" (U+1F600)") << 3 << QByteArray("\n");
    QTest::newRow("lines ending in CR LF") << QStringLiteral("\u2192") << QStringLiteral("\"\u2192\" (U+2192)") << 3 << QByteArray("\r\n");
    QTest::newRow("lines ending in CR") << QStringLiteral("\u2192") << QStringLiteral("\"\u2192\" (U+2192)") << 3 << QByteArray("\r");
}

void EditorEncodingTest::saveNamesTheCharacterAndItsLine()
{
    QFETCH(QString, typed);
    QFETCH(QString, named);
    QFETCH(int, line);
    QFETCH(QByteArray, lineEnd);
    latinDocumentWith(typed, lineEnd);
    f->dialogs().answerMessage(MessageAnswer::Ok);
    QVERIFY(!f->window()->SaveDocument());

    const MessageRequest message = f->dialogs().messages().last();
    QCOMPARE(message.icon, MessageIcon::Exclamation);
    QCOMPARE(message.buttons, MessageButtons::Ok);
    QCOMPARE(message.text, QStringLiteral("Windows-1252 cannot hold the character %1 on line %2, so the file was "
                                          "not saved. Save As can save the text as UTF-8.")
                               .arg(named)
                               .arg(line));
    QCOMPARE(f->dir.read(QStringLiteral("latin.txt")), "caf\xE9" + lineEnd + "na\xEFve" + lineEnd);
    QVERIFY(f->changed());
}

void EditorEncodingTest::saveAsOffersUtf8_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes: saved as UTF-8") << true;
    QTest::newRow("no: nothing saved") << false;
}

void EditorEncodingTest::saveAsOffersUtf8()
{
    QFETCH(bool, yes);
    latinDocumentWith(QStringLiteral(" \u2192 d\u00E9j\u00E0"));
    const QString copy = f->path(QStringLiteral("copy.txt"));
    f->dialogs().answerText(copy);
    f->dialogs().answerMessage(yes ? MessageAnswer::Yes : MessageAnswer::No);
    QCOMPARE(f->window()->mnuFileSaveAs_Click(), yes);

    const MessageRequest question = f->dialogs().messages().last();
    QCOMPARE(question.text, QStringLiteral("Windows-1252 cannot hold the character \"\u2192\" (U+2192) on line 3. "
                                           "Save the file as UTF-8?"));
    QCOMPARE(question.buttons, MessageButtons::YesNo);
    QCOMPARE(f->dialogs().messages().size(), 1);
    QCOMPARE(f->dir.read(QStringLiteral("latin.txt")), QByteArray("caf\xE9\nna\xEFve\n"));
    QCOMPARE(f->changed(), !yes);
    if (!yes) {
        QVERIFY(!f->dir.entries().contains(QStringLiteral("copy.txt")));
        return;
    }
    const QString typedText = QStringLiteral("caf\u00E9\nna\u00EFve\n \u2192 d\u00E9j\u00E0");
    QCOMPARE(f->dir.read(QStringLiteral("copy.txt")), (typedText + QLatin1Char('\n')).toUtf8());
    // Read back, the copy gives the typed text (with the line end the save ended it with).
    QVERIFY(f->load(copy));
    QCOMPARE(f->window()->text(), typedText + QLatin1Char('\n'));
    QCOMPARE(f->window()->document().format().encoding, TextEncoding::Utf8);
}

// Saved as UTF-8 over its own file, the document's file is UTF-8 from then on: a later Save
// neither asks nor fails.
void EditorEncodingTest::saveAsOntoItsOwnFileKeepsUtf8()
{
    latinDocumentWith(QStringLiteral("\u2192"));
    f->dialogs().answerText(f->path(QStringLiteral("latin.txt")));
    f->dialogs().answerMessage(MessageAnswer::Yes);
    QVERIFY(f->window()->mnuFileSaveAs_Click());
    QCOMPARE(f->dir.read(QStringLiteral("latin.txt")), QStringLiteral("caf\u00E9\nna\u00EFve\n\u2192\n").toUtf8());

    f->type(QStringLiteral("\u2190"));
    QVERIFY(f->window()->SaveDocument());
    QCOMPARE(f->dir.read(QStringLiteral("latin.txt")), QStringLiteral("caf\u00E9\nna\u00EFve\n\u2192\u2190\n").toUtf8());
    QCOMPARE(f->dialogs().messages().size(), 1);
}

// A text Windows-1252 can hold is saved in it by Save As too, without a question.
void EditorEncodingTest::textWindows1252HoldsIsSavedAsBefore()
{
    latinDocumentWith(QStringLiteral("\u20AC"));
    f->dialogs().answerText(f->path(QStringLiteral("copy.txt")));
    QVERIFY(f->window()->mnuFileSaveAs_Click());
    QCOMPARE(f->dir.read(QStringLiteral("copy.txt")), QByteArray("caf\xE9\nna\xEFve\n\x80\n"));
    QVERIFY(f->dialogs().messages().isEmpty());
}

// Yes at the close prompt of such a document: the message says what stops the save and the
// window stays open with the text, so Save As can still keep it.
void EditorEncodingTest::closePromptYesKeepsTheWindowAndTheText()
{
    latinDocumentWith(QStringLiteral("\u2192"));
    f->dialogs().answerMessage(MessageAnswer::Yes);
    f->dialogs().answerMessage(MessageAnswer::Ok);
    f->window()->mnuFileExit_Click();
    QVERIFY(f->editor.window().isLoaded());
    QCOMPARE(f->dialogs().messages().size(), 2);
    QCOMPARE(f->dialogs().messages().at(0).title, EditorMessages::saveChangesTitle());
    QVERIFY(f->dialogs().messages().at(1).text.contains(QStringLiteral("\"\u2192\" (U+2192) on line 3")));
    QCOMPARE(f->window()->text(), QStringLiteral("caf\u00E9\nna\u00EFve\n\u2192"));
    QVERIFY(f->changed());

    f->dialogs().answerText(f->path(QStringLiteral("kept.txt")));
    f->dialogs().answerMessage(MessageAnswer::Yes);
    QVERIFY(f->window()->mnuFileSaveAs_Click());
    f->window()->mnuFileExit_Click();
    QVERIFY(!f->editor.window().isLoaded());
    QCOMPARE(f->dir.read(QStringLiteral("kept.txt")), QStringLiteral("caf\u00E9\nna\u00EFve\n\u2192\n").toUtf8());
}

namespace {

QByteArray utf16(const QString &text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

} // namespace

void EditorEncodingTest::everyTextFileIsSavedAsItWasRead_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QString>("text");
    // "\u00E9" typed at the end of line 2.
    QTest::addColumn<QByteArray>("edited");
    // The edited text saved as UTF-8.
    QTest::addColumn<QByteArray>("utf8");
    const QString lines = QStringLiteral("caf\u00E9\r\nna\u00EFve\r\nend\r\n");
    const QString editedLines = QStringLiteral("caf\u00E9\r\nna\u00EFve\u00E9\r\nend\r\n");
    // One stray byte made the whole file Windows-1252 once, every accent two characters.
    QTest::newRow("UTF-8 but for a stray byte")
        << QByteArray("caf\xC3\xA9 \xFF\r\nna\xC3\xAFve\r\nend\r\n") << TextEncoding::Utf8
        << QStringLiteral("caf\u00E9 ") + QChar(0xDCFF) + QStringLiteral("\nna\u00EFve\nend\n")
        << QByteArray("caf\xC3\xA9 \xFF\r\nna\xC3\xAFve\xC3\xA9\r\nend\r\n")
        << QByteArray("caf\xC3\xA9 \xFF\r\nna\xC3\xAFve\xC3\xA9\r\nend\r\n");
    QTest::newRow("UTF-16LE") << utf16(lines, QStringConverter::Utf16LE) << TextEncoding::Utf16LE
                              << QStringLiteral("caf\u00E9\nna\u00EFve\nend\n") << utf16(editedLines, QStringConverter::Utf16LE)
                              << editedLines.toUtf8();
    QTest::newRow("UTF-16BE") << utf16(lines, QStringConverter::Utf16BE) << TextEncoding::Utf16BE
                              << QStringLiteral("caf\u00E9\nna\u00EFve\nend\n") << utf16(editedLines, QStringConverter::Utf16BE)
                              << editedLines.toUtf8();
}

// Read as what it is: the same bytes back unedited, an edit changes only its line's bytes,
// and saved as UTF-8 every character stays itself.
void EditorEncodingTest::everyTextFileIsSavedAsItWasRead()
{
    QFETCH(QByteArray, file);
    QFETCH(TextEncoding, encoding);
    QFETCH(QString, text);
    QFETCH(QByteArray, edited);
    QFETCH(QByteArray, utf8);
    const QString path = f->dir.createFile(QStringLiteral("text.txt"), file);
    QVERIFY(f->load(path));
    QCOMPARE(f->window()->document().format().encoding, encoding);
    QCOMPARE(f->window()->text(), text);
    QVERIFY(f->window()->SaveDocument());
    QCOMPARE(f->dir.read(QStringLiteral("text.txt")).toHex(' '), file.toHex(' '));

    const TextLines &lines = f->box()->lines();
    f->box()->setCursorPosition(lines.lineStart(1) + lines.lineLength(1));
    f->box()->insertText(QStringLiteral("\u00E9"));
    QVERIFY(f->window()->SaveDocument());
    QCOMPARE(f->dir.read(QStringLiteral("text.txt")).toHex(' '), edited.toHex(' '));
    QVERIFY(f->dialogs().messages().isEmpty());

    // Save As keeps a UTF-8 document UTF-8; a UTF-16 one goes out as UTF-8 only when asked.
    const QString copy = f->path(QStringLiteral("copy.txt"));
    if (encoding == TextEncoding::Utf8) {
        f->dialogs().answerText(copy);
        QVERIFY(f->window()->mnuFileSaveAs_Click());
    } else {
        QVERIFY(f->window()->SaveTextFile(copy, TextEncoding::Utf8));
    }
    QCOMPARE(f->dir.read(QStringLiteral("copy.txt")).toHex(' '), utf8.toHex(' '));
    const QString shown = f->window()->text();
    QVERIFY(f->load(copy));
    QCOMPARE(f->window()->text(), shown);
    QCOMPARE(f->window()->document().format().encoding, TextEncoding::Utf8);
    QVERIFY(f->dialogs().messages().isEmpty());
}

QTEST_MAIN(EditorEncodingTest)
#include "tst_editorencoding.moc"
