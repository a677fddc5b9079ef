// The browser and the desktop's "open" reach their programs with exactly one argument, never
// through a shell, and an address that would read as an option reaches no browser.

#include "platform/DesktopLaunchers.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include <QFile>
#include <QTest>

namespace {

// A program of the given name, first on PATH, that appends each call's arguments to calls.log:
// the count, then each argument, NUL-separated, one call per line block.
QString fakeProgram(TestDir &dir, const QString &name)
{
    const QString log = dir.filePath(QStringLiteral("calls.log"));
    const QString path = dir.createFile(
        QStringLiteral("bin/") + name,
        QStringLiteral("#!/bin/sh\n"
                       "{ printf '%s:%s' \"$(basename \"$0\")\" \"$#\"; for a in \"$@\"; do printf '\\0%s' \"$a\"; done;"
                       " printf '\\0\\n'; } >> '%1'\n")
            .arg(log)
            .toUtf8());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return log;
}

} // namespace

class LaunchersTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<TestDir> m_dir;
    QByteArray m_oldPath;

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        m_dir = std::make_unique<TestDir>();
        m_oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_dir->filePath(QStringLiteral("bin"))) + ':' + m_oldPath);
    }
    void cleanup()
    {
        qputenv("PATH", m_oldPath);
        m_dir.reset();
    }

    void oneArgumentEach_data();
    void oneArgumentEach();
    void anAddressThatReadsAsAnOptionStartsNothing();
};

void LaunchersTest::oneArgumentEach_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("argument");
    const QString awkward = QStringLiteral("/tmp/my files; rm -rf x/$(x) `y` 'q' \"d\"\nsecond line.html");
    QTest::newRow("browser") << "sensible-browser" << awkward;
    QTest::newRow("browser, file address") << "sensible-browser" << "file:///t/a%20b%3B%23.html";
    QTest::newRow("desktop open") << "xdg-open" << awkward;
}

void LaunchersTest::oneArgumentEach()
{
    QFETCH(QString, program);
    QFETCH(QString, argument);
    const QString log = fakeProgram(*m_dir, program);
    SensibleBrowser browser;
    XdgShellOpen shellOpen;
    if (program == QLatin1String("xdg-open"))
        QVERIFY(shellOpen.open(argument));
    else
        QVERIFY(browser.start(argument, WindowStyle::Normal));

    QTRY_VERIFY(QFile::exists(log) && m_dir->read(QStringLiteral("calls.log")).endsWith(QByteArray("\0\n", 2)));
    const QByteArray expected = program.toUtf8() + ":1" + '\0' + argument.toUtf8() + '\0' + '\n';
    QCOMPARE(m_dir->read(QStringLiteral("calls.log")), expected);
}

void LaunchersTest::anAddressThatReadsAsAnOptionStartsNothing()
{
    const QString log = fakeProgram(*m_dir, QStringLiteral("sensible-browser"));
    SensibleBrowser browser;
    QVERIFY(browser.isInstalled());
    QVERIFY(!browser.start(QStringLiteral("--new-window=evil"), WindowStyle::Normal));
    QVERIFY(!browser.start(QStringLiteral("-x"), WindowStyle::Normal));
    // A call that does start, to know that the refused ones would have been logged by now.
    QVERIFY(browser.start(QStringLiteral("/t/after.html"), WindowStyle::Normal));
    // Written piece by piece: complete once the call's closing mark is there.
    QTRY_VERIFY(QFile::exists(log) && m_dir->read(QStringLiteral("calls.log")).endsWith(QByteArray("\0\n", 2)));
    QCOMPARE(m_dir->read(QStringLiteral("calls.log")),
             QByteArray("sensible-browser:1") + '\0' + "/t/after.html" + '\0' + '\n');
}

QTEST_GUILESS_MAIN(LaunchersTest)
#include "tst_launchers.moc"
