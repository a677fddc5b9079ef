#include "support/TestCase.h"

#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

// The libraries below the window layer build without the widget modules, so a stray message
// box there fails to build instead of blocking a run. These checks keep it that way.
namespace {

const QStringList widgetModules = {QStringLiteral("QtGui"), QStringLiteral("QtWidgets"),
                                   QStringLiteral("QtPrintSupport"), QStringLiteral("QtOpenGLWidgets")};

QSet<QString> widgetHeaderNames()
{
    QSet<QString> names;
    const QString headers = QLibraryInfo::path(QLibraryInfo::HeadersPath);
    for (const QString &module : widgetModules) {
        const QStringList entries = QDir(headers + QLatin1Char('/') + module).entryList(QDir::Files);
        for (const QString &entry : entries)
            names.insert(entry);
    }
    // QtCore has a few names of its own that the widget modules also use.
    const QStringList core = QDir(headers + QStringLiteral("/QtCore")).entryList(QDir::Files);
    for (const QString &entry : core)
        names.remove(entry);
    return names;
}

QStringList includesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s*[<\"]([^>\"]+)[>\"]"),
                                            QRegularExpression::MultilineOption);
    QStringList result;
    auto it = include.globalMatch(QString::fromUtf8(file.readAll()));
    while (it.hasNext())
        result << it.next().captured(1);
    return result;
}

QString sourceDir()
{
    return qEnvironmentVariable("PANOPTRA_SOURCE_DIR");
}

} // namespace

class TestLayering : public TestCase
{
    Q_OBJECT

private slots:
    void initTestCase();
    void widgetFreeFoldersIncludeNoWidgetHeader_data();
    void widgetFreeFoldersIncludeNoWidgetHeader();
    void widgetFreeLibrariesLinkNoWidgetModule_data();
    void widgetFreeLibrariesLinkNoWidgetModule();
    void everyTestClassFailsOnUnexpectedWarnings_data();
    void everyTestClassFailsOnUnexpectedWarnings();
};

void TestLayering::initTestCase()
{
    QVERIFY2(QDir(sourceDir() + QStringLiteral("/src/platform")).exists(), "PANOPTRA_SOURCE_DIR is not set");
    QVERIFY(widgetHeaderNames().contains(QStringLiteral("QMessageBox")));
}

void TestLayering::widgetFreeFoldersIncludeNoWidgetHeader_data()
{
    QTest::addColumn<QString>("file");
    // The folder's own files, not those of its subfolders (platform/ui needs widgets).
    for (const QString &folder : {QStringLiteral("platform"), QStringLiteral("settings"), QStringLiteral("folders")}) {
        const QDir dir(sourceDir() + QStringLiteral("/src/") + folder);
        const QStringList files = dir.entryList({QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files);
        for (const QString &name : files)
            QTest::newRow(qPrintable(folder + QLatin1Char('/') + name)) << dir.filePath(name);
    }
}

void TestLayering::widgetFreeFoldersIncludeNoWidgetHeader()
{
    QFETCH(QString, file);
    static const QSet<QString> widgetHeaders = widgetHeaderNames();
    for (const QString &header : includesOf(file)) {
        const QString module = header.section(QLatin1Char('/'), 0, 0);
        QVERIFY2(!widgetHeaders.contains(header) && !widgetModules.contains(module),
                 qPrintable(QStringLiteral("includes the widget header ") + header));
        // Nor a header of a layer that may use widgets.
        QVERIFY2(!header.startsWith(QLatin1String("platform/ui/")) && module != QLatin1String("panes")
                     && module != QLatin1String("app") && module != QLatin1String("fileops"),
                 qPrintable(QStringLiteral("includes the upper-layer header ") + header));
    }
}

void TestLayering::widgetFreeLibrariesLinkNoWidgetModule_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("links");
    QTest::newRow("platform") << "platform" << qEnvironmentVariable("PANOPTRA_PLATFORM_LINKS");
    QTest::newRow("settings") << "settings" << qEnvironmentVariable("PANOPTRA_SETTINGS_LINKS");
    QTest::newRow("folders") << "folders" << qEnvironmentVariable("PANOPTRA_FOLDERS_LINKS");
}

void TestLayering::widgetFreeLibrariesLinkNoWidgetModule()
{
    QFETCH(QString, links);
    const QStringList libraries = links.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QVERIFY2(libraries.contains(QStringLiteral("Qt6::Core")), qPrintable(QStringLiteral("links: ") + links));
    for (const QString &library : libraries)
        QVERIFY2(library == QLatin1String("Qt6::Core") || library == QLatin1String("panoptra_platform"),
                 qPrintable(QStringLiteral("links ") + library));
}

void TestLayering::everyTestClassFailsOnUnexpectedWarnings_data()
{
    QTest::addColumn<QString>("file");
    const QDir tests(sourceDir() + QStringLiteral("/tests"));
    const QStringList folders = tests.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &folder : folders) {
        const QDir dir(tests.filePath(folder));
        const QStringList files = dir.entryList({QStringLiteral("tst_*.cpp")}, QDir::Files);
        for (const QString &name : files)
            QTest::newRow(qPrintable(folder + QLatin1Char('/') + name)) << dir.filePath(name);
    }
}

// A test class of its own QObject, or an init() that forgets the call, would let warnings pass.
void TestLayering::everyTestClassFailsOnUnexpectedWarnings()
{
    QFETCH(QString, file);
    QFile source(file);
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(source.readAll());

    static const QRegularExpression mainMacro(QStringLiteral("QTEST_(?:GUILESS_|APPLESS_)?MAIN\\((\\w+)\\)"));
    const QString testClass = mainMacro.match(text).captured(1);
    QVERIFY2(!testClass.isEmpty(), "no QTEST_MAIN");
    const QRegularExpression derivesTestCase(QStringLiteral("class\\s+") + testClass
                                             + QStringLiteral("\\s*:\\s*public\\s+TestCase\\b"));
    QVERIFY2(text.contains(derivesTestCase), qPrintable(testClass + QStringLiteral(" does not derive TestCase")));

    static const QRegularExpression initBody(QStringLiteral("void\\s+(?:\\w+::)?init\\(\\)\\s*\\{\\s*(\\w+)"));
    auto it = initBody.globalMatch(text);
    while (it.hasNext())
        QCOMPARE(it.next().captured(1), QStringLiteral("failOnUnexpectedWarnings"));
}

QTEST_GUILESS_MAIN(TestLayering)
#include "tst_layering.moc"
