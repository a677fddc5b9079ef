#include "platform/PathCodec.h"
#include "search/DigFixture.h"
#include "support/TestCase.h"

#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A chain of folders, each named name, depth deep below folder, with a file file at the bottom:
// made and removed relative to each level, as the whole path is longer than the system takes.
void makeChain(const QString &folder, const char *name, int depth, const char *file)
{
    int at = ::open(PathCodec::encode(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int level = 0; level < depth && at >= 0; ++level) {
        ::mkdirat(at, name, 0700);
        const int next = ::openat(at, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(at);
        at = next;
    }
    QVERIFY(at >= 0);
    const int fd = ::openat(at, file, O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    QVERIFY(fd >= 0);
    ::close(fd);
    ::close(at);
}

// Removes such a chain one level at a time from the top: the level below moves up and takes
// the place of the emptied one.
void removeChain(const QString &folder, const char *name, const char *file)
{
    const int top = ::open(PathCodec::encode(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const QByteArray below = QByteArray(name) + '/' + name;
    while (::renameat(top, below.constData(), top, "next") == 0) {
        ::unlinkat(top, name, AT_REMOVEDIR);
        ::renameat(top, "next", top, name);
    }
    const QByteArray bottomFile = QByteArray(name) + '/' + file;
    ::unlinkat(top, bottomFile.constData(), 0);
    ::unlinkat(top, name, AT_REMOVEDIR);
    ::close(top);
}
} // namespace

// The walk through trees that would trip a naive one: links that lead back, folders that cannot
// be read, a tree deeper than the system's longest path, names that are not UTF-8.
class TestSearchWalk : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void linksNeverLoop();
    void unreadableFolderYieldsNothing();
    void deepTreeFinishes();
    void namesThatAreNotUtf8();
};

void TestSearchWalk::linksNeverLoop()
{
    TestDir tree;
    tree.createFile(QStringLiteral("f.txt"));
    tree.createFile(QStringLiteral("sub/g.txt"));
    TestDir elsewhere;
    elsewhere.createFile(QStringLiteral("h.txt"));
    QVERIFY(QFile::link(QStringLiteral(".."), tree.filePath(QStringLiteral("sub/up"))));
    QVERIFY(QFile::link(QStringLiteral("."), tree.filePath(QStringLiteral("here"))));
    QVERIFY(QFile::link(QStringLiteral("self"), tree.filePath(QStringLiteral("self"))));
    QVERIFY(QFile::link(elsewhere.path(), tree.filePath(QStringLiteral("linked"))));
    QVERIFY(QFile::link(elsewhere.filePath(QStringLiteral("h.txt")), tree.filePath(QStringLiteral("link.txt"))));

    DigFixture f;
    f.start(tree.path(), QStringLiteral("*.txt"), true);

    // Each file once; a link to a folder outside is searched as a folder of the tree.
    QCOMPARE(f.listed(tree), (QStringList{"f.txt", "link.txt", "linked/h.txt", "sub/g.txt"}));
    QCOMPARE(f.messages(), QStringList{" 4 files found in 3 directories"});
}

void TestSearchWalk::unreadableFolderYieldsNothing()
{
    if (::geteuid() == 0)
        QSKIP("root reads every folder");
    TestDir tree;
    tree.createFile(QStringLiteral("a/a.txt"));
    const QString locked = tree.createDir(QStringLiteral("b"));
    tree.createFile(QStringLiteral("b/b.txt"));
    tree.createFile(QStringLiteral("c/c.txt"));
    QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));

    DigFixture f;
    f.start(tree.path(), QStringLiteral("*.txt"), true);
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // The folder that cannot be opened is counted, as every folder the walk went on from.
    QCOMPARE(f.listed(tree), (QStringList{"a/a.txt", "c/c.txt"}));
    QCOMPARE(f.messages(), QStringList{" 2 files found in 4 directories"});
}

void TestSearchWalk::deepTreeFinishes()
{
    TestDir tree;
    tree.createFile(QStringLiteral("top.txt"));
    // 1,000 levels of 11 bytes each: far beyond the 4,096 bytes of one path.
    const char *level = "level-name";
    makeChain(tree.path(), level, 1000, "deep.txt");

    // Yields by time slice, as the program does: a paint of a path this long on every entry
    // would only slow the test.
    DigFixture f(DigTiming{10, 0, 0});
    f.start(tree.path(), QStringLiteral("*.txt"), true);
    const QStringList listed = f.listed(tree);
    removeChain(tree.path(), level, "deep.txt");

    QCOMPARE(listed.size(), 2);
    QCOMPARE(listed.first(), QStringLiteral("top.txt"));
    QVERIFY(listed.last().endsWith(QStringLiteral("/level-name/deep.txt")));
    QCOMPARE(listed.last().count(QStringLiteral("level-name")), 1000);
    QCOMPARE(f.messages(), QStringList{" 2 files found in 1001 directories"});
}

void TestSearchWalk::namesThatAreNotUtf8()
{
    TestDir tree;
    const QByteArray folder = PathCodec::encode(tree.path()) + "/\xff-dir";
    const QByteArray file = folder + "/caf\xe9.txt";
    QCOMPARE(::mkdir(folder.constData(), 0700), 0);
    const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    QVERIFY(fd >= 0);
    ::close(fd);

    DigFixture f;
    f.start(tree.path(), QStringLiteral("CAF?.TXT"), true);

    // The entry names the very bytes of the file; the list shows a mark for each odd byte.
    QCOMPARE(f.entries().size(), 1);
    QCOMPARE(PathCodec::encode(f.entries().first()), file);
    const QString shown = f.dig().List1()->model()->index(0, 0).data().toString();
    QVERIFY(shown.endsWith(QStringLiteral("/\uFFFD-dir/caf\uFFFD.txt")));
    QCOMPARE(f.messages(), QStringList{" 1 files found in 2 directories"});
    // The temporary folder's own clean-up cannot name these.
    QCOMPARE(::unlink(file.constData()), 0);
    QCOMPARE(::rmdir(folder.constData()), 0);
}

QTEST_MAIN(TestSearchWalk)
#include "tst_searchwalk.moc"
