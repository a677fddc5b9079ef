#include "support/TestCase.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
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

// The folders each source folder may include headers from, its own among them. Layers point one
// way, platform <- settings <- folders <- panes <- features <- app; the features reach each
// other only through the interfaces in links/, and only app/ includes a feature. A new folder
// needs a row.
struct IncludeRule
{
    QString folder;
    QStringList allowed;
};

const QList<IncludeRule> &includeRules()
{
    static const QList<IncludeRule> rules = [] {
        const QStringList features = {QStringLiteral("fileops"), QStringLiteral("editor"),
                                      QStringLiteral("picview"), QStringLiteral("search"),
                                      QStringLiteral("web"), QStringLiteral("open")};
        const QString platform = QStringLiteral("platform");
        const QString platformUi = QStringLiteral("platform/ui");
        const QString settings = QStringLiteral("settings");
        const QString links = QStringLiteral("links");
        const QString folders = QStringLiteral("folders");
        const QString panes = QStringLiteral("panes");
        const QString textBox = QStringLiteral("textbox");
        const QString textBoxUi = QStringLiteral("textbox/ui");
        const QString app = QStringLiteral("app");
        // What every feature stands on.
        const QStringList below = {platform, platformUi, settings, folders, panes, links};

        QList<IncludeRule> list = {
            {platform, {platform}},
            {platformUi, {platform, platformUi}},
            {settings, {platform, settings}},
            // Interfaces only: Qt Core and the widget-free platform types.
            {links, {platform, links}},
            {folders, {platform, folders}},
            {panes, {platform, platformUi, settings, folders, panes}},
            // The text box's model needs nothing but the file services; the box, the model.
            {textBox, {platform, textBox}},
            {textBoxUi, {platform, platformUi, textBox, textBoxUi}},
        };
        for (const QString &feature : features) {
            QStringList allowed = below + QStringList{feature};
            if (feature == QLatin1String("editor"))
                allowed << textBox << textBoxUi;
            list.append({feature, allowed});
        }
        list.append({app, below + QStringList{textBox, textBoxUi} + features + QStringList{app}});
        return list;
    }();
    return rules;
}

// The folders under src/, as include paths name them ("platform/ui").
QStringList sourceFolders()
{
    const QDir src(sourceDir() + QStringLiteral("/src"));
    QStringList folders;
    QDirIterator it(src.path(), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        folders << src.relativeFilePath(it.next());
    folders.sort();
    return folders;
}

// The folder part of an include of a project header ("platform/ui" for "platform/ui/Dialogs.h"),
// or "" for any other header (Qt's, the standard library's, a generated one).
QString projectFolderOf(const QString &header)
{
    static const QStringList topFolders = QDir(sourceDir() + QStringLiteral("/src"))
                                              .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    const qsizetype slash = header.lastIndexOf(QLatin1Char('/'));
    if (slash < 0 || !topFolders.contains(header.section(QLatin1Char('/'), 0, 0)))
        return QString();
    return header.left(slash);
}

// The source files of a folder, not those of its subfolders.
QStringList sourceFilesOf(const QString &folder)
{
    const QDir dir(sourceDir() + QStringLiteral("/src/") + folder);
    QStringList files;
    for (const QString &name : dir.entryList({QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files))
        files << dir.filePath(name);
    return files;
}

// The libraries that build without the widget modules.
const QStringList &widgetFreeFolders()
{
    static const QStringList folders = {QStringLiteral("platform"), QStringLiteral("settings"),
                                        QStringLiteral("links"), QStringLiteral("folders"),
                                        QStringLiteral("textbox")};
    return folders;
}

// The library a folder builds, without its "panoptra_" ("platform_ui" for platform/ui).
QString libraryOf(const QString &folder)
{
    return QString(folder).replace(QLatin1Char('/'), QLatin1Char('_'));
}

// Where tests/CMakeLists.txt passes the link list of a folder's library ("a|b|c").
QByteArray linksVariable(const QString &folder)
{
    return "PANOPTRA_LINKS_" + libraryOf(folder).toUtf8();
}

QString linksOf(const QString &folder)
{
    return qEnvironmentVariable(linksVariable(folder).constData());
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
    void everySourceFolderHasAnIncludeRule();
    void foldersIncludeOnlyTheirAllowedFolders_data();
    void foldersIncludeOnlyTheirAllowedFolders();
    void librariesLinkTheFoldersTheyIncludeFrom_data();
    void librariesLinkTheFoldersTheyIncludeFrom();
    void interfaceFolderHoldsHeadersOnly();
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
    for (const QString &folder : widgetFreeFolders()) {
        for (const QString &file : sourceFilesOf(folder))
            QTest::newRow(qPrintable(folder + QLatin1Char('/') + QFileInfo(file).fileName())) << file;
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
        const QString from = projectFolderOf(header);
        QVERIFY2(from.isEmpty() || widgetFreeFolders().contains(from),
                 qPrintable(QStringLiteral("includes the upper-layer header ") + header));
    }
}

void TestLayering::widgetFreeLibrariesLinkNoWidgetModule_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("links");
    for (const QString &folder : widgetFreeFolders())
        QTest::newRow(qPrintable(folder)) << folder << linksOf(folder);
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

void TestLayering::everySourceFolderHasAnIncludeRule()
{
    QStringList ruled;
    for (const IncludeRule &rule : includeRules())
        ruled << rule.folder;
    QStringList missing;
    for (const QString &folder : sourceFolders()) {
        if (!ruled.contains(folder))
            missing << folder;
    }
    QVERIFY2(sourceFolders().contains(QStringLiteral("platform/ui")), "src/ was not listed");
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("no include rule for src/") + missing.join(QStringLiteral(", src/"))));
}

void TestLayering::foldersIncludeOnlyTheirAllowedFolders_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("allowed");
    for (const IncludeRule &rule : includeRules())
        QTest::newRow(qPrintable(rule.folder)) << rule.folder << rule.allowed;
}

void TestLayering::foldersIncludeOnlyTheirAllowedFolders()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, allowed);
    QVERIFY2(sourceFolders().contains(folder), "a rule for a folder that src/ no longer has");
    const QStringList known = sourceFolders();
    QStringList violations;
    for (const QString &file : sourceFilesOf(folder)) {
        for (const QString &header : includesOf(file)) {
            const QString from = projectFolderOf(header);
            if (!from.isEmpty() && (!allowed.contains(from) || !known.contains(from)))
                violations << QFileInfo(file).fileName() + QStringLiteral(" includes ") + header;
        }
    }
    QVERIFY2(violations.isEmpty(), qPrintable(violations.join(QStringLiteral("; "))));
}

void TestLayering::librariesLinkTheFoldersTheyIncludeFrom_data()
{
    QTest::addColumn<QString>("folder");
    for (const QString &folder : sourceFolders())
        QTest::newRow(qPrintable(folder)) << folder;
}

// Each library links exactly the project libraries whose headers its folder includes: a missing
// link builds only by luck of another library's links, a surplus one hides a dependency.
void TestLayering::librariesLinkTheFoldersTheyIncludeFrom()
{
    QFETCH(QString, folder);
    QVERIFY2(qEnvironmentVariableIsSet(linksVariable(folder).constData()),
             qPrintable(QStringLiteral("tests/CMakeLists.txt passes no link list for ") + folder));

    QStringList linked;
    const QStringList links = linksOf(folder).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    for (const QString &link : links) {
        if (!link.startsWith(QLatin1String("panoptra_")))
            continue;
        const QString name = link.mid(9);
        QString linkedFolder;
        for (const QString &candidate : sourceFolders()) {
            if (libraryOf(candidate) == name)
                linkedFolder = candidate;
        }
        QVERIFY2(!linkedFolder.isEmpty(),
                 qPrintable(QStringLiteral("links ") + link + QStringLiteral(", which is no folder of src/")));
        linked << linkedFolder;
    }

    QStringList included;
    for (const QString &file : sourceFilesOf(folder)) {
        for (const QString &header : includesOf(file)) {
            const QString from = projectFolderOf(header);
            if (!from.isEmpty() && from != folder)
                included << from;
        }
    }
    QStringList surplus;
    for (const QString &link : std::as_const(linked)) {
        if (!included.contains(link))
            surplus << link;
    }
    QStringList missing;
    for (const QString &from : std::as_const(included)) {
        if (!linked.contains(from) && !missing.contains(from))
            missing << from;
    }
    const QString separator = QStringLiteral(", ");
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("includes from, but does not link: ") + missing.join(separator)));
    QVERIFY2(surplus.isEmpty(),
             qPrintable(QStringLiteral("links, but includes nothing from: ") + surplus.join(separator)));
}

void TestLayering::interfaceFolderHoldsHeadersOnly()
{
    const QDir links(sourceDir() + QStringLiteral("/src/links"));
    const QStringList headers = links.entryList({QStringLiteral("*.h")}, QDir::Files);
    QVERIFY(!headers.isEmpty());
    QStringList others = links.entryList(QDir::Files);
    others.removeOne(QStringLiteral("CMakeLists.txt"));
    for (const QString &header : headers)
        others.removeOne(header);
    QVERIFY2(others.isEmpty(), qPrintable(QStringLiteral("not a header: ") + others.join(QStringLiteral(", "))));
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
