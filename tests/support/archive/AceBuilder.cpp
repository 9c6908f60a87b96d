#include "support/archive/AceBuilder.h"

#include <span>

#include "core/archive/rarlib/Crc32.h"
#include "support/archive/RarBuilder.h"

namespace kest::test {

std::string AceBuilder::Block(const std::string& fromType) {
    uint32_t crc = archive::Crc32Update(
        0xFFFFFFFF, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(fromType.data()),
                                             fromType.size()));
    return LittleEndian(crc & 0xFFFF, 2) + LittleEndian(fromType.size(), 2) + fromType;
}

AceBuilder& AceBuilder::Main(uint8_t versionToExtract, uint16_t flags) {
    std::string av = "*UNREGISTERED VERSION*";
    m_bytes +=
        Block('\x00' + LittleEndian(flags, 2) + "**ACE**" + static_cast<char>(versionToExtract) +
              static_cast<char>(versionToExtract) + '\x02' + '\x00' + LittleEndian(0x55257EF9, 4) +
              std::string(8, '\0') + static_cast<char>(av.size()) + av);
    return *this;
}

AceBuilder& AceBuilder::Entry(const AceEntry& e) {
    int sizeBytes = e.wide ? 8 : 4;
    std::string fromType =
        static_cast<char>(e.wide ? 3 : 1) + LittleEndian(e.flags, 2) +
        LittleEndian(e.packSize, sizeBytes) + LittleEndian(e.origSize, sizeBytes) +
        LittleEndian(e.dosTime, 4) + LittleEndian(e.attr, 4) + LittleEndian(~e.crc, 4) +
        static_cast<char>(e.compType) + '\x03' + LittleEndian(0x000A, 2) + LittleEndian(0, 2) +
        LittleEndian(e.name.size(), 2) + e.name + e.afterName;
    m_bytes += Block(fromType) + e.data;
    return *this;
}

AceBuilder& AceBuilder::Recovery(const std::string& data) {
    m_bytes += Block('\x02' + LittleEndian(0x0001, 2) + LittleEndian(data.size(), 4)) + data;
    return *this;
}

AceBuilder& AceBuilder::Raw(const std::string& bytes) {
    m_bytes += bytes;
    return *this;
}

}  // namespace kest::test
