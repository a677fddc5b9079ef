#pragma once

#include <QString>

// Single-file operations with the program's error numbers (FileErrors); 0 is success.
class FileServices
{
public:
    virtual ~FileServices() = default;

    // Copies source to target, replacing an existing target. The data goes to a temporary file
    // beside the target that is renamed over it only when complete, so a failure never harms
    // an existing target. A target that is the source itself (same device and inode) is 70.
    virtual int copyFile(const QString &source, const QString &target) = 0;
    // Renames a file or folder; never replaces an existing name (58).
    virtual int rename(const QString &from, const QString &to) = 0;
    // Creates one folder; its parent must exist (76), an existing name is 75.
    virtual int makeFolder(const QString &path) = 0;
    // Removes one empty folder; a folder that holds anything is 75.
    virtual int removeFolder(const QString &path) = 0;
    virtual bool exists(const QString &path) = 0;
    // Length in bytes, or -1 when the file cannot be found.
    virtual qint64 length(const QString &path) = 0;
};
