#include "platform/FileErrors.h"

#include <cerrno>

namespace FileErrors {

int fromErrno(int err)
{
    switch (err) {
    case 0:
        return None;
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return PathNotFound;
    case EEXIST:
        return FileAlreadyExists;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return DiskFull;
    case EIO:
        return DeviceIo;
    case ENXIO:
    case ENODEV:
    // A drive without its disk (an empty card reader or optical drive).
    case ENOMEDIUM:
        return DeviceUnavailable;
    case EBUSY:
    case ETXTBSY:
        return PermissionDenied;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ENOTEMPTY:
        return PathFileAccess;
    default:
        return Other;
    }
}

} // namespace FileErrors
