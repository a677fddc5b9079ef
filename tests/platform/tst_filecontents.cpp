// Reading a whole file (at once or piece by piece) and replacing a file's contents safely, on real files.

#include "platform/FileErrors.h"
#include "platform/PathCodec.h"
#include "platform/PosixFileServices.h"
#include "support/CacheHome.h"
#include "support/TestCase.h"
#include "support/TestDir.h"
#include "support/TmpfsMount.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <climits>
#include <grp.h>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct stat statOf(const QString &path)
{
    struct stat st = {};
    ::stat(PathCodec::encode(path).constData(), &st);
    return st;
}

bool isLink(const QString &path)
{
    struct stat st = {};
    return ::lstat(PathCodec::encode(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

// The unprivileged user the permission tests save as.
constexpr uid_t nobody = 65534;
constexpr gid_t nogroup = 65534;

// writeFile through the real file services in a child process that has become nobody, its
// result sent back through a pipe; nothing when the child could not become nobody. cache is
// the child's XDG_CACHE_HOME, where a write in place keeps its backup.
std::optional<int> writeAsNobody(const QString &path, const QByteArray &data, const QString &cache)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        int result = INT_MIN;
        qputenv("XDG_CACHE_HOME", PathCodec::encode(cache));
        if (::setgroups(0, nullptr) == 0 && ::setgid(nogroup) == 0 && ::setuid(nobody) == 0) {
            PosixFileServices files;
            result = files.writeFile(path, data);
        }
        (void)!::write(channel[1], &result, sizeof result);
        ::_exit(0);
    }
    ::close(channel[1]);
    int result = INT_MIN;
    const bool got = child > 0 && ::read(channel[0], &result, sizeof result) == ssize_t(sizeof result);
    ::close(channel[0]);
    if (child > 0)
        ::waitpid(child, nullptr, 0);
    if (!got || result == INT_MIN)
        return std::nullopt;
    return result;
}

void own(const QString &path, uid_t uid, gid_t gid, mode_t mode)
{
    QVERIFY(::chown(PathCodec::encode(path).constData(), uid, gid) == 0);
    QVERIFY(::chmod(PathCodec::encode(path).constData(), mode) == 0);
}

} // namespace

class FileContentsTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<TestDir> m_dir;
    // Where writes in place keep their backups, apart from the files written.
    std::unique_ptr<CacheHome> m_cache;
    PosixFileServices m_files;

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        m_dir = std::make_unique<TestDir>();
        m_cache = std::make_unique<CacheHome>();
    }
    void cleanup();

    void readsWholeRegularFiles_data();
    void readsWholeRegularFiles();
    void readRefuses_data();
    void readRefuses();
    void readInPiecesHandsOverEveryByteAndCanStop();
    void writeCreatesAndReplaces();
    void writeKeepsModeAndWritesThroughLinks();
    void writeFailureKeepsTheOldFile_data();
    void writeFailureKeepsTheOldFile();
    void writeThatRunsOutOfSpaceKeepsTheOldFile();
    void writeInPlaceWhereTheFolderTakesNoFile_data();
    void writeInPlaceWhereTheFolderTakesNoFile();
    void writeInPlaceOnAFullDiskKeepsTheOldFile();
    void writeAsAnUnprivilegedUser_data();
    void writeAsAnUnprivilegedUser();
    void replaceNeverWritesThroughALink_data();
    void replaceNeverWritesThroughALink();
    void sameFile_data();
    void sameFile();
    void namesThatAreNotUtf8();
};

void FileContentsTest::cleanup()
{
    QDirIterator it(m_dir->path(), QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        ::chmod(QFile::encodeName(it.next()).constData(), 0755);
    m_dir.reset();
    // No backup is left once a write in place is done.
    QCOMPARE(m_cache->backups(), QStringList());
    m_cache.reset();
}

void FileContentsTest::readsWholeRegularFiles_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("text with NUL") << QByteArray("a\0b\r\n", 5);
    QTest::newRow("larger than one read") << QByteArray(3 * 1024 * 1024 + 17, 'x');
}

void FileContentsTest::readsWholeRegularFiles()
{
    QFETCH(QByteArray, contents);
    const QString path = m_dir->createFile(QStringLiteral("a.txt"), contents);
    const FileContents read = m_files.readFile(path, 8 << 20);
    QCOMPARE(read.error, 0);
    QVERIFY(!read.tooLarge);
    QCOMPARE(read.data.size(), contents.size());
    QVERIFY(read.data == contents);
}

void FileContentsTest::readRefuses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("tooLarge");
    QTest::newRow("missing file") << "gone.txt" << int(FileErrors::FileNotFound) << false;
    QTest::newRow("missing folder") << "nowhere/a.txt" << int(FileErrors::PathNotFound) << false;
    QTest::newRow("folder") << "folder" << int(FileErrors::PathFileAccess) << false;
    QTest::newRow("pipe nobody writes") << "notes.txt" << int(FileErrors::PathFileAccess) << false;
    QTest::newRow("a link to a device") << "zero" << int(FileErrors::PathFileAccess) << false;
    QTest::newRow("longer than the limit") << "big.txt" << 0 << true;
    QTest::newRow("empty path") << "" << int(FileErrors::PathNotFound) << false;
}

void FileContentsTest::readRefuses()
{
    QFETCH(QString, name);
    QFETCH(int, error);
    QFETCH(bool, tooLarge);
    m_dir->createDir(QStringLiteral("folder"));
    m_dir->createFile(QStringLiteral("big.txt"), QByteArray(101, 'b'));
    QVERIFY(::mkfifo(PathCodec::encode(m_dir->filePath(QStringLiteral("notes.txt"))).constData(), 0644) == 0);
    QVERIFY(::symlink("/dev/zero", PathCodec::encode(m_dir->filePath(QStringLiteral("zero"))).constData()) == 0);

    const QString path = name.isEmpty() ? QString() : m_dir->filePath(name);
    const FileContents read = m_files.readFile(path, 100);
    QCOMPARE(read.error, error);
    QCOMPARE(read.tooLarge, tooLarge);
    QVERIFY(read.data.isEmpty());

    int pieces = 0;
    const FileContents inPieces = m_files.readFileInPieces(path, 100, [&](QByteArrayView) { return ++pieces > 0; });
    QCOMPARE(inPieces.error, error);
    QCOMPARE(inPieces.tooLarge, tooLarge);
    QCOMPARE(pieces, 0);
}

void FileContentsTest::readInPiecesHandsOverEveryByteAndCanStop()
{
    QByteArray contents;
    for (int n = 0; contents.size() < 3 * 1024 * 1024; ++n)
        contents += QByteArray::number(n) + '\n';
    const QString path = m_dir->createFile(QStringLiteral("a.txt"), contents);

    QByteArray joined;
    int pieces = 0;
    FileContents read = m_files.readFileInPieces(path, 8 << 20, [&](QByteArrayView piece) {
        joined += piece;
        ++pieces;
        return true;
    });
    QCOMPARE(read.error, 0);
    QVERIFY(!read.tooLarge);
    QVERIFY(read.data.isEmpty());
    QVERIFY(joined == contents);
    QVERIFY(pieces > 1);

    joined.clear();
    read = m_files.readFileInPieces(path, 8 << 20, [&](QByteArrayView piece) {
        joined += piece;
        return false;
    });
    QCOMPARE(read.error, 0);
    QVERIFY(!joined.isEmpty() && joined.size() < contents.size());
    QVERIFY(contents.startsWith(joined));
}

void FileContentsTest::writeCreatesAndReplaces()
{
    const QString path = m_dir->filePath(QStringLiteral("new.txt"));
    const mode_t mask = ::umask(022);
    QCOMPARE(m_files.writeFile(path, "first"), 0);
    ::umask(mask);
    QCOMPARE(m_dir->read(QStringLiteral("new.txt")), QByteArray("first"));
    QCOMPARE(statOf(path).st_mode & 0777, mode_t(0644));

    QCOMPARE(m_files.writeFile(path, "second, longer"), 0);
    QCOMPARE(m_files.writeFile(path, "3"), 0);
    QCOMPARE(m_dir->read(QStringLiteral("new.txt")), QByteArray("3"));
    // No temporary file is left beside it.
    QCOMPARE(m_dir->entries(), QStringList{QStringLiteral("new.txt")});
}

void FileContentsTest::writeKeepsModeAndWritesThroughLinks()
{
    const QString real = m_dir->createFile(QStringLiteral("real/script.sh"), "old");
    QVERIFY(::chmod(PathCodec::encode(real).constData(), 0750) == 0);
    const QString link = m_dir->filePath(QStringLiteral("link.sh"));
    QVERIFY(QFile::link(real, link));

    QCOMPARE(m_files.writeFile(link, "new"), 0);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(m_dir->read(QStringLiteral("real/script.sh")), QByteArray("new"));
    QCOMPARE(statOf(real).st_mode & 07777, mode_t(0750));
    QCOMPARE(m_dir->entries(QStringLiteral("real")), QStringList{QStringLiteral("script.sh")});
}

void FileContentsTest::writeFailureKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("error");
    QTest::newRow("read-only file") << "readonly.txt" << int(FileErrors::PathFileAccess);
    QTest::newRow("new file in a read-only folder") << "locked/new.txt" << int(FileErrors::PathFileAccess);
    QTest::newRow("missing folder") << "nowhere/a.txt" << int(FileErrors::PathNotFound);
    QTest::newRow("folder") << "folder" << int(FileErrors::PathFileAccess);
    QTest::newRow("pipe") << "pipe" << int(FileErrors::PathFileAccess);
}

// Root passes every permission check; the write-protected cases hold for it too.
void FileContentsTest::writeFailureKeepsTheOldFile()
{
    QFETCH(QString, name);
    QFETCH(int, error);
    const QString readOnly = m_dir->createFile(QStringLiteral("readonly.txt"), "old");
    QVERIFY(::chmod(PathCodec::encode(readOnly).constData(), 0444) == 0);
    m_dir->createFile(QStringLiteral("locked/open.txt"), "old");
    QVERIFY(::chmod(PathCodec::encode(m_dir->filePath(QStringLiteral("locked"))).constData(), 0555) == 0);
    m_dir->createDir(QStringLiteral("folder"));
    QVERIFY(::mkfifo(PathCodec::encode(m_dir->filePath(QStringLiteral("pipe"))).constData(), 0644) == 0);
    const QStringList before = m_dir->entries();

    QCOMPARE(m_files.writeFile(m_dir->filePath(name), "new"), error);
    QCOMPARE(m_dir->entries(), before);
    QCOMPARE(m_dir->read(QStringLiteral("readonly.txt")), QByteArray("old"));
    QCOMPARE(m_dir->read(QStringLiteral("locked/open.txt")), QByteArray("old"));
    QCOMPARE(m_dir->entries(QStringLiteral("locked")), QStringList{QStringLiteral("open.txt")});
}

void FileContentsTest::writeThatRunsOutOfSpaceKeepsTheOldFile()
{
    const QString volume = m_dir->createDir(QStringLiteral("small"));
    TmpfsMount mount(volume, QStringLiteral("1m"));
    if (!mount.isMounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a 1 MiB tmpfs here (%1): the save that runs "
                                        "out of space is not checked").arg(mount.error())));
    const QString target = volume + QStringLiteral("/notes.txt");
    QCOMPARE(m_files.writeFile(target, "the old notes"), 0);

    QCOMPARE(m_files.writeFile(target, QByteArray(3 * 1024 * 1024, 'n')), int(FileErrors::DiskFull));
    QCOMPARE(m_dir->read(QStringLiteral("small/notes.txt")), QByteArray("the old notes"));
    QCOMPARE(m_dir->entries(QStringLiteral("small")), QStringList{QStringLiteral("notes.txt")});
}

void FileContentsTest::writeInPlaceWhereTheFolderTakesNoFile_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("longer") << QByteArray("the new text, longer than the old one");
    QTest::newRow("shorter") << QByteArray("new");
    QTest::newRow("empty") << QByteArray();
}

// A folder that takes no new file (no owner-write bit, which root too is held to): the file
// itself may be written, so it is overwritten in place, keeping its inode and mode.
void FileContentsTest::writeInPlaceWhereTheFolderTakesNoFile()
{
    QFETCH(QByteArray, data);
    const QString path = m_dir->createFile(QStringLiteral("locked/open.txt"), "the old text");
    QVERIFY(::chmod(PathCodec::encode(path).constData(), 0640) == 0);
    const ino_t inode = statOf(path).st_ino;
    QVERIFY(::chmod(PathCodec::encode(m_dir->filePath(QStringLiteral("locked"))).constData(), 0555) == 0);

    QCOMPARE(m_files.writeFile(path, data), 0);
    QCOMPARE(m_dir->read(QStringLiteral("locked/open.txt")), data);
    QCOMPARE(statOf(path).st_ino, inode);
    QCOMPARE(statOf(path).st_mode & 07777, mode_t(0640));
    QCOMPARE(m_dir->entries(QStringLiteral("locked")), QStringList{QStringLiteral("open.txt")});
}

// In place, the room for the longer text is taken before a byte is written: a full disk
// leaves the old text whole.
void FileContentsTest::writeInPlaceOnAFullDiskKeepsTheOldFile()
{
    const QString volume = m_dir->createDir(QStringLiteral("small"));
    TmpfsMount mount(volume, QStringLiteral("1m"));
    if (!mount.isMounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a 1 MiB tmpfs here (%1): the save in place that runs "
                                        "out of space is not checked").arg(mount.error())));
    const QString target = volume + QStringLiteral("/notes.txt");
    QCOMPARE(m_files.writeFile(target, "the old notes"), 0);
    QVERIFY(::chmod(PathCodec::encode(volume).constData(), 0555) == 0);

    QCOMPARE(m_files.writeFile(target, QByteArray(3 * 1024 * 1024, 'n')), int(FileErrors::DiskFull));
    QCOMPARE(m_dir->read(QStringLiteral("small/notes.txt")), QByteArray("the old notes"));
    QCOMPARE(statOf(target).st_size, off_t(13));
    QVERIFY(::chmod(PathCodec::encode(volume).constData(), 0755) == 0);
}

void FileContentsTest::writeAsAnUnprivilegedUser_data()
{
    QTest::addColumn<uint>("folderOwner");
    QTest::addColumn<uint>("folderMode");
    QTest::addColumn<uint>("fileOwner");
    QTest::addColumn<uint>("fileMode");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("inPlace"); // the same file (inode) afterwards
    const uint root = 0;
    const int refused = FileErrors::PathFileAccess;
    QTest::newRow("root's file in the user's folder: refused") << nobody << 0755u << root << 0644u << QByteArray("new") << refused << true;
    QTest::newRow("root's file in root's folder: refused") << root << 0755u << root << 0644u << QByteArray("new") << refused << true;
    QTest::newRow("own file in root's folder: in place, longer") << root << 0755u << nobody << 0644u << QByteArray("the new text, longer") << 0 << true;
    QTest::newRow("own file in root's folder: in place, shorter") << root << 0755u << nobody << 0644u << QByteArray("new") << 0 << true;
    QTest::newRow("own file in own folder: through a temporary file") << nobody << 0755u << nobody << 0644u << QByteArray("new") << 0 << false;
    QTest::newRow("root's writable file in a shared sticky folder: in place") << root << 01777u << root << 0666u << QByteArray("new") << 0 << true;
    // A new file would be the user's: the file stays root's.
    QTest::newRow("root's writable file in the user's folder: in place") << nobody << 0755u << root << 0666u << QByteArray("new") << 0 << true;
}

// Who may save is what this user may do: a saving child process that has become nobody.
void FileContentsTest::writeAsAnUnprivilegedUser()
{
    QFETCH(uint, folderOwner);
    QFETCH(uint, folderMode);
    QFETCH(uint, fileOwner);
    QFETCH(uint, fileMode);
    QFETCH(QByteArray, data);
    QFETCH(int, error);
    QFETCH(bool, inPlace);
    if (::geteuid() != 0)
        QSKIP("only root can become another user to check what that user may save");
    // nobody must reach the folder.
    QVERIFY(::chmod(PathCodec::encode(m_dir->path()).constData(), 0755) == 0);
    const QString folder = m_dir->createDir(QStringLiteral("folder"));
    const QString path = m_dir->createFile(QStringLiteral("folder/notes.txt"), "the old notes");
    own(folder, folderOwner, folderOwner ? nogroup : 0, folderMode);
    own(path, fileOwner, fileOwner ? nogroup : 0, fileMode);
    const ino_t inode = statOf(path).st_ino;
    // nobody's cache folder.
    QVERIFY(::chmod(PathCodec::encode(m_cache->path()).constData(), 0755) == 0);
    const QString cache = m_cache->dir().createDir(QStringLiteral("nobody"));
    own(cache, nobody, nogroup, 0700);

    const std::optional<int> result = writeAsNobody(path, data, cache);
    if (!result)
        QSKIP("the saving child could not become nobody here");
    QCOMPARE(*result, error);
    QCOMPARE(m_dir->read(QStringLiteral("folder/notes.txt")), error ? QByteArray("the old notes") : data);
    // The file keeps its owner and mode.
    QCOMPARE(statOf(path).st_uid, uid_t(fileOwner));
    QCOMPARE(statOf(path).st_mode & 07777, mode_t(fileMode));
    QCOMPARE(statOf(path).st_ino == inode, inPlace);
    QCOMPARE(m_dir->entries(QStringLiteral("folder")), QStringList{QStringLiteral("notes.txt")});
    QCOMPARE(m_cache->dir().entries(QStringLiteral("nobody/Panoptra")), QStringList());
}

void FileContentsTest::replaceNeverWritesThroughALink_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<int>("error");
    QTest::newRow("a link to a file outside") << "link" << 0;
    QTest::newRow("a link that leads nowhere") << "dangling" << 0;
    QTest::newRow("a link in a folder that takes no file") << "locked link" << int(FileErrors::PathFileAccess);
    QTest::newRow("a second name of a file, in a folder that takes no file") << "locked hard link" << int(FileErrors::PathFileAccess);
    QTest::newRow("a plain file") << "file" << 0;
    QTest::newRow("a plain file in a folder that takes no file: in place") << "locked file" << 0;
}

// replaceFile gives the name a file of its own: whatever a link there points to, and the other
// names of a file there, keep their contents.
void FileContentsTest::replaceNeverWritesThroughALink()
{
    QFETCH(QString, layout);
    QFETCH(int, error);
    const QString outside = m_dir->createFile(QStringLiteral("precious.conf"), "precious");
    const QString folder = m_dir->createDir(QStringLiteral("site"));
    const QString name = folder + QStringLiteral("/temp.html");
    const QByteArray encodedName = PathCodec::encode(name);
    if (layout.endsWith(QLatin1String("hard link")))
        QVERIFY(::link(PathCodec::encode(outside).constData(), encodedName.constData()) == 0);
    else if (layout.endsWith(QLatin1String("link")))
        QVERIFY(::symlink("../precious.conf", encodedName.constData()) == 0);
    else if (layout == QLatin1String("dangling"))
        QVERIFY(::symlink("../gone.conf", encodedName.constData()) == 0);
    else
        m_dir->createFile(QStringLiteral("site/temp.html"), "old preview");
    if (layout.startsWith(QLatin1String("locked")))
        QVERIFY(::chmod(PathCodec::encode(folder).constData(), 0555) == 0);

    QCOMPARE(m_files.replaceFile(name, "<p>preview</p>"), error);
    QCOMPARE(m_dir->read(QStringLiteral("precious.conf")), QByteArray("precious"));
    QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("gone.conf"))));
    QCOMPARE(m_dir->entries(QStringLiteral("site")), QStringList{QStringLiteral("temp.html")});
    if (error == 0) {
        QVERIFY(!isLink(name));
        QCOMPARE(m_dir->read(QStringLiteral("site/temp.html")), QByteArray("<p>preview</p>"));
    }
}

void FileContentsTest::sameFile_data()
{
    QTest::addColumn<QString>("other");
    QTest::addColumn<bool>("same");
    QTest::newRow("itself") << "doc.html" << true;
    QTest::newRow("a link to it") << "link.html" << true;
    QTest::newRow("a second name") << "hard.html" << true;
    QTest::newRow("another file with the same bytes") << "copy.html" << false;
    QTest::newRow("a missing name") << "gone.html" << false;
    QTest::newRow("no name") << "" << false;
}

void FileContentsTest::sameFile()
{
    QFETCH(QString, other);
    QFETCH(bool, same);
    const QString doc = m_dir->createFile(QStringLiteral("doc.html"), "<p/>");
    m_dir->createFile(QStringLiteral("copy.html"), "<p/>");
    QVERIFY(::symlink("doc.html", PathCodec::encode(m_dir->filePath(QStringLiteral("link.html"))).constData()) == 0);
    QVERIFY(::link(PathCodec::encode(doc).constData(),
                   PathCodec::encode(m_dir->filePath(QStringLiteral("hard.html"))).constData()) == 0);
    const QString path = other.isEmpty() ? QString() : m_dir->filePath(other);
    QCOMPARE(m_files.isSameFile(doc, path), same);
    QCOMPARE(m_files.isSameFile(path, doc), same);
}

void FileContentsTest::namesThatAreNotUtf8()
{
    const QByteArray rawName = m_dir->path().toUtf8() + "/caf\xE9.txt";
    const QString path = PathCodec::decode(rawName);
    QCOMPARE(m_files.writeFile(path, "latin name"), 0);
    // The file has exactly the name's bytes, and reads back through the same name.
    struct stat st;
    QCOMPARE(::stat(rawName.constData(), &st), 0);
    QCOMPARE(m_files.readFile(path, 100).data, QByteArray("latin name"));
    // The temporary folder's own removal could not name it.
    QCOMPARE(::unlink(rawName.constData()), 0);
}

QTEST_GUILESS_MAIN(FileContentsTest)
#include "tst_filecontents.moc"
