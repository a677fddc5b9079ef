// Reading a whole file and replacing a file's contents safely, on real files.

#include "platform/FileErrors.h"
#include "platform/PathCodec.h"
#include "platform/PosixFileServices.h"
#include "support/TestCase.h"
#include "support/TestDir.h"
#include "support/TmpfsMount.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct stat statOf(const QString &path)
{
    struct stat st = {};
    ::stat(PathCodec::encode(path).constData(), &st);
    return st;
}

} // namespace

class FileContentsTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<TestDir> m_dir;
    PosixFileServices m_files;

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); m_dir = std::make_unique<TestDir>(); }
    void cleanup();

    void readsWholeRegularFiles_data();
    void readsWholeRegularFiles();
    void readRefuses_data();
    void readRefuses();
    void writeCreatesAndReplaces();
    void writeKeepsModeAndWritesThroughLinks();
    void writeFailureKeepsTheOldFile_data();
    void writeFailureKeepsTheOldFile();
    void writeThatRunsOutOfSpaceKeepsTheOldFile();
    void namesThatAreNotUtf8();
};

void FileContentsTest::cleanup()
{
    QDirIterator it(m_dir->path(), QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        ::chmod(QFile::encodeName(it.next()).constData(), 0755);
    m_dir.reset();
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

    const FileContents read = m_files.readFile(name.isEmpty() ? QString() : m_dir->filePath(name), 100);
    QCOMPARE(read.error, error);
    QCOMPARE(read.tooLarge, tooLarge);
    QVERIFY(read.data.isEmpty());
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
    QTest::newRow("file in a read-only folder") << "locked/open.txt" << int(FileErrors::PathFileAccess);
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
