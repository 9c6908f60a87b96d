#pragma once

#include <cstdint>

namespace kest::archive {

// A Unix time as the local MS-DOS date (high 16 bits) and time (low 16 bits);
// times outside 1980-2107 are clamped to the nearest representable one.
uint32_t UnixToLocalDosTime(int64_t unixTime);

}  // namespace kest::archive
