#include "platform/DesktopLaunchers.h"
#include "platform/DetachedStart.h"
#include "platform/PathCodec.h"
#include "support/RawFiles.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include <QTest>

#include <sys/stat.h>

namespace {

// A byte of no UTF-8, and the name that looks the same on screen.
const QByteArray rawBytes("\xff");
const QByteArray twinBytes("\xef\xbf\xbd");

bool exists(const QByteArray &path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}

} // namespace

// Programs started by path: the program, its argument and its folder reach the system as the
// bytes they have on disk, not as their look-alike twins.
class TestDetachedStart : public TestCase
{
    Q_OBJECT

private slots:
    void startsTheChosenProgramInTheChosenFolder_data();
    void startsTheChosenProgramInTheChosenFolder();
    void missingProgramOrFolderIsNotStarted_data();
    void missingProgramOrFolderIsNotStarted();
};

void TestDetachedStart::startsTheChosenProgramInTheChosenFolder_data()
{
    QTest::addColumn<bool>("chooseRaw");
    QTest::addColumn<bool>("withArgument");
    QTest::newRow("the raw byte, as the Run command starts it") << true << false;
    QTest::newRow("the replacement mark, as the Run command starts it") << false << false;
    QTest::newRow("the raw byte, with a path argument") << true << true;
}

void TestDetachedStart::startsTheChosenProgramInTheChosenFolder()
{
    QFETCH(bool, chooseRaw);
    QFETCH(bool, withArgument);
    TestDir dir;
    const QByteArray root = PathCodec::encode(dir.path());
    // Each program writes who it is, and its first argument, into "ran" in its working folder.
    for (const QByteArray &mark : {rawBytes, twinBytes}) {
        const QByteArray who = mark == rawBytes ? "raw" : "twin";
        QVERIFY(RawFiles::write(root + "/run" + mark + ".sh", "#!/bin/sh\nprintf '%s:%s' " + who + " \"$1\" > ran.tmp && mv ran.tmp ran\n", 0755));
        QVERIFY(::mkdir((root + "/in" + mark).constData(), 0755) == 0);
    }
    const QByteArray chosen = chooseRaw ? rawBytes : twinBytes;
    const QByteArray other = chooseRaw ? twinBytes : rawBytes;
    const QString program = PathCodec::decode(root + "/run" + chosen + ".sh");
    const QString folder = PathCodec::decode(root + "/in" + chosen);
    const QByteArray argument = root + "/file" + chosen + ".txt";

    if (withArgument) {
        QVERIFY(DetachedStart::start(program, {PathCodec::decode(argument)}, folder));
    } else {
        DetachedProgramStarter starter;
        QVERIFY(starter.startProgram(program, WindowStyle::Normal, folder));
    }

    const QByteArray ran = root + "/in" + chosen + "/ran";
    QTRY_VERIFY(exists(ran));
    const QByteArray who = chooseRaw ? "raw" : "twin";
    QCOMPARE(RawFiles::read(ran), who + ':' + (withArgument ? argument : QByteArray()));
    QVERIFY(!exists(root + "/in" + other + "/ran"));
}

void TestDetachedStart::missingProgramOrFolderIsNotStarted_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("folder");
    QTest::newRow("no such program") << QStringLiteral("/nonexistent/program") << QString();
    QTest::newRow("no such name on PATH") << QStringLiteral("no-such-program-here") << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("a missing working folder") << QStringLiteral("/bin/true") << QStringLiteral("/nonexistent/folder");
}

void TestDetachedStart::missingProgramOrFolderIsNotStarted()
{
    QFETCH(QString, program);
    QFETCH(QString, folder);
    QVERIFY(!DetachedStart::start(program, {}, folder));
}

QTEST_GUILESS_MAIN(TestDetachedStart)
#include "tst_detachedstart.moc"
