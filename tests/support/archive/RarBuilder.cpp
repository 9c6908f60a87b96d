#include "support/archive/RarBuilder.h"

#include <span>

#include "core/archive/rarlib/Crc32.h"

namespace kest::test {

namespace {

uint32_t Crc(const std::string& bytes) {
    return archive::Crc32(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

// A 1.5-4.x block from HEAD_TYPE on, with the checksum over the first
// covered bytes (all when covered is npos).
std::string Rar4Block(const std::string& fromType, size_t covered = std::string::npos) {
    uint32_t crc = Crc(fromType.substr(0, covered));
    return LittleEndian(crc & 0xFFFF, 2) + fromType;
}

}  // namespace

Rar4Builder::Rar4Builder() : m_bytes("Rar!\x1A\x07\x00", 7) {}

Rar4Builder& Rar4Builder::Main(uint16_t flags) {
    m_bytes +=
        Rar4Block("\x73" + LittleEndian(flags, 2) + LittleEndian(13, 2) + std::string(6, '\0'));
    return *this;
}

Rar4Builder& Rar4Builder::Entry(const Rar4Entry& e) {
    bool large = e.flags & 0x100;
    std::string fixed = LittleEndian(e.packSize, 4) + LittleEndian(e.unpSize, 4) + '\x02' +
                        LittleEndian(e.crc, 4) + LittleEndian(e.dosTime, 4) + '\x14' +
                        static_cast<char>(e.method) + LittleEndian(e.name.size(), 2) +
                        LittleEndian(e.attr, 4);
    if (large) fixed += LittleEndian(e.packSize >> 32, 4) + LittleEndian(e.unpSize >> 32, 4);
    size_t size = 7 + fixed.size() + e.name.size() + e.afterName.size();
    std::string fromType = static_cast<char>(e.type) + LittleEndian(e.flags, 2) +
                           LittleEndian(size, 2) + fixed + e.name;
    size_t covered = e.crcToNameOnly ? fromType.size() : std::string::npos;
    m_bytes += Rar4Block(fromType + e.afterName, covered) + e.data;
    return *this;
}

Rar4Builder& Rar4Builder::End() {
    m_bytes += Rar4Block(std::string("\x7B\x00\x40\x07\x00", 5));
    return *this;
}

Rar4Builder& Rar4Builder::Raw(const std::string& bytes) {
    m_bytes += bytes;
    return *this;
}

std::string Rar4EmbeddedComment(const std::string& text, uint8_t method) {
    std::string fromType = "\x75" + LittleEndian(0, 2) + LittleEndian(13 + text.size(), 2) +
                           LittleEndian(text.size(), 2) + '\x0F' + static_cast<char>(method) +
                           LittleEndian(Crc(text) & 0xFFFF, 2) + text;
    return Rar4Block(fromType);
}

std::string Rar5VarInt(uint64_t value) {
    std::string out;
    do {
        uint8_t byte = value & 0x7F;
        value >>= 7;
        out += static_cast<char>(value ? byte | 0x80 : byte);
    } while (value);
    return out;
}

std::string Rar5UnixTimeRecord(uint32_t mtime) {
    std::string body = Rar5VarInt(3) + Rar5VarInt(0x03) + LittleEndian(mtime, 4);
    return Rar5VarInt(body.size()) + body;
}

std::string Rar5FileTimeRecord(uint64_t fileTime) {
    std::string body = Rar5VarInt(3) + Rar5VarInt(0x02) + LittleEndian(fileTime, 8);
    return Rar5VarInt(body.size()) + body;
}

std::string Rar5EncryptionRecord(bool macInsteadOfCrc) {
    std::string body = Rar5VarInt(1) + Rar5VarInt(0) + Rar5VarInt(macInsteadOfCrc ? 0x03 : 0x01) +
                       '\x0F' + std::string(16 + 16 + 12, '\x5A');
    return Rar5VarInt(body.size()) + body;
}

Rar5Entry::Rar5Entry(std::string entryName)
    : name(std::move(entryName)), extra(Rar5UnixTimeRecord(1288813772)) {}

Rar5Builder::Rar5Builder() : m_bytes("Rar!\x1A\x07\x01\x00", 8) {}

std::string Rar5Builder::Header(uint64_t type, uint64_t flags, const std::string& fields,
                                const std::string& extra, uint64_t dataSize) {
    if (!extra.empty()) flags |= 0x01;
    if (dataSize) flags |= 0x02;
    std::string body = Rar5VarInt(type) + Rar5VarInt(flags);
    if (!extra.empty()) body += Rar5VarInt(extra.size());
    if (dataSize) body += Rar5VarInt(dataSize);
    body += fields + extra;
    std::string sized = Rar5VarInt(body.size()) + body;
    return LittleEndian(Crc(sized), 4) + sized;
}

Rar5Builder& Rar5Builder::Main() {
    m_bytes += Header(1, 0, Rar5VarInt(0), "", 0);
    return *this;
}

Rar5Builder& Rar5Builder::ArchiveEncryption() {
    m_bytes +=
        Header(4, 0, Rar5VarInt(0) + Rar5VarInt(0x01) + '\x0F' + std::string(16 + 12, 'k'), "", 0);
    return *this;
}

Rar5Builder& Rar5Builder::Entry(const Rar5Entry& e) {
    uint64_t fileFlags = (e.directory ? 0x01 : 0) | (e.mtime ? 0x02 : 0) | (e.crc ? 0x04 : 0);
    std::string fields = Rar5VarInt(fileFlags) + Rar5VarInt(e.unpSize) + Rar5VarInt(e.attr);
    if (e.mtime) fields += LittleEndian(*e.mtime, 4);
    if (e.crc) fields += LittleEndian(*e.crc, 4);
    fields += Rar5VarInt(e.compression) + Rar5VarInt(0) + Rar5VarInt(e.name.size()) + e.name;
    m_bytes += Header(e.type, e.headerFlags, fields, e.extra, e.data.size()) + e.data;
    return *this;
}

Rar5Builder& Rar5Builder::End() {
    m_bytes += Header(5, 0, Rar5VarInt(0), "", 0);
    return *this;
}

Rar5Builder& Rar5Builder::Raw(const std::string& bytes) {
    m_bytes += bytes;
    return *this;
}

}  // namespace kest::test
