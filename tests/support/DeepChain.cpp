#include "support/DeepChain.h"

#include "platform/PathCodec.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int folderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// Removes every name in the open folder fd (files only: the chain's bottom holds no folder).
void emptyFolder(int fd)
{
    const int listFd = ::dup(fd);
    DIR *dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return;
    }
    QList<QByteArray> names;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names << name;
    }
    ::closedir(dir);
    for (const QByteArray &name : names)
        ::unlinkat(fd, name.constData(), 0);
}
} // namespace

DeepChain::DeepChain(const QString &folder, const QByteArray &levelName, int depth, const QByteArray &fileName,
                     const QByteArray &contents, mode_t mode)
    : m_folder(folder), m_levelName(levelName), m_depth(depth), m_fileName(fileName)
{
    int at = ::open(PathCodec::encode(folder).constData(), folderFlags);
    for (int level = 0; level < depth && at >= 0; ++level) {
        ::mkdirat(at, levelName.constData(), 0755);
        const int next = ::openat(at, levelName.constData(), folderFlags);
        ::close(at);
        at = next;
    }
    if (at < 0)
        return;
    const int fd = ::openat(at, fileName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    ::close(at);
    if (fd < 0)
        return;
    m_made = ::write(fd, contents.constData(), size_t(contents.size())) == contents.size();
    ::close(fd);
}

DeepChain::~DeepChain()
{
    if (const int bottom = openBottom(); bottom >= 0) {
        emptyFolder(bottom);
        ::close(bottom);
    }
    // From the top: the level below moves up into the place of the emptied one.
    const int top = ::open(PathCodec::encode(m_folder).constData(), folderFlags);
    const QByteArray below = m_levelName + '/' + m_levelName;
    while (::renameat(top, below.constData(), top, "next-level") == 0) {
        ::unlinkat(top, m_levelName.constData(), AT_REMOVEDIR);
        ::renameat(top, "next-level", top, m_levelName.constData());
    }
    ::unlinkat(top, m_levelName.constData(), AT_REMOVEDIR);
    ::close(top);
}

QString DeepChain::folderPath() const
{
    QString path = m_folder;
    for (int level = 0; level < m_depth; ++level)
        path += QLatin1Char('/') + PathCodec::decode(m_levelName);
    return path;
}

QString DeepChain::filePath() const
{
    return folderPath() + QLatin1Char('/') + PathCodec::decode(m_fileName);
}

QByteArray DeepChain::readInBottom(const QByteArray &name) const
{
    const int bottom = openBottom();
    if (bottom < 0)
        return QByteArray();
    const int fd = ::openat(bottom, name.constData(), O_RDONLY | O_CLOEXEC);
    ::close(bottom);
    if (fd < 0)
        return QByteArray();
    QByteArray data;
    char buffer[65536];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
        data.append(buffer, qsizetype(got));
    ::close(fd);
    return data;
}

int DeepChain::openBottom() const
{
    int at = ::open(PathCodec::encode(m_folder).constData(), folderFlags);
    for (int level = 0; level < m_depth && at >= 0; ++level) {
        const int next = ::openat(at, m_levelName.constData(), folderFlags);
        ::close(at);
        at = next;
    }
    return at;
}
