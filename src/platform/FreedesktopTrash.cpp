#include "platform/FreedesktopTrash.h"

#include "platform/PathCodec.h"
#include "platform/Posix.h"
#include "platform/TrashFolder.h"

#include <QDateTime>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Posix::join;
using Posix::parentOf;

std::optional<QByteArray> canonical(const QByteArray &path)
{
    char resolved[PATH_MAX];
    if (!::realpath(path.constData(), resolved))
        return std::nullopt;
    return QByteArray(resolved);
}

// $XDG_DATA_HOME/Trash, or ~/.local/share/Trash when the variable is unset or empty. A relative
// folder in either variable means nothing certain, so there is no home trash then.
std::optional<QByteArray> homeTrashPath()
{
    QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    if (dataHome.isEmpty()) {
        const QByteArray home = qgetenv("HOME");
        if (home.isEmpty())
            return std::nullopt;
        dataHome = join(home, ".local/share");
    }
    if (!dataHome.startsWith('/'))
        return std::nullopt;
    return join(dataHome, "Trash");
}

// The volume a path is on, or would be on once made: that of its nearest existing folder.
std::optional<dev_t> volumeOf(QByteArray path)
{
    struct stat st;
    while (::stat(path.constData(), &st) != 0) {
        if (path == "/")
            return std::nullopt;
        path = parentOf(path);
    }
    return st.st_dev;
}

// The top folder of the volume that holds folder (a canonical path): the last folder on the
// way up that is still on that volume.
QByteArray topFolderOf(QByteArray folder, dev_t volume)
{
    struct stat st;
    while (folder != "/") {
        const QByteArray up = parentOf(folder);
        if (::stat(up.constData(), &st) != 0 || st.st_dev != volume)
            break;
        folder = up;
    }
    return folder;
}

// Makes the folders above the home trash (0700, as the data folder is private), so that a
// fresh home can take its first file.
bool makeParents(const QByteArray &trash)
{
    const QByteArray parent = parentOf(trash);
    struct stat st;
    if (::stat(parent.constData(), &st) == 0)
        return S_ISDIR(st.st_mode);
    if (parent == "/" || !makeParents(parent))
        return false;
    return ::mkdir(parent.constData(), 0700) == 0 || errno == EEXIST;
}

} // namespace

std::optional<TrashFolder> FreedesktopTrash::trashFor(const QByteArray &folder, dev_t volume)
{
    // Without a sound home trash nothing is trashed, so that no folder appears where the
    // user would not look for it.
    const std::optional<QByteArray> home = homeTrashPath();
    if (!home)
        return std::nullopt;
    if (volumeOf(*home) == volume) {
        if (!makeParents(*home))
            return std::nullopt;
        return TrashFolder(*home, TrashFolder::Kind::Home);
    }

    const QByteArray top = topFolderOf(folder, volume);
    const QByteArray uid = QByteArray::number(qulonglong(::getuid()));
    // $top/.Trash, made by the administrator for all users, is used only when it is a real
    // folder with the sticky bit; otherwise each user has $top/.Trash-$uid.
    const QByteArray shared = join(top, ".Trash");
    struct stat st;
    if (::lstat(shared.constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        TrashFolder userTrash(shared + '/' + uid, TrashFolder::Kind::Volume);
        if (userTrash.prepare())
            return userTrash;
    }
    return TrashFolder(join(top, ".Trash-" + uid), TrashFolder::Kind::Volume);
}

bool FreedesktopTrash::moveToTrash(const QString &path)
{
    const QByteArray file = PathCodec::encode(path);
    const QByteArray name = Posix::baseName(file);
    // Folders are never trashed; "x/" names a folder even when x is a link to one.
    struct stat st;
    if (file.endsWith('/') || name.isEmpty() || name == "." || name == ".."
        || ::lstat(file.constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;

    // The record keeps the file's full path through real folders, so that the file goes back
    // to the very place it came from whatever the current folder is then.
    const std::optional<QByteArray> folder = canonical(file.contains('/') ? parentOf(file) : QByteArray("."));
    if (!folder || ::stat(folder->constData(), &st) != 0)
        return false;
    const std::optional<TrashFolder> trash = trashFor(*folder, st.st_dev);
    if (!trash || !trash->prepare())
        return false;
    return trash->store(file, join(*folder, name), QDateTime::currentDateTime());
}
