#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kest::image {

// An OSTA compressed unicode name as UTF-8: its first byte says whether each
// character takes 8 bits or 16 (big-endian UTF-16). An unpaired surrogate
// becomes U+FFFD.
std::string DecodeUdfName(std::span<const std::uint8_t> bytes);

// A fixed-size field whose last byte gives the length of the name it holds.
std::string DecodeUdfFieldName(std::span<const std::uint8_t> field);

// A 12-byte UDF timestamp as seconds since the epoch, UTC: a local time is
// moved by its time zone; 0 when the date is not a real one.
std::int64_t UdfTimestampToUtc(const std::uint8_t* stamp);

}  // namespace kest::image
