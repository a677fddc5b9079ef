#include "SettingsFiles.h"
#include "platform/PathCodec.h"
#include "platform/PosixFileServices.h"
#include "settings/RegistryStore.h"
#include "support/TestCase.h"
#include "support/TestServices.h"
#include "support/TmpfsMount.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

// What the settings store does when the file cannot be written, cannot be locked, or holds
// what its reader does not expect: the user's values are never lost.

using namespace SettingsFiles;

namespace {

const QString mainForm = QStringLiteral("Software\\Panoptra\\MainForm");
const QString menu = QStringLiteral("Software\\Panoptra\\Menu");
const QString webLinks = QStringLiteral("Software\\Panoptra\\WebLinks");
const QString backColor = QStringLiteral("Form BackColor");

// One value as the program names it.
struct Setting
{
    QString key;
    QString name;
};

// "key\name=text" for each setting, as a store that has not seen the file before reads it.
QStringList readBack(const QString &ini, const QList<Setting> &settings)
{
    const RegistryStore store(ini);
    QStringList values;
    for (const Setting &setting : settings)
        values << setting.key + QLatin1Char('\\') + setting.name + QLatin1Char('=')
                      + store.GetRegString(HKEY_CURRENT_USER, setting.key, setting.name);
    return values;
}

QStringList withValue(QStringList values, const Setting &setting, const QString &text)
{
    const QString prefix = setting.key + QLatin1Char('\\') + setting.name + QLatin1Char('=');
    for (QString &value : values) {
        if (value.startsWith(prefix))
            value = prefix + text;
    }
    return values;
}

// Fills the volume that holds folder until only room bytes are left; the filling file's path.
QString fillVolume(const QString &folder, qint64 room)
{
    const QString filler = folder + QStringLiteral("/filler");
    const int fd = ::open(QFile::encodeName(filler).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return QString();
    const QByteArray block(4096, 'x');
    while (::write(fd, block.constData(), size_t(block.size())) > 0) {
    }
    struct stat st;
    const bool filled = ::fstat(fd, &st) == 0 && ::ftruncate(fd, st.st_size - room) == 0;
    ::close(fd);
    return filled ? filler : QString();
}

qint64 freeBytes(const QString &folder)
{
    struct statvfs vfs;
    if (::statvfs(QFile::encodeName(folder).constData(), &vfs) != 0)
        return -1;
    return qint64(vfs.f_bavail) * qint64(vfs.f_frsize);
}

} // namespace

class TestSettingsFailures : public TestCase
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fullVolumeLeavesTheFileWhole_data();
    void fullVolumeLeavesTheFileWhole();
    void damagedFileKeepsWorking_data();
    void damagedFileKeepsWorking();
    void bytesThatAreNotUtf8StayAsTheyAre();
    void lockThatIsNeverLetGoFailsSoon_data();
    void lockThatIsNeverLetGoFailsSoon();

private:
    std::unique_ptr<TestServices> m_env;
    QString m_ini;
    // A settings file as the store writes it, and the values it holds.
    QByteArray m_saved;
    QList<Setting> m_savedSettings;
};

void TestSettingsFailures::initTestCase()
{
    m_savedSettings = {
        {mainForm, backColor},
        {mainForm, QStringLiteral("DirBox BackColor")},
        {menu, QStringLiteral("mnuFav1")},
        {webLinks, QStringLiteral("mnuFav1")},
        {menu, QStringLiteral("mnuFav2")},
        {webLinks, QStringLiteral("mnuFav2")},
        {menu, QStringLiteral("mnuYes1")},
        {webLinks, QStringLiteral("mnuYes1")},
    };
    const QStringList texts = {QStringLiteral("16711680"), QStringLiteral("-2147483643"),
                               QStringLiteral("News"), QStringLiteral("http://news.example/"),
                               QStringLiteral("Café ☕, \"quoted\""), QStringLiteral("https://café.example/?a=1;b=2"),
                               QStringLiteral("  Engine"), QStringLiteral("http://find.example/?q=")};
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    RegistryStore store(dir.filePath(QStringLiteral("Panoptra.ini")));
    for (qsizetype i = 0; i < m_savedSettings.size(); ++i)
        QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, m_savedSettings.at(i).key, m_savedSettings.at(i).name,
                                    texts.at(i)));
    m_saved = readAll(store.iniPath());
    QVERIFY(m_saved.size() > 200);
}

void TestSettingsFailures::init()
{
    failOnUnexpectedWarnings();
    m_env = std::make_unique<TestServices>();
    m_ini = SettingsFiles::iniPath(m_env->configHome());
}

void TestSettingsFailures::cleanup()
{
    m_env.reset();
}

void TestSettingsFailures::fullVolumeLeavesTheFileWhole_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text"); // a null text deletes the value
    QTest::newRow("colour") << mainForm << backColor << QStringLiteral("255");
    QTest::newRow("new link") << menu << QStringLiteral("mnuFav20") << QStringLiteral("New link");
    QTest::newRow("changed address") << webLinks << QStringLiteral("mnuFav3") << QStringLiteral("http://changed.example/");
    QTest::newRow("removed link") << menu << QStringLiteral("mnuFav2") << QString();
}

void TestSettingsFailures::fullVolumeLeavesTheFileWhole()
{
    QFETCH(QString, key);
    QFETCH(QString, name);
    QFETCH(QString, text);
    const QString volume = m_env->home() + QStringLiteral("/volume");
    QVERIFY(QDir().mkpath(volume));
    TmpfsMount mount(volume, QStringLiteral("1m"));
    if (!mount.isMounted())
        QSKIP(qPrintable(QStringLiteral("a tmpfs cannot be mounted here: ") + mount.error()));
    const QString ini = volume + QStringLiteral("/Panoptra/Panoptra.ini");

    // A file of a colour and 19 favourites with long addresses: over 4 KiB, and more than the
    // room that will be left.
    QList<Setting> settings = {{mainForm, backColor}};
    {
        RegistryStore store(ini);
        QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("16711680")));
        for (int slot = 1; slot <= 19; ++slot) {
            const QString item = QStringLiteral("mnuFav%1").arg(slot);
            settings << Setting{menu, item} << Setting{webLinks, item};
            QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, menu, item, QStringLiteral("Favourite %1").arg(slot)));
            QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, webLinks, item,
                                        QStringLiteral("http://example.com/%1/").arg(slot) + QString(500, u'p')));
        }
    }
    settings << Setting{menu, QStringLiteral("mnuFav20")};
    const QByteArray before = readAll(ini);
    const QStringList valuesBefore = readBack(ini, settings);
    QVERIFY(before.size() > 8192);

    const QString filler = fillVolume(volume, 8192);
    QVERIFY(!filler.isEmpty());
    QVERIFY(freeBytes(volume) <= 8192);

    RegistryStore store(ini);
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("16711680"));
    const bool done = text.isNull() ? store.DeleteRegValue(HKEY_CURRENT_USER, key, name)
                                    : store.SaveRegString(HKEY_CURRENT_USER, key, name, text);
    QVERIFY(!done);
    QCOMPARE(readAll(ini), before);
    QCOMPARE(QDir(volume + QStringLiteral("/Panoptra")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Panoptra.ini")});
    QCOMPARE(readBack(ini, settings), valuesBefore);
    // The run goes on with the change.
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, key, name), text);

    // With room again, the next save writes the kept change as well.
    QVERIFY(QFile::remove(filler));
    const Setting fileBoxes{mainForm, QStringLiteral("FileBox BackColor")};
    QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, fileBoxes.key, fileBoxes.name, QStringLiteral("1")));
    settings << fileBoxes;
    const QStringList expected = withValue(valuesBefore, Setting{key, name}, text)
                                 << fileBoxes.key + QStringLiteral("\\FileBox BackColor=1");
    QCOMPARE(readBack(ini, settings), expected);
}

void TestSettingsFailures::damagedFileKeepsWorking_data()
{
    QTest::addColumn<QByteArray>("contents");
    // The damage goes after the second value.
    const qsizetype at = m_saved.indexOf('\n', m_saved.indexOf('\n', m_saved.indexOf('\n') + 1) + 1) + 1;
    const auto damaged = [this, at](const QByteArray &line) { return QByteArray(m_saved).insert(at, line); };
    QTest::newRow("no =") << damaged("Panoptra\\Menu\\mnuFav8\n");
    QTest::newRow("broken section") << damaged("[broken section\n");
    QTest::newRow("broken section at the end") << m_saved + "[Software\nPanoptra\\Menu\\mnuFav8=After\n";
    QTest::newRow("binary line") << damaged(QByteArray("\x00\x01\x02\xfe\xff\x80\x7f\x1b[0m\r\x00", 13) + '\n');
    QTest::newRow("binary line with =") << damaged(QByteArray("\xff\xfe=\x00\x01\"\\", 7) + '\n');
    QTest::newRow("lone \\") << damaged("\\\n");
    QTest::newRow("value ending in a lone \\") << damaged("Panoptra\\Menu\\mnuFav8=ends in\\\n");
    QTest::newRow("quote left open") << damaged("Panoptra\\Menu\\mnuFav8=\"open, quote\n");
    QTest::newRow("no line end at the end") << m_saved + "Panoptra\\Menu\\mnuFav8=last";
    for (qsizetype size = 0; size < m_saved.size(); ++size)
        QTest::newRow(qPrintable(QStringLiteral("truncated at %1").arg(size))) << m_saved.left(size);
}

void TestSettingsFailures::damagedFileKeepsWorking()
{
    QFETCH(QByteArray, contents);
    // Each row writes the file four times, each write waiting for the disk; on a tmpfs (where
    // one can be mounted) the several hundred rows do not take half a minute.
    QVERIFY(QDir().mkpath(m_env->configHome()));
    const TmpfsMount quickDisk(m_env->configHome(), QStringLiteral("4m"));
    writeRaw(m_ini, contents);
    const Setting color{mainForm, backColor};
    const Setting newName{menu, QStringLiteral("mnuFav9")};
    const Setting newAddress{webLinks, QStringLiteral("mnuFav9")};
    const Setting removed{menu, QStringLiteral("mnuFav1")};
    const QList<Setting> settings = QList<Setting>(m_savedSettings)
                                    << Setting{menu, QStringLiteral("mnuFav8")} << newName << newAddress;
    const QStringList before = readBack(m_ini, settings);

    RegistryStore store(m_ini);
    QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, color.key, color.name, QStringLiteral("255")));
    QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, newName.key, newName.name, QStringLiteral("Added")));
    QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, newAddress.key, newAddress.name,
                                QStringLiteral("http://added.example/")));
    QVERIFY(store.DeleteRegValue(HKEY_CURRENT_USER, removed.key, removed.name));

    QStringList expected = withValue(before, color, QStringLiteral("255"));
    expected = withValue(expected, newName, QStringLiteral("Added"));
    expected = withValue(expected, newAddress, QStringLiteral("http://added.example/"));
    expected = withValue(expected, removed, QString());
    QCOMPARE(readBack(m_ini, settings), expected);
}

void TestSettingsFailures::bytesThatAreNotUtf8StayAsTheyAre()
{
    // Written by another program in another encoding.
    const QByteArray cafe = "Panoptra\\Menu\\mnuFav1=Caf\xe9 Noir";
    const QByteArray lone = "Panoptra\\WebLinks\\mnuFav1=http://example.com/\xff";
    writeRaw(m_ini, "[Software]\n" + cafe + '\n' + lone + '\n');

    RegistryStore store;
    const QString name = store.GetRegString(HKEY_CURRENT_USER, menu, QStringLiteral("mnuFav1"));
    QCOMPARE(PathCodec::encode(name), QByteArray("Caf\xe9 Noir"));
    QCOMPARE(PathCodec::displayText(name), QStringLiteral("Caf\uFFFD Noir"));
    QCOMPARE(PathCodec::encode(store.GetRegString(HKEY_CURRENT_USER, webLinks, QStringLiteral("mnuFav1"))),
             QByteArray("http://example.com/\xff"));

    QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("255")));
    const QList<QByteArray> lines = readAll(m_ini).split('\n');
    QVERIFY(lines.contains(cafe));
    QVERIFY(lines.contains(lone));

    // What was read, stored again under another name, is the same bytes.
    QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, menu, QStringLiteral("mnuFav2"), name));
    QVERIFY(readAll(m_ini).split('\n').contains(QByteArray("Panoptra\\Menu\\mnuFav2=Caf\xe9 Noir")));
}

void TestSettingsFailures::lockThatIsNeverLetGoFailsSoon_data()
{
    QTest::addColumn<bool>("lockIsAFolder");
    QTest::addColumn<int>("leastMs"); // a live holder is waited for a while: it may let go
    QTest::addColumn<int>("mostMs");
    QTest::newRow("lock is a folder") << true << 0 << 200;
    QTest::newRow("lock held by a QLockFile that never lets go") << false << 900 << 2000;
}

void TestSettingsFailures::lockThatIsNeverLetGoFailsSoon()
{
    QFETCH(bool, lockIsAFolder);
    QFETCH(int, leastMs);
    QFETCH(int, mostMs);
    RegistryStore store;
    QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("1")));
    QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, menu, QStringLiteral("mnuFav1"), QStringLiteral("One")));
    const QByteArray before = readAll(m_ini);

    const QString lockPath = m_ini + QStringLiteral(".lock");
    QLockFile other(lockPath);
    if (lockIsAFolder)
        QVERIFY(QDir().mkdir(lockPath));
    else
        QVERIFY(other.tryLock(0));

    QElapsedTimer timer;
    timer.start();
    QVERIFY(!store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("2")));
    QVERIFY2(timer.elapsed() >= leastMs && timer.elapsed() < mostMs,
             qPrintable(QStringLiteral("the save took %1 ms").arg(timer.elapsed())));
    timer.restart();
    QVERIFY(!store.DeleteRegValue(HKEY_CURRENT_USER, menu, QStringLiteral("mnuFav1")));
    QVERIFY2(timer.elapsed() >= leastMs && timer.elapsed() < mostMs,
             qPrintable(QStringLiteral("the delete took %1 ms").arg(timer.elapsed())));

    QCOMPARE(readAll(m_ini), before);
    // This run goes on with what it asked for; the next one would find the file as it was.
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("2"));
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, menu, QStringLiteral("mnuFav1")), QString());
    const QList<Setting> settings = {{mainForm, backColor}, {menu, QStringLiteral("mnuFav1")},
                                     {mainForm, QStringLiteral("DirBox BackColor")}};
    QCOMPARE(readBack(m_ini, settings),
             QStringList({mainForm + QStringLiteral("\\Form BackColor=1"), menu + QStringLiteral("\\mnuFav1=One"),
                          mainForm + QStringLiteral("\\DirBox BackColor=")}));

    // Once the lock is free, the next save writes what was kept as well.
    if (lockIsAFolder)
        QVERIFY(QDir().rmdir(lockPath));
    else
        other.unlock();
    QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, mainForm, QStringLiteral("DirBox BackColor"), QStringLiteral("3")));
    QCOMPARE(readBack(m_ini, settings),
             QStringList({mainForm + QStringLiteral("\\Form BackColor=2"), menu + QStringLiteral("\\mnuFav1="),
                          mainForm + QStringLiteral("\\DirBox BackColor=3")}));
}

QTEST_GUILESS_MAIN(TestSettingsFailures)
#include "tst_settingsfailures.moc"
