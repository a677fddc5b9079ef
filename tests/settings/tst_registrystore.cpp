#include "SettingsFiles.h"
#include "platform/FileStamp.h"
#include "settings/RegistryStore.h"
#include "support/TestCase.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace SettingsFiles;

namespace {
const QString mainForm = QStringLiteral("Software\\Panoptra\\MainForm");
const QString backColor = QStringLiteral("Form BackColor");

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

// Counts the openings of one file, as the kernel reports them (inotify).
class OpenCounter
{
public:
    explicit OpenCounter(const QString &path)
        : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        if (m_fd >= 0)
            m_watch = ::inotify_add_watch(m_fd, QFile::encodeName(path).constData(), IN_OPEN);
    }
    ~OpenCounter()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isWatching() const { return m_watch >= 0; }
    // The openings since the last call.
    int count()
    {
        int opens = 0;
        alignas(inotify_event) char buffer[4096];
        ssize_t got;
        while ((got = ::read(m_fd, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < got;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
                opens += (event->mask & IN_OPEN) != 0;
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
        return opens;
    }

private:
    int m_fd;
    int m_watch = -1;
};

// What any other reader of the INI file finds under the key. QSettings keeps what it parsed
// of a file for as long as the file's size and modification time (in milliseconds) stay, so
// it reads a copy under a name it has not seen.
QVariant storedValue(const QString &iniPath, const QString &settingsKey)
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("copy.ini"));
    if (!QFile::copy(iniPath, copy))
        return QVariant();
    QSettings settings(copy, QSettings::IniFormat);
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
    void variantOfText_data();
    void variantOfText();
    void namesCompareWithoutCase();
    void nextReadSeesAnOutsideEdit();
    void outsideEditOfTheSameSizeIsSeenAtOnce();
    void textRoundTrips_data();
    void textRoundTrips();
    void readsWhatQSettingsWrote_data();
    void readsWhatQSettingsWrote();
    void valueNamesRoundTrip_data();
    void valueNamesRoundTrip();
    void keysSpelledAsQSettingsSpellsThem();
    void readsTheFileOnceUntilItChanges();
    void linkedFileIsWrittenWhereTheLinkPoints();
    void anotherEditorsLineEndsAndMarkStay();
    void deleteRemovesOnlyTheValue();
    void worksWithoutATemporaryFolder();
    void deleteOfMissingValueChangesNothing_data();
    void deleteOfMissingValueChangesNothing();
    void deleteOfTheFirstLineKeepsTheMarks_data();
    void deleteOfTheFirstLineKeepsTheMarks();

private:
    std::unique_ptr<TestServices> m_env;
    QString m_ini;
};

void TestRegistryStore::init()
{
    failOnUnexpectedWarnings();
    m_env = std::make_unique<TestServices>();
    m_ini = SettingsFiles::iniPath(m_env->configHome());
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

    // A relative one is ignored, as the base-directory rules say: the file would move with the
    // current folder, which the editor changes.
    for (const char *relative : {"config", "./config", "../config", ""}) {
        qputenv("XDG_CONFIG_HOME", relative);
        QCOMPARE(RegistryStore::defaultIniPath(), QDir::homePath() + QStringLiteral("/.config/Panoptra/Panoptra.ini"));
    }
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

void TestRegistryStore::variantOfText_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("text");
    // Type 10 (text), four bytes: "hi".
    QTest::newRow("text") << QByteArray("@Variant(\\0\\0\\0\\n\\0\\0\\0\\x4\\0h\\0i)") << QStringLiteral("hi");
    QTest::newRow("more text claimed than held")
        << QByteArray("@Variant(\\0\\0\\0\\n\\x7f\\xff\\xff\\xfe\\0h\\0i)") << QString();
    QTest::newRow("a number") << QByteArray("@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)") << QString();
}

void TestRegistryStore::variantOfText()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, text);
    writeRaw(m_ini, "[Software]\nPanoptra\\MainForm\\Form%20BackColor=" + line + "\n");
    if (!text.isEmpty())
        QCOMPARE(storedValue(m_ini, QStringLiteral("Software/Panoptra/MainForm/Form BackColor")), QVariant(text));
    QCOMPARE(RegistryStore().GetRegString(HKEY_CURRENT_USER, mainForm, backColor), text);
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

    // Letters beyond ASCII too, spelled in the file as QSettings spells them.
    store.SaveRegString(HKEY_CURRENT_USER, mainForm, QStringLiteral("Zoë’s Café"), QStringLiteral("4"));
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, QStringLiteral("ZOË’S CAFÉ")), QStringLiteral("4"));
    store.DeleteRegValue(HKEY_CURRENT_USER, mainForm, QStringLiteral("zoë’s café"));
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, QStringLiteral("Zoë’s Café")), QString());

    // An edited file in another spelling is found, and a delete in a third spelling removes it.
    writeRaw(m_ini, "[software]\npanoptra\\mainform\\form%20backcolor=3\n");
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("3"));
    store.DeleteRegValue(HKEY_CURRENT_USER, QStringLiteral("SOFTWARE\\Panoptra\\MAINFORM"), QStringLiteral("Form BACKCOLOR"));
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QString());

    // As a person may write it: the blank not escaped, blanks around the "=".
    writeRaw(m_ini, "[Software]\n  Panoptra\\MainForm\\form BackColor = 5 \n");
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("5"));
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

void TestRegistryStore::readsWhatQSettingsWrote_data()
{
    textRoundTrips_data();
}

void TestRegistryStore::readsWhatQSettingsWrote()
{
    QFETCH(QString, text);
    {
        QSettings settings(m_ini, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Software/Panoptra/WebLinks/mnuFav1"), text);
        settings.setValue(QStringLiteral("Software/Panoptra/Menu/mnuFav1"), QStringLiteral("Name"));
    }
    RegistryStore store;
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, QStringLiteral("Software\\Panoptra\\WebLinks"),
                                QStringLiteral("mnuFav1")), text);

    // A change of another value leaves the line QSettings wrote as it wrote it.
    const QByteArray before = readAll(m_ini);
    const qsizetype lineStart = before.indexOf("Panoptra\\WebLinks");
    const QByteArray line = before.mid(lineStart, before.indexOf('\n', lineStart) + 1 - lineStart);
    store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("5"));
    QVERIFY(readAll(m_ini).contains(line));
    QCOMPARE(storedValue(m_ini, QStringLiteral("Software/Panoptra/WebLinks/mnuFav1")).toString(), text);
    QCOMPARE(storedValue(m_ini, QStringLiteral("Software/Panoptra/MainForm/Form BackColor")).toString(),
             QStringLiteral("5"));
}

void TestRegistryStore::valueNamesRoundTrip_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("valueName");
    QTest::newRow("blank") << mainForm << QStringLiteral("DirBox BackColor");
    QTest::newRow("letters only") << QStringLiteral("Software\\Panoptra\\Menu") << QStringLiteral("mnuFav20");
    QTest::newRow("non-ASCII") << mainForm << QStringLiteral("Zoë’s café");
    QTest::newRow("outside the BMP") << mainForm << QStringLiteral("link 🙂");
    QTest::newRow("INI characters") << mainForm << QStringLiteral("a=b;c,d\"e[f]%g@h");
    QTest::newRow("dot dash underscore") << mainForm << QStringLiteral("a.b-c_d");
    QTest::newRow("key named General") << QStringLiteral("General") << QStringLiteral("value");
}

void TestRegistryStore::valueNamesRoundTrip()
{
    QFETCH(QString, key);
    QFETCH(QString, valueName);
    const QString settingsKey = QString(key).replace(QLatin1Char('\\'), QLatin1Char('/')) + QLatin1Char('/') + valueName;

    // Ours, read by QSettings.
    RegistryStore store;
    QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, key, valueName, QStringLiteral("ours")));
    QCOMPARE(storedValue(m_ini, settingsKey), QVariant(QStringLiteral("ours")));
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, key, valueName), QStringLiteral("ours"));

    // QSettings', read by a store that has not seen the file yet.
    QFile::remove(m_ini);
    {
        QSettings settings(m_ini, QSettings::IniFormat);
        settings.setValue(settingsKey, QStringLiteral("theirs"));
    }
    QCOMPARE(RegistryStore().GetRegString(HKEY_CURRENT_USER, key, valueName),
             QStringLiteral("theirs"));
}

void TestRegistryStore::keysSpelledAsQSettingsSpellsThem()
{
    // Each character from 0x7F to 0x100 in a value's name of its own (numbered, as names that
    // differ only in case are one name here): the line the store writes is the one QSettings
    // writes for the same key, byte for byte.
    const QString theirs = m_env->home() + QStringLiteral("/theirs.ini");
    RegistryStore store;
    QStringList names;
    for (char16_t ch = 0x7F; ch <= 0x100; ++ch) {
        const QString name = QStringLiteral("k%1_").arg(int(ch)) + QChar(ch);
        names << name;
        QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, QStringLiteral("Software"), name, QStringLiteral("1")));
        QSettings settings(theirs, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Software/") + name, QStringLiteral("1"));
    }
    const QList<QByteArray> ourLines = readAll(m_ini).split('\n');
    const QList<QByteArray> theirLines = readAll(theirs).split('\n');
    for (const QString &name : names) {
        const QByteArray spelled = IniSyntax::encodeKey(name) + "=1";
        QVERIFY2(ourLines.contains(spelled), spelled.constData());
        QVERIFY2(theirLines.contains(spelled), qPrintable(QStringLiteral("QSettings spells U+%1 otherwise")
                                                              .arg(uint(name.back().unicode()), 4, 16, QLatin1Char('0'))));
        // And each side reads the other's.
        QCOMPARE(RegistryStore(theirs).GetRegString(HKEY_CURRENT_USER, QStringLiteral("Software"), name),
                 QStringLiteral("1"));
    }
    QSettings ours(m_ini, QSettings::IniFormat);
    for (const QString &name : names)
        QCOMPARE(ours.value(QStringLiteral("Software/") + name).toString(), QStringLiteral("1"));
}

void TestRegistryStore::readsTheFileOnceUntilItChanges()
{
    writeRaw(m_ini, "[Software]\nPanoptra\\MainForm\\Form%20BackColor=100\n"
                    "Panoptra\\Menu\\mnuFav1=One\n");
    // The kernel tells each opening of the file: a read of it opens it once. (It joins events
    // alike that follow each other unread, so they are counted after each read.)
    OpenCounter opens(m_ini);
    QVERIFY(opens.isWatching());
    RegistryStore store(m_ini);
    int reads = 0;
    const auto read = [&] {
        const QString text = store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor);
        reads += opens.count();
        return text;
    };

    // Until its last change is older than a tick of the file clock, another change could leave
    // the file's stamp as it is, so each read reads it. (Checked only where the reads were
    // quick enough to come within that time.)
    QCOMPARE(read(), QStringLiteral("100"));
    QCOMPARE(read(), QStringLiteral("100"));
    if (FileStamp::of(m_ini)->recent)
        QCOMPARE(reads, 2);
    QTRY_VERIFY_WITH_TIMEOUT(!FileStamp::of(m_ini)->recent, 5000);

    reads = 0;
    for (int i = 0; i < 43; ++i)
        QCOMPARE(read(), QStringLiteral("100"));
    QCOMPARE(reads, 1);

    // Another program's edit that keeps the size and the modification time is read at once.
    writeWithinTheSameTick(m_ini, "[Software]\nPanoptra\\MainForm\\Form%20BackColor=200\n"
                                  "Panoptra\\Menu\\mnuFav1=One\n");
    opens.count(); // the edit's own opening
    reads = 0;
    QCOMPARE(read(), QStringLiteral("200"));
    QCOMPARE(reads, 1);
}

void TestRegistryStore::linkedFileIsWrittenWhereTheLinkPoints()
{
    const QString target = m_env->home() + QStringLiteral("/kept/settings.ini");
    writeRaw(target, "[Software]\nPanoptra\\Menu\\mnuFav1=One\n");
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    QDir().mkpath(QFileInfo(m_ini).path());
    QVERIFY(QFile::link(target, m_ini));

    RegistryStore store;
    QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("7")));
    QVERIFY(QFileInfo(m_ini).isSymLink());
    QCOMPARE(QFileInfo(m_ini).symLinkTarget(), target);
    QCOMPARE(readAll(target), QByteArray("[Software]\nPanoptra\\Menu\\mnuFav1=One\n"
                                         "Panoptra\\MainForm\\Form%20BackColor=7\n"));
    QCOMPARE(QFile::permissions(target) & ~(QFile::ReadUser | QFile::WriteUser),
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
}

void TestRegistryStore::anotherEditorsLineEndsAndMarkStay()
{
    writeRaw(m_ini, "\xef\xbb\xbf[Software]\r\nPanoptra\\Menu\\mnuFav1=One\r\n; a comment\r\n");
    RegistryStore store;
    const QString menu = QStringLiteral("Software\\Panoptra\\Menu");
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, menu, QStringLiteral("mnuFav1")), QStringLiteral("One"));
    QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, menu, QStringLiteral("mnuFav1"), QStringLiteral("Two")));
    QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, menu, QStringLiteral("mnuFav2"), QStringLiteral("2")));
    QCOMPARE(readAll(m_ini), QByteArray("\xef\xbb\xbf[Software]\r\nPanoptra\\Menu\\mnuFav1=Two\r\n"
                                        "Panoptra\\Menu\\mnuFav2=2\r\n; a comment\r\n"));
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

void TestRegistryStore::deleteOfTheFirstLineKeepsTheMarks_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("after");
    // The next line begins with U+FEFF: first in the file, it would read as the file's mark and
    // make the header a header, and mnuFav2 a value of its section.
    QTest::newRow("a line that begins with U+FEFF comes next")
        << QByteArray("Software\\Panoptra\\Menu\\mnuFav1=One\n\xef\xbb\xbf[Software]\nPanoptra\\Menu\\mnuFav2=Two\n")
        << QByteArray("\n\xef\xbb\xbf[Software]\nPanoptra\\Menu\\mnuFav2=Two\n");
    QTest::newRow("the file's own mark")
        << QByteArray("\xef\xbb\xbfSoftware\\Panoptra\\Menu\\mnuFav1=One\r\nPanoptra\\Menu\\mnuFav2=Two\r\n")
        << QByteArray("\xef\xbb\xbfPanoptra\\Menu\\mnuFav2=Two\r\n");
}

void TestRegistryStore::deleteOfTheFirstLineKeepsTheMarks()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, after);
    writeRaw(m_ini, file);
    RegistryStore store;
    const QString menu = QStringLiteral("Software\\Panoptra\\Menu");
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, menu, QStringLiteral("mnuFav1")), QStringLiteral("One"));
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, menu, QStringLiteral("mnuFav2")), QString());
    QVERIFY(store.DeleteRegValue(HKEY_CURRENT_USER, menu, QStringLiteral("mnuFav1")));
    QCOMPARE(readAll(m_ini), after);
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, menu, QStringLiteral("mnuFav1")), QString());
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, menu, QStringLiteral("mnuFav2")), QString());
}

QTEST_GUILESS_MAIN(TestRegistryStore)
#include "tst_registrystore.moc"
