#pragma once

#include <QByteArray>

#include <sys/stat.h>
#include <sys/types.h>

// Paths longer than the system takes in one call (PATH_MAX, 4,096 bytes). A deep search finds
// files far below that, and every road that opens a path from a listing goes through here.
namespace LongPath {

// Opens path as ::open(path, flags, mode) does. A path too long for one call is reached a piece
// at a time: each piece, shorter than PATH_MAX and cut at a "/", is opened relative to the
// folder the last one reached, and the last piece with flags. Links on the way are followed as
// the system follows them in one call. -1 with errno set when it fails.
int open(const QByteArray &path, int flags, mode_t mode = 0);

// ::stat (links followed), also for a path too long for one call. 0, or -1 with errno set.
int stat(const QByteArray &path, struct stat &info);

} // namespace LongPath
