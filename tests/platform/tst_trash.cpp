#include "platform/FreedesktopTrash.h"
#include "support/TestDir.h"
#include "support/TestServices.h"
#include "support/TmpfsMount.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// What trash-cli, a second and independent client of the same trash, lists: one original
// path per trashed file.
QStringList trashListed(const QString &dataHome)
{
    QProcess list;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    list.setProcessEnvironment(env);
    list.start(QStringLiteral("trash-list"), {});
    if (!list.waitForFinished(30000) || list.exitCode() != 0)
        return {QStringLiteral("trash-list failed: ") + QString::fromLocal8Bit(list.readAllStandardError())};
    QStringList paths;
    const QStringList lines = QString::fromUtf8(list.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // "2026-12-10 09:30:00 /the/original/path"
    for (const QString &line : lines)
        paths << line.section(QLatin1Char(' '), 2);
    return paths;
}

} // namespace

class TestTrash : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void trashedFileIsListedWithItsPath_data();
    void trashedFileIsListedWithItsPath();
    void relativePathIsTrashedFromTheCurrentFolder();
    void fileOnAnotherVolumeGoesToThatVolumesTrash();
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
    QCOMPARE(QDir(m_cwd->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

void TestTrash::trashedFileIsListedWithItsPath_data()
{
    QTest::addColumn<bool>("dataHomeExists");
    QTest::addColumn<QString>("name");
    QTest::newRow("data folder missing") << false << QStringLiteral("report.txt");
    QTest::newRow("data folder present") << true << QStringLiteral("report.txt");
    QTest::newRow("blanks, accents and percent") << false << QStringLiteral("my résumé 100%.txt");
    QTest::newRow("hidden file") << true << QStringLiteral(".profile");
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

    QVERIFY(m_trash.moveToTrash(path));
    QVERIFY(m_trash.moveToTrash(twin));

    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(!QFileInfo::exists(twin));
    QStringList listed = trashListed(m_env->dataHome());
    listed.sort();
    QCOMPARE(listed, (QStringList{path, twin}));
    const QStringList inTrash = QDir(m_env->dataHome() + QStringLiteral("/Trash/files"))
                                    .entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(inTrash.size(), 2);
    verifyCurrentFolderUntouched();
}

void TestTrash::relativePathIsTrashedFromTheCurrentFolder()
{
    QFile file(m_cwd->path() + QStringLiteral("/here.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QVERIFY(m_trash.moveToTrash(QStringLiteral("here.txt")));
    QCOMPARE(trashListed(m_env->dataHome()), QStringList{m_cwd->path() + QStringLiteral("/here.txt")});
    verifyCurrentFolderUntouched();
}

void TestTrash::fileOnAnotherVolumeGoesToThatVolumesTrash()
{
    const QString volume = m_dir->createDir(QStringLiteral("usb"));
    TmpfsMount mount(volume, QStringLiteral("1m"));
    if (!mount.isMounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs here (%1); trashing on another "
                                        "volume is not checked").arg(mount.error())));
    const QString path = m_dir->createFile(QStringLiteral("usb/photo.jpg"), "jpeg");

    QVERIFY(m_trash.moveToTrash(path));
    QVERIFY(!QFileInfo::exists(path));
    // Moved, never copied and deleted: it stays on its own volume.
    QCOMPARE(QDir(volume + QStringLiteral("/.Trash-") + QString::number(::getuid()) + QStringLiteral("/files"))
                 .entryList(QDir::Files), QStringList{QStringLiteral("photo.jpg")});
    QVERIFY(trashListed(m_env->dataHome()).contains(path));
    verifyCurrentFolderUntouched();
}

void TestTrash::refusedPathStays_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("blockTrash");
    QTest::newRow("missing file") << QStringLiteral("gone.txt") << QString();
    QTest::newRow("folder") << QStringLiteral("folder") << QString();
    QTest::newRow("empty path") << QString() << QString();
    QTest::newRow("data folder cannot be made") << QStringLiteral("a.txt") << QStringLiteral("data");
    QTest::newRow("Trash in the data folder is a file") << QStringLiteral("a.txt") << QStringLiteral("data/Trash");
}

void TestTrash::refusedPathStays()
{
    QFETCH(QString, name);
    QFETCH(QString, blockTrash);
    m_dir->createFile(QStringLiteral("a.txt"), "a");
    m_dir->createFile(QStringLiteral("folder/inside.txt"), "inside");
    if (!blockTrash.isEmpty()) {
        QDir().mkpath(QFileInfo(m_env->home() + QLatin1Char('/') + blockTrash).path());
        QFile blocker(m_env->home() + QLatin1Char('/') + blockTrash);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }

    QVERIFY(!m_trash.moveToTrash(name.isEmpty() ? QString() : m_dir->filePath(name)));

    QCOMPARE(m_dir->read(QStringLiteral("a.txt")), QByteArray("a"));
    QCOMPARE(m_dir->read(QStringLiteral("folder/inside.txt")), QByteArray("inside"));
    QVERIFY(!QFileInfo::exists(m_env->dataHome() + QStringLiteral("/Trash/files")));
    verifyCurrentFolderUntouched();
}

QTEST_GUILESS_MAIN(TestTrash)
#include "tst_trash.moc"
