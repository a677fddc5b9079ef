#include "platform/LongPath.h"

#include "platform/Posix.h"

#include <cerrno>
#include <climits>

#include <fcntl.h>
#include <unistd.h>

namespace LongPath {

int open(const QByteArray &path, int flags, mode_t mode)
{
    const int fd = ::open(path.constData(), flags, mode);
    if (fd >= 0 || errno != ENAMETOOLONG)
        return fd;
    // The folders on the way need only be searched, not read. Each is closed once the next is
    // open; none is left open when a piece fails (errno stays that of the failure).
    constexpr int pieceFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
    Posix::FileDescriptor folder;
    const auto at = [&folder] { return folder.isOpen() ? folder.fd() : AT_FDCWD; };
    qsizetype start = 0;
    while (path.size() - start >= PATH_MAX) {
        const qsizetype cut = path.lastIndexOf('/', start + PATH_MAX - 1);
        if (cut < start) { // a name longer than any folder may hold
            errno = ENAMETOOLONG;
            return -1;
        }
        QByteArray piece = path.mid(start, cut - start);
        if (piece.isEmpty()) // the root, or a doubled "/"
            piece = start == 0 ? QByteArrayLiteral("/") : QByteArrayLiteral(".");
        Posix::FileDescriptor next(::openat(at(), piece.constData(), pieceFlags));
        if (!next.isOpen())
            return -1;
        folder = std::move(next);
        start = cut + 1;
    }
    const char *rest = start < path.size() ? path.constData() + start : ".";
    return ::openat(at(), rest, flags, mode);
}

int stat(const QByteArray &path, struct stat &info)
{
    if (::stat(path.constData(), &info) == 0)
        return 0;
    if (errno != ENAMETOOLONG)
        return -1;
    const Posix::FileDescriptor file(open(path, O_PATH | O_CLOEXEC));
    if (!file.isOpen())
        return -1;
    return ::fstat(file.fd(), &info);
}

} // namespace LongPath
