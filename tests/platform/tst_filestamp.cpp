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

QTEST_GUILESS_MAIN(TestFileStamp)
#include "tst_filestamp.moc"
