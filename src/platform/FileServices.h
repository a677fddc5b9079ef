#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
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

// Single-file operations with the program's error numbers (FileErrors); 0 is success.
class FileServices
{
public:
    virtual ~FileServices() = default;

    // Copies source to target, replacing an existing target. The data goes to a temporary
    // dot-file beside the target that is renamed over it only when complete, so a failure never
    // harms an existing target; mode bits and modification time come from the source.
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
    // failure leaves the old file whole; a link is written where it points, and an existing
    // file keeps its mode. Who may write is judged by what this user may do (as root: the
    // owner-write bit). Where the folder takes no new file but the file itself may be written,
    // the file is overwritten in place (room for the data taken first, so a full disk changes
    // nothing; only a write failing midway leaves it part old, part new). 76: the folder is
    // missing; 75: a write-protected file or folder, a target that is a folder, pipe or
    // device; 61: full.
    virtual int writeFile(const QString &path, const QByteArray &data) = 0;
    // As writeFile, but path gets a file of its own: a link there is replaced by the new file,
    // never followed, so what it points to stays as it was. Overwriting in place is only done
    // for a file that is no link and has no other name.
    virtual int replaceFile(const QString &path, const QByteArray &data) = 0;
    // True when both paths name the same file (device and inode, links followed); false when
    // either cannot be found.
    virtual bool isSameFile(const QString &a, const QString &b) = 0;
};
