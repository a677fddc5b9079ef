#include "platform/PathCodec.h"
#include "search/DigFixture.h"
#include "support/DeepChain.h"
#include "support/TestCase.h"

#include <QTest>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A folder mounted on another for as long as the object lives (needs root).
class BindMount
{
public:
    BindMount(const QString &from, const QString &onto) : m_onto(PathCodec::encode(onto))
    {
        m_mounted = ::mount(PathCodec::encode(from).constData(), m_onto.constData(), nullptr, MS_BIND, nullptr) == 0;
        if (!m_mounted)
            m_error = QString::fromLocal8Bit(std::strerror(errno));
    }
    ~BindMount()
    {
        if (m_mounted)
            ::umount2(m_onto.constData(), MNT_DETACH);
    }
    bool isMounted() const { return m_mounted; }
    const QString &error() const { return m_error; }

private:
    QByteArray m_onto;
    bool m_mounted = false;
    QString m_error;
};
} // namespace

// The walk through trees that would trip a naive one: links that lead out or back, a folder
// mounted inside itself, folders that cannot be read, a tree deeper than the system's longest
// path, names that are not UTF-8.
class TestSearchWalk : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void linksToFoldersAreNotFollowed();
    void folderExchangedDuringTheWalk_data();
    void folderExchangedDuringTheWalk();
    void staysInsideTheTree();
    void unreadableFolderYieldsNothing();
    void deepTreeFinishes();
    void deepTreeWithBranchesOnTheWayBack();
    void namesThatAreNotUtf8();
};

void TestSearchWalk::linksToFoldersAreNotFollowed()
{
    TestDir tree;
    tree.createFile(QStringLiteral("f.txt"));
    tree.createFile(QStringLiteral("sub/g.txt"));
    TestDir elsewhere;
    elsewhere.createFile(QStringLiteral("h.txt"));
    QVERIFY(QFile::link(QStringLiteral(".."), tree.filePath(QStringLiteral("sub/up"))));
    QVERIFY(QFile::link(QStringLiteral("."), tree.filePath(QStringLiteral("here"))));
    QVERIFY(QFile::link(QStringLiteral("self"), tree.filePath(QStringLiteral("self"))));
    QVERIFY(QFile::link(QStringLiteral("nowhere"), tree.filePath(QStringLiteral("dangling.txt"))));
    QVERIFY(QFile::link(elsewhere.path(), tree.filePath(QStringLiteral("linked"))));
    QVERIFY(QFile::link(elsewhere.filePath(QStringLiteral("h.txt")), tree.filePath(QStringLiteral("link.txt"))));

    DigFixture f;
    f.start(tree.path(), QStringLiteral("*.txt"), true);

    // Each file once, at its place in the tree; a link to a file is a file, a link to a
    // folder leads nowhere, and a link to nothing is nothing.
    QCOMPARE(f.listed(tree), (QStringList{"f.txt", "link.txt", "sub/g.txt"}));
    QCOMPARE(f.messages(), QStringList{" 3 files found in 2 directories"});
}

void TestSearchWalk::folderExchangedDuringTheWalk_data()
{
    QTest::addColumn<bool>("link"); // else a folder from outside is moved in

    QTest::newRow("for a link to a folder outside") << true;
    QTest::newRow("for a folder from outside") << false;
}

void TestSearchWalk::folderExchangedDuringTheWalk()
{
    QFETCH(bool, link);
    TestDir tree;
    tree.createFile(QStringLiteral("a.txt"));
    tree.createFile(QStringLiteral("sub/b.txt"));
    TestDir outside;
    outside.createFile(QStringLiteral("secret.txt"));
    outside.createFile(QStringLiteral("other/secret.txt"));
    const QString sub = tree.filePath(QStringLiteral("sub"));
    const QString was = tree.filePath(QStringLiteral("was"));
    const QString target = outside.path();
    const QString other = outside.filePath(QStringLiteral("other"));
    // The reader lists the tree, then, just before it enters sub, sub is exchanged.
    auto exchanged = std::make_shared<bool>(false);
    const SearchFolderRead read = [=](FolderDescent &descent, const DescentFolder &folder, const NamePattern &pattern,
                                      const std::function<bool(const FolderReader::FolderId &)> &enter) {
        if (folder.path == sub && !*exchanged)
            *exchanged = QFile::rename(sub, was) && (link ? QFile::link(target, sub) : QFile::rename(other, sub));
        return SearchWalk::readFolder(descent, folder, pattern, enter);
    };

    DigFixture f(DigTiming{0, 0, 0}, ResultLinks(), read);
    f.start(tree.path(), QStringLiteral("*.txt"), true);

    QVERIFY(*exchanged);
    for (const QString &path : f.entries())
        QVERIFY2(path.startsWith(tree.path() + QLatin1Char('/')) && !path.contains(QStringLiteral("secret")),
                 qPrintable(path));
    // sub is a folder the walk could not open: counted, and nothing found in it.
    QCOMPARE(f.listed(tree), QStringList{QStringLiteral("a.txt")});
    QCOMPARE(f.messages(), QStringList{" 1 files found in 2 directories"});
}

void TestSearchWalk::staysInsideTheTree()
{
    if (::geteuid() != 0)
        QSKIP("mounting needs root");
    TestDir tree;
    tree.createFile(QStringLiteral("a.txt"));
    tree.createFile(QStringLiteral("sub/b.txt"));
    const QString target = tree.createFile(QStringLiteral("sub/target.txt"));
    QVERIFY(QFile::link(QStringLiteral("/"), tree.filePath(QStringLiteral("x"))));
    QVERIFY(QFile::link(QStringLiteral("../.."), tree.filePath(QStringLiteral("sub/y"))));
    QVERIFY(QFile::link(target, tree.filePath(QStringLiteral("file-link.txt"))));
    // The tree itself shows again inside it.
    const BindMount mount(tree.path(), tree.createDir(QStringLiteral("again")));
    if (!mount.isMounted())
        QSKIP(qPrintable(QStringLiteral("mount --bind failed: ") + mount.error()));

    DigFixture f;
    f.start(tree.path(), QStringLiteral("*.*"), true);

    QCOMPARE(f.listed(tree), (QStringList{"a.txt", "file-link.txt", "sub/b.txt", "sub/target.txt"}));
    for (const QString &path : f.entries())
        QVERIFY2(path.startsWith(tree.path() + QLatin1Char('/')), qPrintable(path));
    // The walk ended: the tree, sub and the mounted copy, met once and left at once.
    QCOMPARE(f.messages(), QStringList{" 4 files found in 2 directories"});
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
    const DeepChain chain(tree.path(), "level-name", 1000, "deep.txt", QByteArray());
    QVERIFY(chain.isMade());

    // Yields by time slice, as the program does: a paint of a path this long on every entry
    // would only slow the test.
    DigFixture f(DigTiming{10, 0, 0});
    f.start(tree.path(), QStringLiteral("*.txt"), true);

    QCOMPARE(f.entries(), (QStringList{tree.filePath(QStringLiteral("top.txt")), chain.filePath()}));
    QCOMPARE(f.messages(), QStringList{" 2 files found in 1001 directories"});
}

void TestSearchWalk::deepTreeWithBranchesOnTheWayBack()
{
    // A chain 150 deep, each level with a branch holding one file: the walk goes down the
    // chain first and takes the branches on its way back up, far more folders than it keeps
    // open at once.
    TestDir tree;
    QString relative;
    QStringList expected;
    for (int level = 0; level < 150; ++level) {
        const QString in = relative.isEmpty() ? relative : relative + QLatin1Char('/');
        tree.createFile(in + QStringLiteral("a/in.txt"));
        relative = in + QStringLiteral("b");
    }
    for (int level = 0; level < 150; ++level)
        expected << QStringLiteral("b/").repeated(level) + QStringLiteral("a/in.txt");

    DigFixture f(DigTiming{10, 0, 0});
    f.start(tree.path(), QStringLiteral("*.txt"), true);

    QCOMPARE(f.listed(tree), expected);
    QCOMPARE(f.messages(), QStringList{" 150 files found in 300 directories"});
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
