#include "platform/FileErrors.h"
#include "platform/PosixFileServices.h"
#include "support/TestCase.h"
#include "support/TestDir.h"
#include "support/TmpfsMount.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTest>

#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct stat statOf(const QString &path)
{
    struct stat st = {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

// Every entry under root with its contents (files) or a mark (folders, links), to show that a
// failed operation changed nothing.
QMap<QString, QByteArray> tree(const QString &root)
{
    QMap<QString, QByteArray> result;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QByteArray value;
        if (info.isSymLink()) {
            value = "link:" + QFile::encodeName(info.symLinkTarget());
        } else if (info.isDir()) {
            value = "folder";
        } else if (!S_ISREG(statOf(path).st_mode)) {
            value = "special";
        } else {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                value = file.readAll();
        }
        result.insert(path.mid(root.size()), value);
    }
    return result;
}

void setMode(const QString &path, mode_t mode)
{
    QVERIFY(::chmod(QFile::encodeName(path).constData(), mode) == 0);
}

QByteArray pattern(qsizetype size)
{
    QByteArray data(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        data[i] = char((i * 131 + i / 4096) & 0xff);
    return data;
}

} // namespace

class TestFileServices : public TestCase
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void copyCreatesTargetWithModeAndTime();
    void copyReplacesTarget_data();
    void copyReplacesTarget();
    void copyAcrossFilesystemsAndFromPseudoFiles();
    void copyOntoItselfTouchesNothing_data();
    void copyOntoItselfTouchesNothing();
    void copyThroughLinkWritesTheLinkedFile();
    void copyOntoAnotherUsersLink_data();
    void copyOntoAnotherUsersLink();
    void copyFailureChangesNothing_data();
    void copyFailureChangesNothing();
    void copyThatRunsOutOfSpaceKeepsOldTarget();

    void renameMovesTheName_data();
    void renameMovesTheName();
    void renameNeverReplaces_data();
    void renameNeverReplaces();

    void makeFolder_data();
    void makeFolder();
    void removeFolder_data();
    void removeFolder();
    void removeFolderRefusesRootsOfVolumes();

    void existsAndLength_data();
    void existsAndLength();

private:
    std::unique_ptr<TestDir> m_dir;
    PosixFileServices m_files;
};

void TestFileServices::init()
{
    failOnUnexpectedWarnings();
    m_dir = std::make_unique<TestDir>();
}

void TestFileServices::cleanup()
{
    // Give write access back, so that the temporary folder can go also when not run as root.
    QDirIterator it(m_dir->path(), QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        ::chmod(QFile::encodeName(it.next()).constData(), 0755);
    m_dir.reset();
}

void TestFileServices::copyCreatesTargetWithModeAndTime()
{
    const QString source = m_dir->createFile(QStringLiteral("a.txt"), "contents");
    setMode(source, 0640);
    const struct timespec times[2] = {{1'000'000'000, 5}, {1'200'000'000, 123'456'789}};
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(source).constData(), times, 0) == 0);
    m_dir->createDir(QStringLiteral("out"));

    QCOMPARE(m_files.copyFile(source, m_dir->filePath(QStringLiteral("out/a.txt"))), 0);

    QCOMPARE(m_dir->read(QStringLiteral("out/a.txt")), QByteArray("contents"));
    const struct stat st = statOf(m_dir->filePath(QStringLiteral("out/a.txt")));
    QCOMPARE(st.st_mode & 07777, mode_t(0640));
    QCOMPARE(st.st_mtim.tv_sec, times[1].tv_sec);
    QCOMPARE(st.st_mtim.tv_nsec, times[1].tv_nsec);
    QCOMPARE(m_dir->entries(QStringLiteral("out")), QStringList{QStringLiteral("a.txt")});
}

void TestFileServices::copyReplacesTarget_data()
{
    QTest::addColumn<QByteArray>("oldContents");
    QTest::addColumn<QByteArray>("newContents");
    QTest::newRow("longer old target") << pattern(100'000) << QByteArray("short");
    QTest::newRow("shorter old target") << QByteArray("old") << pattern(3 * 1024 * 1024 + 17);
    QTest::newRow("empty source") << QByteArray("old") << QByteArray();
}

void TestFileServices::copyReplacesTarget()
{
    QFETCH(QByteArray, oldContents);
    QFETCH(QByteArray, newContents);
    const QString source = m_dir->createFile(QStringLiteral("src/f.bin"), newContents);
    const QString target = m_dir->createFile(QStringLiteral("dst/f.bin"), oldContents);

    QCOMPARE(m_files.copyFile(source, target), 0);
    QVERIFY(m_dir->read(QStringLiteral("dst/f.bin")) == newContents);
    QCOMPARE(m_dir->entries(QStringLiteral("dst")), QStringList{QStringLiteral("f.bin")});
}

void TestFileServices::copyAcrossFilesystemsAndFromPseudoFiles()
{
    // The kernel's fast copy refuses some pairs of filesystems and reads nothing from files
    // like those under /proc; the copy falls back and still copies every byte.
    const QString pseudo = QStringLiteral("/proc/self/mountinfo");
    QFile expected(pseudo);
    QVERIFY(expected.open(QIODevice::ReadOnly));
    const QByteArray mounts = expected.readAll();
    QCOMPARE(m_files.copyFile(pseudo, m_dir->filePath(QStringLiteral("mountinfo"))), 0);
    // The file describes this process's mounts, which stay the same meanwhile.
    QCOMPARE(m_dir->read(QStringLiteral("mountinfo")), mounts);

    const QString volume = m_dir->createDir(QStringLiteral("volume"));
    TmpfsMount mount(volume, QStringLiteral("8m"));
    if (!mount.isMounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs here (%1); the copy between two "
                                        "filesystems is not checked").arg(mount.error())));
    const QByteArray data = pattern(2 * 1024 * 1024 + 3);
    const QString source = m_dir->createFile(QStringLiteral("big.bin"), data);
    QCOMPARE(m_files.copyFile(source, volume + QStringLiteral("/big.bin")), 0);
    QVERIFY(m_dir->read(QStringLiteral("volume/big.bin")) == data);
    QCOMPARE(m_files.copyFile(volume + QStringLiteral("/big.bin"), m_dir->filePath(QStringLiteral("back.bin"))), 0);
    QVERIFY(m_dir->read(QStringLiteral("back.bin")) == data);
}

void TestFileServices::copyOntoItselfTouchesNothing_data()
{
    QTest::addColumn<QString>("targetName");
    QTest::newRow("same path") << QStringLiteral("dir/a.txt");
    QTest::newRow("path with dot segments") << QStringLiteral("dir/./../dir/a.txt");
    QTest::newRow("hard link") << QStringLiteral("dir/hard.txt");
    QTest::newRow("symbolic link") << QStringLiteral("dir/soft.txt");
}

void TestFileServices::copyOntoItselfTouchesNothing()
{
    QFETCH(QString, targetName);
    const QByteArray contents = pattern(70'000);
    const QString source = m_dir->createFile(QStringLiteral("dir/a.txt"), contents);
    QVERIFY(::link(QFile::encodeName(source).constData(),
                   QFile::encodeName(m_dir->filePath(QStringLiteral("dir/hard.txt"))).constData()) == 0);
    QVERIFY(QFile::link(source, m_dir->filePath(QStringLiteral("dir/soft.txt"))));
    const struct stat before = statOf(source);
    const auto treeBefore = tree(m_dir->path());

    QCOMPARE(m_files.copyFile(source, m_dir->filePath(targetName)), int(FileErrors::PermissionDenied));

    QVERIFY(m_dir->read(QStringLiteral("dir/a.txt")) == contents);
    const struct stat after = statOf(source);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    QCOMPARE(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    QCOMPARE(tree(m_dir->path()), treeBefore);
}

void TestFileServices::copyThroughLinkWritesTheLinkedFile()
{
    const QString source = m_dir->createFile(QStringLiteral("new.txt"), "new");
    const QString real = m_dir->createFile(QStringLiteral("real/old.txt"), "old");
    const QString link = m_dir->filePath(QStringLiteral("link.txt"));
    QVERIFY(QFile::link(real, link));

    QCOMPARE(m_files.copyFile(source, link), 0);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(m_dir->read(QStringLiteral("real/old.txt")), QByteArray("new"));
    QCOMPARE(m_dir->entries(QStringLiteral("real")), QStringList{QStringLiteral("old.txt")});
}

void TestFileServices::copyOntoAnotherUsersLink_data()
{
    QTest::addColumn<uint>("folderOwner");
    QTest::addColumn<uint>("linkOwner");
    QTest::addColumn<uint>("linkedOwner");
    QTest::addColumn<bool>("followed");
    const uint root = 0;
    const uint other = 65534;
    QTest::newRow("planted in a shared folder") << root << other << root << false;
    QTest::newRow("the folder owner's link to a file not theirs") << other << other << root << false;
    QTest::newRow("the folder owner's link to their own file") << other << other << other << true;
    QTest::newRow("our own link in another's folder") << other << root << other << true;
}

void TestFileServices::copyOntoAnotherUsersLink()
{
    if (::geteuid() != 0)
        QSKIP("needs root, to give the folder, the link and the file other owners");
    QFETCH(uint, folderOwner);
    QFETCH(uint, linkOwner);
    QFETCH(uint, linkedOwner);
    QFETCH(bool, followed);
    const QString source = m_dir->createFile(QStringLiteral("new.txt"), "new");
    const QString linked = m_dir->createFile(QStringLiteral("outside/passwd"), "root:x:0:0");
    const QString folder = m_dir->filePath(QStringLiteral("shared"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), 01777) == 0);
    QVERIFY(::chown(QFile::encodeName(folder).constData(), folderOwner, folderOwner) == 0);
    QVERIFY(::chown(QFile::encodeName(linked).constData(), linkedOwner, linkedOwner) == 0);
    const QString link = folder + QStringLiteral("/notes.txt");
    QVERIFY(QFile::link(linked, link));
    QVERIFY(::lchown(QFile::encodeName(link).constData(), linkOwner, linkOwner) == 0);

    QCOMPARE(m_files.copyFile(source, link), 0);

    QCOMPARE(QFileInfo(link).isSymLink(), followed);
    QCOMPARE(m_dir->read(QStringLiteral("outside/passwd")), followed ? QByteArray("new") : QByteArray("root:x:0:0"));
    QCOMPARE(m_dir->read(QStringLiteral("shared/notes.txt")), QByteArray("new"));
}

void TestFileServices::copyFailureChangesNothing_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("error");
    const int notFound = FileErrors::FileNotFound;
    const int pathNotFound = FileErrors::PathNotFound;
    const int access = FileErrors::PathFileAccess;
    QTest::newRow("missing source") << "gone.txt" << "out/gone.txt" << notFound;
    QTest::newRow("source in a missing folder") << "nowhere/a.txt" << "out/a.txt" << pathNotFound;
    QTest::newRow("missing destination folder") << "a.txt" << "nowhere/a.txt" << pathNotFound;
    QTest::newRow("destination path through a file") << "a.txt" << "b.txt/a.txt" << pathNotFound;
    QTest::newRow("target is a folder") << "a.txt" << "out/taken" << access;
    QTest::newRow("read-only target") << "a.txt" << "out/readonly.txt" << access;
    QTest::newRow("read-only destination folder") << "a.txt" << "locked/a.txt" << access;
    QTest::newRow("writable target in a read-only folder") << "a.txt" << "locked/open.txt" << access;
    QTest::newRow("source is a folder") << "out" << "copy-of-out" << access;
    QTest::newRow("source is a pipe") << "pipe" << "out/pipe" << access;
    QTest::newRow("target is a pipe") << "a.txt" << "pipe" << access;
    QTest::newRow("read-only volume") << "a.txt" << "readonly-volume/a.txt" << access;
}

// Root passes every permission check; the write-protection cases hold for it too.
void TestFileServices::copyFailureChangesNothing()
{
    QFETCH(QString, source);
    QFETCH(QString, target);
    QFETCH(int, error);
    m_dir->createFile(QStringLiteral("a.txt"), "new contents");
    m_dir->createFile(QStringLiteral("b.txt"), "b");
    m_dir->createDir(QStringLiteral("out/taken"));
    setMode(m_dir->createFile(QStringLiteral("out/readonly.txt"), "old"), 0444);
    m_dir->createFile(QStringLiteral("locked/open.txt"), "old");
    setMode(m_dir->filePath(QStringLiteral("locked")), 0555);
    // Reading a pipe that nobody writes would wait forever.
    QVERIFY(::mkfifo(QFile::encodeName(m_dir->filePath(QStringLiteral("pipe"))).constData(), 0644) == 0);
    std::optional<TmpfsMount> readOnly;
    if (target.startsWith(QLatin1String("readonly-volume/"))) {
        readOnly.emplace(m_dir->createDir(QStringLiteral("readonly-volume")), QStringLiteral("1m"));
        if (!readOnly->isMounted())
            QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs here (%1): a read-only volume is "
                                            "not checked").arg(readOnly->error())));
        QVERIFY(readOnly->remountReadOnly());
    }
    const auto before = tree(m_dir->path());

    QCOMPARE(m_files.copyFile(m_dir->filePath(source), m_dir->filePath(target)), error);
    QCOMPARE(tree(m_dir->path()), before);
}

void TestFileServices::copyThatRunsOutOfSpaceKeepsOldTarget()
{
    const QString volume = m_dir->createDir(QStringLiteral("small"));
    TmpfsMount mount(volume, QStringLiteral("1m"));
    if (!mount.isMounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a 1 MiB tmpfs here (%1): the copy that runs "
                                        "out of space is not checked (ScriptedFileServices is no "
                                        "substitute for this test)").arg(mount.error())));
    const QString target = volume + QStringLiteral("/report.doc");
    {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the old report");
    }
    const QString source = m_dir->createFile(QStringLiteral("report.doc"), pattern(3 * 1024 * 1024));

    QCOMPARE(m_files.copyFile(source, target), int(FileErrors::DiskFull));

    QCOMPARE(m_dir->read(QStringLiteral("small/report.doc")), QByteArray("the old report"));
    QCOMPARE(m_dir->entries(QStringLiteral("small")), QStringList{QStringLiteral("report.doc")});
}

void TestFileServices::renameMovesTheName_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("file") << "dir/a.txt" << "dir/b.txt";
    QTest::newRow("file into another folder") << "dir/a.txt" << "other/a.txt";
    QTest::newRow("folder") << "dir" << "renamed";
    QTest::newRow("only the case changes") << "dir/a.txt" << "dir/A.txt";
}

void TestFileServices::renameMovesTheName()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    m_dir->createFile(QStringLiteral("dir/a.txt"), "data");
    m_dir->createDir(QStringLiteral("other"));
    auto expected = tree(m_dir->path());
    QMap<QString, QByteArray> moved;
    for (auto it = expected.begin(); it != expected.end();) {
        const QString name = it.key().mid(1);
        if (name == from || name.startsWith(from + QLatin1Char('/'))) {
            moved.insert(QLatin1Char('/') + to + name.mid(from.size()), it.value());
            it = expected.erase(it);
        } else {
            ++it;
        }
    }
    expected.insert(moved);

    QCOMPARE(m_files.rename(m_dir->filePath(from), m_dir->filePath(to)), 0);
    QCOMPARE(tree(m_dir->path()), expected);
}

void TestFileServices::renameNeverReplaces_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("error");
    const int exists = FileErrors::FileAlreadyExists;
    QTest::newRow("onto an existing file") << "dir/a.txt" << "dir/b.txt" << exists;
    QTest::newRow("onto an empty folder") << "dir/a.txt" << "dir/empty" << exists;
    QTest::newRow("folder onto an empty folder") << "dir/full" << "dir/empty" << exists;
    QTest::newRow("onto a folder with files") << "dir/a.txt" << "dir/full" << exists;
    QTest::newRow("onto itself") << "dir/a.txt" << "dir/a.txt" << exists;
    QTest::newRow("onto its own hard link") << "dir/a.txt" << "dir/twin.txt" << exists;
    QTest::newRow("onto a dangling link") << "dir/a.txt" << "dir/dangling" << exists;
    QTest::newRow("missing source") << "dir/gone.txt" << "dir/c.txt" << int(FileErrors::FileNotFound);
    QTest::newRow("source in a missing folder") << "nowhere/a.txt" << "dir/c.txt" << int(FileErrors::PathNotFound);
    QTest::newRow("target in a missing folder") << "dir/a.txt" << "nowhere/c.txt" << int(FileErrors::PathNotFound);
    QTest::newRow("out of a read-only folder") << "locked/in.txt" << "dir/in.txt" << int(FileErrors::PathFileAccess);
    QTest::newRow("into a read-only folder") << "dir/a.txt" << "locked/a.txt" << int(FileErrors::PathFileAccess);
    QTest::newRow("within a read-only folder") << "locked/in.txt" << "locked/out.txt" << int(FileErrors::PathFileAccess);
    QTest::newRow("folder into itself") << "dir/full" << "dir/full/inner/full" << int(FileErrors::PathFileAccess);
}

void TestFileServices::renameNeverReplaces()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, error);
    const QString a = m_dir->createFile(QStringLiteral("dir/a.txt"), "a");
    m_dir->createFile(QStringLiteral("dir/b.txt"), "b");
    m_dir->createDir(QStringLiteral("dir/empty"));
    m_dir->createFile(QStringLiteral("dir/full/inner/x.txt"), "x");
    QVERIFY(::link(QFile::encodeName(a).constData(),
                   QFile::encodeName(m_dir->filePath(QStringLiteral("dir/twin.txt"))).constData()) == 0);
    QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("nothing")), m_dir->filePath(QStringLiteral("dir/dangling"))));
    m_dir->createFile(QStringLiteral("locked/in.txt"), "in");
    setMode(m_dir->filePath(QStringLiteral("locked")), 0555);
    const auto before = tree(m_dir->path());

    QCOMPARE(m_files.rename(m_dir->filePath(from), m_dir->filePath(to)), error);
    QCOMPARE(tree(m_dir->path()), before);
}

void TestFileServices::makeFolder_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("error");
    QTest::newRow("new folder") << "parent/new" << 0;
    QTest::newRow("name with blanks and accents") << "parent/Nouveau dossier é" << 0;
    QTest::newRow("existing folder") << "parent/old" << int(FileErrors::PathFileAccess);
    QTest::newRow("name of a file") << "parent/file.txt" << int(FileErrors::PathFileAccess);
    QTest::newRow("the folder itself, with a slash") << "parent/" << int(FileErrors::PathFileAccess);
    QTest::newRow("missing parent") << "nowhere/new" << int(FileErrors::PathNotFound);
    QTest::newRow("two levels at once") << "parent/a/b" << int(FileErrors::PathNotFound);
    QTest::newRow("parent is a file") << "parent/file.txt/new" << int(FileErrors::PathNotFound);
    QTest::newRow("read-only parent") << "locked/new" << int(FileErrors::PathFileAccess);
}

void TestFileServices::makeFolder()
{
    QFETCH(QString, path);
    QFETCH(int, error);
    m_dir->createDir(QStringLiteral("parent/old"));
    m_dir->createFile(QStringLiteral("parent/file.txt"), "f");
    setMode(m_dir->createDir(QStringLiteral("locked")), 0555);
    auto expected = tree(m_dir->path());
    if (error == 0)
        expected.insert(QLatin1Char('/') + path, "folder");

    QCOMPARE(m_files.makeFolder(m_dir->filePath(path)), error);
    QCOMPARE(tree(m_dir->path()), expected);
}

void TestFileServices::removeFolder_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("error");
    QTest::newRow("empty folder") << "parent/empty" << 0;
    QTest::newRow("empty folder, with a slash") << "parent/empty/" << 0;
    QTest::newRow("folder with a file") << "parent/full" << int(FileErrors::PathFileAccess);
    QTest::newRow("folder with only a hidden file") << "parent/hidden" << int(FileErrors::PathFileAccess);
    QTest::newRow("folder with only a folder") << "parent/nested" << int(FileErrors::PathFileAccess);
    QTest::newRow("missing folder") << "parent/gone" << int(FileErrors::PathNotFound);
    QTest::newRow("a file") << "parent/full/a.txt" << int(FileErrors::PathNotFound);
    QTest::newRow("a link to an empty folder") << "parent/link" << int(FileErrors::PathNotFound);
    QTest::newRow("empty folder in a read-only parent") << "locked/empty" << int(FileErrors::PathFileAccess);
    QTest::newRow("the current folder's dot") << "parent/empty/." << int(FileErrors::PathFileAccess);
}

void TestFileServices::removeFolder()
{
    QFETCH(QString, path);
    QFETCH(int, error);
    m_dir->createDir(QStringLiteral("parent/empty"));
    m_dir->createFile(QStringLiteral("parent/full/a.txt"), "a");
    m_dir->createFile(QStringLiteral("parent/hidden/.keep"), "");
    m_dir->createDir(QStringLiteral("parent/nested/inner"));
    QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("parent/empty")), m_dir->filePath(QStringLiteral("parent/link"))));
    m_dir->createDir(QStringLiteral("locked/empty"));
    setMode(m_dir->filePath(QStringLiteral("locked")), 0555);
    auto expected = tree(m_dir->path());
    if (error == 0)
        expected.remove(QStringLiteral("/parent/empty"));

    QCOMPARE(m_files.removeFolder(m_dir->filePath(path)), error);
    QCOMPARE(tree(m_dir->path()), expected);
}

void TestFileServices::removeFolderRefusesRootsOfVolumes()
{
    QCOMPARE(m_files.removeFolder(QStringLiteral("/")), int(FileErrors::PathFileAccess));
    QVERIFY(QFileInfo(QStringLiteral("/")).isDir());

    const QString volume = m_dir->createDir(QStringLiteral("volume"));
    TmpfsMount mount(volume, QStringLiteral("1m"));
    if (!mount.isMounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs here (%1); the mount root is not "
                                        "checked").arg(mount.error())));
    const dev_t mountedDevice = statOf(volume).st_dev;
    QCOMPARE(m_files.removeFolder(volume), int(FileErrors::PathFileAccess));
    QCOMPARE(statOf(volume).st_dev, mountedDevice);
}

void TestFileServices::existsAndLength_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<qint64>("length");
    QTest::newRow("file") << "five.txt" << true << qint64(5);
    QTest::newRow("empty file") << "empty.txt" << true << qint64(0);
    QTest::newRow("link to a file") << "link.txt" << true << qint64(5);
    QTest::newRow("folder") << "folder" << true << qint64(-1);
    QTest::newRow("missing") << "gone.txt" << false << qint64(-1);
    QTest::newRow("in a missing folder") << "nowhere/gone.txt" << false << qint64(-1);
    QTest::newRow("dangling link (the name is taken)") << "dangling" << true << qint64(-1);
    QTest::newRow("empty path") << QString() << false << qint64(-1);
}

void TestFileServices::existsAndLength()
{
    QFETCH(QString, path);
    QFETCH(bool, exists);
    QFETCH(qint64, length);
    m_dir->createFile(QStringLiteral("five.txt"), "12345");
    m_dir->createFile(QStringLiteral("empty.txt"), "");
    m_dir->createDir(QStringLiteral("folder"));
    QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("five.txt")), m_dir->filePath(QStringLiteral("link.txt"))));
    QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("nothing")), m_dir->filePath(QStringLiteral("dangling"))));
    const QString full = path.isEmpty() ? QString() : m_dir->filePath(path);

    QCOMPARE(m_files.exists(full), exists);
    QCOMPARE(m_files.length(full), length);
}

QTEST_GUILESS_MAIN(TestFileServices)
#include "tst_fileservices.moc"
