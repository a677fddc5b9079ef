#include "SettingsFiles.h"
#include "settings/RegistryStore.h"
#include "support/TestCase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// Root saving the settings of a folder that belongs to another user (sudo keeping HOME): links
// that user planted are followed only to that user's own files, and what root writes there
// stays the user's, so the user's own saves go on working.

using namespace SettingsFiles;

namespace {

// The user the folder belongs to: "nobody".
constexpr uid_t userId = 65534;
constexpr gid_t groupId = 65534;

const QString mainForm = QStringLiteral("Software\\Panoptra\\MainForm");
const QString backColor = QStringLiteral("Form BackColor");

struct Owner
{
    uid_t uid = 0;
    gid_t gid = 0;
    bool operator==(const Owner &other) const { return uid == other.uid && gid == other.gid; }
};

Owner ownerOf(const QString &path)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return {uid_t(-1), gid_t(-1)};
    return {st.st_uid, st.st_gid};
}

mode_t modeOf(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : mode_t(-1);
}

char *toString(const Owner &owner)
{
    return QTest::toString(QStringLiteral("%1:%2").arg(owner.uid).arg(owner.gid));
}

void giveToUser(const QString &path)
{
    QVERIFY(::lchown(QFile::encodeName(path).constData(), userId, groupId) == 0);
}

// Saves the colour as the user would, in a process of the user's own; whether it was saved.
bool saveAsTheUser(const QString &ini, const QString &text)
{
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(groupId) != 0 || ::setuid(userId) != 0)
            ::_exit(2);
        RegistryStore store(ini);
        ::_exit(store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, text) ? 0 : 1);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

class TestSettingsOwners : public TestCase
{
    Q_OBJECT

private slots:
    void init();

    void plantedLinkLeadingOutIsRefused_data();
    void plantedLinkLeadingOutIsRefused();
    void linkAmongTheUsersOwnFilesIsFollowed();
    void rootSaveKeepsTheUsersFile();
    void rootMakesTheUsersFolderAndFileForThem();

private:
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_home;    // the user's
    QString m_config;  // the user's ~/.config
    QString m_outside; // root's, standing in for /etc
    QString m_passwd;
    QString m_ini;
};

void TestSettingsOwners::init()
{
    failOnUnexpectedWarnings();
    if (::geteuid() != 0)
        QSKIP("needs root: the test runs as root over another user's folder");
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    // The user's processes must get into the user's home.
    QVERIFY(::chmod(QFile::encodeName(m_root->path()).constData(), 0755) == 0);
    m_home = m_root->filePath(QStringLiteral("home"));
    m_config = m_home + QStringLiteral("/.config");
    m_outside = m_root->filePath(QStringLiteral("etc"));
    m_passwd = m_outside + QStringLiteral("/passwd");
    m_ini = iniPath(m_config);
    QVERIFY(QDir().mkpath(m_config + QStringLiteral("/Panoptra")));
    QVERIFY(QDir().mkpath(m_outside));
    for (const QString &path : {m_home, m_config, m_config + QStringLiteral("/Panoptra")})
        giveToUser(path);
    // With a line the store would read, were it to read the file.
    writeRaw(m_passwd, "root:x:0:0:root:/root:/bin/bash\n[Software]\nPanoptra\\MainForm\\Form%20BackColor=root's\n");
}

void TestSettingsOwners::plantedLinkLeadingOutIsRefused_data()
{
    QTest::addColumn<QString>("linkAt"); // relative to the user's config folder
    QTest::addColumn<QString>("target"); // relative to root's folder
    QTest::newRow("the settings file to a file of root's") << "Panoptra/Panoptra.ini" << "etc/passwd";
    QTest::newRow("the settings file to a missing file in root's folder") << "Panoptra/Panoptra.ini" << "etc/new";
    QTest::newRow("the settings folder to root's folder") << "Panoptra" << "etc";
    QTest::newRow("the config folder to root's folder") << "" << "etc";
    QTest::newRow("through a link of the user's own to one out") << "Panoptra/Panoptra.ini" << "home/hop";
}

void TestSettingsOwners::plantedLinkLeadingOutIsRefused()
{
    QFETCH(QString, linkAt);
    QFETCH(QString, target);
    const QString link = linkAt.isEmpty() ? m_config : m_config + u'/' + linkAt;
    QVERIFY(QDir(link).removeRecursively() || !QFileInfo(link).isDir());
    QVERIFY(QFile::link(m_root->filePath(target), link));
    QVERIFY(::lchown(QFile::encodeName(link).constData(), userId, groupId) == 0);
    // A hop of the user's own, which leads on to root's file.
    const QString hop = m_home + QStringLiteral("/hop");
    QVERIFY(QFile::link(m_passwd, hop));
    giveToUser(hop);
    if (target == QLatin1String("etc"))
        writeRaw(m_outside + QStringLiteral("/Panoptra.ini"), "[Software]\nPanoptra\\MainForm\\Form%20BackColor=root's\n");
    const QStringList outsideBefore = QDir(m_outside).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    const QByteArray passwdBefore = readAll(m_passwd);

    RegistryStore store(m_ini);
    // Nothing of root's file is read either.
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QString());
    QVERIFY(!store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("255")));
    QVERIFY(!store.saveFailedMessage().isEmpty());
    QCOMPARE(readAll(m_passwd), passwdBefore);
    QCOMPARE(ownerOf(m_passwd), (Owner{0, 0}));
    QCOMPARE(QDir(m_outside).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), outsideBefore);
    QVERIFY(QFileInfo(link).isSymLink());
    // The run goes on with the colour all the same.
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("255"));
}

void TestSettingsOwners::linkAmongTheUsersOwnFilesIsFollowed()
{
    const QString kept = m_home + QStringLiteral("/dotfiles/panoptra.ini");
    QVERIFY(QDir().mkpath(QFileInfo(kept).path()));
    giveToUser(QFileInfo(kept).path());
    writeRaw(kept, "[Software]\nPanoptra\\Menu\\mnuFav1=Mine\n");
    giveToUser(kept);
    QVERIFY(::chmod(QFile::encodeName(kept).constData(), 0640) == 0);
    QVERIFY(QFile::link(kept, m_ini));
    giveToUser(m_ini);

    RegistryStore store(m_ini);
    QCOMPARE(store.GetRegString(HKEY_CURRENT_USER, QStringLiteral("Software\\Panoptra\\Menu"), QStringLiteral("mnuFav1")),
             QStringLiteral("Mine"));
    QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("7")));
    QVERIFY(QFileInfo(m_ini).isSymLink());
    QCOMPARE(readAll(kept), QByteArray("[Software]\nPanoptra\\Menu\\mnuFav1=Mine\nPanoptra\\MainForm\\Form%20BackColor=7\n"));
    QCOMPARE(ownerOf(kept), (Owner{userId, groupId}));
    QCOMPARE(modeOf(kept), mode_t(0640));
    QVERIFY(saveAsTheUser(m_ini, QStringLiteral("8")));
    QCOMPARE(RegistryStore(m_ini).GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("8"));
}

void TestSettingsOwners::rootSaveKeepsTheUsersFile()
{
    writeRaw(m_ini, "[Software]\nPanoptra\\Menu\\mnuFav1=Mine\n");
    giveToUser(m_ini);
    QVERIFY(::chmod(QFile::encodeName(m_ini).constData(), 0600) == 0);

    QVERIFY(RegistryStore(m_ini).SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("1")));
    QCOMPARE(ownerOf(m_ini), (Owner{userId, groupId}));
    QCOMPARE(modeOf(m_ini), mode_t(0600));
    // No lock file or temporary file of root's stays behind.
    QCOMPARE(QDir(QFileInfo(m_ini).path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Panoptra.ini")});
    // The user's own saves still work afterwards.
    QVERIFY(saveAsTheUser(m_ini, QStringLiteral("2")));
    QCOMPARE(RegistryStore(m_ini).GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("2"));
}

void TestSettingsOwners::rootMakesTheUsersFolderAndFileForThem()
{
    QVERIFY(QDir(m_config + QStringLiteral("/Panoptra")).removeRecursively());
    QVERIFY(RegistryStore(m_ini).SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("1")));
    QCOMPARE(ownerOf(m_config + QStringLiteral("/Panoptra")), (Owner{userId, groupId}));
    QCOMPARE(ownerOf(m_ini), (Owner{userId, groupId}));
    QVERIFY(saveAsTheUser(m_ini, QStringLiteral("3")));
    QCOMPARE(RegistryStore(m_ini).GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("3"));
}

QTEST_GUILESS_MAIN(TestSettingsOwners)
#include "tst_settingsowners.moc"
