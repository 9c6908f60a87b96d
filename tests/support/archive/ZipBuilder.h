#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kest::test {

// One entry of a ZIP built in a test; only what a lister reads is chosen.
struct ZipEntryLayout {
    std::string name{};
    uint16_t method = 0;
    uint16_t flags = 0;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0x21;  // 1980-01-01
    uint32_t crc = 0;
    uint64_t packedSize = 0;
    uint64_t size = 0;
    uint32_t externalAttributes = 0;
    std::string extra{};  // further extra fields, raw
    std::string comment{};
};

struct ZipLayout {
    std::vector<ZipEntryLayout> entries;
    std::string archiveComment;
    std::string prefix;  // bytes before the archive (a self-extractor's stub)
    // Writes ZIP64 end records and puts sizes in ZIP64 extra fields (the
    // 32-bit fields then hold 0xFFFFFFFF, the counts 0xFFFF).
    bool zip64 = false;
    // Overrides the count of the end record when set.
    int64_t storedCount = -1;
};

// The archive's bytes: a local header per entry (no data), the central
// directory and the end record(s).
std::string BuildZip(const ZipLayout& layout);

// Three entries as archives hold them: a stored file with a comment at the
// top, a directory, and a deflated file in a sub-directory.
ZipLayout SampleZip();

}  // namespace kest::test
