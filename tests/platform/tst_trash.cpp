#include "platform/FreedesktopTrash.h"
#include "support/TestCase.h"
#include "support/TestDir.h"
#include "support/TestServices.h"
#include "support/TmpfsMount.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs a tool of trash-cli, a second and independent client of the same trash.
CliRun trashCli(const QString &dataHome, const QString &program, const QStringList &arguments,
                const QByteArray &input = QByteArray())
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    CliRun run;
    if (!process.waitForStarted()) {
        run.err = QStringLiteral("could not start ") + program;
        return run;
    }
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
        run.err = program + QStringLiteral(" did not finish");
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// The original paths trash-list names that lie in folder, sorted. trash-list also reads the
// trash of every other mounted volume, where tests running beside this one trash files, and
// prints a path holding a newline over two lines: an entry starts with its date.
QStringList trashListed(const QString &dataHome, const QString &folder)
{
    const CliRun list = trashCli(dataHome, QStringLiteral("trash-list"), {});
    if (list.exitCode != 0)
        return {QStringLiteral("trash-list failed: ") + list.err};
    static const QRegularExpression dated(QStringLiteral("^(\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d|\\?{4}-.*?) "));
    QStringList entries;
    for (const QString &line : list.out.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch date = dated.match(line);
        if (date.hasMatch())
            entries << line.mid(date.capturedLength());
        else if (!entries.isEmpty())
            entries.last() += QLatin1Char('\n') + line;
    }
    QStringList paths;
    for (QString entry : std::as_const(entries)) {
        if (entry.endsWith(QLatin1Char('\n')))
            entry.chop(1);
        if (entry.startsWith(folder + QLatin1Char('/')))
            paths << entry;
    }
    paths.sort();
    return paths;
}

// Puts the trashed file that came from path back with trash-restore; its error text, if any.
QString restoreWithCli(const QString &dataHome, const QString &path)
{
    const CliRun restore = trashCli(dataHome, QStringLiteral("trash-restore"), {path}, "0\n");
    return restore.exitCode == 0 ? QString() : QStringLiteral("trash-restore failed: ") + restore.err + restore.out;
}

// Every entry under folder, with a mark for what it is, for seeing that nothing was made.
QStringList treeOf(const QString &folder)
{
    QStringList tree;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        tree << it.filePath().mid(folder.size()) + (it.fileInfo().isDir() ? QStringLiteral("/") : QString());
    }
    tree.sort();
    return tree;
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// Fills the volume that holds folder to the last byte.
void fillVolume(const QString &folder)
{
    QFile filler(folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
    while (filler.write("f", 1) == 1) {
    }
}

ino_t inodeOf(const QString &path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

const QString uid = QString::number(::getuid());

} // namespace

class TestTrash : public TestCase
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void trashedFileIsListedWithItsPath_data();
    void trashedFileIsListedWithItsPath();
    void fileWithoutRecordInTrashIsKept();
    void relativePathIsTrashedFromTheCurrentFolder();
    void fileOnAnotherVolumeGoesToThatVolumesTrash_data();
    void fileOnAnotherVolumeGoesToThatVolumesTrash();
    void fullVolumeLeavesNoHalfEntry_data();
    void fullVolumeLeavesNoHalfEntry();
    void refusedPathStays_data();
    void refusedPathStays();

private:
    void verifyCurrentFolderUntouched();

    std::unique_ptr<TestServices> m_env;
    std::unique_ptr<TestDir> m_dir;
    std::unique_ptr<QTemporaryDir> m_cwd;
    QString m_oldCwd;
    FreedesktopTrash m_trash;
};

void TestTrash::init()
{
    failOnUnexpectedWarnings();
    m_env = std::make_unique<TestServices>();
    m_dir = std::make_unique<TestDir>();
    // Qt 6.4 once put "trashed" files under the current folder; make it one we can watch.
    m_cwd = std::make_unique<QTemporaryDir>();
    m_oldCwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_cwd->path()));
}

void TestTrash::cleanup()
{
    QDir::setCurrent(m_oldCwd);
    m_cwd.reset();
    m_dir.reset();
    m_env.reset();
}

void TestTrash::verifyCurrentFolderUntouched()
{
    QCOMPARE(QDir::currentPath(), m_cwd->path());
    QCOMPARE(entriesOf(m_cwd->path()), QStringList());
}

void TestTrash::trashedFileIsListedWithItsPath_data()
{
    QTest::addColumn<bool>("dataHomeExists");
    QTest::addColumn<QString>("name");
    QTest::newRow("data folder missing") << false << QStringLiteral("report.txt");
    QTest::newRow("data folder present") << true << QStringLiteral("report.txt");
    QTest::newRow("blanks, accents and percent") << false << QStringLiteral("my résumé 100%.txt");
    QTest::newRow("percent before hex digits") << true << QStringLiteral("100%41 %2F.txt");
    QTest::newRow("newline") << true << QStringLiteral("two\nlines.txt");
    QTest::newRow("hidden file") << true << QStringLiteral(".profile");
    QTest::newRow("255 bytes of ASCII") << true << QString(251, QLatin1Char('a')) + QStringLiteral(".txt");
    QTest::newRow("255 bytes of two-byte UTF-8")
        << true << QString(125, QChar(0xE9)) + QStringLiteral("x.txt");
}

void TestTrash::trashedFileIsListedWithItsPath()
{
    QFETCH(bool, dataHomeExists);
    QFETCH(QString, name);
    QVERIFY(!QFileInfo::exists(m_env->dataHome()));
    if (dataHomeExists)
        QVERIFY(QDir().mkpath(m_env->dataHome()));
    const QString path = m_dir->createFile(QStringLiteral("docs/") + name, "keep me");
    // A second file of the same name must not take the first one's place in the trash.
    const QString twin = m_dir->createFile(QStringLiteral("other/") + name, "me too");
    QVERIFY(QFileInfo::exists(path));

    QVERIFY(m_trash.moveToTrash(path));
    QVERIFY(m_trash.moveToTrash(twin));

    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(!QFileInfo::exists(twin));
    QCOMPARE(trashListed(m_env->dataHome(), m_dir->path()), (QStringList{path, twin}));
    const QString trash = m_env->dataHome() + QStringLiteral("/Trash");
    const QStringList inTrash = entriesOf(trash + QStringLiteral("/files"));
    QCOMPARE(inTrash.size(), 2);
    // Names in the trash fit beside their record, are whole UTF-8 and keep their ending.
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString ending = dot > 0 ? name.mid(dot) : QString(); // ".profile" has none
    for (const QString &entry : inTrash) {
        const QByteArray bytes = QFile::encodeName(entry);
        QVERIFY2(bytes.size() + qsizetype(strlen(".trashinfo")) <= 255, bytes.constData());
        QCOMPARE(QString::fromUtf8(bytes).toUtf8(), bytes);
        QVERIFY2(entry.endsWith(ending), qPrintable(entry));
        QVERIFY(QFileInfo::exists(trash + QStringLiteral("/info/") + entry + QStringLiteral(".trashinfo")));
    }

    // Both come back, byte for byte, through the other client.
    QCOMPARE(restoreWithCli(m_env->dataHome(), path), QString());
    QCOMPARE(restoreWithCli(m_env->dataHome(), twin), QString());
    QCOMPARE(m_dir->read(QStringLiteral("docs/") + name), QByteArray("keep me"));
    QCOMPARE(m_dir->read(QStringLiteral("other/") + name), QByteArray("me too"));
    QCOMPARE(entriesOf(trash + QStringLiteral("/files")), QStringList());
    QCOMPARE(entriesOf(trash + QStringLiteral("/info")), QStringList());
    verifyCurrentFolderUntouched();
}

void TestTrash::fileWithoutRecordInTrashIsKept()
{
    // A file left in the trash by a tool that lost its record holds the name ours would take.
    const QString stray = m_env->dataHome() + QStringLiteral("/Trash/files/report.txt");
    QVERIFY(QDir().mkpath(m_env->dataHome() + QStringLiteral("/Trash/files")));
    QFile strayFile(stray);
    QVERIFY(strayFile.open(QIODevice::WriteOnly));
    strayFile.write("stray");
    strayFile.close();
    const QString path = m_dir->createFile(QStringLiteral("report.txt"), "mine");

    QVERIFY(m_trash.moveToTrash(path));

    QCOMPARE(trashListed(m_env->dataHome(), m_dir->path()), QStringList{path});
    QFile kept(stray);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("stray"));
    QCOMPARE(restoreWithCli(m_env->dataHome(), path), QString());
    QCOMPARE(m_dir->read(QStringLiteral("report.txt")), QByteArray("mine"));
}

void TestTrash::relativePathIsTrashedFromTheCurrentFolder()
{
    QFile file(m_cwd->path() + QStringLiteral("/here.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QVERIFY(m_trash.moveToTrash(QStringLiteral("here.txt")));
    QCOMPARE(trashListed(m_env->dataHome(), m_cwd->path()), QStringList{m_cwd->path() + QStringLiteral("/here.txt")});
    verifyCurrentFolderUntouched();
}

void TestTrash::fileOnAnotherVolumeGoesToThatVolumesTrash_data()
{
    // What the volume's top folder holds as ".Trash", the trash shared by its users.
    QTest::addColumn<QString>("sharedTrash");
    QTest::addColumn<QString>("expectedTrash");
    QTest::newRow("no shared trash") << QString() << QStringLiteral(".Trash-") + uid;
    QTest::newRow("shared trash with the sticky bit") << QStringLiteral("sticky") << QStringLiteral(".Trash/") + uid;
    QTest::newRow("shared trash without the sticky bit") << QStringLiteral("plain") << QStringLiteral(".Trash-") + uid;
    QTest::newRow("shared trash is a link") << QStringLiteral("link") << QStringLiteral(".Trash-") + uid;
}

void TestTrash::fileOnAnotherVolumeGoesToThatVolumesTrash()
{
    QFETCH(QString, sharedTrash);
    QFETCH(QString, expectedTrash);
    const QString volume = m_dir->createDir(QStringLiteral("usb"));
    TmpfsMount mount(volume, QStringLiteral("1m"));
    if (!mount.isMounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs here (%1); trashing on another "
                                        "volume is not checked").arg(mount.error())));
    const QString shared = volume + QStringLiteral("/.Trash");
    if (sharedTrash == QLatin1String("link")) {
        QVERIFY(QDir().mkpath(volume + QStringLiteral("/elsewhere")));
        QVERIFY(::chmod(QFile::encodeName(volume + QStringLiteral("/elsewhere")).constData(), 01777) == 0);
        QVERIFY(QFile::link(volume + QStringLiteral("/elsewhere"), shared));
    } else if (!sharedTrash.isEmpty()) {
        QVERIFY(QDir().mkpath(shared));
        const mode_t mode = sharedTrash == QLatin1String("sticky") ? 01777 : 0777;
        QVERIFY(::chmod(QFile::encodeName(shared).constData(), mode) == 0);
    }
    const QString path = m_dir->createFile(QStringLiteral("usb/photo.jpg"), "jpeg");
    const ino_t inode = inodeOf(path);

    QVERIFY(m_trash.moveToTrash(path));
    QVERIFY(!QFileInfo::exists(path));
    // Moved, never copied and deleted: it stays on its own volume, the very same file.
    const QString trashedFile = volume + QLatin1Char('/') + expectedTrash + QStringLiteral("/files/photo.jpg");
    QCOMPARE(inodeOf(trashedFile), inode);
    QVERIFY(!QFileInfo::exists(m_env->dataHome() + QStringLiteral("/Trash")));
    QCOMPARE(trashListed(m_env->dataHome(), volume), QStringList{path});

    QCOMPARE(restoreWithCli(m_env->dataHome(), path), QString());
    QCOMPARE(m_dir->read(QStringLiteral("usb/photo.jpg")), QByteArray("jpeg"));
    verifyCurrentFolderUntouched();
}

void TestTrash::fullVolumeLeavesNoHalfEntry_data()
{
    QTest::addColumn<bool>("homeOnVolume");
    QTest::newRow("home trash on the full volume") << true;
    QTest::newRow("the volume's own trash") << false;
}

void TestTrash::fullVolumeLeavesNoHalfEntry()
{
    QFETCH(bool, homeOnVolume);
    const QString volume = m_dir->createDir(QStringLiteral("full"));
    TmpfsMount mount(volume, QStringLiteral("1m"));
    if (!mount.isMounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs here (%1); a full volume is not "
                                        "checked").arg(mount.error())));
    const QString dataHome = homeOnVolume ? volume + QStringLiteral("/data") : m_env->dataHome();
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome)); // put back by m_env
    const QString trash = homeOnVolume ? dataHome + QStringLiteral("/Trash") : volume + QStringLiteral("/.Trash-") + uid;
    const QString path = m_dir->createFile(QStringLiteral("full/notes.txt"), "notes");
    fillVolume(volume);

    const bool trashed = m_trash.moveToTrash(path);

    // Either the whole entry, readable by the other client, or nothing at all. (trash-list
    // reads every volume: only what it says of this one counts.)
    const CliRun list = trashCli(dataHome, QStringLiteral("trash-list"), {});
    for (const QString &line : (list.err + list.out).split(QLatin1Char('\n'))) {
        if (line.contains(volume))
            QVERIFY2(!line.contains(QLatin1String("Parse Error")) && !line.startsWith(QLatin1String("????")), qPrintable(line));
    }
    if (trashed) {
        QCOMPARE(trashListed(dataHome, volume), QStringList{path});
    } else {
        QCOMPARE(m_dir->read(QStringLiteral("full/notes.txt")), QByteArray("notes"));
        QCOMPARE(entriesOf(trash + QStringLiteral("/info")), QStringList());
        QCOMPARE(entriesOf(trash + QStringLiteral("/files")), QStringList());
    }
    verifyCurrentFolderUntouched();
}

void TestTrash::refusedPathStays_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("blockTrash");
    QTest::addColumn<QString>("dataHome");
    QTest::newRow("missing file") << QStringLiteral("gone.txt") << QString() << QString();
    QTest::newRow("folder") << QStringLiteral("folder") << QString() << QString();
    QTest::newRow("empty path") << QString() << QString() << QString();
    QTest::newRow("file named as a folder") << QStringLiteral("a.txt/") << QString() << QString();
    QTest::newRow("data folder cannot be made") << QStringLiteral("a.txt") << QStringLiteral("data") << QString();
    QTest::newRow("Trash in the data folder is a file") << QStringLiteral("a.txt") << QStringLiteral("data/Trash") << QString();
    QTest::newRow("Trash/files is a file") << QStringLiteral("a.txt") << QStringLiteral("data/Trash/files") << QString();
    QTest::newRow("Trash/info is a file") << QStringLiteral("a.txt") << QStringLiteral("data/Trash/info") << QString();
    QTest::newRow("relative data folder") << QStringLiteral("a.txt") << QString() << QStringLiteral("data");
}

void TestTrash::refusedPathStays()
{
    QFETCH(QString, name);
    QFETCH(QString, blockTrash);
    QFETCH(QString, dataHome);
    m_dir->createFile(QStringLiteral("a.txt"), "a");
    m_dir->createFile(QStringLiteral("folder/inside.txt"), "inside");
    if (!blockTrash.isEmpty()) {
        QDir().mkpath(QFileInfo(m_env->home() + QLatin1Char('/') + blockTrash).path());
        QFile blocker(m_env->home() + QLatin1Char('/') + blockTrash);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    if (!dataHome.isEmpty())
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome)); // put back by m_env
    const QStringList homeBefore = treeOf(m_env->home());
    const QStringList filesBefore = treeOf(m_dir->path());

    QVERIFY(!m_trash.moveToTrash(name.isEmpty() ? QString() : m_dir->filePath(name)));

    QCOMPARE(m_dir->read(QStringLiteral("a.txt")), QByteArray("a"));
    QCOMPARE(m_dir->read(QStringLiteral("folder/inside.txt")), QByteArray("inside"));
    // Nothing made anywhere: not in the home, not beside the files, not in the current folder.
    QCOMPARE(treeOf(m_env->home()), homeBefore);
    QCOMPARE(treeOf(m_dir->path()), filesBefore);
    verifyCurrentFolderUntouched();
}

QTEST_GUILESS_MAIN(TestTrash)
#include "tst_trash.moc"
