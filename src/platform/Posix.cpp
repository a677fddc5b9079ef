#include "platform/Posix.h"

#include <QByteArray>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/sendfile.h>
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

// One call of copy_file_range or sendfile moves at most this much; large chunks let the kernel
// (or the filesystem, for reflinks) do the work in few calls.
constexpr size_t copyChunk = size_t(1) << 30;
constexpr size_t bufferSize = size_t(1) << 20;

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

bool fallbackErrno(int err)
{
    return err == EXDEV || err == EINVAL || err == ENOSYS || err == EOPNOTSUPP || err == ENOTSUP;
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

int createUnique(QByteArray &pathTemplate, mode_t mode)
{
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    constexpr qsizetype suffix = 6;
    if (!pathTemplate.endsWith("XXXXXX")) {
        errno = EINVAL;
        return -1;
    }
    for (int tries = 0; tries < 100; ++tries) {
        unsigned char random[suffix];
        if (::getrandom(random, sizeof random, 0) != ssize_t(sizeof random)) {
            for (qsizetype i = 0; i < suffix; ++i)
                random[i] = static_cast<unsigned char>(::rand());
        }
        char *name = pathTemplate.data() + pathTemplate.size() - suffix;
        for (qsizetype i = 0; i < suffix; ++i)
            name[i] = letters[random[i] % (sizeof letters - 1)];
        const int fd = ::open(pathTemplate.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
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
