#include "platform/OwnedFile.h"

#include "platform/OwnedPath.h"
#include "platform/Posix.h"

#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Posix::FileDescriptor;

constexpr int randomLetters = 6;

// ".name.panoptra-" before the random letters, as the file services name their temporary files.
QByteArray temporaryPrefix(const QByteArray &name)
{
    // Leave room in NAME_MAX (255) for the dot and the suffix.
    return '.' + name.left(200) + ".panoptra-";
}

void removeLeftovers(int folder, const QByteArray &name)
{
    const QByteArray prefix = temporaryPrefix(name);
    const int listed = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listed < 0)
        return;
    DIR *dir = ::fdopendir(listed);
    if (!dir) {
        ::close(listed);
        return;
    }
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArrayView entryName(entry->d_name);
        struct stat st;
        if (entryName.size() == prefix.size() + randomLetters && entryName.startsWith(prefix)
            && ::fstatat(folder, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            (void)::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(dir);
}

// A new temporary file beside name, or none with errno set.
FileDescriptor makeTemporary(int folder, const QByteArray &name, QByteArray &temporary)
{
    static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = temporaryPrefix(name);
        for (int i = 0; i < randomLetters; ++i)
            temporary += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
        FileDescriptor out(::openat(folder, temporary.constData(),
                                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (out.isOpen() || errno != EEXIST)
            return out;
    }
    return FileDescriptor();
}

// Overwrites the file in place, for a folder that takes no new file.
OwnedFile::Written writeInPlace(const OwnedPath &place, const QByteArray &data)
{
    FileDescriptor out(::openat(place.folder(), place.name().constData(),
                                O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st;
    // Only the folder owner's own file, of one name: never another file it shares its data with.
    if (!out.isOpen() || ::fstat(out.fd(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1
        || st.st_uid != place.folderStatus().st_uid)
        return OwnedFile::Written::Failed;
    if (off_t(data.size()) > st.st_size && ::fallocate(out.fd(), FALLOC_FL_KEEP_SIZE, 0, off_t(data.size())) != 0
        && errno != EOPNOTSUPP && errno != ENOSYS) {
        (void)::ftruncate(out.fd(), st.st_size);
        return OwnedFile::Written::Failed;
    }
    const bool done = Posix::writeAllAt(out.fd(), data, 0) == 0 && ::ftruncate(out.fd(), off_t(data.size())) == 0
                      && ::fsync(out.fd()) == 0;
    return done && out.close() ? OwnedFile::Written::Done : OwnedFile::Written::Failed;
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

namespace OwnedFile {

Contents read(const QString &path, qint64 maxSize, const QByteArray *known)
{
    Contents result;
    const OwnedPath place = OwnedPath::resolve(path, false);
    switch (place.status()) {
    case OwnedPath::Status::Refused:
        result.status = Contents::Status::Refused;
        return result;
    case OwnedPath::Status::Missing:
        result.status = Contents::Status::Missing;
        return result;
    case OwnedPath::Status::Failed:
        result.status = place.error() == ENOENT ? Contents::Status::Missing : Contents::Status::Failed;
        return result;
    case OwnedPath::Status::Found:
        break;
    }
    const FileDescriptor in(::openat(place.folder(), place.name().constData(),
                                     O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st;
    if (!in.isOpen()) {
        result.status = errno == ENOENT ? Contents::Status::Missing : Contents::Status::Failed;
        return result;
    }
    if (::fstat(in.fd(), &st) != 0 || !S_ISREG(st.st_mode))
        return result;
    if (st.st_size > maxSize) {
        result.tooLarge = true;
        return result;
    }
    // Where the file may be known already, it is compared piece by piece as it is read.
    qsizetype matched = 0;
    if (known && qint64(known->size()) == qint64(st.st_size)) {
        char piece[65536];
        for (;;) {
            const ssize_t got = Posix::readSome(in.fd(), piece, sizeof piece);
            if (got < 0)
                return result;
            if (got == 0 && matched == known->size()) {
                result.status = Contents::Status::Read;
                result.data = *known;
                return result;
            }
            if (got == 0 || matched + got > known->size()
                || std::memcmp(known->constData() + matched, piece, size_t(got)) != 0)
                break;
            matched += got;
        }
        // Another text after all: read it whole from the start.
        if (::lseek(in.fd(), 0, SEEK_SET) != 0)
            return result;
    }
    // Straight into a buffer of the file's size. The file may grow while it is read: read on to
    // its end, but never past maxSize.
    QByteArray data(qsizetype(st.st_size), Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == data.size()) {
            if (data.size() >= maxSize) {
                char probe;
                const ssize_t more = Posix::readSome(in.fd(), &probe, 1);
                if (more == 0)
                    break;
                result.tooLarge = more > 0;
                return result;
            }
            data.resize(qMin(maxSize, qint64(data.size()) + 65536));
        }
        const ssize_t got = Posix::readSome(in.fd(), data.data() + filled, size_t(data.size() - filled));
        if (got < 0)
            return result;
        if (got == 0)
            break;
        filled += got;
    }
    data.truncate(filled);
    result.status = Contents::Status::Read;
    result.data = std::move(data);
    return result;
}

Written write(const QString &path, const QByteArray &data)
{
    const OwnedPath place = OwnedPath::resolve(path, true);
    if (place.status() == OwnedPath::Status::Refused)
        return Written::Refused;
    const bool exists = place.status() == OwnedPath::Status::Found;
    if ((!exists && place.status() != OwnedPath::Status::Missing) || place.name() == ".")
        return Written::Failed;
    const struct stat &old = place.fileStatus();
    const struct stat &folder = place.folderStatus();
    if (exists && !S_ISREG(old.st_mode))
        return Written::Failed;
    removeLeftovers(place.folder(), place.name());

    QByteArray temporary;
    FileDescriptor out = makeTemporary(place.folder(), place.name(), temporary);
    if (!out.isOpen())
        return exists && (errno == EACCES || errno == EPERM) ? writeInPlace(place, data) : Written::Failed;
    // The file stays its owner's; a new one in another user's folder becomes theirs.
    uid_t owner = ::geteuid();
    gid_t group = ::getegid();
    if (exists) {
        owner = old.st_uid;
        group = old.st_gid;
    } else if (owner == 0 && folder.st_uid != 0) {
        owner = folder.st_uid;
        group = folder.st_gid;
    }
    const mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~currentUmask());
    bool done = Posix::writeAll(out.fd(), data) == 0;
    if (done && (owner != ::geteuid() || group != ::getegid()))
        (void)::fchown(out.fd(), owner, group);
    // The mode after the owner: a change of owner drops the set-id bits.
    done = done && ::fchmod(out.fd(), mode) == 0 && ::fsync(out.fd()) == 0;
    // Some filesystems report a full disk only when the file is closed.
    done = out.close() && done;
    done = done && ::renameat(place.folder(), temporary.constData(), place.folder(), place.name().constData()) == 0;
    if (!done) {
        (void)::unlinkat(place.folder(), temporary.constData(), 0);
        return Written::Failed;
    }
    return Written::Done;
}

} // namespace OwnedFile
