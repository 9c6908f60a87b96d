#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>

namespace kest {

// Reads count bytes at offset, going on after interruptions and short reads:
// the number read (fewer only where the file ends), or -1 with errno set on a
// read error.
ssize_t ReadAt(int fd, void* buffer, size_t count, uint64_t offset);

}  // namespace kest
