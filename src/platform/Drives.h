#pragma once

#include <QList>
#include <QString>

struct Drive
{
    QString root;  // "/" or the mount point
    QString label; // the volume's label, may be empty
    // What a drive list shows: the root, then the label in brackets when there is one.
    QString displayText() const { return label.isEmpty() ? root : root + QStringLiteral("  [") + label + QLatin1Char(']'); }
    bool operator==(const Drive &) const = default;
};

struct DriveFolder
{
    QString path; // the folder to open on that drive; empty on failure
    int error = 0; // a FileErrors number, 0 when the folder can be opened
};

class Drives
{
public:
    virtual ~Drives() = default;
    // "/" first, then the mounted volumes on block devices.
    virtual QList<Drive> drives() = 0;
    // The folder a drive opens at: the program's current folder when it lies on that drive,
    // else the drive's root; with the error number when it cannot be opened.
    virtual DriveFolder currentFolderOf(const QString &root) = 0;
};
