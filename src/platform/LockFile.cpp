#include "platform/LockFile.h"

#include "platform/OwnedPath.h"

#include <QElapsedTimer>
#include <QList>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A holder writes its line right after making the file: an empty lock file older than this was
// left by a program that ended in between.
constexpr qint64 unwrittenLockNs = 100LL * 1000 * 1000;
// A lock file no one holds with flock, of a process that still runs (its number taken again
// since, or a writer without flock): no writer holds a lock this long.
constexpr qint64 unheldLockNs = 5LL * 1000 * 1000 * 1000;

QByteArray programName()
{
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return QByteArray();
    const QByteArray exe(path, qsizetype(length));
    return exe.mid(exe.lastIndexOf('/') + 1);
}

// What QLockFile writes: the process id, the program's name, the host's name, a line each.
QByteArray lockContents()
{
    return QByteArray::number(qint64(::getpid())) + '\n' + programName() + '\n'
           + QSysInfo::machineHostName().toUtf8() + '\n';
}

qint64 ageNs(const struct stat &st)
{
    struct timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    return (qint64(now.tv_sec) - st.st_ctim.tv_sec) * 1000000000LL + (now.tv_nsec - st.st_ctim.tv_nsec);
}

} // namespace

LockFile::LockFile(QString path) : m_path(std::move(path)) {}

LockFile::~LockFile()
{
    unlock();
}

bool LockFile::lock(int waitMs, bool makeFolders)
{
    if (isLocked())
        return true;
    OwnedPath place = OwnedPath::resolveFolderOf(m_path, makeFolders);
    if (place.status() != OwnedPath::Status::Found)
        return false;
    QElapsedTimer waited;
    waited.start();
    int pauseMs = 1;
    for (;;) {
        Posix::FileDescriptor made(::openat(place.folder(), place.name().constData(),
                                            O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (made.isOpen()) {
            // Others hold a lock file that is not theirs only for the moment of a look at it.
            while (::flock(made.fd(), LOCK_EX) != 0 && errno == EINTR) {
            }
            // Held now, so no one removes it any more; but it may have been taken for one left
            // behind before (this program held up between making and locking it).
            struct stat mine;
            struct stat there;
            if (::fstat(made.fd(), &mine) != 0
                || ::fstatat(place.folder(), place.name().constData(), &there, AT_SYMLINK_NOFOLLOW) != 0
                || mine.st_dev != there.st_dev || mine.st_ino != there.st_ino)
                continue;
            if (Posix::writeAll(made.fd(), lockContents()) != 0) {
                (void)::unlinkat(place.folder(), place.name().constData(), 0);
                return false;
            }
            m_lock = std::move(made);
            m_folder = Posix::FileDescriptor(::fcntl(place.folder(), F_DUPFD_CLOEXEC, 0));
            m_name = place.name();
            return true;
        }
        if (errno != EEXIST)
            return false;
        switch (holderOf(place.folder(), place.name())) {
        case Holder::Gone:
            continue;
        case Holder::NoLock:
            return false;
        case Holder::Alive:
            break;
        }
        if (waited.elapsed() >= waitMs)
            return false;
        ::usleep(useconds_t(qMin(qint64(pauseMs), qMax(qint64(1), waitMs - waited.elapsed()))) * 1000);
        pauseMs = qMin(pauseMs * 2, 16);
    }
}

void LockFile::unlock()
{
    if (!m_lock.isOpen())
        return;
    // Removed while still held, so that no one takes it for a lock left behind meanwhile.
    (void)::unlinkat(m_folder.fd(), m_name.constData(), 0);
    m_lock.close();
    m_folder.close();
}

LockFile::Holder LockFile::holderOf(int folder, const QByteArray &name) const
{
    const Posix::FileDescriptor existing(
        ::openat(folder, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!existing.isOpen())
        return errno == ENOENT ? Holder::Gone : Holder::NoLock;
    struct stat st;
    if (::fstat(existing.fd(), &st) != 0 || !S_ISREG(st.st_mode))
        return Holder::NoLock;
    char contents[1024];
    const ssize_t length = Posix::readSome(existing.fd(), contents, sizeof contents);
    const QList<QByteArray> lines = QByteArray(contents, qsizetype(qMax(ssize_t(0), length))).split('\n');
    bool numbered = false;
    const qint64 pid = lines.first().toLongLong(&numbered);
    numbered = numbered && pid > 0;
    // A holder locks it before it writes its line: one that has not yet must get to lock it.
    if (!numbered && ageNs(st) <= unwrittenLockNs)
        return Holder::Alive;
    // A live holder has it locked; the kernel let go of a holder that ended.
    if (::flock(existing.fd(), LOCK_EX | LOCK_NB) != 0)
        return errno == EWOULDBLOCK ? Holder::Alive : Holder::NoLock;
    const QByteArray host = lines.size() > 2 ? lines.at(2) : QByteArray();
    bool gone = true;
    if (numbered && !host.isEmpty() && host != QSysInfo::machineHostName().toUtf8())
        gone = ageNs(st) > unheldLockNs;
    else if (numbered)
        gone = (::kill(pid_t(pid), 0) != 0 && errno == ESRCH) || ageNs(st) > unheldLockNs;
    if (!gone)
        return Holder::Alive;
    // Removed only while it is still the file looked at: another program may have removed it
    // and taken a new lock meanwhile.
    struct stat now;
    if (::fstatat(folder, name.constData(), &now, AT_SYMLINK_NOFOLLOW) == 0 && now.st_dev == st.st_dev
        && now.st_ino == st.st_ino)
        (void)::unlinkat(folder, name.constData(), 0);
    return Holder::Gone;
}
