#pragma once

#include <cstdint>
#include <string>

#include "core/archive/ArchiveFile.h"

// A small listing library for RAR archives (the 1.5-4.x format and RAR 5),
// offering the four calls of the classic unrar interface. Only headers are
// read; nothing is decompressed.
namespace kest::archive::rarlib {

inline constexpr int kOpenList = 0;  // OpenMode: list only
inline constexpr int kSkip = 0;      // RARProcessFile operation: skip the entry
inline constexpr int kSuccess = 0;
inline constexpr int kEndArchive = 10;  // RARReadHeader: no more entries
inline constexpr int kBadData = 12;
inline constexpr int kBadArchive = 13;
inline constexpr int kUnknownFormat = 14;
inline constexpr int kEOpen = 15;
inline constexpr int kMissingPassword = 22;  // the headers are encrypted

// Flags word of a header, as RARHeaderData reports it.
inline constexpr uint32_t kSplitBefore = 0x01;
inline constexpr uint32_t kSplitAfter = 0x02;
inline constexpr uint32_t kEncrypted = 0x04;
inline constexpr uint32_t kComment = 0x08;
inline constexpr uint32_t kSolid = 0x10;
// Bits 5-7: the dictionary code; 7 marks a directory.
inline constexpr uint32_t kDictionaryMask = 0xE0;
inline constexpr uint32_t kNotAFile = 0x1000;  // directories, service and sub-headers

struct RAROpenArchiveData {
    std::string ArcName;
    FileWindow Window;  // where the archive lies in ArcName
    unsigned OpenMode = kOpenList;
    unsigned OpenResult = 0;  // out: 0 when the archive is open for listing
};

struct RARHeaderData {
    std::string FileName;  // the stored name (UTF-8)
    uint32_t Flags = 0;
    uint64_t PackSize = 0;
    uint64_t UnpSize = 0;
    uint32_t FileCRC = 0;   // CRC-32 of the data; 0 when the format stores none
    uint32_t FileTime = 0;  // local MS-DOS date (high 16 bits) and time (low 16 bits)
    uint32_t Method = 0;    // 0x30-0x35
    uint32_t FileAttr = 0;  // the stored attribute word
    std::string CmtBuf;     // the entry's comment; empty when none or stored compressed
};

struct RarArchive;  // opaque
using RarHandle = RarArchive*;

// Gives a handle (nullptr when the file cannot be read at all) and sets
// OpenResult; a non-zero OpenResult with a non-null handle must still be closed.
RarHandle RAROpenArchive(RAROpenArchiveData* data);
int RARReadHeader(RarHandle handle, RARHeaderData* header);
int RARProcessFile(RarHandle handle, int operation, const char* destPath, const char* destName);
int RARCloseArchive(RarHandle handle);

}  // namespace kest::archive::rarlib
