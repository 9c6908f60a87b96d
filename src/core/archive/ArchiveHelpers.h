#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/text/VbFormat.h"

// The small helpers every archive reader shares.
namespace kest::archive {

// The text after the last "." of a file name, in lower case; "" when there is
// no "." or the name ends with it.
std::string GetExtension(std::string_view fileName);

// A stored name split at the last "/" (or, when there is none, the last "\");
// the directory keeps its separator: "a/b/c.txt" gives "a/b/" and "c.txt".
struct SplitName {
    std::string directory;
    std::string fileName;
};
SplitName SplitPath(std::string_view path);

// An MS-DOS date and time word as the local time they stand for. Values the
// calendar rejects (month 0, 60 seconds, ...) give 1980-01-01 03:00:00, the
// date the classic conversion falls back to.
text::DateTime DosToDate(uint16_t dosDate, uint16_t dosTime);
// The same from a 32-bit word holding the date in the high half.
text::DateTime DosToDate(uint32_t dosDateTime);

// A file time (100 ns units since 1601-01-01) as a date; toLocal first moves
// it from UTC to the local zone.
text::DateTime FileTimeToDate(uint64_t fileTime, bool toLocal);

// Seconds since 1970-01-01 UTC as the local time they stand for.
text::DateTime UnixTimeToDate(int64_t seconds);

// The text before the first NUL; without a NUL the text trimmed of blanks.
std::string StripNull(std::string_view text);

}  // namespace kest::archive
