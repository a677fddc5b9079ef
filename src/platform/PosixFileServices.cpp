#include "platform/PosixFileServices.h"

#include "platform/FileErrors.h"
#include "platform/LongPath.h"
#include "platform/PathCodec.h"
#include "platform/PathHelper.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <utility>

namespace {

// One call of copy_file_range or sendfile moves at most this much; large chunks let the kernel
// (or the filesystem, for reflinks) do the work in few calls.
constexpr size_t copyChunk = size_t(1) << 30;
constexpr size_t bufferSize = size_t(1) << 20;

QByteArray encoded(const QString &path)
{
    return PathCodec::encode(path);
}

// The folder part of a path, as the kernel resolves it: "." for a bare name.
QByteArray folderOf(const QString &path)
{
    if (!path.contains(QLatin1Char('/')))
        return QByteArrayLiteral(".");
    return encoded(PathHelper::parentOf(path));
}

// 0 when the folder exists and its owner may write in it, else the error number. Root passes
// every permission check, so the owner-write bit is what tells a write-protected folder here.
int checkWritableFolder(const QByteArray &folder)
{
    struct stat st;
    if (::stat(folder.constData(), &st) != 0)
        return FileErrors::PathNotFound;
    if (!S_ISDIR(st.st_mode))
        return FileErrors::PathNotFound;
    if (!(st.st_mode & S_IWUSR))
        return FileErrors::PathFileAccess;
    return FileErrors::None;
}

// A name that cannot be found: 53 when its folder exists (only the file is missing), else 76.
int missingNameError(const QString &path)
{
    struct stat st;
    if (LongPath::stat(folderOf(path), st) == 0 && S_ISDIR(st.st_mode))
        return FileErrors::FileNotFound;
    return FileErrors::PathNotFound;
}

// Closes the descriptor when it goes out of scope.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    // False when closing reports an error (errno tells which).
    bool close()
    {
        const int fd = std::exchange(m_fd, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool fallbackErrno(int err)
{
    return err == EXDEV || err == EINVAL || err == ENOSYS || err == EOPNOTSUPP || err == ENOTSUP;
}

// Copies everything from in to out; returns 0 or an errno value.
int copyData(int in, int out)
{
    bool tryRange = true;
    bool trySendfile = true;
    bool copiedAny = false;
    for (;;) {
        if (tryRange) {
            const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, copyChunk, 0);
            if (n > 0) {
                copiedAny = true;
                continue;
            }
            if (n == 0) {
                // Some pseudo files report no data through copy_file_range; read them plainly.
                if (copiedAny)
                    return 0;
                tryRange = false;
                continue;
            }
            if (errno == EINTR)
                continue;
            if (!fallbackErrno(errno) || copiedAny)
                return errno;
            tryRange = false;
            continue;
        }
        if (trySendfile) {
            const ssize_t n = ::sendfile(out, in, nullptr, copyChunk);
            if (n > 0) {
                copiedAny = true;
                continue;
            }
            if (n == 0 && copiedAny)
                return 0;
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (!fallbackErrno(errno) || copiedAny))
                return errno;
            trySendfile = false;
            continue;
        }
        break;
    }

    // Plain read and write from wherever the calls above stopped.
    QByteArray buffer(qsizetype(bufferSize), Qt::Uninitialized);
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), bufferSize);
        if (got == 0)
            return 0;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        ssize_t done = 0;
        while (done < got) {
            const ssize_t put = ::write(out, buffer.constData() + done, size_t(got - done));
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            done += put;
        }
    }
}

// ".name.panoptra-XXXXXX" beside the target: a dot-file, so folder lists never show it.
QByteArray temporaryTemplate(const QByteArray &folder, const QString &target)
{
    QByteArray name = encoded(PathHelper::baseName(target));
    // Leave room in NAME_MAX (255) for the dot and the suffix.
    if (name.size() > 200)
        name.truncate(200);
    return folder + "/." + name + ".panoptra-XXXXXX";
}

// A file about to be replaced: the file its data goes to (where a link points) and, when it
// exists already, its status.
struct ReplaceTarget
{
    QString path;
    bool exists = false;
    struct stat st = {};
};

// 0 when target may be replaced or created, else the error number. A target that is a link is
// written where the link points, so the link stays a link.
int resolveTarget(const QString &target, ReplaceTarget &out)
{
    if (target.isEmpty())
        return FileErrors::PathNotFound;
    out.path = target;
    if (::stat(encoded(target).constData(), &out.st) == 0) {
        out.exists = true;
        // Folders, devices and pipes are never replaced; nor is a write-protected file.
        if (!S_ISREG(out.st.st_mode) || !(out.st.st_mode & S_IWUSR))
            return FileErrors::PathFileAccess;
        struct stat linkStat;
        if (::lstat(encoded(target).constData(), &linkStat) == 0 && S_ISLNK(linkStat.st_mode)) {
            char *resolved = ::realpath(encoded(target).constData(), nullptr);
            if (resolved) {
                out.path = PathCodec::decode(resolved, qsizetype(std::strlen(resolved)));
                std::free(resolved);
            }
        }
    } else if (errno != ENOENT && errno != ENOTDIR) {
        return FileErrors::fromErrno(errno);
    }
    return checkWritableFolder(folderOf(out.path));
}

// Fills a temporary dot-file beside target through fill (which returns 0 or an errno value)
// and renames it over target once complete; on any failure only the temporary file goes.
int replaceThroughTemporary(const QString &target, const std::function<int(int)> &fill)
{
    QByteArray temporary = temporaryTemplate(folderOf(target), target);
    FileDescriptor out(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!out.isOpen())
        return FileErrors::fromErrno(errno);
    int err = fill(out.fd());
    // Some filesystems report a full disk only when the file is closed.
    if (!out.close() && err == 0)
        err = errno;
    if (err == 0 && ::rename(temporary.constData(), encoded(target).constData()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temporary.constData());
        return FileErrors::fromErrno(err);
    }
    return FileErrors::None;
}

// The process's file-creation mask; reading it means setting it, so it is set straight back.
mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

int PosixFileServices::copyFile(const QString &source, const QString &target)
{
    if (source.isEmpty())
        return FileErrors::PathNotFound;
    // Opened before anything is looked at, and without waiting, so that a pipe put in the
    // source's place cannot stall the copy; only regular files are copied. A source found deep
    // below a search's folder may have a path longer than one call takes.
    const FileDescriptor in(LongPath::open(encoded(source), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!in.isOpen()) {
        if (errno == ENOENT || errno == ENOTDIR)
            return missingNameError(source);
        return FileErrors::fromErrno(errno);
    }
    struct stat sourceStat;
    if (::fstat(in.fd(), &sourceStat) != 0)
        return FileErrors::fromErrno(errno);
    if (!S_ISREG(sourceStat.st_mode))
        return FileErrors::PathFileAccess;

    struct stat targetStat;
    if (!target.isEmpty() && ::stat(encoded(target).constData(), &targetStat) == 0
        && targetStat.st_dev == sourceStat.st_dev && targetStat.st_ino == sourceStat.st_ino)
        return FileErrors::PermissionDenied;
    ReplaceTarget replace;
    if (const int targetError = resolveTarget(target, replace))
        return targetError;

    return replaceThroughTemporary(replace.path, [&](int out) {
        int err = copyData(in.fd(), out);
        if (err == 0 && ::fchmod(out, sourceStat.st_mode & 0777) != 0)
            err = errno;
        if (err == 0) {
            const struct timespec times[2] = {sourceStat.st_atim, sourceStat.st_mtim};
            if (::futimens(out, times) != 0)
                err = errno;
        }
        return err;
    });
}

FileContents PosixFileServices::readFile(const QString &path, qint64 maxSize)
{
    FileContents result;
    if (path.isEmpty()) {
        result.error = FileErrors::PathNotFound;
        return result;
    }
    // Without waiting: a pipe that nobody writes must not stall the program. The path may be
    // longer than one call takes (a deep search's result).
    const FileDescriptor in(LongPath::open(encoded(path), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat st;
    if (!in.isOpen()) {
        result.error = (errno == ENOENT || errno == ENOTDIR) ? missingNameError(path) : FileErrors::fromErrno(errno);
        return result;
    }
    if (::fstat(in.fd(), &st) != 0) {
        result.error = FileErrors::fromErrno(errno);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.error = FileErrors::PathFileAccess;
        return result;
    }
    if (st.st_size > maxSize) {
        result.tooLarge = true;
        return result;
    }
    // Straight into a buffer of the file's size, with no copy. The file may grow while it is
    // read: what comes after that size is read on to its end, but never past maxSize.
    QByteArray data(qsizetype(st.st_size), Qt::Uninitialized);
    qsizetype filled = 0;
    char more[4096];
    for (;;) {
        const bool inPlace = filled < data.size();
        char *into = inPlace ? data.data() + filled : more;
        const ssize_t got = ::read(in.fd(), into, inPlace ? size_t(data.size() - filled) : sizeof more);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            result.error = FileErrors::fromErrno(errno);
            return result;
        }
        if (!inPlace) {
            if (data.size() + got > maxSize) {
                result.tooLarge = true;
                return result;
            }
            data.append(more, qsizetype(got));
        }
        filled += got;
    }
    data.truncate(filled);
    result.data = std::move(data);
    return result;
}

int PosixFileServices::writeFile(const QString &path, const QByteArray &data)
{
    ReplaceTarget replace;
    if (const int targetError = resolveTarget(path, replace))
        return targetError;
    const mode_t mode = replace.exists ? (replace.st.st_mode & 07777) : (0666 & ~currentUmask());
    return replaceThroughTemporary(replace.path, [&](int out) {
        qsizetype done = 0;
        while (done < data.size()) {
            const ssize_t put = ::write(out, data.constData() + done, size_t(data.size() - done));
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            done += put;
        }
        // The replaced file keeps its owner where we may give it (root saving another's file).
        if (replace.exists && (replace.st.st_uid != ::geteuid() || replace.st.st_gid != ::getegid()))
            (void)::fchown(out, replace.st.st_uid, replace.st.st_gid);
        if (::fchmod(out, mode) != 0)
            return errno;
        // On disk before the rename, so that a crash leaves the old file or the new one.
        if (::fsync(out) != 0)
            return errno;
        return 0;
    });
}

int PosixFileServices::rename(const QString &from, const QString &to)
{
    const QByteArray fromPath = encoded(from);
    const QByteArray toPath = encoded(to);
    struct stat st;
    if (from.isEmpty() || ::lstat(fromPath.constData(), &st) != 0)
        return missingNameError(from);
    if (to.isEmpty())
        return FileErrors::PathNotFound;
    if (::lstat(toPath.constData(), &st) == 0)
        return FileErrors::FileAlreadyExists;
    if (errno != ENOENT)
        return FileErrors::fromErrno(errno);
    if (const int folderError = checkWritableFolder(folderOf(from)))
        return folderError;
    if (const int folderError = checkWritableFolder(folderOf(to)))
        return folderError;

    if (::renameat2(AT_FDCWD, fromPath.constData(), AT_FDCWD, toPath.constData(), RENAME_NOREPLACE) == 0)
        return FileErrors::None;
    int err = errno;
    if (err == EINVAL || err == ENOSYS) {
        // The filesystem refuses the flag: check by hand, then rename plainly. A rename into
        // the folder itself gives EINVAL again below.
        if (::lstat(toPath.constData(), &st) == 0)
            return FileErrors::FileAlreadyExists;
        if (::rename(fromPath.constData(), toPath.constData()) == 0)
            return FileErrors::None;
        err = errno;
    }
    if (err == EINVAL)
        return FileErrors::PathFileAccess;
    return FileErrors::fromErrno(err);
}

int PosixFileServices::makeFolder(const QString &path)
{
    const QByteArray folderPath = encoded(path);
    struct stat st;
    if (path.isEmpty())
        return FileErrors::PathNotFound;
    if (::lstat(folderPath.constData(), &st) == 0)
        return FileErrors::PathFileAccess;
    if (const int folderError = checkWritableFolder(folderOf(path)))
        return folderError;
    if (::mkdir(folderPath.constData(), 0777) == 0)
        return FileErrors::None;
    if (errno == EEXIST)
        return FileErrors::PathFileAccess;
    return FileErrors::fromErrno(errno);
}

int PosixFileServices::removeFolder(const QString &path)
{
    const QByteArray folderPath = encoded(path);
    struct stat st;
    if (path.isEmpty() || ::lstat(folderPath.constData(), &st) != 0)
        return FileErrors::PathNotFound;
    if (!S_ISDIR(st.st_mode))
        return FileErrors::PathNotFound;
    // "/" and the root of a mounted volume are never removed.
    struct stat parentStat;
    const QByteArray parent = folderPath + "/..";
    if (::stat(parent.constData(), &parentStat) != 0 || parentStat.st_dev != st.st_dev
        || parentStat.st_ino == st.st_ino)
        return FileErrors::PathFileAccess;
    if (const int folderError = checkWritableFolder(folderOf(path)))
        return folderError;
    if (::rmdir(folderPath.constData()) == 0)
        return FileErrors::None;
    switch (errno) {
    case ENOTEMPTY:
    case EEXIST:
    case EBUSY:
    case EINVAL:
        return FileErrors::PathFileAccess;
    default:
        return FileErrors::fromErrno(errno);
    }
}

bool PosixFileServices::exists(const QString &path)
{
    struct stat st;
    return !path.isEmpty() && ::lstat(encoded(path).constData(), &st) == 0;
}

qint64 PosixFileServices::length(const QString &path)
{
    struct stat st;
    if (path.isEmpty() || ::stat(encoded(path).constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return -1;
    return qint64(st.st_size);
}
