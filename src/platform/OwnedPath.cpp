#include "platform/OwnedPath.h"

#include "platform/PathCodec.h"

#include <QList>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// As the kernel allows: more links than this on one path is a loop.
constexpr int mostLinks = 40;

QList<QByteArray> namesOf(const QByteArray &path)
{
    QList<QByteArray> names;
    for (const QByteArray &name : path.split('/')) {
        if (!name.isEmpty() && name != ".")
            names.append(name);
    }
    return names;
}

Posix::FileDescriptor openFolder(int at, const char *name)
{
    return Posix::FileDescriptor(::openat(at, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

} // namespace

// The walk of one path, and of the targets of the links on it, each from the folder it starts in.
class OwnedPathWalk
{
public:
    explicit OwnedPathWalk(bool makeFolders) : m_makeFolders(makeFolders) {}

    // Walks names from the folder start; the result holds the folder of the last name.
    OwnedPath walk(Posix::FileDescriptor start, const QList<QByteArray> &names)
    {
        Posix::FileDescriptor folder = std::move(start);
        if (!folder.isOpen())
            return failed(errno);
        if (names.isEmpty()) {
            // "/" or ".": the folder itself.
            OwnedPath place;
            if (::fstat(folder.fd(), &place.m_fileStatus) != 0)
                return failed(errno);
            place.m_folderStatus = place.m_fileStatus;
            place.m_status = OwnedPath::Status::Found;
            place.m_folder = std::move(folder);
            place.m_name = ".";
            return place;
        }
        for (qsizetype i = 0; i < names.size(); ++i) {
            const bool last = i + 1 == names.size();
            OwnedPath place = step(std::move(folder), names.at(i));
            if (last || place.m_status == OwnedPath::Status::Refused || place.m_status == OwnedPath::Status::Failed)
                return place;
            // A folder on the way.
            if (place.m_status == OwnedPath::Status::Missing) {
                if (!m_makeFolders)
                    return failed(ENOENT);
                if (const int err = makeFolder(place))
                    return failed(err);
            }
            folder = openFolder(place.folder(), place.m_name.constData());
            if (!folder.isOpen())
                return failed(errno);
        }
        return failed(EINVAL); // not reached: the last name returns above
    }

private:
    // The place one name of folder leads to, its links followed where the rule allows.
    OwnedPath step(Posix::FileDescriptor folder, const QByteArray &name)
    {
        OwnedPath place;
        if (::fstat(folder.fd(), &place.m_folderStatus) != 0)
            return failed(errno);
        if (name == "..") {
            // The folder above the one reached, as the kernel takes it after a link.
            Posix::FileDescriptor parent = openFolder(folder.fd(), "..");
            if (!parent.isOpen() || ::fstat(parent.fd(), &place.m_fileStatus) != 0)
                return failed(errno);
            place.m_status = OwnedPath::Status::Found;
            place.m_folder = std::move(parent);
            place.m_name = ".";
            return place;
        }
        place.m_name = name;
        if (::fstatat(folder.fd(), name.constData(), &place.m_fileStatus, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT)
                return failed(errno);
            place.m_status = OwnedPath::Status::Missing;
            place.m_folder = std::move(folder);
            return place;
        }
        if (!S_ISLNK(place.m_fileStatus.st_mode)) {
            place.m_status = OwnedPath::Status::Found;
            place.m_folder = std::move(folder);
            return place;
        }

        if (++m_links > mostLinks)
            return failed(ELOOP);
        QByteArray target(qsizetype(place.m_fileStatus.st_size > 0 ? place.m_fileStatus.st_size : 4096) + 1,
                          Qt::Uninitialized);
        const ssize_t length = ::readlinkat(folder.fd(), name.constData(), target.data(), size_t(target.size()));
        if (length < 0 || length >= target.size())
            return failed(length < 0 ? errno : ENAMETOOLONG);
        target.truncate(qsizetype(length));
        const uid_t holder = place.m_folderStatus.st_uid;
        Posix::FileDescriptor from = target.startsWith('/')
                                         ? openFolder(AT_FDCWD, "/")
                                         : Posix::FileDescriptor(::fcntl(folder.fd(), F_DUPFD_CLOEXEC, 0));
        // Nothing is made on the way to a link's target before the target passed the rule; only
        // its last name may be made afterwards, in a folder of the right owner.
        const bool makeFolders = std::exchange(m_makeFolders, false);
        OwnedPath reached = walk(std::move(from), namesOf(target));
        m_makeFolders = makeFolders;
        if (reached.m_status == OwnedPath::Status::Refused || reached.m_status == OwnedPath::Status::Failed)
            return reached;
        const uid_t owner = reached.m_status == OwnedPath::Status::Found ? reached.m_fileStatus.st_uid
                                                                          : reached.m_folderStatus.st_uid;
        if (owner != holder) {
            OwnedPath refused;
            refused.m_status = OwnedPath::Status::Refused;
            return refused;
        }
        return reached;
    }

    // Makes the missing folder place names; as root in another's folder, it becomes theirs.
    static int makeFolder(OwnedPath &place)
    {
        if (::mkdirat(place.folder(), place.m_name.constData(), 0777) != 0 && errno != EEXIST)
            return errno;
        const struct stat &parent = place.m_folderStatus;
        if (::geteuid() == 0 && parent.st_uid != 0)
            (void)::fchownat(place.folder(), place.m_name.constData(), parent.st_uid, parent.st_gid,
                             AT_SYMLINK_NOFOLLOW);
        return 0;
    }

    static OwnedPath failed(int err)
    {
        OwnedPath result;
        result.m_status = OwnedPath::Status::Failed;
        result.m_error = err;
        return result;
    }

    bool m_makeFolders;
    int m_links = 0;
};

OwnedPath OwnedPath::resolve(const QString &path, bool makeFolders)
{
    const QByteArray encoded = PathCodec::encode(path);
    // A relative path starts in the current folder, as the system takes it.
    Posix::FileDescriptor start = encoded.startsWith('/') ? openFolder(AT_FDCWD, "/") : openFolder(AT_FDCWD, ".");
    return OwnedPathWalk(makeFolders).walk(std::move(start), namesOf(encoded));
}

OwnedPath OwnedPath::resolveFolderOf(const QString &path, bool makeFolders)
{
    const QByteArray encoded = PathCodec::encode(path);
    QList<QByteArray> names = namesOf(encoded);
    Posix::FileDescriptor start = encoded.startsWith('/') ? openFolder(AT_FDCWD, "/") : openFolder(AT_FDCWD, ".");
    if (names.isEmpty() || names.last() == "..") {
        OwnedPath result;
        result.m_error = EISDIR;
        return result;
    }
    const QByteArray last = names.takeLast();
    // "." after the folders: the last folder itself, made where it is missing.
    names.append(QByteArrayLiteral("."));
    OwnedPath place = OwnedPathWalk(makeFolders).walk(std::move(start), names);
    if (place.m_status == Status::Found) {
        place.m_folderStatus = place.m_fileStatus;
        place.m_name = last;
    }
    return place;
}
