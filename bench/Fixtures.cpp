#include "Fixtures.h"

#include <QDir>
#include <QFile>

#include <array>
#include <cerrno>
#include <cstring>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::array<const char *, 16> words = {
    "Report", "photo", "INVOICE", "notes", "Backup", "letter", "Draft", "summary",
    "IMG", "scan", "Budget", "todo", "Readme", "minutes", "Contract", "song"};

constexpr std::array<const char *, Fixtures::matchEvery> extensions = {
    ".txt", ".jpg", ".htm", ".log", ".zip", ".exe", ".bmp", ".doc", ".mp3", ".c"};

QString errnoText(const QString &what, const QString &path)
{
    return QStringLiteral("%1 %2: %3").arg(what, path, QString::fromLocal8Bit(std::strerror(errno)));
}

// Makes the folder (and its parents); "" or what went wrong.
QString makePath(const QString &path)
{
    if (QDir().mkpath(path))
        return QString();
    return QStringLiteral("cannot create %1").arg(path);
}

QString createEmptyFile(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return errnoText(QStringLiteral("cannot create"), QFile::decodeName(path));
    ::close(fd);
    return QString();
}

QString createFolder(const QByteArray &path)
{
    if (::mkdir(path.constData(), 0755) != 0 && errno != EEXIST)
        return errnoText(QStringLiteral("cannot create"), QFile::decodeName(path));
    return QString();
}

// Writes data as the whole of a new file at path, on disk before any case runs.
QString writeWholeFile(const QString &path, const QByteArray &data)
{
    const QByteArray encoded = QFile::encodeName(path);
    const int fd = ::open(encoded.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return errnoText(QStringLiteral("cannot create"), path);
    for (qsizetype done = 0; done < data.size();) {
        const ssize_t put = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            const QString error = errnoText(QStringLiteral("cannot write"), path);
            ::close(fd);
            return error;
        }
        done += put;
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0)
        return errnoText(QStringLiteral("cannot write"), path);
    return QString();
}

} // namespace

Fixtures::Fixtures(const QString &root)
    : m_root(root)
{
}

QString Fixtures::manyFiles() const
{
    return m_root + QStringLiteral("/files100k");
}

QString Fixtures::manyFolders() const
{
    return m_root + QStringLiteral("/folders10k");
}

QString Fixtures::bigFile() const
{
    return m_root + QStringLiteral("/big/source.bin");
}

QString Fixtures::copyFolder() const
{
    return m_root + QStringLiteral("/copies");
}

QString Fixtures::emptyFolder() const
{
    return m_root + QStringLiteral("/empty");
}

QString Fixtures::searchTree() const
{
    return m_root + QStringLiteral("/tree");
}

QString Fixtures::flatFolder() const
{
    return m_root + QStringLiteral("/flat1m");
}

QString Fixtures::entryName(int i, int count)
{
    // i * 37117 mod count runs through 0..count-1 once for the counts used here (37117 shares
    // no factor with 10^n), so the numbers are unique and their order is not i's.
    const qint64 shuffled = qint64(i) * 37117 % count;
    const int digits = int(QString::number(count - 1).size());
    QString name = QString::fromLatin1(words[size_t(shuffled) % words.size()]) + QLatin1Char('_')
        + QStringLiteral("%1").arg(shuffled, digits, 10, QLatin1Char('0'));
    return name;
}

QString Fixtures::makeManyFiles() const
{
    if (ready(QStringLiteral("files")))
        return QString();
    if (const QString error = makePath(manyFiles()); !error.isEmpty())
        return error;
    const QByteArray folder = QFile::encodeName(manyFiles()) + '/';
    for (int i = 0; i < manyFilesCount; ++i) {
        QString name = entryName(i, manyFilesCount) + QLatin1String(extensions[size_t(i) % extensions.size()]);
        if (i % matchEvery == 0 && (i / matchEvery) % 2)
            name = name.left(name.size() - 4) + QStringLiteral(".TXT");
        if (const QString error = createEmptyFile(folder + QFile::encodeName(name)); !error.isEmpty())
            return error;
    }
    // What a file list must leave out: folders (one even named like a match) and dot-files.
    for (int i = 0; i < 100; ++i) {
        const QByteArray name = "Folder " + QByteArray::number(i) + (i == 0 ? ".txt" : "");
        if (const QString error = createFolder(folder + name); !error.isEmpty())
            return error;
    }
    for (const char *name : {".hidden.txt", ".profile", ".cache.txt"}) {
        if (const QString error = createEmptyFile(folder + name); !error.isEmpty())
            return error;
    }
    return markReady(QStringLiteral("files"));
}

QString Fixtures::makeManyFolders() const
{
    if (ready(QStringLiteral("folders")))
        return QString();
    if (const QString error = makePath(manyFolders()); !error.isEmpty())
        return error;
    const QByteArray folder = QFile::encodeName(manyFolders()) + '/';
    for (int i = 0; i < manyFoldersCount; ++i) {
        const QString name = entryName(i, manyFoldersCount);
        if (const QString error = createFolder(folder + QFile::encodeName(name)); !error.isEmpty())
            return error;
    }
    // A folder list shows folders only, and no dot-folders.
    for (const char *name : {"readme.txt", "notes.log", ".git"}) {
        const QByteArray path = folder + name;
        const QString error = name[0] == '.' ? createFolder(path) : createEmptyFile(path);
        if (!error.isEmpty())
            return error;
    }
    return markReady(QStringLiteral("folders"));
}

QString Fixtures::makeBigFile() const
{
    if (const QString error = makePath(copyFolder()); !error.isEmpty())
        return error;
    if (ready(QStringLiteral("big")))
        return QString();
    if (const QString error = makePath(m_root + QStringLiteral("/big")); !error.isEmpty())
        return error;
    const QByteArray path = QFile::encodeName(bigFile());
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return errnoText(QStringLiteral("cannot create"), bigFile());
    // Data that no filesystem can compress or leave as holes: a xorshift stream.
    constexpr size_t chunk = size_t(4) << 20;
    std::vector<quint64> buffer(chunk / sizeof(quint64));
    quint64 state = 0x9E3779B97F4A7C15ULL;
    for (qint64 written = 0; written < bigFileBytes; written += qint64(chunk)) {
        for (quint64 &word : buffer) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            word = state;
        }
        const char *data = reinterpret_cast<const char *>(buffer.data());
        for (size_t done = 0; done < chunk;) {
            const ssize_t put = ::write(fd, data + done, chunk - done);
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0) {
                const QString error = errnoText(QStringLiteral("cannot write"), bigFile());
                ::close(fd);
                return error;
            }
            done += size_t(put);
        }
    }
    // On disk before any case runs, so no case pays for writing the fixture back.
    if (::fsync(fd) != 0 || ::close(fd) != 0)
        return errnoText(QStringLiteral("cannot write"), bigFile());
    return markReady(QStringLiteral("big"));
}

QString Fixtures::makeEmptyFolder() const
{
    return makePath(emptyFolder());
}

QString Fixtures::makeSearchTree() const
{
    if (ready(QStringLiteral("tree")))
        return QString();
    if (const QString error = makePath(searchTree()); !error.isEmpty())
        return error;
    // Folders level by level; each file name numbered through the whole tree.
    std::vector<QByteArray> level{QFile::encodeName(searchTree())};
    constexpr int fileCount = 222220;
    int file = 0;
    for (int depth = 0; depth <= searchTreeDepth; ++depth) {
        std::vector<QByteArray> next;
        for (const QByteArray &folder : level) {
            for (int i = 0; i < searchTreeFiles; ++i, ++file) {
                QString name = entryName(file, fileCount) + QLatin1String(extensions[size_t(file) % extensions.size()]);
                if (name.endsWith(QLatin1String(".log")) && (file / matchEvery) % 2)
                    name = name.left(name.size() - 4) + QStringLiteral(".LOG");
                if (const QString error = createEmptyFile(folder + '/' + QFile::encodeName(name)); !error.isEmpty())
                    return error;
            }
            if (depth == searchTreeDepth)
                continue;
            for (int i = 0; i < searchTreeBranches; ++i) {
                const QByteArray sub = folder + '/' + QFile::encodeName(entryName(i, searchTreeBranches)) + "_dir";
                if (const QString error = createFolder(sub); !error.isEmpty())
                    return error;
                next.push_back(sub);
            }
        }
        level = std::move(next);
    }
    return markReady(QStringLiteral("tree"));
}

QString Fixtures::makeFlatFolder() const
{
    if (ready(QStringLiteral("flat")))
        return QString();
    if (const QString error = makePath(flatFolder()); !error.isEmpty())
        return error;
    const QByteArray folder = QFile::encodeName(flatFolder()) + '/';
    for (int i = 0; i < flatFilesCount; ++i) {
        const QString name = entryName(i, flatFilesCount) + QLatin1String(extensions[size_t(i) % extensions.size()]);
        if (const QString error = createEmptyFile(folder + QFile::encodeName(name)); !error.isEmpty())
            return error;
    }
    return markReady(QStringLiteral("flat"));
}

QString Fixtures::bigLog() const
{
    return m_root + QStringLiteral("/editor/server.log");
}

QString Fixtures::hexLine() const
{
    return m_root + QStringLiteral("/editor/hexline.txt");
}

QString Fixtures::makeBigLog() const
{
    if (ready(QStringLiteral("log")))
        return QString();
    if (const QString error = makePath(m_root + QStringLiteral("/editor")); !error.isEmpty())
        return error;
    static constexpr std::array<const char *, 4> levels = {"INFO ", "WARN ", "DEBUG", "ERROR"};
    QByteArray log;
    log.reserve(bigLogBytes + 200);
    quint32 state = 12345;
    for (int line = 0; log.size() < bigLogBytes; ++line) {
        state = state * 1103515245u + 12345u;
        const QByteArray ms = QByteArray::number((state >> 8) % 5000);
        log += "2026-12-" + QByteArray::number(10 + line % 20) + ' ' + QByteArray::number(10 + line / 3600 % 14) + ':'
               + QByteArray::number(10 + line / 60 % 50) + ':' + QByteArray::number(10 + line % 50) + '.'
               + QByteArray::number(100 + line % 900) + ' ' + levels[size_t(line) % levels.size()] + " [worker-"
               + QByteArray::number(line % 16) + "] service.module" + QByteArray::number(line % 37) + ": request "
               + QByteArray::number(line) + " handled in " + ms + " ms, status=200, user=user"
               + QByteArray::number(line % 977) + '\n';
    }
    if (const QString error = writeWholeFile(bigLog(), log); !error.isEmpty())
        return error;
    return markReady(QStringLiteral("log"));
}

QString Fixtures::hexLine(qint64 digits) const
{
    return m_root + QStringLiteral("/editor/hexline-%1.txt").arg(digits);
}

QString Fixtures::markLine() const
{
    return m_root + QStringLiteral("/editor/marks.txt");
}

QString Fixtures::manyLines() const
{
    return m_root + QStringLiteral("/editor/lines.txt");
}

QString Fixtures::makeHexLine() const
{
    if (ready(QStringLiteral("hex")))
        return QString();
    if (const QString error = makeHexFile(hexLine(), hexLineBytes); !error.isEmpty())
        return error;
    return markReady(QStringLiteral("hex"));
}

QString Fixtures::makeLongHexLines() const
{
    if (ready(QStringLiteral("long-hex")))
        return QString();
    for (const qint64 digits : {tenMegabyteLine, sixtyFourMebibyteLine}) {
        if (const QString error = makeHexFile(hexLine(digits), digits); !error.isEmpty())
            return error;
    }
    return markReady(QStringLiteral("long-hex"));
}

QString Fixtures::makeHexFile(const QString &path, qint64 digits) const
{
    if (const QString error = makePath(m_root + QStringLiteral("/editor")); !error.isEmpty())
        return error;
    QByteArray bytes(digits / 2, Qt::Uninitialized);
    quint32 state = 2463534242u;
    for (char &byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = char(state);
    }
    return writeWholeFile(path, bytes.toHex() + '\n');
}

QString Fixtures::makeMarkLine() const
{
    if (ready(QStringLiteral("marks")))
        return QString();
    if (const QString error = makePath(m_root + QStringLiteral("/editor")); !error.isEmpty())
        return error;
    QByteArray bytes("a");
    bytes.reserve(markRunLength * 2 + 2);
    // The marks U+0300..U+036F in turn.
    for (qint64 i = 0; i < markRunLength; ++i) {
        const int mark = 0x300 + int(i % 0x70);
        bytes += char(0xC0 | (mark >> 6));
        bytes += char(0x80 | (mark & 0x3F));
    }
    if (const QString error = writeWholeFile(markLine(), bytes + '\n'); !error.isEmpty())
        return error;
    return markReady(QStringLiteral("marks"));
}

QString Fixtures::makeManyLines() const
{
    if (ready(QStringLiteral("lines")))
        return QString();
    if (const QString error = makePath(m_root + QStringLiteral("/editor")); !error.isEmpty())
        return error;
    QByteArray bytes;
    bytes.reserve(manyLinesCount * 24);
    // The last line has no line end: the file holds as many lines as the editor takes.
    for (qint64 line = 0; line < manyLinesCount; ++line)
        bytes += QByteArray::number(line).rightJustified(7, '0') + " is a short line" + (line + 1 < manyLinesCount ? "\n" : "");
    if (const QString error = writeWholeFile(manyLines(), bytes); !error.isEmpty())
        return error;
    return markReady(QStringLiteral("lines"));
}

bool Fixtures::ready(const QString &what) const
{
    return QFile::exists(m_root + QStringLiteral("/.ready-") + what);
}

QString Fixtures::markReady(const QString &what) const
{
    return createEmptyFile(QFile::encodeName(m_root + QStringLiteral("/.ready-") + what));
}
