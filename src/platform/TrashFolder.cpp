#include "platform/TrashFolder.h"

#include "platform/Posix.h"
#include "platform/TrashEntryName.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Enough for every name a folder can really hold; a bound, so that no state of the disk can
// keep the search for a free name going.
constexpr int maxAttempts = 100000;

// Writes a new record; false (and no record) when it cannot be made whole. EEXIST in errno
// tells that the name was taken.
bool writeRecord(const QByteArray &path, const QByteArray &text)
{
    Posix::FileDescriptor record(::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!record.isOpen())
        return false;
    int error = Posix::writeAll(record.fd(), text);
    if (!record.close() && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(path.constData());
        errno = error == EEXIST ? EIO : error; // never mistaken for a name already taken
        return false;
    }
    return true;
}

} // namespace

TrashFolder::TrashFolder(QByteArray path, Kind kind) : m_path(std::move(path)), m_kind(kind) {}

bool TrashFolder::isUsableFolder(const QByteArray &folder, bool mayBeLink) const
{
    struct stat st;
    if ((mayBeLink ? ::stat(folder.constData(), &st) : ::lstat(folder.constData(), &st)) != 0)
        return false;
    if (!S_ISDIR(st.st_mode))
        return false;
    return mayBeLink || st.st_uid == ::getuid();
}

bool TrashFolder::makeFolder(const QByteArray &folder, bool mayBeLink) const
{
    if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    return isUsableFolder(folder, mayBeLink);
}

bool TrashFolder::prepare() const
{
    // Checked before anything is made, so that a broken trash gains no half-made parts.
    const QByteArray files = m_path + "/files";
    const QByteArray info = m_path + "/info";
    const bool trashMayBeLink = m_kind == Kind::Home;
    struct stat st;
    for (const QByteArray &existing : {m_path, files, info}) {
        if (::lstat(existing.constData(), &st) == 0
            && !isUsableFolder(existing, existing != m_path || trashMayBeLink))
            return false;
    }
    return makeFolder(m_path, trashMayBeLink) && makeFolder(files, true) && makeFolder(info, true);
}

int TrashFolder::maxNameBytes() const
{
    const long max = ::pathconf((m_path + "/info").constData(), _PC_NAME_MAX);
    return max > 0 && max < INT_MAX ? int(max) : NAME_MAX;
}

bool TrashFolder::store(const QByteArray &file, const QByteArray &originalPath, const QDateTime &deleted) const
{
    const QByteArray name = Posix::baseName(originalPath);
    const QByteArray text = TrashEntryName::infoText(originalPath, deleted);
    const int maxName = maxNameBytes();

    for (int attempt = 1; attempt <= maxAttempts; ++attempt) {
        const QByteArray entry = TrashEntryName::candidate(name, attempt, maxName);
        if (entry.isEmpty())
            return false;
        const QByteArray record = m_path + "/info/" + entry + TrashEntryName::infoSuffix;
        if (!writeRecord(record, text)) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        // An entry of the trash must never be replaced.
        const int error = Posix::renameNoReplace(file, m_path + "/files/" + entry);
        if (error == 0)
            return true;
        ::unlink(record.constData());
        if (error != EEXIST)
            return false;
        // A file without a record sits under that name in files/: it stays, we take another.
    }
    return false;
}
