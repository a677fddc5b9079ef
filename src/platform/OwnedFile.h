#pragma once

#include <QByteArray>
#include <QString>

// A file reached through OwnedPath (links followed only within their owner's files), read whole
// or replaced in one step. For a file of settings that a program run by root may find in another
// user's folder: what it writes there stays that user's, and it never writes anywhere else.
namespace OwnedFile {

struct Contents
{
    enum class Status { Read, Missing, Refused, Failed };
    Status status = Status::Failed;
    QByteArray data;
    // Failed because the file is longer than the reader accepts.
    bool tooLarge = false;
};

enum class Written { Done, Refused, Failed };

// Reads the whole regular file at path, of at most maxSize bytes (a pipe or device is Failed,
// opened without waiting). A missing file or folder is Missing. Where the file holds the same
// bytes as known, data is known itself (compared as it is read, not kept a second time).
Contents read(const QString &path, qint64 maxSize, const QByteArray *known = nullptr);

// Replaces the file's contents by data, or makes the file (and the folders missing on its way).
// The data goes to a temporary dot-file beside the file, which is put on disk and renamed over
// it only when complete, so a failure (a full disk) leaves the old file whole. The file keeps
// its mode, its owner and its group (written by root, too); a new file gets the mode the
// file-creation mask gives and, where root makes it in another user's folder, the folder's
// owner and group. Where the folder takes no new file, a file of the folder's owner with no
// other name is overwritten in place (room taken first, so a full disk changes nothing).
//
// Temporary files of an earlier write of the same file that was stopped midway (a program
// killed) are removed first: call it only while holding the file's lock (LockFile), so that no
// other write of it is under way.
Written write(const QString &path, const QByteArray &data);

} // namespace OwnedFile
