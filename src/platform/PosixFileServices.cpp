#include "platform/PosixFileServices.h"

#include "platform/FileAttributes.h"
#include "platform/FileErrors.h"
#include "platform/FileWriting.h"
#include "platform/FileReader.h"
#include "platform/LongPath.h"
#include "platform/PathCodec.h"
#include "platform/PathHelper.h"
#include "platform/Posix.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <memory>

namespace {

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
    // A device is not even opened: opening some does something (a tape rewinds).
    struct stat before;
    if (LongPath::stat(encoded(path), before) == 0 && (S_ISCHR(before.st_mode) || S_ISBLK(before.st_mode))) {
        result.error = FileErrors::PathFileAccess;
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

// Whether a copy onto target may go where a link at target leads: a link of this user's own,
// or one the owner of its folder made to a file of theirs. A link another user planted in a
// shared folder (/tmp), or a user's link to a file not theirs met by root, is replaced by the
// copy instead, and what it leads to stays as it is.
bool mayFollowLinkAt(const QString &target)
{
    const QByteArray path = encoded(target);
    struct stat link;
    if (::lstat(path.constData(), &link) != 0 || !S_ISLNK(link.st_mode) || link.st_uid == ::geteuid())
        return true;
    struct stat folder;
    struct stat linked;
    return ::stat(folderOf(target).constData(), &folder) == 0 && folder.st_uid == link.st_uid
        && ::stat(path.constData(), &linked) == 0 && linked.st_uid == link.st_uid;
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

// Gives the new file out what makes the existing file st at from itself: owner and group,
// mode, attributes (the access control list among them). False when one cannot be given.
bool giveIdentity(int out, const QByteArray &from, const struct stat &st)
{
    struct stat own;
    if (::fstat(out, &own) != 0)
        return false;
    if ((own.st_uid != st.st_uid || own.st_gid != st.st_gid) && ::fchown(out, st.st_uid, st.st_gid) != 0)
        return false;
    // After the owner, whose change clears the set-user and set-group bits.
    if (::fchmod(out, st.st_mode & 07777) != 0)
        return false;
    return FileAttributes::copy(from, out) == 0;
}

// Temporary files of ours beside target (of this user) that a write cut short left there.
void removeLeftoverTemporaries(const QString &target)
{
    const QByteArray folder = folderOf(target);
    const QByteArray pattern = Posix::baseName(temporaryTemplate(folder, target));
    const QByteArray prefix = pattern.chopped(6);
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.size() != pattern.size() || !name.startsWith(prefix))
            continue;
        const bool suffixOfOurs = std::all_of(name.cbegin() + prefix.size(), name.cend(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c));
        });
        struct stat st;
        if (suffixOfOurs && ::fstatat(::dirfd(dir), name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0
            && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
            ::unlinkat(::dirfd(dir), name.constData(), 0);
    }
    ::closedir(dir);
}

WriteResult failed(int err)
{
    WriteResult result;
    result.error = err == ECANCELED ? FileErrors::PathFileAccess : FileErrors::fromErrno(err);
    return result;
}

// writeFile (followLinks) and replaceFile.
WriteResult writeContents(const QString &path, const FilePieces &pieces, bool followLinks, const WriteSteps &steps)
{
    WriteResult result;
    ReplaceTarget replace;
    if ((result.error = resolveTarget(path, replace, followLinks)))
        return result;
    const QByteArray target = encoded(replace.path);
    const QByteArray folder = folderOf(replace.path);
    const auto inPlace = [&] { return FileWriting::writeInPlace(target, pieces, !followLinks, steps); };
    // In place where a new file could not stand for this one: the folder takes no new file (and
    // this user may still write the file itself), or the file has other names, which then see
    // the change too.
    const int folderError = checkWritableFolder(folder);
    if (replace.exists && (folderError == FileErrors::PathFileAccess || (followLinks && replace.st.st_nlink > 1)))
        return inPlace();
    if ((result.error = folderError))
        return result;
    removeLeftoverTemporaries(replace.path);
    // A new file is made as any other (the umask or the folder's default access list gives its
    // mode); one that takes an existing file's place gets that file's identity before any of
    // its contents, or the file is written in place.
    QByteArray temporary = temporaryTemplate(folder, replace.path);
    FileDescriptor out(Posix::createUnique(temporary, replace.exists ? 0600 : 0666));
    if (!out.isOpen()) {
        if (replace.exists && refusedByFolder(errno))
            return inPlace();
        return failed(errno);
    }
    if (replace.exists && !giveIdentity(out.fd(), target, replace.st)) {
        out.close();
        ::unlink(temporary.constData());
        return inPlace();
    }
    qint64 written = 0;
    int err = FileWriting::writePieces(out.fd(), pieces, written, steps);
    // On disk before the rename, so that a crash leaves the old file or the new one.
    if (err == 0 && ::fsync(out.fd()) != 0)
        err = errno;
    struct stat st;
    if (err == 0 && ::fstat(out.fd(), &st) != 0)
        err = errno;
    // Some filesystems report a full disk only when the file is closed.
    if (!out.close() && err == 0)
        err = errno;
    if (err == 0 && steps)
        steps("temporary-written");
    if (err == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temporary.constData());
        return failed(err);
    }
    FileWriting::syncFolder(folder);
    result.written = FileStamp::of(st);
    result.written->link = replace.path != path;
    return result;
}

// data as the pieces of a write: all of it, then the end.
FilePieces wholeData(const QByteArray &data)
{
    auto given = std::make_shared<bool>(false);
    return FilePieces{[&data] { return qint64(data.size()); }, [&data, given]() -> std::optional<QByteArrayView> {
                          if (std::exchange(*given, true))
                              return QByteArrayView();
                          return QByteArrayView(data);
                      }};
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
    if (const int targetError = resolveTarget(target, replace, mayFollowLinkAt(target)))
        return targetError;
    if (const int folderError = checkWritableFolder(folderOf(replace.path)))
        return folderError;

    return replaceThroughTemporary(replace.path, [&](int out) {
        int err = Posix::copyData(in.fd(), out);
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
    return writeContents(path, wholeData(data), true, m_writeSteps).error;
}

int PosixFileServices::replaceFile(const QString &path, const QByteArray &data)
{
    return writeContents(path, wholeData(data), false, m_writeSteps).error;
}

WriteResult PosixFileServices::writeFilePieces(const QString &path, const FilePieces &pieces, LinkAtPath link)
{
    return writeContents(path, pieces, link == LinkAtPath::Follow, m_writeSteps);
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
