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
enum class Kind { File, Folder };

bool isKind(int dirFd, const dirent *entry, Kind kind)
{
    const unsigned char type = entry->d_type;
    if (type != DT_UNKNOWN && type != DT_LNK)
        return kind == Kind::File ? type == DT_REG : type == DT_DIR;
    // The file system does not say, or it is a link: look at what it leads to.
    struct stat info;
    if (::fstatat(dirFd, entry->d_name, &info, 0) != 0)
        return false;
    return kind == Kind::File ? S_ISREG(info.st_mode) : S_ISDIR(info.st_mode);
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

template <typename Accept>
QStringList read(const QString &folder, Kind kind, FolderWatch *watch, Accept accept)
{
    const int dirFd = folder.isEmpty()
        ? -1 : ::open(PathCodec::encode(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *dir = dirFd >= 0 ? ::fdopendir(dirFd) : nullptr;
    if (!dir) {
        if (dirFd >= 0)
            ::close(dirFd);
        if (watch) // a folder that cannot be read now may be readable next time
            watch->distrust();
        return QStringList();
    }
    if (watch)
        watch->begin(folder, dirFd);
    SortBuffer buffer;
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        // What a link leads to can change without any change of this folder.
        if (watch && (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN))
            watch->distrust();
        if (!isKind(dirFd, entry, kind))
            continue;
        QString name = PathCodec::decode(entry->d_name, qsizetype(std::strlen(entry->d_name)));
        if (accept(name))
            buffer.add(std::move(name), entry->d_name);
    }
    ::closedir(dir);
    return buffer.sorted();
}
} // namespace

namespace FolderReader {

QStringList fileNames(const QString &folder, const NamePattern &pattern, FolderWatch *watch)
{
    return read(folder, Kind::File, watch, [&pattern](const QString &name) { return pattern.matches(name); });
}

QStringList folderNames(const QString &folder, FolderWatch *watch)
{
    return read(folder, Kind::Folder, watch, [](const QString &) { return true; });
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
