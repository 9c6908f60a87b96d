#pragma once

#include <cstdint>
#include <string>

#include "core/text/VbFormat.h"

namespace kest::archive {

// The thirteen values a reader reports for every entry of an archive, in the
// order the event hands them on. Sizes are 64-bit; the words are the format's
// raw values.
struct FileFound {
    int32_t EntryIndex = 0;  // 1-based
    int32_t EntryCount = 0;
    std::string FileName;     // without its directory part
    std::string ArchiveType;  // "zip", "cab", "rar", "ace" or a libarchive type
    text::DateTime FileDate;  // local time
    int64_t FileSize = 0;
    int64_t PackedSize = 0;  // 0 for CAB
    int32_t Method = 0;
    int32_t Attributes = 0;
    std::string Directory;  // with its trailing separator; "" at the top
    int32_t Flags = 0;
    uint32_t Crc = 0;  // 0 for CAB
    std::string Comment;
};

}  // namespace kest::archive
