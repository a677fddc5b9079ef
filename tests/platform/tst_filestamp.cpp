#include "platform/FileStamp.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include <QFile>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

// A stamp tells a changed file from the one it was taken of, or says that it cannot yet.
class TestFileStamp : public TestCase
{
    Q_OBJECT

private slots:
    void missingFileHasAStamp();
    void stampFollowsTheFile();
    void sameSizeAndTimeEditIsToldOrTheStampIsRecent();
    void oldFileIsNotRecent();
    void linksAndFoldersAreTold();
    void sameContentsAsLooksPastTheStatus();
};

void TestFileStamp::missingFileHasAStamp()
{
    TestDir dir;
    const std::optional<FileStamp> stamp = FileStamp::of(dir.filePath(QStringLiteral("none")));
    QVERIFY(stamp);
    QVERIFY(!stamp->exists);
    const std::optional<FileStamp> below = FileStamp::of(dir.filePath(QStringLiteral("none/below")));
    QVERIFY(below);
    QVERIFY(!below->exists);
}

void TestFileStamp::stampFollowsTheFile()
{
    TestDir dir;
    const QString path = dir.createFile(QStringLiteral("a.ini"), "12345");
    const FileStamp first = FileStamp::of(path).value();
    QVERIFY(first.exists);
    QCOMPARE(first.size, 5);
    QCOMPARE(FileStamp::of(path).value(), first);

    // Another file put in its place, of the same size, is another file.
    dir.createFile(QStringLiteral("b.ini"), "54321");
    QVERIFY(QFile::rename(path, path + QStringLiteral(".old")));
    QVERIFY(QFile::rename(dir.filePath(QStringLiteral("b.ini")), path));
    QVERIFY(FileStamp::of(path).value() != first);
}

void TestFileStamp::sameSizeAndTimeEditIsToldOrTheStampIsRecent()
{
    TestDir dir;
    const QString path = dir.createFile(QStringLiteral("a.ini"), "round 0");
    const QByteArray name = QFile::encodeName(path);
    for (int round = 1; round <= 20; ++round) {
        const FileStamp before = FileStamp::of(path).value();
        struct stat st;
        QVERIFY(::stat(name.constData(), &st) == 0);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArrayLiteral("round ") + QByteArray::number(round % 10));
        file.close();
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        QVERIFY(::utimensat(AT_FDCWD, name.constData(), times, 0) == 0);
        const FileStamp after = FileStamp::of(path).value();
        QCOMPARE(after.size, before.size);
        QCOMPARE(after.modifiedNs, before.modifiedNs);
        QVERIFY(after != before || before.recent);
    }
}

void TestFileStamp::oldFileIsNotRecent()
{
    TestDir dir;
    const QString path = dir.createFile(QStringLiteral("a.ini"));
    QTRY_VERIFY_WITH_TIMEOUT(!FileStamp::of(path)->recent, 5000);
}

void TestFileStamp::linksAndFoldersAreTold()
{
    TestDir dir;
    const QString file = dir.createFile(QStringLiteral("a.txt"));
    const QString link = dir.filePath(QStringLiteral("link.txt"));
    const QString dangling = dir.filePath(QStringLiteral("dangling.txt"));
    QVERIFY(QFile::link(file, link));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone.txt")), dangling));
    const FileStamp plain = FileStamp::of(file).value();
    const FileStamp through = FileStamp::of(link).value();
    QVERIFY(!plain.link && through.link);
    QVERIFY(through.exists && !through.folder);
    QCOMPARE(through.inode, plain.inode);
    QVERIFY(!through.sameContentsAs(plain));
    const FileStamp nowhere = FileStamp::of(dangling).value();
    QVERIFY(nowhere.link && !nowhere.exists);
    QVERIFY(FileStamp::of(dir.path())->folder);
}

void TestFileStamp::sameContentsAsLooksPastTheStatus()
{
    TestDir dir;
    const QString path = dir.createFile(QStringLiteral("a.txt"), "12345");
    const QByteArray name = QFile::encodeName(path);
    const FileStamp first = FileStamp::of(path).value();
    // A new mode or a second name changes the status time alone (once a tick has passed).
    QTRY_VERIFY_WITH_TIMEOUT(!FileStamp::of(path)->recent, 5000);
    QVERIFY(::chmod(name.constData(), 0600) == 0);
    QVERIFY(::link(name.constData(), QFile::encodeName(dir.filePath(QStringLiteral("b.txt"))).constData()) == 0);
    const FileStamp chmodded = FileStamp::of(path).value();
    QVERIFY(chmodded != first);
    QVERIFY(chmodded.sameContentsAs(first));
    // A change of the contents shows.
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write("6");
    file.close();
    QVERIFY(!FileStamp::of(path)->sameContentsAs(first));
}

QTEST_GUILESS_MAIN(TestFileStamp)
#include "tst_filestamp.moc"
