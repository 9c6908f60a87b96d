#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "support/archive/ByteWriter.h"

// RAR archives built byte by byte for the listing tests, with correct header
// CRCs unless a test breaks them on purpose.
namespace kest::test {

// A 1.5-4.x file (0x74) or service (0x7A) block; unless changed, a 5-byte
// file packed by method 3 to the 3 bytes "abc", dated 2010-11-03 19:49:32.
struct Rar4Entry {
    explicit Rar4Entry(std::string entryName, uint16_t headerFlags = 0x8000)
        : name(std::move(entryName)), flags(headerFlags) {}
    uint8_t type = 0x74;
    std::string name;
    uint16_t flags;
    uint64_t packSize = 3;  // HIGH_PACK_SIZE is written when flags has 0x100
    uint64_t unpSize = 5;
    uint32_t crc = 0xE27F07A9;
    uint32_t dosTime = 0x3D639E30;
    uint8_t method = 0x33;
    uint32_t attr = 0x20;
    std::string data = "abc";    // written after the header; packSize is not changed by it
    std::string afterName;       // raw bytes after the name (salt, embedded comment)
    bool crcToNameOnly = false;  // the 1.5/2.x checksum of a header with a comment
};

class Rar4Builder {
  public:
    Rar4Builder();  // starts with the marker block
    Rar4Builder& Main(uint16_t flags = 0);
    Rar4Builder& Entry(const Rar4Entry& entry);
    Rar4Builder& End();
    Rar4Builder& Raw(const std::string& bytes);
    const std::string& Bytes() const { return m_bytes; }

  private:
    std::string m_bytes;
};

// An embedded 1.5/2.x comment sub-block as it follows a file header's name.
std::string Rar4EmbeddedComment(const std::string& text, uint8_t method);

std::string Rar5VarInt(uint64_t value);

// Unless changed, a 5-byte file packed by method 3 with a 512 KB dictionary to
// the 3 bytes "abc", with the Unix time record of 2010-11-03 19:49:32 UTC.
struct Rar5Entry {
    explicit Rar5Entry(std::string entryName);
    uint64_t type = 2;  // 2 file, 3 service
    std::string name;
    uint64_t headerFlags = 0;  // 0x08/0x10 split; extra and data flags are added
    bool directory = false;
    uint64_t unpSize = 5;
    uint64_t attr = 0x20;
    std::optional<uint32_t> mtime;  // the Unix time field of the header itself
    std::optional<uint32_t> crc = 0xCAFEF00D;
    uint64_t compression = (3 << 7) | (2 << 10);
    std::string extra;  // records built with the helpers below
    std::string data = "abc";
};

// Extra records.
std::string Rar5UnixTimeRecord(uint32_t mtime);
std::string Rar5FileTimeRecord(uint64_t fileTime);
std::string Rar5EncryptionRecord(bool macInsteadOfCrc);

class Rar5Builder {
  public:
    Rar5Builder();  // starts with the signature
    Rar5Builder& Main();
    Rar5Builder& ArchiveEncryption();
    Rar5Builder& Entry(const Rar5Entry& entry);
    Rar5Builder& End();
    Rar5Builder& Raw(const std::string& bytes);
    const std::string& Bytes() const { return m_bytes; }

    // A header with its CRC and size from its type, flags and the rest.
    static std::string Header(uint64_t type, uint64_t flags, const std::string& fields,
                              const std::string& extra, uint64_t dataSize);

  private:
    std::string m_bytes;
};

}  // namespace kest::test
