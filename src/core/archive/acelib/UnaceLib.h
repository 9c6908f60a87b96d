#pragma once

#include <cstdint>
#include <string>

#include "core/archive/ArchiveFile.h"

// A small listing library for ACE archives (1.0 and 2.0) with the four calls
// of the classic unACE interface. Only headers are read.
namespace kest::archive::acelib {

inline constexpr int kOpenList = 0;
inline constexpr int kSkip = 0;
inline constexpr int kSuccess = 0;
inline constexpr int kEndArchive = 255;  // ACEReadHeader: no more entries
inline constexpr int kBadArchive = 1;

inline constexpr uint32_t kEncrypted = 0x04;  // set when header flag 0x4000 is set

struct ACEOpenArchiveData {
    std::string ArcName;
    FileWindow Window;  // where the archive lies in ArcName
    unsigned OpenMode = kOpenList;
    unsigned OpenResult = 0;  // out: 0 when the archive is open for listing
};

struct ACEHeaderData {
    std::string FileName;  // the stored name
    uint32_t Flags = 0;    // header flags in the upper 16 bits; kEncrypted
    uint64_t PackSize = 0;
    uint64_t UnpSize = 0;
    uint32_t FileCRC = 0;   // the real CRC-32 (ACE stores it inverted)
    uint32_t FileTime = 0;  // MS-DOS date (high 16 bits) and time (low 16 bits)
    uint32_t Method = 0;    // compression type: 0 stored, 1 LZ77, 2 blocked
    uint32_t FileAttr = 0;
    std::string Comment;  // empty when none or stored compressed
};

struct AceArchive;  // opaque
using AceHandle = AceArchive*;

AceHandle ACEOpenArchive(ACEOpenArchiveData* data);
int ACEReadHeader(AceHandle handle, ACEHeaderData* header);
int ACEProcessFile(AceHandle handle, int operation, const char* destPath, const char* destName);
int ACECloseArchive(AceHandle handle);

}  // namespace kest::archive::acelib
