#include "SettingsFiles.h"
#include "platform/LockFile.h"
#include "settings/RegistryStore.h"
#include "support/TestCase.h"
#include "support/TestServices.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QTest>
#include <QThread>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

// Several writers of one settings file: copies of the program, QSettings, and programs killed
// while they held the lock or were writing.

using namespace SettingsFiles;

namespace {

const QString mainForm = QStringLiteral("Software\\Panoptra\\MainForm");
const QString menu = QStringLiteral("Software\\Panoptra\\Menu");
const QString backColor = QStringLiteral("Form BackColor");

// Runs work in a child process that is killed (SIGKILL) once work returns, as a program ends
// that is stopped in the middle of what it does. False when the child could not be made.
bool runAndKill(const std::function<void()> &work)
{
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        work();
        ::kill(::getpid(), SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

} // namespace

class TestSettingsLock : public TestCase
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void lockOfAKilledProgramIsTakenAtOnce_data();
    void lockOfAKilledProgramIsTakenAtOnce();
    void liveHolderIsWaitedFor();
    void qlockFileAndOursExcludeEachOther();
    void racingSavesAllSucceedAndAllStay();
    void leftoversOfAKilledSaveGoAtTheNextSave();

private:
    std::unique_ptr<TestServices> m_env;
    QString m_ini;
    QString m_lock;
};

void TestSettingsLock::init()
{
    failOnUnexpectedWarnings();
    m_env = std::make_unique<TestServices>();
    m_ini = SettingsFiles::iniPath(m_env->configHome());
    m_lock = m_ini + QStringLiteral(".lock");
    QVERIFY(QDir().mkpath(QFileInfo(m_ini).path()));
}

void TestSettingsLock::cleanup()
{
    m_env.reset();
}

void TestSettingsLock::lockOfAKilledProgramIsTakenAtOnce_data()
{
    QTest::addColumn<int>("holder");
    QTest::newRow("QLockFile (QSettings), killed while holding it") << 0;
    QTest::newRow("our own lock, killed while holding it") << 1;
    QTest::newRow("empty: killed before its first line") << 2;
}

void TestSettingsLock::lockOfAKilledProgramIsTakenAtOnce()
{
    QFETCH(int, holder);
    const QString lockPath = m_lock;
    QVERIFY(runAndKill([holder, lockPath] {
        if (holder == 0) {
            QLockFile lock(lockPath);
            lock.lock();
            // Killed while holding it: the destructor that would remove it never runs.
            ::kill(::getpid(), SIGKILL);
        } else if (holder == 1) {
            LockFile lock(lockPath);
            lock.lock(0);
            ::kill(::getpid(), SIGKILL);
        } else {
            ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_EXCL, 0644);
        }
    }));
    QVERIFY(QFileInfo::exists(m_lock));

    RegistryStore store(m_ini);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("1")));
    // Not QLockFile's 30 seconds; an empty lock is left alone only while it is new.
    QVERIFY2(timer.elapsed() < 500, qPrintable(QStringLiteral("the save took %1 ms").arg(timer.elapsed())));
    QCOMPARE(RegistryStore(m_ini).GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("1"));
    QVERIFY(!QFileInfo::exists(m_lock));
}

void TestSettingsLock::liveHolderIsWaitedFor()
{
    // Another writer holds the lock for 300 ms: the save waits and then succeeds.
    RegistryStore store(m_ini);
    QLockFile other(m_lock);
    QVERIFY(other.tryLock(0));
    std::atomic<bool> released = false;
    std::unique_ptr<QThread> letGo(QThread::create([&] {
        QThread::msleep(300);
        released = true;
        other.unlock();
    }));
    letGo->start();
    QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("2")));
    QVERIFY(released);
    letGo->wait();
    QCOMPARE(RegistryStore(m_ini).GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("2"));
}

void TestSettingsLock::qlockFileAndOursExcludeEachOther()
{
    // Ours held: QLockFile neither takes it nor takes it for one left behind.
    LockFile ours(m_lock);
    QVERIFY(ours.lock(0));
    QLockFile theirs(m_lock);
    QVERIFY(!theirs.tryLock(100));
    QCOMPARE(theirs.error(), QLockFile::LockFailedError);
    ours.unlock();
    QVERIFY(!QFileInfo::exists(m_lock));

    // QLockFile's held: ours waits, then gives up; once let go, ours takes it.
    QVERIFY(theirs.tryLock(0));
    LockFile again(m_lock);
    QVERIFY(!again.lock(50));
    theirs.unlock();
    QVERIFY(again.lock(0));

    // A folder or a link in the lock's place is no lock: refused at once, the link not followed.
    again.unlock();
    const QString elsewhere = m_env->home() + QStringLiteral("/elsewhere");
    QVERIFY(QFile::link(elsewhere, m_lock));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!LockFile(m_lock).lock(1000));
    QVERIFY(timer.elapsed() < 200);
    QVERIFY(!QFileInfo::exists(elsewhere));
}

void TestSettingsLock::racingSavesAllSucceedAndAllStay()
{
    // Four copies of the program save 50 values each, all at once, each through a store of its
    // own, while QSettings writes too: no save reports a failure, and every value is there.
    constexpr int copies = 4;
    constexpr int saves = 50;
    std::atomic<int> failures = 0;
    std::atomic<int> ready = 0;
    QList<QThread *> threads;
    for (int copy = 0; copy < copies; ++copy) {
        threads << QThread::create([&, copy] {
            RegistryStore store(m_ini);
            ++ready;
            while (ready < copies) {
            }
            for (int save = 0; save < saves; ++save) {
                if (!store.SaveRegString(HKEY_CURRENT_USER, menu, QStringLiteral("copy%1-%2").arg(copy).arg(save),
                                         QStringLiteral("value %1").arg(save)))
                    ++failures;
            }
        });
    }
    for (QThread *thread : threads)
        thread->start();
    for (int write = 0; write < 20; ++write) {
        QSettings settings(m_ini, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Other/qsettings%1").arg(write), write);
    }
    for (QThread *thread : threads) {
        QVERIFY(thread->wait(60000));
        delete thread;
    }
    QCOMPARE(failures.load(), 0);
    const RegistryStore fresh(m_ini);
    for (int copy = 0; copy < copies; ++copy) {
        for (int save = 0; save < saves; ++save)
            QCOMPARE(fresh.GetRegString(HKEY_CURRENT_USER, menu, QStringLiteral("copy%1-%2").arg(copy).arg(save)),
                     QStringLiteral("value %1").arg(save));
    }
    QSettings settings(m_ini, QSettings::IniFormat);
    for (int write = 0; write < 20; ++write)
        QCOMPARE(settings.value(QStringLiteral("Other/qsettings%1").arg(write)).toInt(), write);
    QCOMPARE(QDir(QFileInfo(m_ini).path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Panoptra.ini")});
}

void TestSettingsLock::leftoversOfAKilledSaveGoAtTheNextSave()
{
    RegistryStore store(m_ini);
    QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("1")));
    const QString folder = QFileInfo(m_ini).path();
    // Killed while it wrote its temporary file, after making it and before the rename.
    const QString temporary = folder + QStringLiteral("/.Panoptra.ini.panoptra-Ab12Cd");
    QVERIFY(runAndKill([temporary] {
        const int fd = ::open(QFile::encodeName(temporary).constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        const QByteArray half("[Software]\nPanoptra\\MainForm\\Form%20Back");
        (void)::write(fd, half.constData(), size_t(half.size()));
    }));
    // Files that are not such leftovers stay.
    writeRaw(folder + QStringLiteral("/.Panoptra.ini.panoptra-notes.txt"), "mine");
    writeRaw(folder + QStringLiteral("/.Other.ini.panoptra-Xy34Zw"), "another file's");
    QVERIFY(QFileInfo::exists(temporary));

    QVERIFY(store.SaveRegString(HKEY_CURRENT_USER, mainForm, backColor, QStringLiteral("2")));
    QVERIFY(!QFileInfo::exists(temporary));
    QStringList left = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    left.sort();
    QCOMPARE(left, (QStringList{QStringLiteral(".Other.ini.panoptra-Xy34Zw"),
                                QStringLiteral(".Panoptra.ini.panoptra-notes.txt"), QStringLiteral("Panoptra.ini")}));
    QCOMPARE(RegistryStore(m_ini).GetRegString(HKEY_CURRENT_USER, mainForm, backColor), QStringLiteral("2"));
}

QTEST_GUILESS_MAIN(TestSettingsLock)
#include "tst_settingslock.moc"
