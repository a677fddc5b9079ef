#include "platform/PosixFileServices.h"

#include "platform/FileErrors.h"
#include "platform/FileReader.h"
#include "platform/LongPath.h"
#include "platform/PathCodec.h"
#include "platform/PathHelper.h"
#include "platform/Posix.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

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

// Whether this user may write the file, or make and remove names in the folder, at path (st is
// its status). Root passes every permission check, so for root the owner-write bit is what
// tells a write-protected file or folder.
bool mayWrite(const QByteArray &path, const struct stat &st)
{
    if (::geteuid() == 0)
        return st.st_mode & S_IWUSR;
    const int access = S_ISDIR(st.st_mode) ? (W_OK | X_OK) : W_OK;
    return ::faccessat(AT_FDCWD, path.constData(), access, AT_EACCESS) == 0;
}

// 0 when the folder exists and this user may write in it, else the error number.
int checkWritableFolder(const QByteArray &folder)
{
    struct stat st;
    if (::stat(folder.constData(), &st) != 0)
        return FileErrors::PathNotFound;
    if (!S_ISDIR(st.st_mode))
        return FileErrors::PathNotFound;
    if (!mayWrite(folder, st))
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

using Posix::FileDescriptor;

// Opens path to read a whole regular file of at most maxSize bytes, and gives its size; none
// when it cannot, result saying why: an error number (folders, pipes and devices are 75, opened
// without waiting so a pipe cannot stall the program), or too large.
FileDescriptor openWholeFile(const QString &path, qint64 maxSize, qint64 &size, FileContents &result)
{
    if (path.isEmpty()) {
        result.error = FileErrors::PathNotFound;
        return FileDescriptor();
    }
    // The path may be longer than one call takes (a deep search's result).
    FileDescriptor in(LongPath::open(encoded(path), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!in.isOpen()) {
        result.error = (errno == ENOENT || errno == ENOTDIR) ? missingNameError(path) : FileErrors::fromErrno(errno);
        return in;
    }
    struct stat st;
    if (::fstat(in.fd(), &st) != 0)
        result.error = FileErrors::fromErrno(errno);
    else if (!S_ISREG(st.st_mode))
        result.error = FileErrors::PathFileAccess;
    else if (st.st_size > maxSize)
        result.tooLarge = true;
    if (result.error != 0 || result.tooLarge)
        return FileDescriptor();
    size = st.st_size;
    return in;
}

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
        const ssize_t got = Posix::readSome(in, buffer.data(), bufferSize);
        if (got <= 0)
            return got == 0 ? 0 : errno;
        if (const int err = Posix::writeAll(out, QByteArrayView(buffer.constData(), qsizetype(got))))
            return err;
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

// A file about to be replaced: the file its data goes to (where a link points, unless the link
// itself is replaced) and, when it exists already, its status.
struct ReplaceTarget
{
    QString path;
    bool exists = false;
    struct stat st = {};
};

// 0 when this user may write the existing file st (a regular file), else 75: folders, devices
// and pipes are never replaced; nor is a write-protected file.
int checkWritableFile(const QString &path, const struct stat &st)
{
    if (!S_ISREG(st.st_mode) || !mayWrite(encoded(path), st))
        return FileErrors::PathFileAccess;
    return FileErrors::None;
}

// 0 when target may be replaced or created, else the error number; its folder is checked apart.
// followLinks: a target that is a link is written where the link points, so the link stays a
// link; otherwise the link itself is replaced by the new file and what it points to is untouched.
int resolveTarget(const QString &target, ReplaceTarget &out, bool followLinks = true)
{
    if (target.isEmpty())
        return FileErrors::PathNotFound;
    out.path = target;
    const QByteArray path = encoded(target);
    if ((followLinks ? ::stat(path.constData(), &out.st) : ::lstat(path.constData(), &out.st)) == 0) {
        if (S_ISLNK(out.st.st_mode))
            return FileErrors::None;
        out.exists = true;
        if (const int fileError = checkWritableFile(target, out.st))
            return fileError;
        struct stat linkStat;
        if (followLinks && ::lstat(path.constData(), &linkStat) == 0 && S_ISLNK(linkStat.st_mode)) {
            char *resolved = ::realpath(path.constData(), nullptr);
            if (resolved) {
                out.path = PathCodec::decode(resolved, qsizetype(std::strlen(resolved)));
                std::free(resolved);
            }
        }
    } else if (errno != ENOENT && errno != ENOTDIR) {
        return FileErrors::fromErrno(errno);
    }
    return FileErrors::None;
}

bool refusedByFolder(int err)
{
    return err == EACCES || err == EPERM;
}

// Fills a temporary dot-file beside target through fill (which returns 0 or an errno value)
// and renames it over target once complete; on any failure only the temporary file goes.
// folderRefused, when given, tells whether the folder refused the temporary file or the rename.
int replaceThroughTemporary(const QString &target, const std::function<int(int)> &fill,
                            bool *folderRefused = nullptr)
{
    QByteArray temporary = temporaryTemplate(folderOf(target), target);
    FileDescriptor out(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!out.isOpen()) {
        if (folderRefused)
            *folderRefused = refusedByFolder(errno);
        return FileErrors::fromErrno(errno);
    }
    int err = fill(out.fd());
    // Some filesystems report a full disk only when the file is closed.
    if (!out.close() && err == 0)
        err = errno;
    if (err == 0 && ::rename(temporary.constData(), encoded(target).constData()) != 0) {
        err = errno;
        if (folderRefused)
            *folderRefused = refusedByFolder(err);
    }
    if (err != 0) {
        ::unlink(temporary.constData());
        return FileErrors::fromErrno(err);
    }
    return FileErrors::None;
}

// Overwrites the existing regular file at path with data, for when its folder takes no new
// file: the file keeps its inode, owner and mode. The room for a longer text is taken first,
// so a full disk leaves the old file whole; only a write that fails midway (an I/O error) leaves
// it part old, part new. noFollow: a link at path is refused, and so is a file with more names.
int writeInPlace(const QByteArray &path, const QByteArray &data, bool noFollow)
{
    const int flags = O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (noFollow ? O_NOFOLLOW : 0);
    FileDescriptor out(::open(path.constData(), flags));
    if (!out.isOpen())
        return FileErrors::fromErrno(errno == ELOOP ? EACCES : errno);
    struct stat st;
    if (::fstat(out.fd(), &st) != 0)
        return FileErrors::fromErrno(errno);
    if (!S_ISREG(st.st_mode) || (noFollow && st.st_nlink > 1))
        return FileErrors::PathFileAccess;
    if (off_t(data.size()) > st.st_size && ::fallocate(out.fd(), FALLOC_FL_KEEP_SIZE, 0, off_t(data.size())) != 0) {
        const int err = errno;
        if (err != EOPNOTSUPP && err != ENOSYS && err != EINVAL) {
            // Whatever was taken past the old end goes again.
            (void)::ftruncate(out.fd(), st.st_size);
            return FileErrors::fromErrno(err);
        }
    }
    int err = Posix::writeAllAt(out.fd(), data, 0);
    if (err == 0 && ::ftruncate(out.fd(), off_t(data.size())) != 0)
        err = errno;
    if (err == 0 && ::fsync(out.fd()) != 0)
        err = errno;
    if (!out.close() && err == 0)
        err = errno;
    return FileErrors::fromErrno(err);
}

// The process's file-creation mask; reading it means setting it, so it is set straight back.
mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// writeFile (followLinks) and replaceFile.
int writeContents(const QString &path, const QByteArray &data, bool followLinks)
{
    ReplaceTarget replace;
    if (const int targetError = resolveTarget(path, replace, followLinks))
        return targetError;
    // A folder that takes no new file, where this user may still write the file itself: the
    // file is written in place, as the only way to save it there.
    const int folderError = checkWritableFolder(folderOf(replace.path));
    if (folderError == FileErrors::PathFileAccess && replace.exists)
        return writeInPlace(encoded(replace.path), data, !followLinks);
    if (folderError)
        return folderError;
    const mode_t mode = replace.exists ? (replace.st.st_mode & 07777) : (0666 & ~currentUmask());
    bool folderRefused = false;
    const int error = replaceThroughTemporary(
        replace.path,
        [&](int out) {
            if (const int err = Posix::writeAll(out, data))
                return err;
            // The replaced file keeps its owner where we may give it (root saving another's file).
            if (replace.exists && (replace.st.st_uid != ::geteuid() || replace.st.st_gid != ::getegid()))
                (void)::fchown(out, replace.st.st_uid, replace.st.st_gid);
            if (::fchmod(out, mode) != 0)
                return errno;
            // On disk before the rename, so that a crash leaves the old file or the new one.
            if (::fsync(out) != 0)
                return errno;
            return 0;
        },
        &folderRefused);
    if (error && folderRefused && replace.exists)
        return writeInPlace(encoded(replace.path), data, !followLinks);
    return error;
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
    if (const int folderError = checkWritableFolder(folderOf(replace.path)))
        return folderError;

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
    qint64 size = 0;
    const FileDescriptor in(openWholeFile(path, maxSize, size, result));
    if (!in.isOpen())
        return result;
    // Straight into a buffer of the file's size, with no copy. The file may grow while it is
    // read: what comes after that size is read on to its end, but never past maxSize.
    QByteArray data(qsizetype(size), Qt::Uninitialized);
    qsizetype filled = 0;
    char more[4096];
    for (;;) {
        const bool inPlace = filled < data.size();
        char *into = inPlace ? data.data() + filled : more;
        const ssize_t got = Posix::readSome(in.fd(), into, inPlace ? size_t(data.size() - filled) : sizeof more);
        if (got == 0)
            break;
        if (got < 0) {
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

FileContents PosixFileServices::readFileInPieces(const QString &path, qint64 maxSize,
                                                 const std::function<bool(QByteArrayView)> &consume)
{
    FileContents result;
    qint64 size = 0;
    const FileDescriptor in(openWholeFile(path, maxSize, size, result));
    if (!in.isOpen())
        return result;
    // The file may grow while it is read: read to its end, but never past maxSize.
    QByteArray buffer(qsizetype(bufferSize), Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const ssize_t got = Posix::readSome(in.fd(), buffer.data(), bufferSize);
        if (got == 0)
            break;
        if (got < 0) {
            result.error = FileErrors::fromErrno(errno);
            return result;
        }
        total += got;
        if (total > maxSize) {
            result.tooLarge = true;
            return result;
        }
        if (!consume(QByteArrayView(buffer.constData(), qsizetype(got))))
            break;
    }
    return result;
}

namespace {

// The services keep no state, so a reader of its own is a set of them of its own.
class PosixFileReader : public FileReader
{
public:
    qint64 length(const QString &path) override { return m_files.length(path); }
    FileContents readFileInPieces(const QString &path, qint64 maxSize,
                                  const std::function<bool(QByteArrayView)> &consume) override
    {
        return m_files.readFileInPieces(path, maxSize, consume);
    }

private:
    PosixFileServices m_files;
};

} // namespace

std::shared_ptr<FileReader> PosixFileServices::reader()
{
    return std::make_shared<PosixFileReader>();
}

int PosixFileServices::writeFile(const QString &path, const QByteArray &data)
{
    return writeContents(path, data, true);
}

int PosixFileServices::replaceFile(const QString &path, const QByteArray &data)
{
    return writeContents(path, data, false);
}

bool PosixFileServices::isSameFile(const QString &a, const QString &b)
{
    struct stat first;
    struct stat second;
    return !a.isEmpty() && !b.isEmpty() && ::stat(encoded(a).constData(), &first) == 0
        && ::stat(encoded(b).constData(), &second) == 0 && first.st_dev == second.st_dev
        && first.st_ino == second.st_ino;
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

    const int err = Posix::renameNoReplace(fromPath, toPath);
    // EINVAL: a folder renamed into itself.
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
