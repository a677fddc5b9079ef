#pragma once

#include <QString>

// The error numbers that file work reports. Every command family maps some of them to
// message texts of its own and lets the others pass silently.
namespace FileErrors {

enum Number : int {
    None = 0,
    FileNotFound = 53,
    DeviceIo = 57,
    FileAlreadyExists = 58,
    DiskFull = 61,
    DeviceUnavailable = 68,
    PermissionDenied = 70,
    DiskNotReady = 71,
    PathFileAccess = 75,
    PathNotFound = 76,
    // A failure none of the numbers above describes; no message table lists it.
    Other = -1,
};

// The one table from errno to error number. Operations that can tell a missing source from a
// missing folder (53 against 76) decide that themselves before falling back on this table.
int fromErrno(int err);

} // namespace FileErrors
