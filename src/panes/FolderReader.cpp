#include "panes/FolderReader.h"

#include "panes/FolderWatch.h"
#include "panes/NamePattern.h"
#include "platform/PathCodec.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
using FolderReader::DotNames;

enum class Kind { File, Folder, Other };

Kind kindOf(int dirFd, const dirent64 *entry)
{
    unsigned char type = entry->d_type;
    if (type == DT_UNKNOWN || type == DT_LNK) {
        // The file system does not say, or it is a link: look at what it leads to.
        struct stat info;
        if (::fstatat(dirFd, entry->d_name, &info, 0) != 0)
            return Kind::Other;
        type = S_ISREG(info.st_mode) ? DT_REG : S_ISDIR(info.st_mode) ? DT_DIR : DT_UNKNOWN;
    }
    return type == DT_REG ? Kind::File : type == DT_DIR ? Kind::Folder : Kind::Other;
}

bool isAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

// Names with their sort keys: the case-folded name in UTF-8 (whose byte order is code point
// order), all keys in one buffer, their first 16 bytes also held as two big-endian integers.
// Most comparisons are then two integer compares, which keeps a 100,000-name sort to a few
// milliseconds.
struct SortBuffer
{
    struct Key
    {
        quint64 head[2];
        size_t offset;
        size_t length;
        qsizetype name;
    };
    static constexpr size_t headBytes = sizeof(Key::head);

    void add(QString name, std::string_view raw)
    {
        const size_t offset = keys.size();
        if (isAscii(raw)) {
            for (char c : raw)
                keys.push_back(c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c);
        } else {
            const QByteArray folded = name.toCaseFolded().toUtf8();
            keys.append(folded.constData(), size_t(folded.size()));
        }
        Key key{{0, 0}, offset, keys.size() - offset, qsizetype(names.size())};
        // Names hold no NUL byte, so zero padding sorts a shorter key first, as it should.
        for (size_t i = 0; i < std::min(key.length, headBytes); ++i)
            key.head[i / 8] |= quint64(uchar(keys[offset + i])) << (56 - 8 * (i % 8));
        order.push_back(key);
        names.push_back(std::move(name));
    }

    int compare(const Key &a, const Key &b) const
    {
        for (int i = 0; i < 2; ++i) {
            if (a.head[i] != b.head[i])
                return a.head[i] < b.head[i] ? -1 : 1;
        }
        if (a.length > headBytes && b.length > headBytes) {
            const std::string_view restA(keys.data() + a.offset + headBytes, a.length - headBytes);
            const std::string_view restB(keys.data() + b.offset + headBytes, b.length - headBytes);
            return restA.compare(restB);
        }
        return a.length == b.length ? 0 : (a.length < b.length ? -1 : 1);
    }

    QStringList sorted()
    {
        std::sort(order.begin(), order.end(), [this](const Key &a, const Key &b) {
            const int byKey = compare(a, b);
            if (byKey != 0)
                return byKey < 0;
            return names[a.name] < names[b.name]; // only names that differ in case alone
        });
        QStringList result;
        result.reserve(qsizetype(order.size()));
        for (const Key &key : order)
            result.append(std::move(names[key.name]));
        return result;
    }

    std::string keys;
    std::vector<Key> order;
    std::vector<QString> names;
};

// Opens a folder for reading. A path too long for one system call is opened a piece at a
// time, each piece relative to the folder the last one reached.
int openFolder(const QByteArray &path)
{
    constexpr int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    const int fd = ::open(path.constData(), flags);
    if (fd >= 0 || errno != ENAMETOOLONG)
        return fd;
    int at = AT_FDCWD;
    qsizetype start = 0;
    while (path.size() - start >= PATH_MAX) {
        const qsizetype cut = path.lastIndexOf('/', start + PATH_MAX - 1);
        if (cut <= start) { // no "/" within reach: no piece can be opened
            if (at != AT_FDCWD)
                ::close(at);
            errno = ENAMETOOLONG;
            return -1;
        }
        const int next = ::openat(at, path.mid(start, cut - start).constData(), flags);
        if (at != AT_FDCWD)
            ::close(at);
        if (next < 0)
            return -1;
        at = next;
        start = cut + 1;
    }
    const int last = ::openat(at, path.constData() + start, flags);
    if (at != AT_FDCWD)
        ::close(at);
    return last;
}

bool isDotName(const char *name, DotNames dots)
{
    if (name[0] != '.')
        return false;
    const bool selfOrParent = name[1] == '\0' || (name[1] == '.' && name[2] == '\0');
    return selfOrParent || dots == DotNames::Skip;
}

// What one read collects: the files that match (when files is set) and the subfolders (when
// folders is set).
struct Wanted
{
    const NamePattern *files = nullptr;
    bool folders = false;
    DotNames dots = DotNames::Skip;
};

struct Collected
{
    SortBuffer files;
    SortBuffer folders;
};

// The entries of an open folder straight from the kernel, a buffer at a time: no directory
// stream, so a folder costs its open, its reads and its close and nothing more. A read that
// fails ends the listing.
class EntryReader
{
public:
    explicit EntryReader(int dirFd) : m_fd(dirFd) {}

    const dirent64 *next()
    {
        if (m_at >= m_size) {
            const ssize_t got = ::getdents64(m_fd, m_buffer, sizeof m_buffer);
            if (got <= 0)
                return nullptr;
            m_size = size_t(got);
            m_at = 0;
        }
        const auto *entry = reinterpret_cast<const dirent64 *>(m_buffer + m_at);
        m_at += entry->d_reclen;
        return entry;
    }

private:
    int m_fd;
    size_t m_at = 0;
    size_t m_size = 0;
    alignas(dirent64) char m_buffer[32 * 1024];
};

// Reads the open folder dirFd whole; closes it.
void readOpen(int dirFd, const Wanted &wanted, FolderWatch *watch, Collected &out)
{
    EntryReader reader(dirFd);
    while (const dirent64 *entry = reader.next()) {
        if (isDotName(entry->d_name, wanted.dots))
            continue;
        // What a link leads to can change without any change of this folder.
        if (watch && (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN))
            watch->distrust();
        const Kind kind = kindOf(dirFd, entry);
        if (kind == Kind::File && wanted.files) {
            QString name = PathCodec::decode(entry->d_name, qsizetype(std::strlen(entry->d_name)));
            if (wanted.files->matches(name))
                out.files.add(std::move(name), entry->d_name);
        } else if (kind == Kind::Folder && wanted.folders) {
            out.folders.add(PathCodec::decode(entry->d_name, qsizetype(std::strlen(entry->d_name))),
                            entry->d_name);
        }
    }
    ::close(dirFd);
}

int openStream(const QString &folder)
{
    return folder.isEmpty() ? -1 : openFolder(PathCodec::encode(folder));
}

QStringList read(const QString &folder, const Wanted &wanted, FolderWatch *watch)
{
    const int dirFd = openStream(folder);
    if (dirFd < 0) {
        if (watch) // a folder that cannot be read now may be readable next time
            watch->distrust();
        return QStringList();
    }
    if (watch)
        watch->begin(folder, dirFd);
    Collected collected;
    readOpen(dirFd, wanted, watch, collected);
    return wanted.files ? collected.files.sorted() : collected.folders.sorted();
}
} // namespace

namespace FolderReader {

QStringList fileNames(const QString &folder, const NamePattern &pattern, FolderWatch *watch)
{
    return read(folder, Wanted{&pattern, false, DotNames::Skip}, watch);
}

QStringList folderNames(const QString &folder, FolderWatch *watch)
{
    return read(folder, Wanted{nullptr, true, DotNames::Skip}, watch);
}

FolderEntries entries(const QString &folder, const NamePattern &filePattern, DotNames dots,
                      const std::function<bool(const FolderId &)> &enter)
{
    FolderEntries result;
    const int dirFd = openStream(folder);
    if (dirFd < 0)
        return result;
    struct stat info;
    if (::fstat(dirFd, &info) != 0) {
        ::close(dirFd);
        return result;
    }
    result.opened = true;
    result.id = FolderId{quint64(info.st_dev), quint64(info.st_ino)};
    if (enter && !enter(result.id)) {
        ::close(dirFd);
        return result;
    }
    result.read = true;
    Collected collected;
    readOpen(dirFd, Wanted{&filePattern, true, dots}, nullptr, collected);
    result.files = collected.files.sorted();
    result.folders = collected.folders.sorted();
    return result;
}

void sortNames(QStringList &names)
{
    SortBuffer buffer;
    for (QString &name : names) {
        const QByteArray utf8 = name.toUtf8();
        buffer.add(std::move(name), std::string_view(utf8.constData(), size_t(utf8.size())));
    }
    names = buffer.sorted();
}

} // namespace FolderReader
