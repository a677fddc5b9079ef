#include "settings/RegistryStore.h"
#include "support/TestCase.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

namespace {
const QString mainForm = QStringLiteral("Software\\Panoptra\\MainForm");
const QString backColor = QStringLiteral("Form BackColor");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the file as another program (or a person with an editor) would.
void writeRaw(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
}

// Writes the file as another program would within one tick of the file clock: the file keeps
// its size and its modification time, to the nanosecond, so that only its contents tell.
void writeWithinTheSameTick(const QString &path, const QByteArray &contents)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat before;
    QVERIFY(::stat(name.constData(), &before) == 0);
    QCOMPARE(qint64(before.st_size), qint64(contents.size()));
    writeRaw(path, contents);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    QVERIFY(::utimensat(AT_FDCWD, name.constData(), times, 0) == 0);
    struct stat after;
    QVERIFY(::stat(name.constData(), &after) == 0);
    QCOMPARE(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    QCOMPARE(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

// What any other reader of the INI file finds under the key.
QVariant storedValue(const QString &iniPath, const QString &settingsKey)
{
    QSettings settings(iniPath, QSettings::IniFormat);
    return settings.value(settingsKey);
}
} // namespace

class TestRegistryStore : public TestCase
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void defaultPathFollowsXdgConfigHome();
    void readBeforeAnyWriteCreatesNothing();
    void writeCreatesEveryMissingKey();
    void nonTextValueReadsEmptyAndWriteReplacesIt_data();
    void nonTextValueReadsEmptyAndWriteReplacesIt();
    void textIsCutAtTheFirstNul();
    void namesCompareWithoutCase();
    void nextReadSeesAnOutsideEdit();
    void outsideEditOfTheSameSizeIsSeenAtOnce();
    void textRoundTrips_data();
    void textRoundTrips();
    void deleteRemovesOnlyTheValue();
    void worksWithoutATemporaryFolder();
    void deleteOfMissingValueChangesNothing_data();
    void deleteOfMissingValueChangesNothing();

private:
    std::unique_ptr<TestServices> m_env;
    QString m_ini;
};

void TestRegistryStore::init()
{
    failOnUnexpectedWarnings();
    m_env = std::make_unique<TestServices>();
    m_ini = m_env->configHome() + QStringLiteral("/Panoptra/Panoptra.ini");
}

void TestRegistryStore::cleanup()
{
    m_env.reset();
}

void TestRegistryStore::defaultPathFollowsXdgConfigHome()
{
    QCOMPARE(RegistryStore::defaultIniPath(), m_ini);
    QCOMPARE(RegistryStore().iniPath(), m_ini);

    qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(RegistryStore::defaultIniPath(),
             QDir::homePath() + QStringLiteral("/.config/Panoptra/Panoptra.ini"));
}

void TestRegistryStore::readBeforeAnyWriteCreatesNothing()
{
    RegistryStore store;
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QString());
    QVERIFY(!QFileInfo::exists(m_env->configHome()));

    // With the file present, a read of a missing key or value adds nothing either.
    store.SaveRegString(HKEY_CURRENT_USER, QStringLiteral("Software\\Panoptra\\Menu"),
                        QStringLiteral("mnuYes1"), QStringLiteral("Search"));
    const QByteArray before = readAll(m_ini);
    const QStringList filesBefore = QDir(QFileInfo(m_ini).path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QString());
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, QStringLiteral("Software\\Panoptra\\Menu"),
                                QStringLiteral("mnuYes2")), QString());
    QCOMPARE(readAll(m_ini), before);
    QCOMPARE(QDir(QFileInfo(m_ini).path()).entryList(QDir::Files | QDir::Hidden), filesBefore);
}

void TestRegistryStore::writeCreatesEveryMissingKey()
{
    RegistryStore store;
    store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("-2147483633"));
    QVERIFY(QFileInfo(m_ini).isFile());
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("-2147483633"));
    QCOMPARE(storedValue(m_ini, QStringLiteral("Software/Panoptra/MainForm/Form BackColor")),
             QVariant(QStringLiteral("-2147483633")));

    // A later write keeps the file's permissions and leaves no lock or work file behind.
    QFile::setPermissions(m_ini, QFile::ReadOwner | QFile::WriteOwner);
    store.SaveRegString(HKEY_CURRENT_USER, mainForm, QStringLiteral("DirBox BackColor"), QStringLiteral("0"));
    QCOMPARE(QFile::permissions(m_ini), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    QCOMPARE(QDir(QFileInfo(m_ini).path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Panoptra.ini")});
}

void TestRegistryStore::nonTextValueReadsEmptyAndWriteReplacesIt_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("list from an unquoted comma") << QByteArray("Form%20BackColor=a,b");
    QTest::newRow("variant") << QByteArray("Form%20BackColor=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\aQPointF\\0@\\0\\0\\0\\0\\0\\0\\0@\\b\\0\\0\\0\\0\\0\\0)");
    QTest::newRow("invalid") << QByteArray("Form%20BackColor=@Invalid()");
    QTest::newRow("rectangle") << QByteArray("Form%20BackColor=@Rect(1 2 3 4)");
    QTest::newRow("byte array") << QByteArray("Form%20BackColor=@ByteArray(255)");
}

void TestRegistryStore::nonTextValueReadsEmptyAndWriteReplacesIt()
{
    QFETCH(QByteArray, line);
    writeRaw(m_ini, "[Software]\nPanoptra\\MainForm\\Other=kept\n[Software]\nPanoptra\\MainForm\\" + line + "\n");
    QVERIFY(storedValue(m_ini, QStringLiteral("Software/Panoptra/MainForm/Form BackColor")).typeId()
            != QMetaType::QString);

    RegistryStore store;
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QString());

    store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("255"));
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("255"));
    QCOMPARE(storedValue(m_ini, QStringLiteral("Software/Panoptra/MainForm/Form BackColor")),
             QVariant(QStringLiteral("255")));
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, QStringLiteral("Other")), QStringLiteral("kept"));
}

void TestRegistryStore::textIsCutAtTheFirstNul()
{
    RegistryStore store;
    store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("12") + QChar(u'\0') + QStringLiteral("34"));
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("12"));
    QVERIFY(!readAll(m_ini).contains("34"));

    // Another program may store a NUL in the middle; the read gives what comes before it.
    writeRaw(m_ini, "[Software]\nPanoptra\\MainForm\\Form%20BackColor=\"@String(56\\0\\x37\\x38)\"\n");
    QCOMPARE(storedValue(m_ini, QStringLiteral("Software/Panoptra/MainForm/Form BackColor")).toString().size(), 5);
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("56"));
}

void TestRegistryStore::namesCompareWithoutCase()
{
    RegistryStore store;
    store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("1"));
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, QStringLiteral("SOFTWARE\\panoptra\\mainFORM"),
                                QStringLiteral("form backcolor")), QStringLiteral("1"));

    // A write in another spelling goes into the value that is there, not beside it.
    store.SaveRegString(HKEY_CURRENT_USER, QStringLiteral("software\\PANOPTRA\\MainForm"),
                        QStringLiteral("FORM BACKCOLOR"), QStringLiteral("2"));
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("2"));
    QSettings settings(m_ini, QSettings::IniFormat);
    QCOMPARE(settings.allKeys(), QStringList{QStringLiteral("Software/Panoptra/MainForm/Form BackColor")});

    // An edited file in another spelling is found, and a delete in a third spelling removes it.
    writeRaw(m_ini, "[software]\npanoptra\\mainform\\form%20backcolor=3\n");
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("3"));
    store.DeleteRegValue(HKEY_CURRENT_USER, QStringLiteral("SOFTWARE\\Panoptra\\MAINFORM"), QStringLiteral("Form BACKCOLOR"));
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QString());
}

void TestRegistryStore::nextReadSeesAnOutsideEdit()
{
    RegistryStore store;
    store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("100"));
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("100"));

    writeRaw(m_ini, "[Software]\nPanoptra\\MainForm\\Form%20BackColor=16777215\n");
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("16777215"));

    // A write keeps what the other program added meanwhile.
    writeRaw(m_ini, "[Software]\nPanoptra\\MainForm\\Form%20BackColor=16777215\nPanoptra\\Menu\\mnuFav1=Mine\n");
    store.SaveRegString(HKEY_CURRENT_USER, mainForm, QStringLiteral("DirBox BackColor"), QStringLiteral("0"));
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, QStringLiteral("Software\\Panoptra\\Menu"),
                                QStringLiteral("mnuFav1")), QStringLiteral("Mine"));

    QFile::remove(m_ini);
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QString());
}

void TestRegistryStore::outsideEditOfTheSameSizeIsSeenAtOnce()
{
    // An edit right after ours that keeps the file's size can share its modification time,
    // which is all a cached parse of the file would look at.
    RegistryStore store;
    for (int round = 0; round < 10; ++round) {
        store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("100"));
        QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("100"));
        writeWithinTheSameTick(m_ini, "[Software]\nPanoptra\\MainForm\\Form%20BackColor=200\n");
        QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("200"));

        // Nor does a write put the old value back.
        writeWithinTheSameTick(m_ini, "[Software]\nPanoptra\\MainForm\\Form%20BackColor=300\n");
        store.SaveRegString(HKEY_CURRENT_USER, mainForm, QStringLiteral("DirBox BackColor"), QStringLiteral("1"));
        QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("300"));
        QFile::remove(m_ini);
    }
}

void TestRegistryStore::textRoundTrips_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("non-ASCII") << QStringLiteral("Zoë’s café € 日本");
    QTest::newRow("comma") << QStringLiteral("a,b");
    QTest::newRow("only a comma") << QStringLiteral(",");
    QTest::newRow("semicolon") << QStringLiteral("a;b");
    QTest::newRow("hash") << QStringLiteral("#not a comment");
    QTest::newRow("equals") << QStringLiteral("a=b");
    QTest::newRow("address") << QStringLiteral("https://example.com/find?q=a,b;c#top");
    QTest::newRow("blanks around") << QStringLiteral("  spaced  ");
    QTest::newRow("quotes and backslash") << QStringLiteral("say \"C:\\temp\\\"");
    QTest::newRow("starts with at") << QStringLiteral("@Variant(x)");
    QTest::newRow("line break") << QStringLiteral("one\ntwo");
    QTest::newRow("section look-alike") << QStringLiteral("[General]");
}

void TestRegistryStore::textRoundTrips()
{
    QFETCH(QString, text);
    RegistryStore store;
    store.SaveRegString(HKEY_CURRENT_USER, QStringLiteral("Software\\Panoptra\\WebLinks"),
                        QStringLiteral("mnuFav1"), text);
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, QStringLiteral("Software\\Panoptra\\WebLinks"),
                                QStringLiteral("mnuFav1")), text);
    // Stored as text, so other readers of the file see the same.
    const QVariant stored = storedValue(m_ini, QStringLiteral("Software/Panoptra/WebLinks/mnuFav1"));
    QCOMPARE(stored.typeId(), int(QMetaType::QString));
    QCOMPARE(stored.toString(), text);
}

void TestRegistryStore::deleteRemovesOnlyTheValue()
{
    RegistryStore store;
    const QString menu = QStringLiteral("Software\\Panoptra\\Menu");
    store.SaveRegString(HKEY_CURRENT_USER, menu, QStringLiteral("mnuFav1"), QStringLiteral("one"));
    store.SaveRegString(HKEY_CURRENT_USER, menu, QStringLiteral("mnuFav2"), QStringLiteral("two"));
    // A subkey that shares the value's name must survive the value's deletion.
    store.SaveRegString(HKEY_CURRENT_USER, menu + QStringLiteral("\\mnuFav1"), QStringLiteral("inner"),
                        QStringLiteral("deep"));

    store.DeleteRegValue(HKEY_CURRENT_USER, menu, QStringLiteral("mnuFav1"));
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, menu, QStringLiteral("mnuFav1")), QString());
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, menu, QStringLiteral("mnuFav2")), QStringLiteral("two"));
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, menu + QStringLiteral("\\mnuFav1"),
                                QStringLiteral("inner")), QStringLiteral("deep"));
    QSettings settings(m_ini, QSettings::IniFormat);
    QCOMPARE(settings.allKeys().size(), 2);
}

void TestRegistryStore::worksWithoutATemporaryFolder()
{
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(m_env->home() + QStringLiteral("/no-such-folder")));
    RegistryStore store;
    store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("42"));
    store.SaveRegString(HKEY_CURRENT_USER, mainForm, QStringLiteral("DirBox BackColor"), QStringLiteral("43"));
    const QString first = store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor);
    store.DeleteRegValue(HKEY_CURRENT_USER, mainForm, QStringLiteral("DirBox BackColor"));
    const QString deleted = store.GetRegString(HKEY_CURRENT_USER, mainForm, QStringLiteral("DirBox BackColor"));
    if (oldTmp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", oldTmp);

    QCOMPARE(first, QStringLiteral("42"));
    QCOMPARE(deleted, QString());
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("42"));
}

void TestRegistryStore::deleteOfMissingValueChangesNothing_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("valueName");
    QTest::newRow("missing value") << mainForm << QStringLiteral("FileBox BackColor");
    QTest::newRow("missing key") << QStringLiteral("Software\\Panoptra\\WebLinks") << backColor;
    QTest::newRow("missing parent key") << QStringLiteral("Software\\Other\\MainForm") << backColor;
    QTest::newRow("key named like the value") << QStringLiteral("Software\\Panoptra") << QStringLiteral("MainForm");
}

void TestRegistryStore::deleteOfMissingValueChangesNothing()
{
    QFETCH(QString, key);
    QFETCH(QString, valueName);
    RegistryStore store;

    store.DeleteRegValue(HKEY_CURRENT_USER, key, valueName);
    QVERIFY(!QFileInfo::exists(m_env->configHome()));

    store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("7"));
    const QByteArray before = readAll(m_ini);
    store.DeleteRegValue(HKEY_CURRENT_USER, key, valueName);
    QCOMPARE(readAll(m_ini), before);
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("7"));
}

QTEST_GUILESS_MAIN(TestRegistryStore)
#include "tst_registrystore.moc"
