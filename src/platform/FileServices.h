#pragma once

#include "platform/FileErrors.h"
#include "platform/FileStamp.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

class FileReader;

// What reading a whole file gave: its bytes, or the error number (0 on success).
struct FileContents
{
    int error = 0;
    // The file is longer than the reader accepts; nothing was kept.
    bool tooLarge = false;
    QByteArray data;
};

// A file's new contents, handed over piece by piece, so that a writer needs no copy of them
// whole.
struct FilePieces
{
    // The whole length, asked only by a write that wants it beforehand (a file written in
    // place takes the room for it first, so a full disk changes nothing); none, or -1, when
    // not known.
    std::function<qint64()> size;
    // The next piece, valid until the next call; an empty piece once all are given; nothing
    // when the contents cannot be made after all (the write then fails, error 75, as one that
    // could not be done).
    std::function<std::optional<QByteArrayView>()> next;
};

// How writeFilePieces ended.
struct WriteResult
{
    int error = 0;
    // Where the old contents of a file written in place are kept, when the write failed midway
    // and they could not be put back; empty otherwise.
    QString backup;
    // The folder where no backup could be made, when that stopped a write in place before it
    // touched the file; empty otherwise.
    QString noBackupIn;
    // On success, the file as it was left (a link followed).
    std::optional<FileStamp> written;
};

// Single-file operations with the program's error numbers (FileErrors); 0 is success.
class FileServices
{
public:
    virtual ~FileServices() = default;

    // Copies source to target, replacing an existing target. The data goes to a temporary
    // dot-file beside the target that is renamed over it only when complete, so a failure never
    // harms an existing target; mode bits and modification time come from the source. A link
    // at target is written through when it is this user's, or its folder's owner's link to a
    // file of their own; any other link (one planted in /tmp) is replaced by the copy.
    // 70: the target is the source itself (same device and inode, also through a link);
    // 53: the source is missing from an existing folder; 76: a folder on either path is
    // missing; 75: a write-protected target or destination folder (what this user may do; as
    // root, the owner-write bit), a target or source that is a folder, pipe or device; 61: full.
    virtual int copyFile(const QString &source, const QString &target) = 0;
    // Renames a file or folder; never replaces an existing name of any kind (58).
    // 53: no source in an existing folder; 76: a missing folder; 75: a write-protected folder.
    virtual int rename(const QString &from, const QString &to) = 0;
    // Creates one folder; its parent must exist (76), an existing name (file or folder) is 75,
    // so is a write-protected parent.
    virtual int makeFolder(const QString &path) = 0;
    // Removes one empty folder; a folder that holds anything, "/", the root of a mounted
    // volume and a folder in a write-protected parent are 75; a missing folder is 76.
    virtual int removeFolder(const QString &path) = 0;
    // True when the name is taken (also by a link that leads nowhere).
    virtual bool exists(const QString &path) = 0;
    // Length in bytes, or -1 when the file cannot be found or is a folder.
    virtual qint64 length(const QString &path) = 0;

    // Reads a whole regular file of at most maxSize bytes. Folders, pipes and devices are 75
    // (opened without waiting, so a pipe cannot stall the program); a longer file is tooLarge.
    virtual FileContents readFile(const QString &path, qint64 maxSize) = 0;
    // Reads the file as readFile does, but hands its bytes to consume piece by piece as they are
    // read instead of keeping them (data stays empty); a piece is valid only during its call.
    // consume returns false to end the read there. By default the whole file is read first and
    // handed over as one piece.
    virtual FileContents readFileInPieces(const QString &path, qint64 maxSize,
                                          const std::function<bool(QByteArrayView)> &consume)
    {
        FileContents contents = readFile(path, maxSize);
        if (contents.error == 0 && !contents.tooLarge)
            consume(std::exchange(contents.data, QByteArray()));
        return contents;
    }
    // A reader of these files of its own, for a worker thread to keep: it reads as
    // readFileInPieces does, also after these services are gone.
    virtual std::shared_ptr<FileReader> reader() = 0;
    // Replaces the contents of path by data, or creates the file. As in copyFile, the data goes
    // to a temporary file beside the target that is renamed over it only when complete, so a
    // failure leaves the old file whole (and a temporary file that a write cut short left
    // there goes); a link is written where it points. An existing file keeps what makes it
    // itself: its mode, owner, group, access control list and extended attributes are given
    // to the new file before the rename. Where that cannot be (another user's file, an
    // attribute this user may not set), where the file has other names (hard links, which
    // then see the change too), or where the folder takes no new file, the file is written in
    // place instead: its old contents are first copied whole to a backup in the user's cache
    // folder, which goes once the new contents are on disk, or puts them back when the write
    // fails midway (only when that fails too does the backup stay, and WriteResult names it).
    // Who may write is judged by what this user may do (as root: the owner-write bit). 76: the
    // folder is missing; 75: a write-protected file or folder, a target that is a folder, pipe
    // or device; 61: full.
    virtual int writeFile(const QString &path, const QByteArray &data) = 0;
    // As writeFile, but path gets a file of its own: a link there is replaced by the new file,
    // never followed, so what it points to stays as it was, and a file with other names gets
    // a new one. Writing in place is only done for a file that is no link and has no other
    // name.
    virtual int replaceFile(const QString &path, const QByteArray &data) = 0;
    // What a write does with a link at its path: writeFile follows it, replaceFile replaces it.
    enum class LinkAtPath { Follow, Replace };
    // writeFile or replaceFile of contents given in pieces. By default they are gathered and
    // written whole.
    virtual WriteResult writeFilePieces(const QString &path, const FilePieces &pieces, LinkAtPath link)
    {
        QByteArray data;
        if (const qint64 size = pieces.size ? pieces.size() : -1; size > 0)
            data.reserve(qsizetype(size));
        for (std::optional<QByteArrayView> piece = pieces.next(); piece; piece = pieces.next()) {
            if (piece->isEmpty()) {
                WriteResult result;
                result.error = link == LinkAtPath::Follow ? writeFile(path, data) : replaceFile(path, data);
                if (result.error == 0)
                    result.written = FileStamp::of(path);
                return result;
            }
            data += *piece;
        }
        WriteResult failed;
        failed.error = FileErrors::PathFileAccess;
        return failed;
    }
    // True when both paths name the same file (device and inode, links followed); false when
    // either cannot be found.
    virtual bool isSameFile(const QString &a, const QString &b) = 0;
};
