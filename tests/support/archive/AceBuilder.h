#pragma once

#include <cstdint>
#include <string>
#include <utility>

// ACE archives built byte by byte for the listing tests.
namespace kest::test {

// Unless changed, a 9-byte file packed by LZ77 to the 3 bytes "abc", with the
// CRC 00A29FED and the MS-DOS time 485C9B96.
struct AceEntry {
    explicit AceEntry(std::string entryName, uint16_t headerFlags = 0x8001)
        : name(std::move(entryName)), flags(headerFlags) {}
    std::string name;
    uint16_t flags;     // 0x0001 ADDSIZE
    bool wide = false;  // a 64-bit file header (type 3)
    uint64_t packSize = 3;
    uint64_t origSize = 9;
    uint32_t dosTime = 0x485C9B96;
    uint32_t attr = 0x20;
    uint32_t crc = 0x00A29FED;  // the data's CRC; the header stores its complement
    uint8_t compType = 1;
    std::string afterName;  // raw bytes after the name (comment size and bytes)
    std::string data = "abc";
};

class AceBuilder {
  public:
    AceBuilder& Main(uint8_t versionToExtract = 20, uint16_t flags = 0);
    AceBuilder& Entry(const AceEntry& entry);
    AceBuilder& Recovery(const std::string& data);
    AceBuilder& Raw(const std::string& bytes);
    const std::string& Bytes() const { return m_bytes; }

    // A block from HEAD_TYPE on, prefixed with its CRC and size.
    static std::string Block(const std::string& fromType);

  private:
    std::string m_bytes;
};

}  // namespace kest::test
