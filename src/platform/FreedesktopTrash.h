#pragma once

#include "platform/Trash.h"

#include <QByteArray>

#include <optional>
#include <sys/types.h>

class TrashFolder;

// The desktop trash as every freedesktop.org desktop and trash tool shares it: the home trash
// under $XDG_DATA_HOME for files of the home volume, and a trash in the top folder of any
// other volume. A file is only ever renamed into a trash on its own volume, never copied.
class FreedesktopTrash : public Trash
{
public:
    bool moveToTrash(const QString &path) override;

private:
    // The trash that takes files of the given volume, or none when that volume has no usable
    // one.
    static std::optional<TrashFolder> trashFor(const QByteArray &folder, dev_t volume);
};
