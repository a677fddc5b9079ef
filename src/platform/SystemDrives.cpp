#include "platform/SystemDrives.h"

#include "platform/FileErrors.h"
#include "platform/PathCodec.h"
#include "platform/PathHelper.h"

#include <QStorageInfo>

#include <dirent.h>
#include <cerrno>

namespace {
bool isPseudoFileSystem(const QByteArray &type)
{
    static const QList<QByteArray> pseudo = {
        "proc", "sysfs", "tmpfs", "devtmpfs", "devpts", "overlay", "squashfs", "cgroup", "cgroup2",
        "securityfs", "pstore", "debugfs", "tracefs", "configfs", "fusectl", "mqueue", "hugetlbfs",
        "bpf", "autofs", "binfmt_misc", "efivarfs", "ramfs", "nsfs", "rpc_pipefs", "fuse.portal",
    };
    return pseudo.contains(type);
}
} // namespace

QList<Drive> SystemDrives::drives()
{
    QList<Drive> result;
    result.append(Drive{QStringLiteral("/"), QString()});
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (root == QLatin1String("/") || !volume.isValid() || !volume.isReady())
            continue;
        if (isPseudoFileSystem(volume.fileSystemType()))
            continue;
        if (!volume.device().startsWith("/dev/"))
            continue;
        if (root.startsWith(QLatin1String("/snap/")) || root.startsWith(QLatin1String("/proc"))
            || root.startsWith(QLatin1String("/sys")))
            continue;
        result.append(Drive{root, volume.name()});
    }
    return result;
}

QStringList SystemDrives::driveRoots()
{
    QStringList roots;
    for (const Drive &drive : drives())
        roots << drive.root;
    return roots;
}

DriveFolder SystemDrives::currentFolderOf(const QString &root)
{
    const PathHelper paths(driveRoots());
    const QString current = PathCodec::currentFolder();
    const QString folder = paths.driveRootOf(current) == root ? current : root;

    DIR *dir = ::opendir(PathCodec::encode(folder).constData());
    if (!dir) {
        const int err = errno;
        const int number = err == ENOENT ? int(FileErrors::PathNotFound) : FileErrors::fromErrno(err);
        return DriveFolder{QString(), number};
    }
    ::closedir(dir);
    return DriveFolder{folder, 0};
}
