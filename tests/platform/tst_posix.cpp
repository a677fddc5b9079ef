#include "platform/PathCodec.h"
#include "platform/PathHelper.h"
#include "platform/Posix.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray bytesOf(const QString &path)
{
    return PathCodec::encode(path);
}

QByteArray readBack(const QByteArray &path)
{
    const Posix::FileDescriptor in(::open(path.constData(), O_RDONLY | O_CLOEXEC));
    QByteArray data;
    char buffer[4096];
    ssize_t got;
    while (in.isOpen() && (got = Posix::readSome(in.fd(), buffer, sizeof buffer)) > 0)
        data.append(buffer, qsizetype(got));
    return data;
}

bool isOpenDescriptor(int fd)
{
    return ::fcntl(fd, F_GETFD) != -1;
}
} // namespace

// The building blocks under the file services and the trash: byte paths, whole writes,
// renames that never replace, descriptors that close themselves.
class TestPosix : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void pathPieces_data();
    void pathPieces();
    void join_data();
    void join();
    void writesWholeData();
    void fullDeviceIsReported();
    void renameNeverReplaces_data();
    void renameNeverReplaces();
    void descriptorClosesKeepingErrno();
};

void TestPosix::pathPieces_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("parent");
    QTest::addColumn<QByteArray>("base");
    QTest::newRow("root") << QByteArray("/") << QByteArray("/") << QByteArray();
    QTest::newRow("top-level name") << QByteArray("/ab") << QByteArray("/") << QByteArray("ab");
    QTest::newRow("nested") << QByteArray("/a/b") << QByteArray("/a") << QByteArray("b");
    QTest::newRow("trailing slashes") << QByteArray("/a/b//") << QByteArray("/a") << QByteArray("b");
    QTest::newRow("bare name") << QByteArray("b.txt") << QByteArray("/") << QByteArray("b.txt");
    QTest::newRow("bytes of no UTF-8") << QByteArray("/caf\xe9/\xff\xfe.txt") << QByteArray("/caf\xe9")
                                       << QByteArray("\xff\xfe.txt");
}

void TestPosix::pathPieces()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, parent);
    QFETCH(QByteArray, base);
    QCOMPARE(Posix::parentOf(path), parent);
    QCOMPARE(Posix::baseName(path), base);
    // The same rules as on the decoded path.
    QCOMPARE(Posix::parentOf(path), bytesOf(PathHelper::parentOf(PathCodec::decode(path))));
    QCOMPARE(Posix::baseName(path), bytesOf(PathHelper::baseName(PathCodec::decode(path))));
}

void TestPosix::join_data()
{
    QTest::addColumn<QByteArray>("folder");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("joined");
    QTest::newRow("root") << QByteArray("/") << QByteArray("etc") << QByteArray("/etc");
    QTest::newRow("folder") << QByteArray("/home/ann") << QByteArray(".Trash-1000") << QByteArray("/home/ann/.Trash-1000");
    QTest::newRow("folder ending in a slash") << QByteArray("/data/") << QByteArray("Trash") << QByteArray("/data/Trash");
    QTest::newRow("raw byte") << QByteArray("/caf\xe9") << QByteArray("\xff") << QByteArray("/caf\xe9/\xff");
}

void TestPosix::join()
{
    QFETCH(QByteArray, folder);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, joined);
    QCOMPARE(Posix::join(folder, name), joined);
}

void TestPosix::writesWholeData()
{
    TestDir dir;
    const QByteArray path = bytesOf(dir.filePath(QStringLiteral("data.bin")));
    // More than a pipe or one page takes at once, every byte value in it.
    QByteArray data(3 << 20, Qt::Uninitialized);
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = char((i * 131) & 0xff);
    {
        const Posix::FileDescriptor out(::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
        QVERIFY(out.isOpen());
        QCOMPARE(Posix::writeAll(out.fd(), data), 0);
        // At an offset: the bytes there change, the descriptor's position does not.
        QCOMPARE(Posix::writeAllAt(out.fd(), "middle", 10), 0);
        QCOMPARE(::lseek(out.fd(), 0, SEEK_CUR), off_t(data.size()));
        QCOMPARE(Posix::writeAll(out.fd(), "tail"), 0);
    }
    const QByteArray expected = QByteArray(data).replace(10, 6, "middle") + "tail";
    QCOMPARE(readBack(path), expected);

    // A descriptor open for reading only takes no data.
    const Posix::FileDescriptor in(::open(path.constData(), O_RDONLY | O_CLOEXEC));
    QCOMPARE(Posix::writeAll(in.fd(), "x"), EBADF);
}

void TestPosix::fullDeviceIsReported()
{
    const Posix::FileDescriptor full(::open("/dev/full", O_WRONLY | O_CLOEXEC));
    if (!full.isOpen())
        QSKIP("no /dev/full here");
    QCOMPARE(Posix::writeAll(full.fd(), QByteArray(100000, 'x')), ENOSPC);
    QCOMPARE(Posix::writeAllAt(full.fd(), "x", 0), ENOSPC);
}

void TestPosix::renameNeverReplaces_data()
{
    QTest::addColumn<QString>("target"); // what stands at the new name: "", "file", "folder", "link"
    QTest::addColumn<int>("error");
    QTest::newRow("free name") << QString() << 0;
    QTest::newRow("a file there") << QStringLiteral("file") << EEXIST;
    // rename(2) would replace an empty folder, and the link that leads nowhere.
    QTest::newRow("an empty folder there") << QStringLiteral("folder") << EEXIST;
    QTest::newRow("a dangling link there") << QStringLiteral("link") << EEXIST;
}

void TestPosix::renameNeverReplaces()
{
    QFETCH(QString, target);
    QFETCH(int, error);
    TestDir dir;
    const QByteArray from = bytesOf(dir.createFile(QStringLiteral("from.txt"), "moved"));
    const QByteArray to = bytesOf(dir.filePath(QStringLiteral("to")));
    if (target == QLatin1String("file"))
        dir.createFile(QStringLiteral("to"), "kept");
    else if (target == QLatin1String("folder"))
        dir.createDir(QStringLiteral("to"));
    else if (target == QLatin1String("link"))
        QCOMPARE(::symlink("nowhere", to.constData()), 0);

    QCOMPARE(Posix::renameNoReplace(from, to), error);
    struct stat st;
    if (error == 0) {
        QCOMPARE(readBack(to), QByteArray("moved"));
        QCOMPARE(::lstat(from.constData(), &st), -1);
        return;
    }
    QCOMPARE(readBack(from), QByteArray("moved"));
    QCOMPARE(::lstat(to.constData(), &st), 0);
    if (target == QLatin1String("file"))
        QCOMPARE(readBack(to), QByteArray("kept"));
    QCOMPARE(S_ISDIR(st.st_mode), target == QLatin1String("folder"));
    QCOMPARE(S_ISLNK(st.st_mode), target == QLatin1String("link"));
}

void TestPosix::descriptorClosesKeepingErrno()
{
    int fd = -1;
    {
        Posix::FileDescriptor first(::open("/", O_PATH | O_CLOEXEC));
        QVERIFY(first.isOpen());
        // Moved, it is closed once, by its new holder.
        Posix::FileDescriptor holder(std::move(first));
        QVERIFY(!first.isOpen());
        fd = holder.fd();
        errno = ENOENT;
    }
    // Closed at scope end, and the error the caller had set is still there.
    QCOMPARE(errno, ENOENT);
    QVERIFY(!isOpenDescriptor(fd));

    Posix::FileDescriptor kept(::open("/", O_PATH | O_CLOEXEC));
    fd = kept.release();
    QVERIFY(!kept.isOpen());
    QVERIFY(kept.close());
    QVERIFY(isOpenDescriptor(fd));
    ::close(fd);
}

QTEST_GUILESS_MAIN(TestPosix)
#include "tst_posix.moc"
