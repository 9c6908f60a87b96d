#include "core/common/DurableFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "core/common/FileSystemError.h"
#include "core/common/ReplacementFile.h"

namespace kest {

void SyncFile(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw FileSystemError(errno);
    int rc = fsync(fd);
    int error = errno;
    close(fd);
    if (rc != 0) throw FileSystemError(error);
}

void CopyFileDurably(const std::string& from, const std::string& to) {
    ReplacementFile copy(to);
    copy.CopyFrom(from);
    copy.Replace();
}

}  // namespace kest
