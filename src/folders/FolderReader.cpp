#include "folders/FolderReader.h"

#include "folders/FolderDescent.h"
#include "folders/FolderWatch.h"
#include "folders/NamePattern.h"
#include "platform/LongPath.h"
#include "platform/PathCodec.h"

#include <algorithm>
#include <cerrno>
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
using FolderReader::FolderId;

// Whether a link to a folder counts as a subfolder (the pane lists) or as neither file nor
// folder (the deep search, which stays inside the folder it was asked for).
enum class FolderLinks { Enter, Skip };

enum class Kind { File, Folder, Other };

Kind kindOf(int dirFd, const dirent64 *entry, FolderLinks links)
{
    unsigned char type = entry->d_type;
    struct stat info;
    if (type == DT_UNKNOWN) {
        // The file system does not say: ask it, without following a link yet.
        if (::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            return Kind::Other;
        type = IFTODT(info.st_mode);
    }
    if (type == DT_LNK) {
        // A link counts as what it leads to.
        if (::fstatat(dirFd, entry->d_name, &info, 0) != 0)
            return Kind::Other;
        if (S_ISREG(info.st_mode))
            return Kind::File;
        return S_ISDIR(info.st_mode) && links == FolderLinks::Enter ? Kind::Folder : Kind::Other;
    }
    return type == DT_REG ? Kind::File : (type == DT_DIR ? Kind::Folder : Kind::Other);
}

bool isAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

// Names with their sort keys: the case-folded name in UTF-8 (whose byte order is code point
// order; a byte of no UTF-8 stands for itself), all keys in one buffer, their first 16 bytes
// also held as two big-endian integers. Most comparisons are then two integer compares, which
// keeps a 100,000-name sort to a few milliseconds. The names stay the bytes the folder gave,
// in one buffer too, and are decoded only where a key needs it.
class SortBuffer
{
public:
    // name: raw decoded, where the caller has it already (a null string otherwise).
    void add(std::string_view raw, const QString &name = QString())
    {
        const size_t offset = m_keys.size();
        if (isAscii(raw)) {
            for (char c : raw)
                m_keys.push_back(c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c);
        } else {
            const QString decoded = name.isNull() ? decode(raw) : name;
            // Through the codec, not toUtf8(): a byte that is no UTF-8 keeps its own value
            // in the key, where toUtf8() would make "?" of some and U+FFFD of others.
            const QByteArray folded = PathCodec::encode(decoded.toCaseFolded());
            m_keys.append(folded.constData(), size_t(folded.size()));
        }
        Key key{{0, 0}, offset, quint32(m_keys.size() - offset), quint32(m_nameEnds.size())};
        // Names hold no NUL byte, so zero padding sorts a shorter key first, as it should.
        for (size_t i = 0; i < std::min(size_t(key.length), headBytes); ++i)
            key.head[i / 8] |= quint64(uchar(m_keys[offset + i])) << (56 - 8 * (i % 8));
        m_order.push_back(key);
        m_names.append(raw.data(), qsizetype(raw.size()));
        m_nameEnds.push_back(m_names.size());
    }

    // A subfolder with the id its listing saw: sortedStrings() gives the ids in the names' order.
    void addFolder(std::string_view raw, const FolderId &id)
    {
        add(raw);
        m_ids.push_back(id);
    }

    FileNames sorted()
    {
        sort();
        QByteArray bytes(m_names.size(), Qt::Uninitialized);
        std::vector<qsizetype> ends;
        ends.reserve(m_order.size());
        qsizetype end = 0;
        for (const Key &key : m_order) {
            const std::string_view name = nameOf(key);
            std::memcpy(bytes.data() + end, name.data(), name.size());
            end += qsizetype(name.size());
            ends.push_back(end);
        }
        return FileNames(std::move(bytes), std::move(ends));
    }

    QStringList sortedStrings(QList<FolderId> *ids = nullptr)
    {
        sort();
        QStringList result;
        result.reserve(qsizetype(m_order.size()));
        if (ids)
            ids->reserve(qsizetype(m_order.size()));
        for (const Key &key : m_order) {
            result.append(decode(nameOf(key)));
            if (ids)
                ids->append(m_ids[key.name]);
        }
        return result;
    }

private:
    struct Key
    {
        quint64 head[2];
        size_t offset;
        quint32 length;
        quint32 name;
    };
    static constexpr size_t headBytes = sizeof(Key::head);

    static QString decode(std::string_view raw) { return PathCodec::decode(raw.data(), qsizetype(raw.size())); }

    std::string_view nameOf(const Key &key) const
    {
        const qsizetype start = key.name == 0 ? 0 : m_nameEnds[key.name - 1];
        return std::string_view(m_names.constData() + start, size_t(m_nameEnds[key.name] - start));
    }

    int compare(const Key &a, const Key &b) const
    {
        for (int i = 0; i < 2; ++i) {
            if (a.head[i] != b.head[i])
                return a.head[i] < b.head[i] ? -1 : 1;
        }
        if (a.length > headBytes && b.length > headBytes) {
            const std::string_view restA(m_keys.data() + a.offset + headBytes, a.length - headBytes);
            const std::string_view restB(m_keys.data() + b.offset + headBytes, b.length - headBytes);
            return restA.compare(restB);
        }
        return a.length == b.length ? 0 : (a.length < b.length ? -1 : 1);
    }

    void sort()
    {
        std::sort(m_order.begin(), m_order.end(), [this](const Key &a, const Key &b) {
            const int byKey = compare(a, b);
            if (byKey != 0)
                return byKey < 0;
            // Only names that differ in case alone come here.
            return decode(nameOf(a)) < decode(nameOf(b));
        });
    }

    std::string m_keys;
    std::vector<Key> m_order;
    QByteArray m_names;
    std::vector<qsizetype> m_nameEnds;
    std::vector<FolderId> m_ids;
};

bool isDotName(const char *name, DotNames dots)
{
    if (name[0] != '.')
        return false;
    const bool selfOrParent = name[1] == '\0' || (name[1] == '.' && name[2] == '\0');
    return selfOrParent || dots == DotNames::Skip;
}

// The entries of an open folder straight from the kernel, a buffer at a time: no directory
// stream, so a folder costs its open, its reads and its close and nothing more. A read that
// fails ends the listing, which is then short (failed()).
class EntryReader
{
public:
    explicit EntryReader(int dirFd) : m_fd(dirFd) {}

    const dirent64 *next()
    {
        if (m_at >= m_size) {
            ssize_t got;
            do {
                got = ::getdents64(m_fd, m_buffer, sizeof m_buffer);
            } while (got < 0 && errno == EINTR);
            if (got < 0)
                m_failed = true;
            if (got <= 0)
                return nullptr;
            m_size = size_t(got);
            m_at = 0;
        }
        const auto *entry = reinterpret_cast<const dirent64 *>(m_buffer + m_at);
        m_at += entry->d_reclen;
        return entry;
    }

    // A read failed (an I/O error, the folder removed meanwhile): entries may be missing.
    bool failed() const { return m_failed; }

private:
    int m_fd;
    bool m_failed = false;
    size_t m_at = 0;
    size_t m_size = 0;
    alignas(dirent64) char m_buffer[32 * 1024];
};

int openStream(const QString &folder)
{
    return folder.isEmpty() ? -1 : LongPath::open(PathCodec::encode(folder), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// Gives take the name (as the folder stores it) and kind of each file and subfolder of the open
// folder dirFd, which stays open. A listing cut short by a failed read is not kept up to date by
// the watch: the next look reads again.
template <typename Take>
void readOpen(int dirFd, DotNames dots, FolderLinks links, FolderWatch *watch, Take take)
{
    EntryReader reader(dirFd);
    while (const dirent64 *entry = reader.next()) {
        if (isDotName(entry->d_name, dots))
            continue;
        // What a link leads to can change without any change of this folder.
        if (watch && (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN))
            watch->distrust();
        const Kind kind = kindOf(dirFd, entry, links);
        if (kind != Kind::Other)
            take(std::string_view(entry->d_name, std::strlen(entry->d_name)), kind);
    }
    if (watch && reader.failed())
        watch->distrust();
}

// The same for folder open as dirFd (or not opened: -1), with the watch started on it as it is read.
template <typename Take>
void readFolder(const QString &folder, int dirFd, FolderWatch *watch, Take take)
{
    if (dirFd < 0) {
        if (watch) // a folder that cannot be read now may be readable next time
            watch->distrust();
        return;
    }
    if (watch)
        watch->begin(folder, dirFd);
    readOpen(dirFd, DotNames::Skip, FolderLinks::Enter, watch, take);
    ::close(dirFd);
}

template <typename Take>
void read(const QString &folder, FolderWatch *watch, Take take)
{
    readFolder(folder, openStream(folder), watch, take);
}

// Adds a file to buffer when its name matches pattern; decodes only where the pattern must see it.
void addMatching(SortBuffer &buffer, std::string_view raw, const NamePattern &pattern)
{
    if (pattern.matchesEverything()) {
        buffer.add(raw);
        return;
    }
    const QString name = PathCodec::decode(raw.data(), qsizetype(raw.size()));
    if (pattern.matches(name))
        buffer.add(raw, name);
}
} // namespace

namespace FolderReader {

FileNames fileNames(const QString &folder, const NamePattern &pattern, FolderWatch *watch)
{
    SortBuffer buffer;
    read(folder, watch, [&](std::string_view raw, Kind kind) {
        if (kind == Kind::File)
            addMatching(buffer, raw, pattern);
    });
    return buffer.sorted();
}

QStringList folderNames(const QString &folder, FolderWatch *watch)
{
    SortBuffer buffer;
    read(folder, watch, [&](std::string_view raw, Kind kind) {
        if (kind == Kind::Folder)
            buffer.add(raw);
    });
    return buffer.sortedStrings();
}

Contents contents(const QString &folder, FolderWatch *watch)
{
    return contents(folder, openStream(folder), watch);
}

Contents contents(const QString &folder, int dirFd, FolderWatch *watch)
{
    SortBuffer files;
    SortBuffer folders;
    readFolder(folder, dirFd, watch, [&](std::string_view raw, Kind kind) {
        (kind == Kind::File ? files : folders).add(raw);
    });
    return Contents{files.sorted(), folders.sortedStrings()};
}

FolderEntries entries(FolderDescent &descent, const DescentFolder &folder, const NamePattern &filePattern,
                      DotNames dots, const std::function<bool(const FolderId &)> &enter)
{
    FolderEntries result;
    // The descent's own descriptor: it stays open for the subfolders.
    const int dirFd = descent.open(folder);
    if (dirFd < 0)
        return result;
    struct stat info;
    if (::fstat(dirFd, &info) != 0)
        return result;
    result.opened = true;
    result.id = FolderId{quint64(info.st_dev), quint64(info.st_ino)};
    if (enter && !enter(result.id))
        return result;
    result.read = true;
    SortBuffer files;
    SortBuffer folders;
    readOpen(dirFd, dots, FolderLinks::Skip, nullptr, [&](std::string_view raw, Kind kind) {
        if (kind == Kind::File) {
            addMatching(files, raw, filePattern);
            return;
        }
        // What the descent checks the subfolder against when the walk enters it. Names hold no
        // NUL byte, and raw ends where the entry's name does.
        struct stat sub;
        const bool looked = ::fstatat(dirFd, raw.data(), &sub, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(sub.st_mode);
        folders.addFolder(raw, looked ? FolderId{quint64(sub.st_dev), quint64(sub.st_ino)} : FolderId());
    });
    result.files = files.sortedStrings();
    result.folders = folders.sortedStrings(&result.folderIds);
    return result;
}

void sortNames(QStringList &names)
{
    SortBuffer buffer;
    for (const QString &name : names) {
        const QByteArray raw = PathCodec::encode(name);
        buffer.add(std::string_view(raw.constData(), size_t(raw.size())), name);
    }
    names = buffer.sortedStrings();
}

} // namespace FolderReader
