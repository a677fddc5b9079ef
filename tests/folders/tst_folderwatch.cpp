#include "folders/FolderReader.h"
#include "folders/FolderWatch.h"
#include "folders/NamePattern.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include <QDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

#include <functional>

using Change = std::function<void(TestDir &)>;
Q_DECLARE_METATYPE(Change)

class TestFolderWatch : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void unchangedFolderNeedsNoRead();
    void everyChangeIsSeen_data();
    void everyChangeIsSeen();
    void linksAreNeverTrusted();
    void unreadableFolderIsNeverTrusted();
    void listingCutShortIsNeverTrusted_data();
    void listingCutShortIsNeverTrusted();

private:
    QString watched() const { return m_dir->filePath(QStringLiteral("watched")); }

    std::unique_ptr<TestDir> m_dir;
    std::unique_ptr<FolderWatch> m_watch;
};

void TestFolderWatch::init()
{
    failOnUnexpectedWarnings();
    m_dir = std::make_unique<TestDir>();
    m_dir->createFile(QStringLiteral("watched/a.txt"));
    m_dir->createDir(QStringLiteral("watched/sub"));
    m_dir->createFile(QStringLiteral("outside.txt"));
    m_watch = std::make_unique<FolderWatch>();
    FolderReader::fileNames(watched(), NamePattern(), m_watch.get());
    if (m_watch->mayHaveChanged(watched()))
        QSKIP("the temporary folder's file system is not watched here");
}

void TestFolderWatch::cleanup()
{
    m_watch.reset();
    if (m_dir)
        QDir(m_dir->path() + QStringLiteral("-moved")).removeRecursively();
    m_dir.reset();
}

void TestFolderWatch::unchangedFolderNeedsNoRead()
{
    QVERIFY(!m_watch->mayHaveChanged(watched()));
    // Reading a file's contents or a sub-folder's entries changes nothing here.
    QCOMPARE(m_dir->read(QStringLiteral("watched/a.txt")), QByteArray("x"));
    m_dir->createFile(QStringLiteral("watched/sub/deep.txt"));
    QVERIFY(!m_watch->mayHaveChanged(watched()));
    QVERIFY(m_watch->mayHaveChanged(watched() + "/sub")); // another folder was never read
}

void TestFolderWatch::everyChangeIsSeen_data()
{
    QTest::addColumn<Change>("change");
    const auto w = [](TestDir &dir, const char *relative) { return dir.filePath(QStringLiteral("watched/") + relative); };
    QTest::newRow("new file") << Change([](TestDir &dir) { dir.createFile(QStringLiteral("watched/b.txt")); });
    QTest::newRow("new folder") << Change([](TestDir &dir) { dir.createDir(QStringLiteral("watched/new")); });
    QTest::newRow("file removed") << Change([=](TestDir &dir) { QFile::remove(w(dir, "a.txt")); });
    QTest::newRow("folder removed") << Change([=](TestDir &dir) { QDir().rmdir(w(dir, "sub")); });
    QTest::newRow("renamed inside") << Change([=](TestDir &dir) { QFile::rename(w(dir, "a.txt"), w(dir, "c.txt")); });
    QTest::newRow("moved in") << Change([=](TestDir &dir) { QFile::rename(dir.filePath(QStringLiteral("outside.txt")), w(dir, "in.txt")); });
    QTest::newRow("moved out") << Change([=](TestDir &dir) { QFile::rename(w(dir, "a.txt"), dir.filePath(QStringLiteral("out.txt"))); });
    QTest::newRow("folder made unreadable") << Change([](TestDir &dir) { ::chmod(QFile::encodeName(dir.filePath(QStringLiteral("watched"))).constData(), 0); });
    QTest::newRow("folder put in its place") << Change([](TestDir &dir) {
        QFile::rename(dir.filePath(QStringLiteral("watched")), dir.filePath(QStringLiteral("old")));
        dir.createDir(QStringLiteral("watched"));
    });
    QTest::newRow("parent renamed") << Change([](TestDir &dir) {
        QFile::rename(dir.path(), dir.path() + QStringLiteral("-moved"));
        QDir().mkpath(dir.filePath(QStringLiteral("watched"))); // same path, another folder
    });
    QTest::newRow("folder removed itself") << Change([](TestDir &dir) { QDir(dir.filePath(QStringLiteral("watched"))).removeRecursively(); });
}

void TestFolderWatch::everyChangeIsSeen()
{
    QFETCH(Change, change);
    change(*m_dir);
    QVERIFY(m_watch->mayHaveChanged(watched()));
    QVERIFY(m_watch->mayHaveChanged(watched())); // and stays so until the next read
    ::chmod(QFile::encodeName(watched()).constData(), 0755);
    FolderReader::fileNames(watched(), NamePattern(), m_watch.get());
    if (QFileInfo(watched()).isDir())
        QVERIFY(!m_watch->mayHaveChanged(watched()));
}

void TestFolderWatch::linksAreNeverTrusted()
{
    QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("outside.txt")), watched() + "/link.txt"));
    FolderReader::fileNames(watched(), NamePattern(), m_watch.get());
    QVERIFY(m_watch->mayHaveChanged(watched()));
    FolderReader::folderNames(watched(), m_watch.get());
    QVERIFY(m_watch->mayHaveChanged(watched()));
}

void TestFolderWatch::unreadableFolderIsNeverTrusted()
{
    const QString missing = m_dir->filePath(QStringLiteral("missing"));
    QVERIFY(FolderReader::folderNames(missing, m_watch.get()).isEmpty());
    QVERIFY(m_watch->mayHaveChanged(missing));
    QVERIFY(m_watch->mayHaveChanged(watched()));
}

void TestFolderWatch::listingCutShortIsNeverTrusted_data()
{
    QTest::addColumn<int>("openFlags");
    QTest::addColumn<bool>("readFails");
    QTest::newRow("open for reading: read whole") << int(O_RDONLY) << false;
    // A descriptor that names the folder but cannot read it: getdents64 fails (EBADF) while the
    // watch on the folder itself starts as usual.
    QTest::newRow("open as a path only: the read fails") << int(O_PATH) << true;
}

void TestFolderWatch::listingCutShortIsNeverTrusted()
{
    QFETCH(int, openFlags);
    QFETCH(bool, readFails);
    const int dirFd = ::open(QFile::encodeName(watched()).constData(), openFlags | O_DIRECTORY | O_CLOEXEC);
    QVERIFY(dirFd >= 0);
    const FolderReader::Contents contents = FolderReader::contents(watched(), dirFd, m_watch.get());
    QCOMPARE(contents.files.toStringList(), readFails ? QStringList() : QStringList{"a.txt"});
    QCOMPARE(contents.folders, readFails ? QStringList() : QStringList{"sub"});
    QCOMPARE(m_watch->mayHaveChanged(watched()), readFails);
    // The next read of the folder is whole and trusted again.
    FolderReader::fileNames(watched(), NamePattern(), m_watch.get());
    QVERIFY(!m_watch->mayHaveChanged(watched()));
}

QTEST_GUILESS_MAIN(TestFolderWatch)
#include "tst_folderwatch.moc"
