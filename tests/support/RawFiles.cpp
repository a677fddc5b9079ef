#include "support/RawFiles.h"

#include <QtGlobal>

#include <fcntl.h>
#include <unistd.h>

namespace RawFiles {

bool write(const QByteArray &path, const QByteArray &contents, mode_t mode)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, contents.constData(), size_t(contents.size())) == contents.size();
    return ::close(fd) == 0 && written;
}

QByteArray read(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return QByteArray();
    QByteArray contents(4096, '\0');
    const ssize_t n = ::read(fd, contents.data(), size_t(contents.size()));
    ::close(fd);
    return contents.left(qMax<ssize_t>(n, 0));
}

} // namespace RawFiles
