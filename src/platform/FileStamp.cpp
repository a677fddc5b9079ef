#include "platform/FileStamp.h"

#include "platform/PathCodec.h"

#include <cerrno>
#include <ctime>
#include <sys/stat.h>

namespace {

constexpr qint64 nsPerSecond = 1000000000;
// File times come from the kernel's coarse clock, which moves in ticks of at most 10 ms; a
// file system that keeps whole seconds (FAT keeps two) needs more.
constexpr qint64 tickMarginNs = 20 * 1000 * 1000;
constexpr qint64 wholeSecondsMarginNs = 2 * nsPerSecond;

qint64 nanoseconds(const struct timespec &time)
{
    return qint64(time.tv_sec) * nsPerSecond + time.tv_nsec;
}

} // namespace

bool FileStamp::operator==(const FileStamp &other) const
{
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size
        && modifiedNs == other.modifiedNs && changedNs == other.changedNs;
}

bool FileStamp::sameContentsAs(const FileStamp &other) const
{
    return exists == other.exists && link == other.link && folder == other.folder && device == other.device
        && inode == other.inode && size == other.size && modifiedNs == other.modifiedNs;
}

FileStamp FileStamp::of(const struct stat &st)
{
    FileStamp stamp;
    stamp.exists = true;
    stamp.folder = S_ISDIR(st.st_mode);
    stamp.device = quint64(st.st_dev);
    stamp.inode = quint64(st.st_ino);
    stamp.size = qint64(st.st_size);
    stamp.modifiedNs = nanoseconds(st.st_mtim);
    stamp.changedNs = nanoseconds(st.st_ctim);
    return stamp;
}

std::optional<FileStamp> FileStamp::of(const QString &path)
{
    // Read before the file is looked at: a change after this reading gets a later time.
    struct timespec now;
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);

    const QByteArray name = PathCodec::encode(path);
    struct stat st;
    if (::lstat(name.constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return FileStamp{};
        return std::nullopt;
    }
    const bool link = S_ISLNK(st.st_mode);
    if (link && ::stat(name.constData(), &st) != 0) {
        // A link that leads nowhere: the name is taken, by no file.
        if (errno == ENOENT || errno == ENOTDIR) {
            FileStamp dangling;
            dangling.link = true;
            return dangling;
        }
        return std::nullopt;
    }
    FileStamp stamp = of(st);
    stamp.link = link;
    const bool wholeSeconds = st.st_mtim.tv_nsec == 0 && st.st_ctim.tv_nsec == 0;
    const qint64 margin = wholeSeconds ? wholeSecondsMarginNs : tickMarginNs;
    stamp.recent = stamp.changedNs + margin >= nanoseconds(now);
    return stamp;
}
