#include "platform/DesktopLaunchers.h"
#include "platform/FileErrors.h"
#include "platform/LongPath.h"
#include "platform/PathCodec.h"
#include "platform/PosixFileServices.h"
#include "support/DeepChain.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include <QTest>

#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace {
// 30 levels of 200 bytes: a path of about 6,000 bytes, half again beyond what one call takes.
const QByteArray levelName(200, 'd');
constexpr int depth = 30;

QByteArray contentsOf(int fd)
{
    QByteArray data;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
        data.append(buffer, qsizetype(got));
    return data;
}
} // namespace

// Files deeper than the system's longest path, as a deep search finds them: opened, read,
// copied and started all the same.
class TestLongPaths : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void opensAPieceAtATime_data();
    void opensAPieceAtATime();
    void readAndCopyADeepFile();
    void missingDeepFileIsNotFound_data();
    void missingDeepFileIsNotFound();
    void startsADeepProgramInItsFolder();
};

void TestLongPaths::opensAPieceAtATime_data()
{
    QTest::addColumn<QByteArray>("suffix"); // after the chain's bottom folder
    QTest::addColumn<QByteArray>("expected"); // "" when it cannot be opened

    QTest::newRow("the file") << QByteArray("/deep.txt") << QByteArray("deep contents");
    QTest::newRow("through a doubled slash") << QByteArray("//deep.txt") << QByteArray("deep contents");
    QTest::newRow("up and down again") << QByteArray("/../" + levelName + "/deep.txt") << QByteArray("deep contents");
    QTest::newRow("a name that is not there") << QByteArray("/none.txt") << QByteArray();
}

void TestLongPaths::opensAPieceAtATime()
{
    QFETCH(QByteArray, suffix);
    QFETCH(QByteArray, expected);
    TestDir dir;
    const DeepChain chain(dir.path(), levelName, depth, "deep.txt", "deep contents");
    QVERIFY(chain.isMade());
    const QByteArray path = PathCodec::encode(chain.folderPath()) + suffix;
    QVERIFY(path.size() > PATH_MAX);
    // The system itself refuses it in one call.
    QCOMPARE(::open(path.constData(), O_RDONLY | O_CLOEXEC), -1);
    QCOMPARE(errno, ENAMETOOLONG);

    const int fd = LongPath::open(path, O_RDONLY | O_CLOEXEC);
    struct stat info;
    if (expected.isEmpty()) {
        QCOMPARE(fd, -1);
        QCOMPARE(errno, ENOENT);
        QCOMPARE(LongPath::stat(path, info), -1);
        return;
    }
    QVERIFY(fd >= 0);
    QCOMPARE(contentsOf(fd), expected);
    ::close(fd);
    QCOMPARE(LongPath::stat(path, info), 0);
    QCOMPARE(qint64(info.st_size), qint64(expected.size()));
    QVERIFY(S_ISREG(info.st_mode));
}

void TestLongPaths::readAndCopyADeepFile()
{
    TestDir dir;
    QByteArray bytes(100000, Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 37) & 0xff);
    const DeepChain chain(dir.path(), levelName, depth, "deep.bin", bytes);
    QVERIFY(chain.isMade());
    PosixFileServices files;

    const FileContents read = files.readFile(chain.filePath(), 1 << 20);
    QCOMPARE(read.error, 0);
    QCOMPARE(read.data, bytes);

    const QString target = dir.filePath(QStringLiteral("copy.bin"));
    QCOMPARE(files.copyFile(chain.filePath(), target), 0);
    QCOMPARE(dir.read(QStringLiteral("copy.bin")), bytes);
}

void TestLongPaths::missingDeepFileIsNotFound_data()
{
    QTest::addColumn<bool>("folderThere");
    QTest::addColumn<int>("error");
    QTest::newRow("the folder is there, the file is not") << true << int(FileErrors::FileNotFound);
    QTest::newRow("the folder is not there either") << false << int(FileErrors::PathNotFound);
}

void TestLongPaths::missingDeepFileIsNotFound()
{
    QFETCH(bool, folderThere);
    QFETCH(int, error);
    TestDir dir;
    const DeepChain chain(dir.path(), levelName, depth, "deep.txt", "x");
    QVERIFY(chain.isMade());
    const QString folder = chain.folderPath() + (folderThere ? QString() : QStringLiteral("/gone"));
    PosixFileServices files;

    QCOMPARE(files.copyFile(folder + QStringLiteral("/none.txt"), dir.filePath(QStringLiteral("copy.txt"))), error);
    QCOMPARE(files.readFile(folder + QStringLiteral("/none.txt"), 100).error, error);
    QCOMPARE(dir.entries().size(), 1);
}

void TestLongPaths::startsADeepProgramInItsFolder()
{
    TestDir dir;
    // The program writes where it runs and how it was named into "ran" in its working folder.
    const DeepChain chain(dir.path(), levelName, depth, "run.sh",
                          "#!/bin/sh\nprintf '%s' \"$0\" > ran.tmp && mv ran.tmp ran\n", 0755);
    QVERIFY(chain.isMade());
    DetachedProgramStarter starter;

    QVERIFY(starter.startProgram(chain.filePath(), WindowStyle::Normal, chain.folderPath()));

    QTRY_COMPARE(chain.readInBottom("ran"), QByteArray("./run.sh"));
    // Started elsewhere, a program this deep cannot be named to the system.
    QVERIFY(!starter.startProgram(chain.filePath(), WindowStyle::Normal, dir.path()));
}

QTEST_GUILESS_MAIN(TestLongPaths)
#include "tst_longpaths.moc"
