#include "platform/LongPath.h"

#include <cerrno>
#include <climits>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Closes fd unless it is the current folder, keeping errno as it was.
void closeKeepingErrno(int fd)
{
    if (fd == AT_FDCWD)
        return;
    const int saved = errno;
    ::close(fd);
    errno = saved;
}

} // namespace

namespace LongPath {

int open(const QByteArray &path, int flags, mode_t mode)
{
    const int fd = ::open(path.constData(), flags, mode);
    if (fd >= 0 || errno != ENAMETOOLONG)
        return fd;
    // The folders on the way need only be searched, not read.
    constexpr int pieceFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
    int at = AT_FDCWD;
    qsizetype start = 0;
    while (path.size() - start >= PATH_MAX) {
        const qsizetype cut = path.lastIndexOf('/', start + PATH_MAX - 1);
        if (cut < start) { // a name longer than any folder may hold
            closeKeepingErrno(at);
            errno = ENAMETOOLONG;
            return -1;
        }
        QByteArray piece = path.mid(start, cut - start);
        if (piece.isEmpty()) // the root, or a doubled "/"
            piece = start == 0 ? QByteArrayLiteral("/") : QByteArrayLiteral(".");
        const int next = ::openat(at, piece.constData(), pieceFlags);
        closeKeepingErrno(at);
        if (next < 0)
            return -1;
        at = next;
        start = cut + 1;
    }
    const char *rest = start < path.size() ? path.constData() + start : ".";
    const int last = ::openat(at, rest, flags, mode);
    closeKeepingErrno(at);
    return last;
}

int stat(const QByteArray &path, struct stat &info)
{
    if (::stat(path.constData(), &info) == 0)
        return 0;
    if (errno != ENAMETOOLONG)
        return -1;
    const int fd = open(path, O_PATH | O_CLOEXEC);
    if (fd < 0)
        return -1;
    const int result = ::fstat(fd, &info);
    closeKeepingErrno(fd);
    return result;
}

} // namespace LongPath
