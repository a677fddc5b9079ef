#include "platform/PathHelper.h"
#include "support/TestCase.h"

#include <QTest>

class TestPathHelper : public TestCase
{
    Q_OBJECT

private slots:
    void join_data();
    void join();
    void parentOf_data();
    void parentOf();
    void baseName_data();
    void baseName();
    void driveRoots_data();
    void driveRoots();
    void liveRootsAreAskedAtEveryQuestion();
};

void TestPathHelper::join_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("joined");
    QTest::newRow("root") << "/" << "etc" << "/etc";
    QTest::newRow("folder") << "/home/ann" << "a.txt" << "/home/ann/a.txt";
    QTest::newRow("folder ending in a slash") << "/home/ann/" << "a.txt" << "/home/ann/a.txt";
    QTest::newRow("mount root") << "/mnt/usb" << "a.txt" << "/mnt/usb/a.txt";
    QTest::newRow("name with blanks") << "/tmp" << "my file.txt" << "/tmp/my file.txt";
}

void TestPathHelper::join()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, joined);
    QCOMPARE(PathHelper::join(folder, name), joined);
}

void TestPathHelper::parentOf_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("parent");
    QTest::newRow("root") << "/" << "/";
    QTest::newRow("top-level name") << "/ab" << "/";
    QTest::newRow("nested") << "/a/b" << "/a";
    QTest::newRow("trailing slash") << "/a/b/" << "/a";
    QTest::newRow("mount root") << "/mnt/usb" << "/mnt";
    QTest::newRow("in a mount root") << "/mnt/usb/a.txt" << "/mnt/usb";
}

void TestPathHelper::parentOf()
{
    QFETCH(QString, path);
    QFETCH(QString, parent);
    QCOMPARE(PathHelper::parentOf(path), parent);
}

void TestPathHelper::baseName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("base");
    QTest::newRow("root") << "/" << "";
    QTest::newRow("file") << "/a/b.txt" << "b.txt";
    QTest::newRow("folder with trailing slash") << "/a/b/" << "b";
    QTest::newRow("mount root") << "/mnt/usb" << "usb";
    QTest::newRow("no dot") << "/a/README" << "README";
    QTest::newRow("hidden") << "/home/.profile" << ".profile";
}

void TestPathHelper::baseName()
{
    QFETCH(QString, path);
    QFETCH(QString, base);
    QCOMPARE(PathHelper::baseName(path), base);
}

void TestPathHelper::driveRoots_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("isRoot");
    QTest::addColumn<QString>("rootOf");
    QTest::newRow("root") << "/" << true << "/";
    QTest::newRow("folder on root") << "/home/ann" << false << "/";
    QTest::newRow("mount root") << "/mnt/usb" << true << "/mnt/usb";
    QTest::newRow("mount root with a slash") << "/mnt/usb/" << true << "/mnt/usb";
    QTest::newRow("folder on the mount") << "/mnt/usb/photos" << false << "/mnt/usb";
    QTest::newRow("mount's parent") << "/mnt" << false << "/";
    QTest::newRow("name that only starts like the mount") << "/mnt/usbstick" << false << "/";
    QTest::newRow("nested mount wins") << "/mnt/usb/inner/x" << false << "/mnt/usb/inner";
    QTest::newRow("nested mount root") << "/mnt/usb/inner" << true << "/mnt/usb/inner";
}

void TestPathHelper::driveRoots()
{
    QFETCH(QString, path);
    QFETCH(bool, isRoot);
    QFETCH(QString, rootOf);
    // "/" is a drive root even when the list leaves it out.
    const PathHelper paths({QStringLiteral("/mnt/usb"), QStringLiteral("/mnt/usb/inner")});
    QCOMPARE(paths.driveRoots().first(), QStringLiteral("/"));
    QCOMPARE(paths.isDriveRoot(path), isRoot);
    QCOMPARE(paths.driveRootOf(path), rootOf);
}

void TestPathHelper::liveRootsAreAskedAtEveryQuestion()
{
    // A volume mounted after the start, and one taken away.
    QStringList mounted{QStringLiteral("/mnt/usb")};
    const PathHelper paths([&mounted] { return mounted; });
    QVERIFY(paths.isDriveRoot(QStringLiteral("/")));
    QVERIFY(paths.isDriveRoot(QStringLiteral("/mnt/usb")));
    QVERIFY(!paths.isDriveRoot(QStringLiteral("/media/stick")));

    mounted << QStringLiteral("/media/stick");
    QVERIFY(paths.isDriveRoot(QStringLiteral("/media/stick")));
    QCOMPARE(paths.driveRootOf(QStringLiteral("/media/stick/photos")), QStringLiteral("/media/stick"));

    mounted.removeFirst();
    QVERIFY(!paths.isDriveRoot(QStringLiteral("/mnt/usb")));
    QCOMPARE(paths.driveRootOf(QStringLiteral("/mnt/usb/x")), QStringLiteral("/"));
}

QTEST_GUILESS_MAIN(TestPathHelper)
#include "tst_pathhelper.moc"
