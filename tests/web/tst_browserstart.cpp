#include "WebFixture.h"

#include "platform/DesktopLaunchers.h"
#include "support/TestCase.h"
#include "web/FindWebSite.h"
#include "web/KeywordSearch.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The search reaches a real browser program: a stand-in sensible-browser first on PATH that
// writes down the arguments it was given, one per line after their count.
class TestBrowserStart : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void keywordArrivesAsOneEncodedArgument_data();
    void keywordArrivesAsOneEncodedArgument();
    void typedAddressArrivesAsOneArgument();

private:
    static QStringList loggedLines(const QString &log);

    QTemporaryDir m_bin;
    QByteArray m_oldPath;
};

void TestBrowserStart::initTestCase()
{
    QVERIFY(m_bin.isValid());
    const QString script = m_bin.filePath(QStringLiteral("sensible-browser"));
    QFile file(script);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n"
               "out=\"$PANOPTRA_BROWSER_LOG\"\n"
               "printf '%s\\n' \"$#\" > \"$out.part\"\n"
               "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$out.part\"; done\n"
               "mv \"$out.part\" \"$out\"\n");
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    m_oldPath = qgetenv("PATH");
    qputenv("PATH", m_bin.path().toLocal8Bit() + ':' + m_oldPath);
}

void TestBrowserStart::cleanupTestCase()
{
    qputenv("PATH", m_oldPath);
}

void TestBrowserStart::keywordArrivesAsOneEncodedArgument_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("encoded");
    QTest::newRow("ampersand, blank and hash") << "a&b #c" << "a%26b%20%23c";
    QTest::newRow("leading option sign") << "-x --help" << "-x%20--help";
    QTest::newRow("shell characters") << "$(id);`id`|x" << "%24%28id%29%3B%60id%60%7Cx";
}

void TestBrowserStart::keywordArrivesAsOneEncodedArgument()
{
    QFETCH(QString, keyword);
    QFETCH(QString, encoded);
    WebFixture f;
    const QString log = f.test.home() + QStringLiteral("/browser.log");
    qputenv("PANOPTRA_BROWSER_LOG", log.toLocal8Bit());

    SensibleBrowser browser;
    QVERIFY(browser.isInstalled());
    TestServices &t = f.test;
    Services services{t.dialogs, t.files, t.trash, t.drives, t.paths, t.clipboard, t.programs, t.shellOpen,
                      browser, t.browserAutomation, t.shellWindows, t.printer, t.programEnd, t.clock};
    KeywordSearch search(services, f.store, f.lookup(), &f.owner);
    search.engineItem_Click(QStringLiteral("mnuYahoo"));
    search.ISeek()->text1()->setText(keyword);
    QTest::mouseClick(search.ISeek()->button(QStringLiteral("Command1")), Qt::LeftButton);
    QCOMPARE(t.browserAutomation.quits, 1);

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(log), 10000);
    QCOMPARE(loggedLines(log),
             (QStringList{QStringLiteral("1"), QStringLiteral("http://search.yahoo.com/bin/search?p=") + encoded}));
}

void TestBrowserStart::typedAddressArrivesAsOneArgument()
{
    WebFixture f;
    const QString log = f.test.home() + QStringLiteral("/browser.log");
    qputenv("PANOPTRA_BROWSER_LOG", log.toLocal8Bit());

    SensibleBrowser browser;
    TestServices &t = f.test;
    Services services{t.dialogs, t.files, t.trash, t.drives, t.paths, t.clipboard, t.programs, t.shellOpen,
                      browser, t.browserAutomation, t.shellWindows, t.printer, t.programEnd, t.clock};
    FindWebSite find(services, &f.owner);
    find.mnuSiteSearch_Click();
    const QString typed = QStringLiteral(" http://Example.org/a b;$(id) ");
    find.pair().loadedPrompt()->text1()->setText(typed);
    QTest::mouseClick(find.pair().loadedPrompt()->button(QStringLiteral("Command1")), Qt::LeftButton);

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(log), 10000);
    QCOMPARE(loggedLines(log), (QStringList{QStringLiteral("1"), typed}));
}

QStringList TestBrowserStart::loggedLines(const QString &log)
{
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QTEST_MAIN(TestBrowserStart)
#include "tst_browserstart.moc"
