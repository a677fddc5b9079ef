#pragma once

#include <QString>

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
    // missing; 75: a write-protected target or destination folder (owner-write bit, also for
    // root), a target or source that is a folder, pipe or device; 61: the disk is full.
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
};
