#include "core/common/FileSystemError.h"

#include <cerrno>
#include <cstring>

#include "core/common/Errors.h"

namespace kest {

KestError FileSystemError(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
            return err::NoSuchFile();
        case EACCES:
        case EPERM:
            return err::PermissionDenied();
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return err::PathNotFound();
        case ENOSPC:
        case EDQUOT:
            return err::NoSpace();
        case EMFILE:
        case ENFILE:
            return err::TooManyFiles();
        case ENOMEDIUM:
        case ENXIO:
        case ENODEV:
            return err::DiskNotReady();
        case EIO:
            return err::DeviceIo();
        default:
            return err::PathFileAccess(std::strerror(errorNumber));
    }
}

}  // namespace kest
