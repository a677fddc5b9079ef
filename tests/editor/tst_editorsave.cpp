// Save in the editor window over real files: a change another program made on disk since the
// load is never written over without asking; the file keeps its other names, owner, access list
// and attributes; a save in place keeps a backup until the new text is on disk; an emptied
// document saves as an empty file.

#include "EditorFixture.h"

#include "editor/EditorMessages.h"
#include "platform/FileErrors.h"
#include "platform/PathCodec.h"
#include "support/TestCase.h"
#include "support/Xattrs.h"

#include <QFile>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using EditorMessages::DiskChange;

struct stat lstatOf(const QString &path)
{
    struct stat st = {};
    ::lstat(PathCodec::encode(path).constData(), &st);
    return st;
}

void appendTo(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    QCOMPARE(file.write(bytes), bytes.size());
}

// What another program does to the file between the load and the save.
enum class Outside { Appends, Replaces, MakesALink, Removes };

} // namespace

Q_DECLARE_METATYPE(Outside)

class EditorSaveTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<EditorFixture> f;

    // notes.txt loaded, a line typed at its end.
    QString editedNotes()
    {
        const QString path = f->dir.createFile(QStringLiteral("notes.txt"), "first\nsecond\n");
        if (!f->load(path))
            return QString();
        f->type(QStringLiteral("typed"));
        return path;
    }

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        f = std::make_unique<EditorFixture>();
    }
    void cleanup()
    {
        QVERIFY2(f->dialogs().scriptIsEmpty(), "a scripted answer was not asked for");
        f.reset();
    }

    void aChangeOnDiskIsNeverSavedOverUnasked_data();
    void aChangeOnDiskIsNeverSavedOverUnasked();
    void nothingToAskAbout_data();
    void nothingToAskAbout();
    void aFileSavedAsIsWatchedAsTheDocumentsOwn();
    void everyNameOfTheFileSeesTheSave();
    void anotherOwnersFileKeepsItsOwner();
    void accessListAndAttributesStay();
    void aKilledSaveInPlaceLeavesTheOldTextWhole_data();
    void aKilledSaveInPlaceLeavesTheOldTextWhole();
    void aSaveInPlaceWithoutRoomForItsBackupChangesNothing();
    void aFailureThatKeptTheBackupNamesIt();
    void anEmptiedDocumentSavesAsAnEmptyFile();
};

void EditorSaveTest::aChangeOnDiskIsNeverSavedOverUnasked_data()
{
    QTest::addColumn<Outside>("outside");
    QTest::addColumn<DiskChange>("change");
    QTest::addColumn<bool>("yes");
    const QList<std::tuple<const char *, Outside, DiskChange>> changes{
        {"a line appended", Outside::Appends, DiskChange::Changed},
        {"replaced by another file", Outside::Replaces, DiskChange::Replaced},
        {"made a link to another file", Outside::MakesALink, DiskChange::NowALink},
        {"removed", Outside::Removes, DiskChange::Removed},
    };
    for (const auto &[name, outside, change] : changes) {
        QTest::addRow("%s, Yes saves", name) << outside << change << true;
        QTest::addRow("%s, No leaves it", name) << outside << change << false;
    }
}

void EditorSaveTest::aChangeOnDiskIsNeverSavedOverUnasked()
{
    QFETCH(Outside, outside);
    QFETCH(DiskChange, change);
    QFETCH(bool, yes);
    const QString path = editedNotes();
    QVERIFY(!path.isEmpty());
    const QString elsewhere = f->dir.createFile(QStringLiteral("elsewhere/other.txt"), "another file\n");
    const QByteArray encodedPath = PathCodec::encode(path);
    switch (outside) {
    case Outside::Appends:
        appendTo(path, "ADDED\n");
        break;
    case Outside::Replaces: {
        const QString replacement = f->dir.createFile(QStringLiteral("replacement.txt"), "first\nsecond\n");
        QVERIFY(::rename(PathCodec::encode(replacement).constData(), encodedPath.constData()) == 0);
        break;
    }
    case Outside::MakesALink:
        QVERIFY(::rename(encodedPath.constData(), PathCodec::encode(f->path(QStringLiteral("moved.txt"))).constData()) == 0);
        QVERIFY(::symlink("elsewhere/other.txt", encodedPath.constData()) == 0);
        break;
    case Outside::Removes:
        QVERIFY(::unlink(encodedPath.constData()) == 0);
        break;
    }
    const QByteArray before = f->dir.read(QStringLiteral("notes.txt"));
    const bool existedBefore = QFile::exists(path);

    f->dialogs().answerMessage(yes ? MessageAnswer::Yes : MessageAnswer::No);
    QCOMPARE(f->window()->SaveDocument(), yes);
    QCOMPARE(f->dialogs().messages().size(), 1);
    const MessageRequest question = f->dialogs().messages().first();
    QCOMPARE(question.text, EditorMessages::saveOverChange(change, path));
    QCOMPARE(question.buttons, MessageButtons::YesNo);
    QCOMPARE(question.icon, MessageIcon::Exclamation);
    QCOMPARE(question.title, QStringLiteral("Panoptra"));
    // The file that another program left there is never written through.
    QCOMPARE(f->dir.read(QStringLiteral("elsewhere/other.txt")), QByteArray("another file\n"));
    if (!yes) {
        QCOMPARE(f->dir.read(QStringLiteral("notes.txt")), before);
        QCOMPARE(QFile::exists(path), existedBefore);
        QVERIFY(f->changed());
        QCOMPARE(f->window()->text(), QStringLiteral("first\nsecond\ntyped"));
        return;
    }
    QCOMPARE(f->dir.read(QStringLiteral("notes.txt")), QByteArray("first\nsecond\ntyped\n"));
    QVERIFY(S_ISREG(lstatOf(path).st_mode));
    QVERIFY(!f->changed());
    // What was saved is the document's file now: the next save asks nothing.
    f->type(QStringLiteral(" again"));
    QVERIFY(f->window()->SaveDocument());
    QCOMPARE(f->dir.read(QStringLiteral("notes.txt")), QByteArray("first\nsecond\ntyped again\n"));
    QCOMPARE(f->dialogs().messages().size(), 1);
}

void EditorSaveTest::nothingToAskAbout_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("the file as it was loaded") << "nothing";
    QTest::newRow("saved here before") << "saved";
    QTest::newRow("only its mode changed") << "chmod";
    QTest::newRow("a second name given to it") << "link";
    QTest::newRow("opened through a link, still one") << "opened through a link";
}

// Only another program's change of the file asks; a change of its status alone does not.
void EditorSaveTest::nothingToAskAbout()
{
    QFETCH(QString, what);
    QString path;
    if (what == QLatin1String("opened through a link, still one")) {
        f->dir.createFile(QStringLiteral("real/notes.txt"), "first\n");
        path = f->path(QStringLiteral("notes.txt"));
        QVERIFY(::symlink("real/notes.txt", PathCodec::encode(path).constData()) == 0);
        QVERIFY(f->load(path));
        f->type(QStringLiteral("typed"));
    } else {
        path = editedNotes();
    }
    if (what == QLatin1String("saved")) {
        QVERIFY(f->window()->SaveDocument());
        f->type(QStringLiteral("!"));
    } else if (what == QLatin1String("chmod")) {
        QVERIFY(::chmod(PathCodec::encode(path).constData(), 0600) == 0);
    } else if (what == QLatin1String("link")) {
        QVERIFY(::link(PathCodec::encode(path).constData(), PathCodec::encode(f->path(QStringLiteral("second.txt"))).constData()) == 0);
    }
    QVERIFY(f->window()->SaveDocument());
    QVERIFY(f->dialogs().messages().isEmpty());
    QVERIFY(QFile(path).size() > 0);
    QVERIFY(!f->changed());
}

// An untitled document saved under a name belongs to that file as it was written.
void EditorSaveTest::aFileSavedAsIsWatchedAsTheDocumentsOwn()
{
    f->untitledWith(QStringLiteral("draft"));
    const QString path = f->path(QStringLiteral("draft.txt"));
    f->dialogs().answerText(path);
    QVERIFY(f->window()->mnuFileSaveAs_Click());
    f->type(QStringLiteral(" two"));
    QVERIFY(f->window()->SaveDocument());
    QVERIFY(f->dialogs().messages().isEmpty());
    appendTo(path, "ADDED\n");
    f->type(QStringLiteral(" three"));
    f->dialogs().answerMessage(MessageAnswer::No);
    QVERIFY(!f->window()->SaveDocument());
    QCOMPARE(f->dialogs().messages().last().text, EditorMessages::saveOverChange(DiskChange::Changed, path));
    QCOMPARE(f->dir.read(QStringLiteral("draft.txt")), QByteArray("draft two\nADDED\n"));
}

void EditorSaveTest::everyNameOfTheFileSeesTheSave()
{
    const QString path = editedNotes();
    const QString other = f->path(QStringLiteral("other name.txt"));
    QVERIFY(::link(PathCodec::encode(path).constData(), PathCodec::encode(other).constData()) == 0);
    QVERIFY(f->window()->SaveDocument());
    QCOMPARE(f->dir.read(QStringLiteral("notes.txt")), QByteArray("first\nsecond\ntyped\n"));
    QCOMPARE(f->dir.read(QStringLiteral("other name.txt")), QByteArray("first\nsecond\ntyped\n"));
    QCOMPARE(lstatOf(path).st_ino, lstatOf(other).st_ino);
    // The backup went once the text was on disk.
    QCOMPARE(QDir(f->services.cacheHome() + QStringLiteral("/Panoptra")).entryList(QDir::Files), QStringList());
}

void EditorSaveTest::anotherOwnersFileKeepsItsOwner()
{
    if (::geteuid() != 0)
        QSKIP("only root may save another user's file here");
    const QString path = editedNotes();
    QVERIFY(::chown(PathCodec::encode(path).constData(), 65534, 65534) == 0);
    QVERIFY(::chmod(PathCodec::encode(path).constData(), 0666) == 0);
    QVERIFY(f->window()->SaveDocument());
    QCOMPARE(lstatOf(path).st_uid, uid_t(65534));
    QCOMPARE(lstatOf(path).st_gid, gid_t(65534));
    QCOMPARE(lstatOf(path).st_mode & 07777, mode_t(0666));
    QCOMPARE(f->dir.read(QStringLiteral("notes.txt")), QByteArray("first\nsecond\ntyped\n"));
}

void EditorSaveTest::accessListAndAttributesStay()
{
    const QString path = editedNotes();
    if (!Xattrs::set(path, "system.posix_acl_access", Xattrs::nobodyMayWrite())
        || !Xattrs::set(path, "user.origin", "scanner 3"))
        QSKIP("this filesystem keeps no access lists or extended attributes");
    QVERIFY(f->window()->SaveDocument());
    QVERIFY(f->dialogs().messages().isEmpty());
    QCOMPARE(f->dir.read(QStringLiteral("notes.txt")), QByteArray("first\nsecond\ntyped\n"));
    QCOMPARE(Xattrs::get(path, "system.posix_acl_access").value_or("none").toHex(), Xattrs::nobodyMayWrite().toHex());
    QCOMPARE(Xattrs::get(path, "user.origin").value_or("none"), QByteArray("scanner 3"));
    // The group gained nothing: the list's mask is the group's part of the mode still.
    QCOMPARE(lstatOf(path).st_mode & 0777, mode_t(0664));
}

void EditorSaveTest::aKilledSaveInPlaceLeavesTheOldTextWhole_data()
{
    QTest::addColumn<QByteArray>("step");
    QTest::newRow("the backup just made") << QByteArray("backup-made");
    QTest::newRow("the backup on disk") << QByteArray("backed-up");
    QTest::newRow("the first piece written") << QByteArray("writing");
    QTest::newRow("all written, the backup not yet gone") << QByteArray("written");
}

// The document's save (its text encoded in pieces, a file of two names written in place) in a
// child process killed at a step, as a crash there would end it.
void EditorSaveTest::aKilledSaveInPlaceLeavesTheOldTextWhole()
{
    QFETCH(QByteArray, step);
    QByteArray old;
    for (int line = 0; old.size() < (4 << 20); ++line)
        old += "old line " + QByteArray::number(line) + "\r\n";
    const QString path = f->dir.createFile(QStringLiteral("big.txt"), old);
    QVERIFY(::link(PathCodec::encode(path).constData(), PathCodec::encode(f->path(QStringLiteral("hard.txt"))).constData()) == 0);
    QVERIFY(f->load(path));
    f->box()->setCursorPosition(0);
    f->box()->insertText(QStringLiteral("a new first line\n"));

    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(60);
        PosixFileServices files;
        files.setWriteSteps([step](const char *now) {
            if (step == now)
                ::kill(::getpid(), SIGKILL);
        });
        TextDocument document(files, f->dialogs());
        document.belongTo(path, path, f->window()->document().format(), FileStamp::of(path));
        document.write(path, f->box()->lines());
        ::_exit(0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    const QByteArray left = f->dir.read(QStringLiteral("big.txt"));
    const QDir backups(f->services.cacheHome() + QStringLiteral("/Panoptra"));
    bool backupWhole = false;
    for (const QString &name : backups.entryList(QDir::Files)) {
        QFile backup(backups.filePath(name));
        backupWhole = backupWhole || (backup.open(QIODevice::ReadOnly) && backup.readAll() == old);
    }
    QVERIFY2(left == old || backupWhole, "the old text is whole nowhere");
}

void EditorSaveTest::aSaveInPlaceWithoutRoomForItsBackupChangesNothing()
{
    const QString path = editedNotes();
    QVERIFY(::link(PathCodec::encode(path).constData(), PathCodec::encode(f->path(QStringLiteral("hard.txt"))).constData()) == 0);
    // The cache folder is a file: no backup can be made in it.
    const QString cache = f->dir.createFile(QStringLiteral("cache"), "not a folder");
    qputenv("XDG_CACHE_HOME", PathCodec::encode(cache));
    f->dialogs().answerMessage(MessageAnswer::Ok);
    QVERIFY(!f->window()->SaveDocument());
    qputenv("XDG_CACHE_HOME", PathCodec::encode(f->services.cacheHome()));
    const MessageRequest failure = f->dialogs().messages().last();
    QCOMPARE(failure.text, EditorMessages::writeFailedNoBackup(FileErrors::PathNotFound, cache + QStringLiteral("/Panoptra")));
    QCOMPARE(failure.icon, MessageIcon::Exclamation);
    QCOMPARE(f->dir.read(QStringLiteral("notes.txt")), QByteArray("first\nsecond\n"));
    QVERIFY(f->changed());
}

// A write in place that failed midway and could not put the old text back (an I/O error,
// which cannot be made here: the file services' double says so) names where it is kept.
void EditorSaveTest::aFailureThatKeptTheBackupNamesIt()
{
    const QString path = editedNotes();
    WriteResult kept;
    kept.error = FileErrors::DeviceIo;
    kept.backup = f->services.cacheHome() + QStringLiteral("/Panoptra/notes.txt.Ab12Cd");
    f->services.files.writeResults.insert(path, kept);
    f->dialogs().answerMessage(MessageAnswer::Ok);
    QVERIFY(!f->window()->SaveDocument());
    const QString text = f->dialogs().messages().last().text;
    QCOMPARE(text, EditorMessages::writeFailedBackupKept(FileErrors::DeviceIo, kept.backup));
    QVERIFY(text.contains(kept.backup));
    QVERIFY(text.startsWith(QStringLiteral("Device I/O error.")));
    QVERIFY(f->changed());
}

void EditorSaveTest::anEmptiedDocumentSavesAsAnEmptyFile()
{
    const QString path = editedNotes();
    f->box()->selectAll();
    f->window()->edit().deleteSelection();
    QVERIFY(f->window()->SaveDocument());
    QCOMPARE(QFile(path).size(), 0);
    // And loaded again, empty as it is, it saves as it was.
    QVERIFY(f->load(path));
    QVERIFY(f->window()->SaveDocument());
    QCOMPARE(QFile(path).size(), 0);
}

QTEST_MAIN(EditorSaveTest)
#include "tst_editorsave.moc"
