#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kest::test {

struct CabFileLayout {
    std::string name{};  // written NUL-terminated
    uint32_t size = 0;
    uint16_t folder = 0;
    uint16_t dosDate = 0x21;  // 1980-01-01
    uint16_t dosTime = 0;
    uint16_t attributes = 0x20;
};

struct CabLayout {
    std::vector<uint16_t> folderTypes;  // typeCompress of each folder
    std::vector<CabFileLayout> files;
    std::string previousCabinet;  // set: flag 0x1 with this name (disk "disk")
    std::string nextCabinet;      // set: flag 0x2
    uint16_t headerReserve = 0;   // any reserve: flag 0x4 with these sizes
    uint8_t folderReserve = 0;
    int64_t storedFileCount = -1;  // overrides the file count when set
};

// A cabinet's bytes: header, optional fields, folders, file entries (no data).
std::string BuildCab(const CabLayout& layout);

}  // namespace kest::test
