#pragma once

#include <cstdint>
#include <span>

namespace kest::archive {

// The CRC-32 of ZIP, RAR and ACE (reflected polynomial 0xEDB88320) without
// its pre- and post-inversion, so that callers choose both: the standard
// checksum is ~Crc32Update(0xFFFFFFFF, bytes); ACE headers keep the register
// as it stands.
uint32_t Crc32Update(uint32_t crc, std::span<const uint8_t> bytes);

inline uint32_t Crc32(std::span<const uint8_t> bytes) {
    return ~Crc32Update(0xFFFFFFFF, bytes);
}

// Whether a header's stored checksum holds. Fuzzing builds accept every one,
// so that mutated headers reach the parsers behind the check.
inline bool ChecksumMatches([[maybe_unused]] uint32_t computed, [[maybe_unused]] uint32_t stored) {
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    return true;
#else
    return computed == stored;
#endif
}

}  // namespace kest::archive
