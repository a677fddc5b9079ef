#pragma once

#include "platform/Drives.h"

#include <QStringList>

class SystemDrives : public Drives
{
public:
    QList<Drive> drives() override;
    DriveFolder currentFolderOf(const QString &root) override;
    // The roots of drives(), as they are mounted now.
    QStringList driveRoots();
};
