#pragma once

#include <QString>

// The desktop's trash. A file either moves there or stays where it is: nothing is ever
// deleted permanently.
class Trash
{
public:
    virtual ~Trash() = default;
    // True when the file is now in the trash; false when it was refused and left in place.
    virtual bool moveToTrash(const QString &path) = 0;
};
