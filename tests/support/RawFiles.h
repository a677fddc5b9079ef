#pragma once

#include <QByteArray>

#include <sys/types.h>

// Files named by the bytes the system takes, for names that are not UTF-8 (QFile would write
// or read the file of another name).
namespace RawFiles {

// Creates a new file holding contents; false when it exists already or cannot be written.
bool write(const QByteArray &path, const QByteArray &contents, mode_t mode = 0644);
// The first 4 KiB of the file; empty when it cannot be read.
QByteArray read(const QByteArray &path);

} // namespace RawFiles
