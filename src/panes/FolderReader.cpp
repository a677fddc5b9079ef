#include "panes/FolderReader.h"

#include "panes/FolderWatch.h"
#include "panes/NamePattern.h"
#include "platform/PathCodec.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
enum class Kind { File, Folder, Other };

Kind kindOf(int dirFd, const dirent *entry)
{
    unsigned char type = entry->d_type;
    if (type == DT_UNKNOWN || type == DT_LNK) {
        // The file system does not say, or it is a link: look at what it leads to.
        struct stat info;
        if (::fstatat(dirFd, entry->d_name, &info, 0) != 0)
            return Kind::Other;
        type = S_ISREG(info.st_mode) ? DT_REG : (S_ISDIR(info.st_mode) ? DT_DIR : DT_UNKNOWN);
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

    QStringList sortedStrings()
    {
        sort();
        QStringList result;
        result.reserve(qsizetype(m_order.size()));
        for (const Key &key : m_order)
            result.append(decode(nameOf(key)));
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
};

// Gives take the name (as the folder stores it) and kind of each file and subfolder of folder.
template <typename Take>
void read(const QString &folder, FolderWatch *watch, Take take)
{
    const int dirFd = folder.isEmpty()
        ? -1 : ::open(PathCodec::encode(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *dir = dirFd >= 0 ? ::fdopendir(dirFd) : nullptr;
    if (!dir) {
        if (dirFd >= 0)
            ::close(dirFd);
        if (watch) // a folder that cannot be read now may be readable next time
            watch->distrust();
        return;
    }
    if (watch)
        watch->begin(folder, dirFd);
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        // What a link leads to can change without any change of this folder.
        if (watch && (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN))
            watch->distrust();
        const Kind kind = kindOf(dirFd, entry);
        if (kind != Kind::Other)
            take(std::string_view(entry->d_name, std::strlen(entry->d_name)), kind);
    }
    ::closedir(dir);
}
} // namespace

namespace FolderReader {

FileNames fileNames(const QString &folder, const NamePattern &pattern, FolderWatch *watch)
{
    SortBuffer buffer;
    read(folder, watch, [&](std::string_view raw, Kind kind) {
        if (kind != Kind::File)
            return;
        if (pattern.matchesEverything()) {
            buffer.add(raw);
            return;
        }
        const QString name = PathCodec::decode(raw.data(), qsizetype(raw.size()));
        if (pattern.matches(name))
            buffer.add(raw, name);
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
    SortBuffer files;
    SortBuffer folders;
    read(folder, watch, [&](std::string_view raw, Kind kind) {
        (kind == Kind::File ? files : folders).add(raw);
    });
    return Contents{files.sorted(), folders.sortedStrings()};
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
