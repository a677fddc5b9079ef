#pragma once

#include "platform/Trash.h"

class FreedesktopTrash : public Trash
{
public:
    bool moveToTrash(const QString &path) override;
};
