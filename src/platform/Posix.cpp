#include "platform/Posix.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Posix {

FileDescriptor::~FileDescriptor()
{
    const int saved = errno;
    close();
    errno = saved;
}

FileDescriptor &FileDescriptor::operator=(FileDescriptor &&other) noexcept
{
    if (this != &other) {
        const int saved = errno;
        close();
        errno = saved;
        m_fd = other.release();
    }
    return *this;
}

bool FileDescriptor::close()
{
    const int fd = release();
    return fd < 0 || ::close(fd) == 0;
}

ssize_t readSome(int fd, void *buffer, size_t size)
{
    ssize_t got;
    while ((got = ::read(fd, buffer, size)) < 0 && errno == EINTR) {
    }
    return got;
}

namespace {

// writeAll (offset < 0) and writeAllAt.
int writeFrom(int fd, QByteArrayView data, off_t offset)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const char *from = data.data() + done;
        const size_t left = size_t(data.size() - done);
        const ssize_t put = offset < 0 ? ::write(fd, from, left) : ::pwrite(fd, from, left, offset + off_t(done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return errno;
        // Nothing written and no error: the file takes no more, which a retry would not change.
        if (put == 0)
            return EIO;
        done += put;
    }
    return 0;
}

// The path without the slashes it may end in; "/" stays "/".
QByteArray trimmed(const QByteArray &path)
{
    qsizetype size = path.size();
    while (size > 1 && path.at(size - 1) == '/')
        --size;
    return path.left(size);
}

} // namespace

int writeAll(int fd, QByteArrayView data)
{
    return writeFrom(fd, data, -1);
}

int writeAllAt(int fd, QByteArrayView data, off_t offset)
{
    return writeFrom(fd, data, offset);
}

int renameNoReplace(const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // The filesystem refuses the flag (or the rename itself is invalid, which the plain rename
    // below reports again): check by hand, then rename plainly.
    struct stat st;
    if (::lstat(to.constData(), &st) == 0)
        return EEXIST;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

QByteArray join(const QByteArray &folder, const QByteArray &name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

QByteArray parentOf(const QByteArray &path)
{
    const QByteArray bare = trimmed(path);
    const qsizetype cut = bare.lastIndexOf('/');
    return cut <= 0 ? QByteArrayLiteral("/") : bare.left(cut);
}

QByteArray baseName(const QByteArray &path)
{
    const QByteArray bare = trimmed(path);
    if (bare == "/")
        return QByteArray();
    return bare.mid(bare.lastIndexOf('/') + 1);
}

} // namespace Posix
