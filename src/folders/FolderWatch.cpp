#include "folders/FolderWatch.h"

#include "platform/PathCodec.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {
// File systems whose every change passes through this machine's kernel.
const unsigned long localFileSystems[] = {
    EXT4_SUPER_MAGIC, XFS_SUPER_MAGIC, BTRFS_SUPER_MAGIC, TMPFS_MAGIC, RAMFS_MAGIC,
    F2FS_SUPER_MAGIC, OVERLAYFS_SUPER_MAGIC, MSDOS_SUPER_MAGIC, EXFAT_SUPER_MAGIC,
    ISOFS_SUPER_MAGIC, REISERFS_SUPER_MAGIC, NILFS_SUPER_MAGIC,
    0x2fc12fc1, // zfs
    0x7366746e, // ntfs3
    0x5346544e, // ntfs
    0x15013346, // udf
    0x3153464a, // jfs
    0xca451a4e, // bcachefs
};

bool isLocal(int dirFd)
{
    struct statfs info;
    if (::fstatfs(dirFd, &info) != 0)
        return false;
    for (unsigned long type : localFileSystems) {
        if (static_cast<unsigned long>(info.f_type) == type)
            return true;
    }
    return false;
}

constexpr uint32_t watchedEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO
    | IN_DELETE_SELF | IN_MOVE_SELF | IN_ATTRIB | IN_ONLYDIR;
} // namespace

FolderWatch::FolderWatch() = default;

FolderWatch::~FolderWatch()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void FolderWatch::begin(const QString &path, int dirFd)
{
    m_trusted = false;
    m_path = path;
    if (m_fd < 0)
        m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0)
        return;
    if (m_wd >= 0) {
        ::inotify_rm_watch(m_fd, m_wd);
        m_wd = -1;
    }
    drain(); // what came before this read does not count

    const QByteArray encoded = PathCodec::encode(path);
    const int fd = dirFd >= 0 ? dirFd : ::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat opened;
    const bool usable = isLocal(fd) && ::fstat(fd, &opened) == 0;
    if (fd != dirFd)
        ::close(fd);
    if (!usable)
        return;
    m_wd = ::inotify_add_watch(m_fd, encoded.constData(), watchedEvents);
    struct stat named;
    // The watch must be on the folder that is read, not on one put in its place meanwhile.
    if (m_wd < 0 || ::stat(encoded.constData(), &named) != 0 || named.st_dev != opened.st_dev
        || named.st_ino != opened.st_ino)
        return;
    m_device = opened.st_dev;
    m_inode = opened.st_ino;
    m_trusted = true;
}

void FolderWatch::distrust()
{
    m_trusted = false;
}

bool FolderWatch::mayHaveChanged(const QString &path)
{
    if (!m_trusted || path != m_path)
        return true;
    drain();
    if (!m_trusted)
        return true;
    // The name may lead elsewhere now (a parent renamed, a folder put in its place, a mount).
    struct stat named;
    if (::stat(PathCodec::encode(path).constData(), &named) != 0 || named.st_dev != m_device
        || named.st_ino != m_inode) {
        m_trusted = false;
        return true;
    }
    return false;
}

void FolderWatch::drain()
{
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t length = ::read(m_fd, buffer, sizeof(buffer));
        if (length <= 0)
            return;
        for (ssize_t at = 0; at < length;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            if (event->wd == m_wd || (event->mask & IN_Q_OVERFLOW))
                m_trusted = false;
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
}
