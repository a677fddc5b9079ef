#pragma once

#include "platform/FileServices.h"

#include <QByteArray>

#include <functional>

// The named steps of a write, for tests that cut a save short where a crash could: the hook
// is called at each ("temporary-written", "backup-made", "backed-up", "writing", "written").
using WriteSteps = std::function<void(const char *step)>;

// The parts of a file write that the file services share: pieces onto a descriptor, and the
// write in place that keeps a backup of the old contents until the new ones are on disk.
namespace FileWriting {

// Writes every piece to fd from offset 0 on; written gets their length. 0, or the errno value
// (ECANCELED: the pieces could not be made).
int writePieces(int fd, const FilePieces &pieces, qint64 &written, const WriteSteps &steps);

// Syncs a folder, so that a name just made or renamed in it is on disk too; failures pass.
void syncFolder(const QByteArray &folder);

// Where the backups of files written in place go: $XDG_CACHE_HOME/Panoptra, or
// ~/.cache/Panoptra where XDG_CACHE_HOME is not set or is no absolute path.
QByteArray backupFolder();

// Overwrites the existing regular file at path with pieces, keeping its inode, names, owner,
// mode and attributes. Its old contents go first, whole and synced, to a backup in
// backupFolder(); then the room for the new ones is taken (so a full disk changes nothing),
// they are written, the file cut to their length and synced, and the backup removed. A
// failure on the way puts the old contents back from the backup; only when that fails too is
// the backup kept, and named in the result. noFollow: a link at path is refused, and so is a
// file with more names.
WriteResult writeInPlace(const QByteArray &path, const FilePieces &pieces, bool noFollow, const WriteSteps &steps);

} // namespace FileWriting
