#pragma once

#include <QtGlobal>

namespace FolderReader {

// Where a folder lives: the same id is the same folder, whatever path led to it.
struct FolderId
{
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FolderId &other) const = default;
};

} // namespace FolderReader
