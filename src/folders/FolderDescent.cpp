#include "folders/FolderDescent.h"

#include "platform/LongPath.h"
#include "platform/PathCodec.h"

#include <QList>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
using FolderReader::FolderId;

constexpr int folderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

std::optional<FolderId> idOf(int fd)
{
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return std::nullopt;
    return FolderId{quint64(info.st_dev), quint64(info.st_ino)};
}

// name in the folder dirFd, itself a folder and not a link to one.
int openBelow(int dirFd, const QByteArray &name)
{
    int fd;
    do {
        fd = ::openat(dirFd, name.constData(), folderFlags | O_NOFOLLOW);
    } while (fd < 0 && errno == EINTR);
    return fd;
}
} // namespace

FolderDescent::FolderDescent(const QString &top, int maxOpen) : m_top(top), m_maxOpen(std::max(1, maxOpen)) {}

FolderDescent::~FolderDescent()
{
    cutTrail(0);
}

int FolderDescent::openCount() const
{
    int count = 0;
    for (const Step &step : m_trail)
        count += step.fd >= 0 ? 1 : 0;
    return count;
}

bool FolderDescent::namesBelowTop(const QString &folder, std::vector<QByteArray> &names) const
{
    if (m_top.isEmpty() || !folder.startsWith(m_top))
        return false;
    qsizetype at = m_top.size();
    if (at == folder.size())
        return true;
    if (!m_top.endsWith(QLatin1Char('/'))) {
        if (folder.at(at) != QLatin1Char('/'))
            return false;
        ++at;
    }
    // Paths below the top are its path and the names the listings gave, one "/" apart.
    for (const QStringView name : QStringView(folder).mid(at).split(QLatin1Char('/'))) {
        if (name.isEmpty() || name == u"." || name == u"..")
            return false;
        names.push_back(PathCodec::encode(name.toString()));
    }
    return true;
}

bool FolderDescent::openTop()
{
    if (!m_trail.empty())
        return true;
    const QByteArray path = PathCodec::encode(m_top);
    const int fd = LongPath::open(path, folderFlags);
    if (fd < 0)
        return false;
    const std::optional<FolderId> id = idOf(fd);
    if (!id) {
        ::close(fd);
        return false;
    }
    m_trail.push_back(Step{path, *id, fd});
    return true;
}

int FolderDescent::open(const DescentFolder &folder)
{
    std::vector<QByteArray> names;
    if (!namesBelowTop(folder.path, names) || !openTop())
        return -1;
    if (names.empty()) {
        cutTrail(1);
        // The top stays open for the whole walk; a second read starts at its beginning.
        return ::lseek(m_trail.front().fd, 0, SEEK_SET) == 0 ? m_trail.front().fd : -1;
    }
    // The folders the trail shares with the way to folder's parent are kept; folder itself is
    // opened anew, so that it is what its listing saw now and is read from its start.
    size_t kept = 1;
    while (kept < m_trail.size() && kept < names.size() && m_trail[kept].name == names[kept - 1])
        ++kept;
    cutTrail(kept);
    if (!reopenLast())
        return -1;
    // Folders on the way that the trail does not hold (the walk went back to an earlier branch)
    // are opened the same way; what is checked against its listing is the folder itself.
    for (size_t i = kept - 1; i + 1 < names.size(); ++i) {
        if (!descend(names[i], std::nullopt))
            return -1;
    }
    return descend(names.back(), folder.listed) ? m_trail.back().fd : -1;
}

bool FolderDescent::reopenLast()
{
    size_t open = m_trail.size() - 1;
    while (m_trail[open].fd < 0) // the top is always open
        --open;
    for (size_t i = open + 1; i < m_trail.size(); ++i) {
        const int fd = openBelow(m_trail[i - 1].fd, m_trail[i].name);
        if (fd < 0 || idOf(fd) != m_trail[i].id) {
            if (fd >= 0)
                ::close(fd);
            cutTrail(i);
            return false;
        }
        m_trail[i].fd = fd;
    }
    closeAboveBound();
    return true;
}

bool FolderDescent::descend(const QByteArray &name, const std::optional<FolderId> &expected)
{
    const int fd = openBelow(m_trail.back().fd, name);
    if (fd < 0)
        return false;
    const std::optional<FolderId> id = idOf(fd);
    if (!id || (expected && *id != *expected)) {
        ::close(fd);
        return false;
    }
    m_trail.push_back(Step{name, *id, fd});
    closeAboveBound();
    return true;
}

void FolderDescent::cutTrail(size_t size)
{
    while (m_trail.size() > size) {
        if (m_trail.back().fd >= 0)
            ::close(m_trail.back().fd);
        m_trail.pop_back();
    }
}

void FolderDescent::closeAboveBound()
{
    // The folders nearest the top are the ones the walk needs last.
    int open = openCount() - 1;
    for (size_t i = 1; open > m_maxOpen && i + 1 < m_trail.size(); ++i) {
        if (m_trail[i].fd >= 0) {
            ::close(m_trail[i].fd);
            m_trail[i].fd = -1;
            --open;
        }
    }
}
