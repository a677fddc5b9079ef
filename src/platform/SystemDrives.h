#pragma once

#include "platform/Drives.h"

class SystemDrives : public Drives
{
public:
    QList<Drive> drives() override;
    DriveFolder currentFolderOf(const QString &root) override;
};
