// The editor's document: loading, saving, the save prompts and the window's load, on real files.

#include "EditorFixture.h"

#include "editor/EditorMessages.h"
#include "platform/FileErrors.h"
#include "platform/PathCodec.h"
#include "support/TestCase.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The names in a folder as bytes (QDir cannot show names that are not UTF-8).
QList<QByteArray> rawEntries(const QString &folder)
{
    QList<QByteArray> names;
    if (DIR *dir = ::opendir(PathCodec::encode(folder).constData())) {
        while (const dirent *entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names << name;
        }
        ::closedir(dir);
    }
    return names;
}

void setMode(const QString &path, mode_t mode)
{
    QVERIFY(::chmod(PathCodec::encode(path).constData(), mode) == 0);
}

// What a command does when the document is changed and the user answers the prompt.
enum class Command { New, Close, OutsideLoad };
enum class Answer { No, YesSaved, YesThenCancel, YesThenFailingSave };

} // namespace

Q_DECLARE_METATYPE(Command)
Q_DECLARE_METATYPE(Answer)

class EditorDocumentTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<EditorFixture> f;

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); f = std::make_unique<EditorFixture>(); }
    void cleanup();

    void windowLoad();
    void loadingWhileOpenKeepsTheWindow();
    void loadShowsThePathInUpperCase();
    void unchangedLoadAndSaveGiveTheSameBytes_data();
    void unchangedLoadAndSaveGiveTheSameBytes();
    void anEditChangesOnlyTheLinesItTouches_data();
    void anEditChangesOnlyTheLinesItTouches();
    void loadThatCannotReadChangesNothing_data();
    void loadThatCannotReadChangesNothing();
    void saveWritesTheRealFileNotTheCaption();
    void namesThatAreNotUtf8LoadAndSaveTheSameFile();
    void prompts_data();
    void prompts();
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
    void textTheEncodingCannotHoldIsNotSaved();
    void untitledSaveAsksEachTimeAndStaysNew();
    void saveAsOfANamedDocumentWritesACopy();
    void saveAsOfAnUntitledDocumentTakesTheName();
    void theDesignCaptionCountsAsUntitled();
    void unchangedDocumentClosesWithoutAsking();
    void undoBackToTheSavedTextLeavesItUnchanged();
};

void EditorDocumentTest::cleanup()
{
    QVERIFY2(f->dialogs().scriptIsEmpty(), "a scripted answer was not asked for");
    f.reset();
}

void EditorDocumentTest::windowLoad()
{
    f->editor.state().textChanged = true;
    QDir::setCurrent(f->dir.path());
    Textpad *textpad = f->window();
    QVERIFY(textpad->isVisible());
    QCOMPARE(textpad->windowTitle(), QStringLiteral("TextPad "));
    QVERIFY(textpad->txtNote()->toPlainText().isEmpty());
    QVERIFY(!f->changed());
    // The program's folder becomes the current folder, which the drive lists open at.
    QCOMPARE(QDir::currentPath(), QCoreApplication::applicationDirPath());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(textpad->pos(), QPoint(screen.width() / 2 - textpad->width() / 2,
                                    screen.height() / 2 - textpad->height() / 2));
}

void EditorDocumentTest::loadingWhileOpenKeepsTheWindow()
{
    const QString a = f->dir.createFile(QStringLiteral("a.txt"), "first");
    const QString b = f->dir.createFile(QStringLiteral("b.txt"), "second");
    QVERIFY(f->load(a));
    Textpad *textpad = f->window();
    textpad->move(10, 20);
    const QPoint placed = textpad->pos();

    QVERIFY(f->load(b));
    QCOMPARE(f->window(), textpad);
    QCOMPARE(textpad->pos(), placed);
    QCOMPARE(textpad->text(), QStringLiteral("second"));
}

void EditorDocumentTest::loadShowsThePathInUpperCase()
{
    const QString path = f->dir.createFile(QStringLiteral("docs/Readme.txt"), "line 1\r\nline 2\r\n");
    f->untitledWith(QStringLiteral("dropped"));
    // Loading into a changed document asks first; No drops the text.
    f->dialogs().answerMessage(MessageAnswer::No);
    QVERIFY(f->load(path));
    QCOMPARE(f->window()->windowTitle(), path.toUpper());
    QCOMPARE(f->window()->document().path(), path);
    QCOMPARE(f->window()->text(), QStringLiteral("line 1\nline 2\n"));
    QVERIFY(!f->changed());
}

void EditorDocumentTest::unchangedLoadAndSaveGiveTheSameBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("UTF-8") << QByteArray("K\xC3\xA4se \xE2\x82\xAC \xF0\x9F\x98\x80\n");
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF" "a\r\nb\r\n");
    QTest::newRow("Windows-1252 0x80-0xFF") << [] {
        QByteArray bytes;
        for (int b = 0x80; b <= 0xFF; ++b)
            bytes.append(char(b));
        return bytes;
    }();
    QTest::newRow("1252 with 0x81 0x8D 0xA0") << QByteArray("x\x81y\x8Dz\xA0!\r\n");
    QTest::newRow("no-break space in UTF-8") << QByteArray("a\xC2\xA0" "b\xC2\xA0\n");
    QTest::newRow("CR LF") << QByteArray("one\r\ntwo\r\n\r\n");
    QTest::newRow("LF") << QByteArray("one\ntwo\n\n");
    QTest::newRow("CR") << QByteArray("one\rtwo\r");
    QTest::newRow("mixed CR LF and LF") << QByteArray("a\r\nb\nc\r\n");
    QTest::newRow("lone CR in an LF file") << QByteArray("a\nb\rc\n");
    QTest::newRow("every kind of end") << QByteArray("a\r\nb\nc\rd\n\re\r\n");
    QTest::newRow("U+2029 and U+2028 in UTF-8") << QByteArray("one\xE2\x80\xA9two\xE2\x80\xA8three\n");
    QTest::newRow("U+FDD0 and U+FDD1") << QByteArray("a\xEF\xB7\x90" "b\xEF\xB7\x91" "c\n");
    QTest::newRow("NUL byte") << QByteArray("before\0after\n", 13);
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("no line end at the end") << QByteArray("last line");
    QTest::newRow("no line end after mixed ends") << QByteArray("a\rb\r\nc");
    // The load hands the text over in slices of 256 KiB: a CR LF and a character cut between
    // two of them, and a CR at the end of the first 1 MiB read.
    QTest::newRow("a file of many slices") << [] {
        QByteArray bytes(256 * 1024 - 1, 'x');
        bytes += "\r\n";
        bytes += QByteArray(256 * 1024 - 2, 'y') + "\xC3\xA9";
        bytes += QByteArray(1024 * 1024 - bytes.size() - 1, 'z') + "\r";
        for (int line = 0; line < 20000; ++line)
            bytes += QByteArray("line ") + QByteArray::number(line) + (line % 3 ? "\n" : line % 2 ? "\r" : "\r\n");
        return bytes;
    }();
}

void EditorDocumentTest::unchangedLoadAndSaveGiveTheSameBytes()
{
    QFETCH(QByteArray, bytes);
    const QString path = f->dir.createFile(QStringLiteral("file.txt"), bytes);
    QVERIFY(f->load(path));
    QVERIFY(!f->changed());
    f->window()->mnuFileSave_Click();
    QCOMPARE(f->dir.read(QStringLiteral("file.txt")).toHex(' '), bytes.toHex(' '));
    // And again: nothing grows.
    f->window()->mnuFileSave_Click();
    QCOMPARE(f->dir.read(QStringLiteral("file.txt")).toHex(' '), bytes.toHex(' '));
    QVERIFY(f->dialogs().messages().isEmpty());
}

void EditorDocumentTest::anEditChangesOnlyTheLinesItTouches_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QByteArray>("saved");
    // Lines 1 to 4 end in CR LF, LF, CR and CR LF: CR LF is the file's main line end.
    QTest::newRow("a letter typed in line 2") << "type" << QByteArray("one\r\ntwo!\nthree\rfour\r\n");
    QTest::newRow("Enter in line 2") << "enter" << QByteArray("one\r\ntw\r\no\nthree\rfour\r\n");
    QTest::newRow("Delete at the end of line 2") << "delete" << QByteArray("one\r\ntwothree\rfour\r\n");
    QTest::newRow("two lines pasted into line 2") << "paste" << QByteArray("one\r\ntwo[\r\n]\nthree\rfour\r\n");
}

// Through the window, as the user edits and saves.
void EditorDocumentTest::anEditChangesOnlyTheLinesItTouches()
{
    QFETCH(QString, edit);
    QFETCH(QByteArray, saved);
    const QString path = f->dir.createFile(QStringLiteral("mixed.txt"), "one\r\ntwo\nthree\rfour\r\n");
    QVERIFY(f->load(path));
    const TextLines &lines = f->box()->lines();
    const qint64 line2End = lines.lineStart(1) + lines.lineLength(1);
    f->box()->setCursorPosition(edit == QLatin1String("enter") ? line2End - 1 : line2End);
    f->box()->setFocus();
    if (edit == QLatin1String("type")) {
        QTest::keyClick(f->box(), Qt::Key_Exclam, Qt::NoModifier);
    } else if (edit == QLatin1String("enter")) {
        QTest::keyClick(f->box(), Qt::Key_Return);
    } else if (edit == QLatin1String("delete")) {
        f->window()->edit().deleteSelection();
    } else {
        f->services.clipboard.setText(QStringLiteral("[\r\n]"));
        f->window()->edit().PasteClipboardText();
    }
    QVERIFY(f->changed());
    f->window()->mnuFileSave_Click();
    QCOMPARE(f->dir.read(QStringLiteral("mixed.txt")), saved);
}

void EditorDocumentTest::loadThatCannotReadChangesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    // A name that is no file passes silently; a file that cannot be read says why.
    QTest::newRow("missing file") << "gone.txt" << QString();
    QTest::newRow("folder") << "folder" << QString();
    const QString access = EditorMessages::readFailed(FileErrors::PathFileAccess);
    QTest::newRow("pipe named notes.txt") << "notes.txt" << access;
    QTest::newRow("a device, /dev/zero") << "/dev/zero" << access;
    QTest::newRow("a file this user may not read") << "secret.txt" << access;
    const QString tooLarge = EditorMessages::fileTooLarge(TextDocument::maxFileSize, TextDocument::maxLines);
    QTest::newRow("larger than 256 MiB") << "huge.txt" << tooLarge;
    QTest::newRow("one line more than the limit") << "lines.txt" << tooLarge;
    QTest::newRow("20 MiB of line ends") << "breaks.txt" << tooLarge;
}

void EditorDocumentTest::loadThatCannotReadChangesNothing()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    f->dir.createDir(QStringLiteral("folder"));
    QVERIFY(::mkfifo(PathCodec::encode(f->path(QStringLiteral("notes.txt"))).constData(), 0644) == 0);
    // Sparse: it takes no room on the disk.
    const QString huge = f->dir.createFile(QStringLiteral("huge.txt"), QByteArray());
    QVERIFY(::truncate(PathCodec::encode(huge).constData(), (qint64(256) << 20) + 1) == 0);
    f->dir.createFile(QStringLiteral("lines.txt"), QByteArray(TextDocument::maxLines, '\n'));
    f->dir.createFile(QStringLiteral("breaks.txt"), QByteArray(20 << 20, '\n'));
    const QString secret = f->dir.createFile(QStringLiteral("secret.txt"), "secret");
    setMode(secret, 0);
    // Root reads any file: the refusal comes from the file services' double then.
    if (::geteuid() == 0)
        f->services.files.readErrors.insert(secret, FileErrors::PathFileAccess);
    const QString path = f->dir.createFile(QStringLiteral("kept.txt"), "kept");
    QVERIFY(f->load(path));
    f->type(QStringLiteral(" and typed"));
    if (!message.isEmpty())
        f->dialogs().answerMessage(MessageAnswer::Ok);

    QVERIFY(!loadAndWait(*f->window(), name.startsWith(QLatin1Char('/')) ? name : f->path(name)));
    QCOMPARE(f->window()->text(), QStringLiteral("kept and typed"));
    QCOMPARE(f->window()->windowTitle(), path.toUpper());
    QCOMPARE(f->window()->document().path(), path);
    QVERIFY(f->changed());
    QCOMPARE(f->dialogs().messageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    // The box holds its own text again, and takes edits.
    QVERIFY(!f->box()->isReadOnly());
    f->type(QStringLiteral("!"));
    QCOMPARE(f->window()->text(), QStringLiteral("kept and typed!"));
}

void EditorDocumentTest::saveWritesTheRealFileNotTheCaption()
{
    const QString path = f->dir.createFile(QStringLiteral("Notes.txt"), "old\n");
    QVERIFY(f->load(path));
    f->type(QStringLiteral("more"));
    QVERIFY(f->changed());
    f->window()->mnuFileSave_Click();
    QVERIFY(!f->changed());
    QCOMPARE(f->dir.read(QStringLiteral("Notes.txt")), QByteArray("old\nmore\n"));
    QCOMPARE(f->dir.entries(), QStringList{QStringLiteral("Notes.txt")});
}

void EditorDocumentTest::namesThatAreNotUtf8LoadAndSaveTheSameFile()
{
    const QByteArray raw = f->dir.path().toUtf8() + "/r\xE9sum\xE9.txt";
    const QString path = PathCodec::decode(raw);
    QVERIFY(f->services.realFiles.writeFile(path, "caf\xE9\r\n") == 0);
    QVERIFY(f->load(path));
    QCOMPARE(f->window()->text(), QStringLiteral("caf\u00E9\n"));
    f->type(QStringLiteral("!"));
    f->window()->mnuFileSave_Click();
    QCOMPARE(f->services.realFiles.readFile(path, 100).data, QByteArray("caf\xE9\r\n!\r\n"));
    // The very file, and no temporary file beside it.
    QCOMPARE(rawEntries(f->dir.path()), QList<QByteArray>{QByteArray("r\xE9sum\xE9.txt")});
    QCOMPARE(::unlink(raw.constData()), 0);
}

void EditorDocumentTest::prompts_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<Answer>("answer");
    const QList<std::pair<const char *, Command>> commands{
        {"New", Command::New}, {"close", Command::Close}, {"outside load", Command::OutsideLoad}};
    const QList<std::pair<const char *, Answer>> answers{{"No", Answer::No},
                                                         {"Yes and saved", Answer::YesSaved},
                                                         {"Yes then Cancel", Answer::YesThenCancel},
                                                         {"Yes then a failing save", Answer::YesThenFailingSave}};
    for (const auto &[commandName, command] : commands)
        for (const auto &[answerName, answer] : answers)
            QTest::addRow("%s, %s", commandName, answerName) << command << answer;
}

// No row loses the text without the user's No.
void EditorDocumentTest::prompts()
{
    QFETCH(Command, command);
    QFETCH(Answer, answer);
    const QString other = f->dir.createFile(QStringLiteral("other.txt"), "other file");
    f->untitledWith(QStringLiteral("precious"));

    f->dialogs().answerMessage(answer == Answer::No ? MessageAnswer::No : MessageAnswer::Yes);
    if (answer == Answer::YesSaved)
        f->dialogs().answerText(f->path(QStringLiteral("saved.txt")));
    if (answer == Answer::YesThenCancel)
        f->dialogs().answerText(std::nullopt);
    if (answer == Answer::YesThenFailingSave) {
        f->dialogs().answerText(f->path(QStringLiteral("nowhere/saved.txt")));
        f->dialogs().answerMessage(MessageAnswer::Ok);
    }

    QPointer<Textpad> textpad = f->window();
    switch (command) {
    case Command::New:
        textpad->mnuFileNew_Click();
        break;
    case Command::Close:
        textpad->mnuFileExit_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        break;
    case Command::OutsideLoad:
        f->load(other);
        break;
    }

    const MessageRequest prompt = f->dialogs().messages().first();
    QCOMPARE(prompt.text, QStringLiteral("Save changes to New?"));
    QCOMPARE(prompt.title, QStringLiteral("Save Changes"));
    QCOMPARE(prompt.buttons, MessageButtons::YesNo);
    QCOMPARE(prompt.icon, MessageIcon::None);

    const bool wentOn = answer == Answer::No || answer == Answer::YesSaved;
    if (answer == Answer::YesSaved)
        QCOMPARE(f->dir.read(QStringLiteral("saved.txt")), QByteArray("precious\n"));
    if (!wentOn) {
        QVERIFY(textpad);
        QVERIFY(textpad->isVisible());
        QCOMPARE(textpad->text(), QStringLiteral("precious"));
        QCOMPARE(textpad->windowTitle(), QStringLiteral("New"));
        QVERIFY(f->changed());
        return;
    }
    switch (command) {
    case Command::New:
        QVERIFY(textpad->text().isEmpty());
        QCOMPARE(textpad->windowTitle(), QStringLiteral("New"));
        QVERIFY(!f->changed());
        break;
    case Command::Close:
        QVERIFY(!textpad);
        QVERIFY(!f->editor.window().isLoaded());
        break;
    case Command::OutsideLoad:
        QCOMPARE(textpad->text(), QStringLiteral("other file"));
        QVERIFY(!f->changed());
        break;
    }
}

void EditorDocumentTest::failedSaveKeepsTheOldFile_data()
{
    QTest::addColumn<bool>("readOnlyFile");
    QTest::newRow("read-only file (also as root)") << true;
    QTest::newRow("folder removed since the load") << false;
}

void EditorDocumentTest::failedSaveKeepsTheOldFile()
{
    QFETCH(bool, readOnlyFile);
    const QString path = f->dir.createFile(QStringLiteral("sub/keep.txt"), "old text\n");
    QVERIFY(f->load(path));
    f->type(QStringLiteral("new"));
    if (readOnlyFile)
        setMode(path, 0444);
    else
        QVERIFY(QDir(f->path(QStringLiteral("sub"))).removeRecursively());

    // The file is gone with its folder: asked first, Yes tries and fails.
    if (!readOnlyFile)
        f->dialogs().answerMessage(MessageAnswer::Yes);
    f->dialogs().answerMessage(MessageAnswer::Ok);
    QVERIFY(!f->window()->SaveDocument());
    QCOMPARE(f->dialogs().messages().size(), readOnlyFile ? 1 : 2);
    if (!readOnlyFile)
        QCOMPARE(f->dialogs().messages().first().text,
                 EditorMessages::saveOverChange(EditorMessages::DiskChange::Removed, path));
    const MessageRequest failure = f->dialogs().messages().last();
    QCOMPARE(failure.icon, MessageIcon::Exclamation);
    QCOMPARE(failure.title, QStringLiteral("Panoptra"));
    QCOMPARE(failure.buttons, MessageButtons::Ok);
    QVERIFY(!failure.text.isEmpty());
    QVERIFY(f->changed());
    if (readOnlyFile) {
        QCOMPARE(f->dir.read(QStringLiteral("sub/keep.txt")), QByteArray("old text\n"));
        QCOMPARE(f->dir.entries(QStringLiteral("sub")), QStringList{QStringLiteral("keep.txt")});
    } else {
        QVERIFY(!QFileInfo::exists(f->path(QStringLiteral("sub"))));
    }
}

void EditorDocumentTest::textTheEncodingCannotHoldIsNotSaved()
{
    const QString path = f->dir.createFile(QStringLiteral("latin.txt"), "caf\xE9\n");
    QVERIFY(f->load(path));
    f->type(QStringLiteral("\u4E2D"));
    f->dialogs().answerMessage(MessageAnswer::Ok);
    QVERIFY(!f->window()->SaveDocument());
    QCOMPARE(f->dialogs().messages().last().text,
             QStringLiteral("Windows-1252 cannot hold the character \"\u4E2D\" (U+4E2D) on line 2, so the file was not "
                            "saved. Save As can save the text as UTF-8."));
    QCOMPARE(f->dialogs().messages().last().icon, MessageIcon::Exclamation);
    QCOMPARE(f->dir.read(QStringLiteral("latin.txt")), QByteArray("caf\xE9\n"));
    QVERIFY(f->changed());
}

void EditorDocumentTest::untitledSaveAsksEachTimeAndStaysNew()
{
    f->untitledWith(QStringLiteral("draft"));
    f->dialogs().answerText(f->path(QStringLiteral("draft.txt")));
    f->window()->mnuFileSave_Click();
    QCOMPARE(f->dir.read(QStringLiteral("draft.txt")), QByteArray("draft\n"));
    QCOMPARE(f->window()->windowTitle(), QStringLiteral("New"));
    QVERIFY(!f->changed());

    f->type(QStringLiteral("s"));
    f->dialogs().answerText(std::nullopt);
    f->window()->mnuFileSave_Click();
    QVERIFY(f->changed());
    QCOMPARE(f->dir.read(QStringLiteral("draft.txt")), QByteArray("draft\n"));
    // The one file dialog: its title, and the name of its last use proposed again.
    const QList<FileDialogRequest> &requests = f->dialogs().fileRequests();
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests[0].title, QStringLiteral("TextPad"));
    QVERIFY(requests[0].fileName.isEmpty());
    QVERIFY(requests[0].filter.isEmpty());
    QCOMPARE(requests[1].fileName, f->path(QStringLiteral("draft.txt")));
}

void EditorDocumentTest::saveAsOfANamedDocumentWritesACopy()
{
    const QString a = f->dir.createFile(QStringLiteral("a.txt"), "a\n");
    QVERIFY(f->load(a));
    f->type(QStringLiteral("b"));
    f->dialogs().answerText(f->path(QStringLiteral("b.txt")));
    QVERIFY(f->window()->mnuFileSaveAs_Click());
    QCOMPARE(f->dir.read(QStringLiteral("b.txt")), QByteArray("a\nb\n"));
    QCOMPARE(f->window()->windowTitle(), a.toUpper());

    f->type(QStringLiteral("c"));
    f->window()->mnuFileSave_Click();
    QCOMPARE(f->dir.read(QStringLiteral("a.txt")), QByteArray("a\nbc\n"));
    QCOMPARE(f->dir.read(QStringLiteral("b.txt")), QByteArray("a\nb\n"));
}

void EditorDocumentTest::saveAsOfAnUntitledDocumentTakesTheName()
{
    f->untitledWith(QStringLiteral("fresh"));
    const QString name = f->path(QStringLiteral("docs-New.txt"));
    f->dialogs().answerText(name);
    QVERIFY(f->window()->mnuFileSaveAs_Click());
    QCOMPARE(f->window()->windowTitle(), name);
    f->type(QStringLiteral("er"));
    f->window()->mnuFileSave_Click();
    QCOMPARE(f->dir.read(QStringLiteral("docs-New.txt")), QByteArray("fresher\n"));
}

void EditorDocumentTest::theDesignCaptionCountsAsUntitled()
{
    QVERIFY(!f->load(f->path(QStringLiteral("missing.txt"))));
    QCOMPARE(f->window()->windowTitle(), QStringLiteral("TextPad "));
    f->type(QStringLiteral("typed"));
    f->dialogs().answerText(f->path(QStringLiteral("typed.txt")));
    f->window()->mnuFileSave_Click();
    QCOMPARE(f->dir.read(QStringLiteral("typed.txt")), QByteArray("typed\n"));
    QVERIFY(!f->dir.entries().contains(QStringLiteral("TextPad ")));
}

void EditorDocumentTest::unchangedDocumentClosesWithoutAsking()
{
    const QString path = f->dir.createFile(QStringLiteral("a.txt"), "a");
    QVERIFY(f->load(path));
    f->window()->mnuFileExit_Click();
    QVERIFY(!f->editor.window().isLoaded());
    QVERIFY(f->dialogs().messages().isEmpty());
}

void EditorDocumentTest::undoBackToTheSavedTextLeavesItUnchanged()
{
    const QString path = f->dir.createFile(QStringLiteral("a.txt"), "first\n");
    QVERIFY(f->load(path));
    const auto undo = [this] { QTest::keyClick(f->box(), Qt::Key_Z, Qt::ControlModifier); };
    const auto redo = [this] { QTest::keyClick(f->box(), Qt::Key_Y, Qt::ControlModifier); };
    // Back to the text loaded.
    f->type(QStringLiteral("typed"));
    QVERIFY(f->changed());
    undo();
    QCOMPARE(f->window()->text(), QStringLiteral("first\n"));
    QVERIFY(!f->changed());
    redo();
    QVERIFY(f->changed());

    // Back to the text saved, from either side.
    f->window()->mnuFileSave_Click();
    QVERIFY(!f->changed());
    undo();
    QVERIFY(f->changed());
    redo();
    QVERIFY(!f->changed());
    f->type(QStringLiteral("more"));
    QVERIFY(f->changed());
    undo();
    QCOMPARE(f->window()->text(), QStringLiteral("first\ntyped"));
    QVERIFY(!f->changed());

    // So Exit closes without asking.
    f->window()->mnuFileExit_Click();
    QVERIFY(!f->editor.window().isLoaded());
    QVERIFY(f->dialogs().messages().isEmpty());
    QCOMPARE(f->dir.read(QStringLiteral("a.txt")), QByteArray("first\ntyped\n"));
}

QTEST_MAIN(EditorDocumentTest)
#include "tst_editordocument.moc"
