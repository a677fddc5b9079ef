#include "platform/FileWriting.h"

#include "platform/FileErrors.h"
#include "platform/PathCodec.h"
#include "platform/Posix.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Posix::FileDescriptor;

void step(const WriteSteps &steps, const char *name)
{
    if (steps)
        steps(name);
}

// Makes folder and the folders above it that are missing, for this user alone.
int makeFolders(const QByteArray &folder)
{
    struct stat st;
    if (::stat(folder.constData(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    const QByteArray parent = Posix::parentOf(folder);
    if (parent != folder)
        if (const int err = makeFolders(parent))
            return err;
    return ::mkdir(folder.constData(), 0700) == 0 || errno == EEXIST ? 0 : errno;
}

// The old contents of a file being written in place, copied whole and on disk.
struct Backup
{
    QByteArray path;
    FileDescriptor fd;
};

int makeBackup(int file, const QByteArray &path, Backup &backup, const WriteSteps &steps)
{
    const QByteArray folder = FileWriting::backupFolder();
    if (const int err = makeFolders(folder))
        return err;
    QByteArray name = Posix::baseName(path);
    if (name.size() > 200)
        name.truncate(200);
    backup.path = Posix::join(folder, name + ".XXXXXX");
    backup.fd = FileDescriptor(Posix::createUnique(backup.path, 0600));
    if (!backup.fd.isOpen())
        return errno;
    step(steps, "backup-made");
    int err = ::lseek(file, 0, SEEK_SET) < 0 ? errno : Posix::copyData(file, backup.fd.fd());
    if (err == 0 && ::fsync(backup.fd.fd()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(backup.path.constData());
        return err;
    }
    // Its name on disk too, or a crash could leave the contents without it.
    FileWriting::syncFolder(folder);
    return 0;
}

// Puts the backup's contents back into file, as long as they were: 0 or an errno value.
int restore(int file, Backup &backup, off_t size)
{
    if (::lseek(file, 0, SEEK_SET) < 0 || ::lseek(backup.fd.fd(), 0, SEEK_SET) < 0)
        return errno;
    if (const int err = Posix::copyData(backup.fd.fd(), file))
        return err;
    if (::ftruncate(file, size) != 0 || ::fsync(file) != 0)
        return errno;
    return 0;
}

} // namespace

namespace FileWriting {

int writePieces(int fd, const FilePieces &pieces, qint64 &written, const WriteSteps &steps)
{
    written = 0;
    for (;;) {
        const std::optional<QByteArrayView> piece = pieces.next();
        if (!piece)
            return ECANCELED;
        if (piece->isEmpty())
            return 0;
        if (const int err = Posix::writeAllAt(fd, *piece, off_t(written)))
            return err;
        const bool first = written == 0;
        written += piece->size();
        if (first)
            step(steps, "writing");
    }
}

void syncFolder(const QByteArray &folder)
{
    const FileDescriptor dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.isOpen())
        (void)::fsync(dir.fd());
}

QByteArray backupFolder()
{
    // The base-directory rules: a relative XDG_CACHE_HOME is not to be used.
    const QByteArray cache = qgetenv("XDG_CACHE_HOME");
    if (cache.startsWith('/'))
        return Posix::join(cache, "Panoptra");
    QByteArray home = qgetenv("HOME");
    if (!home.startsWith('/')) {
        const struct passwd *user = ::getpwuid(::geteuid());
        home = user && user->pw_dir ? QByteArray(user->pw_dir) : QByteArrayLiteral("/");
    }
    return Posix::join(Posix::join(home, ".cache"), "Panoptra");
}

WriteResult writeInPlace(const QByteArray &path, const FilePieces &pieces, bool noFollow, const WriteSteps &steps)
{
    WriteResult result;
    const int flags = O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (noFollow ? O_NOFOLLOW : 0);
    FileDescriptor out(::open(path.constData(), flags));
    struct stat st;
    if (!out.isOpen()) {
        result.error = FileErrors::fromErrno(errno == ELOOP ? EACCES : errno);
        return result;
    }
    if (::fstat(out.fd(), &st) != 0) {
        result.error = FileErrors::fromErrno(errno);
        return result;
    }
    if (!S_ISREG(st.st_mode) || (noFollow && st.st_nlink > 1)) {
        result.error = FileErrors::PathFileAccess;
        return result;
    }
    Backup backup;
    if (const int err = makeBackup(out.fd(), path, backup, steps)) {
        result.error = FileErrors::fromErrno(err);
        result.noBackupIn = PathCodec::decode(backupFolder());
        return result;
    }
    step(steps, "backed-up");
    int err = 0;
    const qint64 size = pieces.size ? pieces.size() : -1;
    if (size > st.st_size && ::fallocate(out.fd(), FALLOC_FL_KEEP_SIZE, 0, off_t(size)) != 0) {
        err = errno;
        if (err == EOPNOTSUPP || err == ENOSYS || err == EINVAL)
            err = 0;
    }
    qint64 written = 0;
    if (err == 0)
        err = writePieces(out.fd(), pieces, written, steps);
    if (err == 0 && ::ftruncate(out.fd(), off_t(written)) != 0)
        err = errno;
    if (err == 0 && ::fsync(out.fd()) != 0)
        err = errno;
    if (err != 0) {
        // The old contents back as they were; what was taken past their end goes again.
        if (restore(out.fd(), backup, st.st_size) == 0)
            ::unlink(backup.path.constData());
        else
            result.backup = PathCodec::decode(backup.path);
        result.error = err == ECANCELED ? FileErrors::PathFileAccess : FileErrors::fromErrno(err);
        return result;
    }
    step(steps, "written");
    ::unlink(backup.path.constData());
    if (::fstat(out.fd(), &st) == 0)
        result.written = FileStamp::of(st);
    if (!out.close())
        result.error = FileErrors::fromErrno(errno);
    return result;
}

} // namespace FileWriting
