#include "core/common/ReadAt.h"

#include <unistd.h>

#include <cerrno>

namespace kest {

ssize_t ReadAt(int fd, void* buffer, size_t count, uint64_t offset) {
    auto* bytes = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < count) {
        ssize_t got = ::pread(fd, bytes + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        done += static_cast<size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

}  // namespace kest
