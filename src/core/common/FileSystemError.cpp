#include "core/common/FileSystemError.h"

#include <cerrno>
#include <cstring>

namespace kest {

KestError FileSystemError(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
            return KestError(53, "File not found");
        case EACCES:
        case EPERM:
            return KestError(70, "Permission denied");
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return KestError(76, "Path not found");
        case ENOSPC:
        case EDQUOT:
            return KestError(61, "Disk full");
        case EMFILE:
        case ENFILE:
            return KestError(67, "Too many files");
        case ENOMEDIUM:
        case ENXIO:
        case ENODEV:
            return KestError(71, "Disk not ready");
        case EIO:
            return KestError(57, "Device I/O error");
        default:
            return KestError(
                75, std::string("Path/File access error (") + std::strerror(errorNumber) + ")");
    }
}

}  // namespace kest
