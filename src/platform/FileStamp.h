#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

struct stat;

// What tells one state of a file from another without reading it: which file the name leads
// to, its size, and its modification and status-change times to the nanosecond.
//
// Two writes within one tick of the file clock can leave a file with the same size and times
// (and a program may set the modification time back), so equal stamps prove nothing while the
// last change is that recent: `recent` says so, and such a file has to be read to be sure. The
// status-change time cannot be set by a program, and every later change moves it past a
// clock reading taken before the stamp, so once the file is older than that, any change shows.
struct FileStamp
{
    bool exists = false;
    // The name itself is a symbolic link; the rest describes the file it leads to.
    bool link = false;
    bool folder = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    // The last change came so shortly before the stamp was taken that another one could still
    // leave every field above as it is. Not part of the comparison.
    bool recent = false;

    bool operator==(const FileStamp &other) const;
    bool operator!=(const FileStamp &other) const { return !(*this == other); }
    // Whether other is the same file, reached the same way (through a link or not), with the
    // same size and modification time: what tells a file changed by another program from
    // the one read, when its status alone may change (a new name, a new mode).
    bool sameContentsAs(const FileStamp &other) const;

    // The stamp of the file path names (through the path codec; a link is followed). A missing
    // file gives a stamp with exists false; nothing when the system cannot tell (no permission
    // to look in a folder, an I/O error).
    static std::optional<FileStamp> of(const QString &path);
    // The stamp of an open file's status (fstat), not reached through a link.
    static FileStamp of(const struct stat &status);
};
