// A file keeps what makes it itself through a write of its contents, on real files: its other
// names, owner, access control list and extended attributes; a write in place keeps a backup
// until the new contents are on disk, so a crash at any step leaves the old bytes whole
// somewhere; and a temporary file a crash left beside the file goes at the next write.

#include "platform/FileErrors.h"
#include "platform/FileWriting.h"
#include "platform/PathCodec.h"
#include "platform/PosixFileServices.h"
#include "support/CacheHome.h"
#include "support/TestCase.h"
#include "support/TestDir.h"
#include "support/Xattrs.h"

#include <QDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using LinkAtPath = FileServices::LinkAtPath;

struct stat statOf(const QString &path)
{
    struct stat st = {};
    ::stat(PathCodec::encode(path).constData(), &st);
    return st;
}

constexpr quint32 nobody = 65534;

// Contents of about size bytes whose lines tell where each byte came from.
QByteArray text(const char *what, qsizetype size)
{
    QByteArray bytes;
    for (int line = 0; bytes.size() < size; ++line)
        bytes += what + QByteArray(" line ") + QByteArray::number(line) + '\n';
    return bytes;
}

// data as pieces of pieceSize bytes each.
FilePieces piecesOf(const QByteArray &data, qsizetype pieceSize, qsizetype failAfter = -1)
{
    auto at = std::make_shared<qsizetype>(0);
    auto given = std::make_shared<qsizetype>(0);
    return FilePieces{[data] { return qint64(data.size()); }, [=]() -> std::optional<QByteArrayView> {
                          if (failAfter >= 0 && (*given)++ == failAfter)
                              return std::nullopt;
                          const qsizetype from = *at;
                          const qsizetype size = std::min(pieceSize, data.size() - from);
                          *at += size;
                          return QByteArrayView(data).sliced(from, size);
                      }};
}

// A write of data in pieces of 1 MiB in a child process that kills itself at step, as a crash
// there would end it; true when it ended so.
bool writeKilledAt(const QString &path, const QByteArray &data, const QByteArray &step)
{
    const pid_t child = ::fork();
    if (child == 0) {
        PosixFileServices files;
        files.setWriteSteps([step](const char *now) {
            if (step == now)
                ::kill(::getpid(), SIGKILL);
        });
        files.writeFilePieces(path, piecesOf(data, 1 << 20), LinkAtPath::Follow);
        ::_exit(0);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

} // namespace

class FileIdentityTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<TestDir> m_dir;
    std::unique_ptr<CacheHome> m_cache;
    PosixFileServices m_files;

    QStringList backups() const { return m_cache->backups(); }

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        m_dir = std::make_unique<TestDir>();
        m_cache = std::make_unique<CacheHome>();
    }
    void cleanup()
    {
        m_dir.reset();
        m_cache.reset();
    }

    void everyNameOfAFileSeesTheWrite_data();
    void everyNameOfAFileSeesTheWrite();
    void anotherOwnersFileKeepsItsOwner();
    void accessListAndAttributesStay();
    void aNewFileGetsWhatTheFoldersDefaultListGives();
    void aKilledWriteLeavesTheOldBytesWhole_data();
    void aKilledWriteLeavesTheOldBytesWhole();
    void aWriteInPlaceThatFailsPutsTheOldBytesBack();
    void noBackupNoWriteInPlace();
    void backupFolder_data();
    void backupFolder();
    void onlyOurLeftoversGo();
    void piecesAreWrittenWholeAndStamped();
};

void FileIdentityTest::everyNameOfAFileSeesTheWrite_data()
{
    QTest::addColumn<bool>("replace");
    QTest::newRow("writeFile: in place, both names see it") << false;
    QTest::newRow("replaceFile: the name gets a file of its own") << true;
}

void FileIdentityTest::everyNameOfAFileSeesTheWrite()
{
    QFETCH(bool, replace);
    const QString path = m_dir->createFile(QStringLiteral("notes.txt"), "old notes");
    const QString other = m_dir->filePath(QStringLiteral("other name.txt"));
    QVERIFY(::link(PathCodec::encode(path).constData(), PathCodec::encode(other).constData()) == 0);
    const ino_t inode = statOf(path).st_ino;

    QCOMPARE(replace ? m_files.replaceFile(path, "new notes") : m_files.writeFile(path, "new notes"), 0);
    QCOMPARE(m_dir->read(QStringLiteral("notes.txt")), QByteArray("new notes"));
    QCOMPARE(m_dir->read(QStringLiteral("other name.txt")), replace ? QByteArray("old notes") : QByteArray("new notes"));
    QCOMPARE(statOf(path).st_ino == inode, !replace);
    QCOMPARE(m_dir->entries(), (QStringList{QStringLiteral("notes.txt"), QStringLiteral("other name.txt")}));
    QCOMPARE(backups(), QStringList());
}

// Root may give the new file any owner: it goes through a temporary file and keeps both. (What
// an unprivileged user may do is tst_filecontents' writeAsAnUnprivilegedUser.)
void FileIdentityTest::anotherOwnersFileKeepsItsOwner()
{
    if (::geteuid() != 0)
        QSKIP("only root can give a file another user");
    const QString path = m_dir->createFile(QStringLiteral("theirs.txt"), "old");
    QVERIFY(::chown(PathCodec::encode(path).constData(), nobody, nobody) == 0);
    QVERIFY(::chmod(PathCodec::encode(path).constData(), 02664) == 0);
    QCOMPARE(m_files.writeFile(path, "new"), 0);
    const struct stat st = statOf(path);
    QCOMPARE(st.st_uid, uid_t(nobody));
    QCOMPARE(st.st_gid, gid_t(nobody));
    QCOMPARE(st.st_mode & 07777, mode_t(02664));
    QCOMPARE(m_dir->read(QStringLiteral("theirs.txt")), QByteArray("new"));
}

void FileIdentityTest::accessListAndAttributesStay()
{
    const QString path = m_dir->createFile(QStringLiteral("shared.txt"), "old");
    if (!Xattrs::set(path, "user.comment", QByteArray("kept, with a NUL\0", 17))
        || !Xattrs::set(path, "system.posix_acl_access", Xattrs::nobodyMayWrite()))
        QSKIP("this filesystem keeps no extended attributes or access lists");
    // A file beside it with no list of its own, in a folder whose default list it must not take.
    const QString plain = m_dir->createFile(QStringLiteral("plain.txt"), "old");
    QVERIFY(::chmod(PathCodec::encode(plain).constData(), 0640) == 0);
    QVERIFY(Xattrs::set(m_dir->path(), "system.posix_acl_default", Xattrs::nobodyMayWrite()));
    const mode_t mode = statOf(path).st_mode & 07777;
    QCOMPARE(mode, mode_t(0664));
    const ino_t inode = statOf(path).st_ino;

    QCOMPARE(m_files.writeFile(path, "new"), 0);
    QCOMPARE(m_files.writeFile(plain, "new"), 0);
    QCOMPARE(m_dir->read(QStringLiteral("shared.txt")), QByteArray("new"));
    // A new file took its place, with the same list, attributes and mode.
    QVERIFY(statOf(path).st_ino != inode);
    QCOMPARE(Xattrs::get(path, "system.posix_acl_access").value_or("none").toHex(), Xattrs::nobodyMayWrite().toHex());
    QCOMPARE(Xattrs::get(path, "user.comment").value_or("none"), QByteArray("kept, with a NUL\0", 17));
    QCOMPARE(statOf(path).st_mode & 07777, mode);
    QVERIFY(!Xattrs::get(plain, "system.posix_acl_access"));
    QCOMPARE(statOf(plain).st_mode & 07777, mode_t(0640));
}

void FileIdentityTest::aNewFileGetsWhatTheFoldersDefaultListGives()
{
    const QString folder = m_dir->createDir(QStringLiteral("shared"));
    if (!Xattrs::set(folder, "system.posix_acl_default", Xattrs::nobodyMayWrite()))
        QSKIP("this filesystem keeps no access lists");
    // What any program's new file gets there.
    const QString made = folder + QStringLiteral("/made.txt");
    const int fd = ::open(PathCodec::encode(made).constData(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    QVERIFY(fd >= 0);
    ::close(fd);
    const mode_t mask = ::umask(077);
    const QString saved = folder + QStringLiteral("/saved.txt");
    QCOMPARE(m_files.writeFile(saved, "new"), 0);
    ::umask(mask);
    QCOMPARE(Xattrs::get(saved, "system.posix_acl_access").value_or("none").toHex(),
             Xattrs::get(made, "system.posix_acl_access").value_or("none").toHex());
    QVERIFY(Xattrs::get(saved, "system.posix_acl_access"));
    QCOMPARE(statOf(saved).st_mode & 07777, statOf(made).st_mode & 07777);
}

void FileIdentityTest::aKilledWriteLeavesTheOldBytesWhole_data()
{
    QTest::addColumn<bool>("inPlace");
    QTest::addColumn<QByteArray>("step");
    QTest::addColumn<bool>("fileOld");   // the file still holds the old bytes
    QTest::addColumn<bool>("backupOld"); // a backup holds them whole
    // A file with a second name is written in place.
    QTest::newRow("in place, the backup just made") << true << QByteArray("backup-made") << true << false;
    QTest::newRow("in place, the backup on disk") << true << QByteArray("backed-up") << true << true;
    QTest::newRow("in place, the first piece written") << true << QByteArray("writing") << false << true;
    QTest::newRow("in place, all written, the backup not yet gone") << true << QByteArray("written") << false << true;
    QTest::newRow("a temporary file, the first piece written") << false << QByteArray("writing") << true << false;
    QTest::newRow("a temporary file, all written, not yet renamed") << false << QByteArray("temporary-written") << true << false;
}

void FileIdentityTest::aKilledWriteLeavesTheOldBytesWhole()
{
    QFETCH(bool, inPlace);
    QFETCH(QByteArray, step);
    QFETCH(bool, fileOld);
    QFETCH(bool, backupOld);
    const QByteArray oldBytes = text("old", 3 << 20);
    const QByteArray newBytes = text("new", 5 << 20);
    const QString path = m_dir->createFile(QStringLiteral("log.txt"), oldBytes);
    if (inPlace)
        QVERIFY(::link(PathCodec::encode(path).constData(), PathCodec::encode(m_dir->filePath(QStringLiteral("hard.txt"))).constData()) == 0);

    QVERIFY(writeKilledAt(path, newBytes, step));
    const QByteArray left = m_dir->read(QStringLiteral("log.txt"));
    bool someBackupOld = false;
    for (const QString &name : backups())
        someBackupOld = someBackupOld || m_cache->backup(name) == oldBytes;
    QVERIFY2(left == oldBytes || someBackupOld, "the old bytes are whole nowhere");
    QCOMPARE(left == oldBytes, fileOld);
    QCOMPARE(someBackupOld, backupOld);
    if (step == "written")
        QVERIFY(left == newBytes);
    // A killed write through a temporary file leaves it beside the file, until the next write.
    const QStringList entries = m_dir->entries();
    const bool temporaryLeft = std::any_of(entries.cbegin(), entries.cend(), [](const QString &name) {
        return name.startsWith(QLatin1String(".log.txt.panoptra-"));
    });
    QCOMPARE(temporaryLeft, !inPlace);

    const QByteArray again = text("again", 1 << 20);
    QCOMPARE(m_files.writeFile(path, again), 0);
    QVERIFY(m_dir->read(QStringLiteral("log.txt")) == again);
    QCOMPARE(m_dir->entries(), inPlace ? (QStringList{QStringLiteral("hard.txt"), QStringLiteral("log.txt")})
                                       : QStringList{QStringLiteral("log.txt")});
    if (inPlace)
        QVERIFY(m_dir->read(QStringLiteral("hard.txt")) == again);
}

// The pieces that cannot be made after all (as a text an encoding cannot hold): the old
// contents go back, and no backup is left.
void FileIdentityTest::aWriteInPlaceThatFailsPutsTheOldBytesBack()
{
    const QByteArray oldBytes = text("old", 3 << 20);
    const QString path = m_dir->createFile(QStringLiteral("log.txt"), oldBytes);
    QVERIFY(::link(PathCodec::encode(path).constData(), PathCodec::encode(m_dir->filePath(QStringLiteral("hard.txt"))).constData()) == 0);
    const WriteResult result = m_files.writeFilePieces(path, piecesOf(text("new", 5 << 20), 1 << 20, 2), LinkAtPath::Follow);
    QCOMPARE(result.error, int(FileErrors::PathFileAccess));
    QVERIFY(result.backup.isEmpty());
    QVERIFY(m_dir->read(QStringLiteral("log.txt")) == oldBytes);
    QCOMPARE(statOf(path).st_size, off_t(oldBytes.size()));
    QCOMPARE(backups(), QStringList());
}

// Where no backup can be made, nothing is written in place: the file stays as it was.
void FileIdentityTest::noBackupNoWriteInPlace()
{
    const QString path = m_dir->createFile(QStringLiteral("log.txt"), "old");
    QVERIFY(::link(PathCodec::encode(path).constData(), PathCodec::encode(m_dir->filePath(QStringLiteral("hard.txt"))).constData()) == 0);
    // The cache folder is a file.
    const QString cache = m_cache->dir().createFile(QStringLiteral("not a folder"), "x");
    qputenv("XDG_CACHE_HOME", PathCodec::encode(cache));
    const WriteResult result = m_files.writeFilePieces(path, piecesOf("new", 2), LinkAtPath::Follow);
    QCOMPARE(result.error, int(FileErrors::PathNotFound));
    QCOMPARE(result.noBackupIn, cache + QStringLiteral("/Panoptra"));
    QCOMPARE(m_dir->read(QStringLiteral("log.txt")), QByteArray("old"));
}

void FileIdentityTest::backupFolder_data()
{
    QTest::addColumn<QByteArray>("cache");
    QTest::addColumn<QByteArray>("folder");
    QTest::newRow("XDG_CACHE_HOME") << QByteArray("/var/cache/ann") << QByteArray("/var/cache/ann/Panoptra");
    QTest::newRow("a relative XDG_CACHE_HOME is not used") << QByteArray("cache") << QByteArray("/home/ann/.cache/Panoptra");
    QTest::newRow("no XDG_CACHE_HOME") << QByteArray() << QByteArray("/home/ann/.cache/Panoptra");
}

void FileIdentityTest::backupFolder()
{
    QFETCH(QByteArray, cache);
    QFETCH(QByteArray, folder);
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", "/home/ann");
    if (cache.isEmpty())
        qunsetenv("XDG_CACHE_HOME");
    else
        qputenv("XDG_CACHE_HOME", cache);
    const QByteArray found = FileWriting::backupFolder();
    qputenv("HOME", home);
    QCOMPARE(found, folder);
}

// Only names of our pattern for this file, files of this user, go.
void FileIdentityTest::onlyOurLeftoversGo()
{
    const QString path = m_dir->createFile(QStringLiteral("notes.txt"), "old");
    m_dir->createFile(QStringLiteral(".notes.txt.panoptra-Ab3xY9"), "left by a crash");
    m_dir->createFile(QStringLiteral(".other.txt.panoptra-Ab3xY9"), "another file's");
    m_dir->createFile(QStringLiteral(".notes.txt.panoptra-Ab3xY9x"), "not our pattern");
    m_dir->createFile(QStringLiteral(".notes.txt.panoptra-Ab-xY9"), "not our pattern");
    m_dir->createDir(QStringLiteral(".notes.txt.panoptra-Zz9zz9"));
    QCOMPARE(m_files.writeFile(path, "new"), 0);
    QCOMPARE(m_dir->entries(), (QStringList{QStringLiteral(".notes.txt.panoptra-Ab-xY9"),
                                           QStringLiteral(".notes.txt.panoptra-Ab3xY9x"),
                                           QStringLiteral(".notes.txt.panoptra-Zz9zz9"),
                                           QStringLiteral(".other.txt.panoptra-Ab3xY9"), QStringLiteral("notes.txt")}));
}

void FileIdentityTest::piecesAreWrittenWholeAndStamped()
{
    const QByteArray data = text("piece", 3 << 20);
    m_dir->createFile(QStringLiteral("new.txt"), "old");
    const QString link = m_dir->filePath(QStringLiteral("link.txt"));
    QVERIFY(::symlink("new.txt", PathCodec::encode(link).constData()) == 0);
    const WriteResult result = m_files.writeFilePieces(link, piecesOf(data, 100'000), LinkAtPath::Follow);
    QCOMPARE(result.error, 0);
    QVERIFY(m_dir->read(QStringLiteral("new.txt")) == data);
    QVERIFY(result.written);
    QVERIFY(result.written->sameContentsAs(FileStamp::of(link).value()));
    QVERIFY(result.written->link);

    // Replaced, the link is a file of its own.
    const WriteResult replaced = m_files.writeFilePieces(link, piecesOf("own", 2), LinkAtPath::Replace);
    QCOMPARE(replaced.error, 0);
    QVERIFY(replaced.written->sameContentsAs(FileStamp::of(link).value()));
    QVERIFY(!FileStamp::of(link)->link);
    QVERIFY(m_dir->read(QStringLiteral("new.txt")) == data);
}

QTEST_GUILESS_MAIN(FileIdentityTest)
#include "tst_fileidentity.moc"
