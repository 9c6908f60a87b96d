#include <array>
#include <optional>
#include <vector>

#include "core/archive/acelib/AceListing.h"
#include "core/archive/rarlib/ByteCursor.h"
#include "core/archive/rarlib/Crc32.h"

namespace kest::archive::acelib {

namespace {

constexpr std::array<uint8_t, 7> kMagic = {'*', '*', 'A', 'C', 'E', '*', '*'};
constexpr uint64_t kMagicOffset = 7;
constexpr uint64_t kMaxStubSize = uint64_t{4} * 1024 * 1024;

enum BlockType : uint8_t {
    kMainBlock = 0,
    kFile32 = 1,
    kRecovery32 = 2,
    kFile64 = 3,
    kLastBlockType = 5,
};

constexpr uint16_t kHasAddSize = 0x0001;
constexpr uint16_t kHasComment = 0x0002;
constexpr uint16_t kHasNtSecurity = 0x0400;
constexpr uint16_t kPassword = 0x4000;

// HEAD_CRC and HEAD_SIZE precede the part that HEAD_SIZE counts.
constexpr size_t kBlockPrefix = 4;
// HEAD_TYPE and HEAD_FLAGS.
constexpr size_t kMinHeadSize = 3;

// Headers carry the low half of a CRC-32 register that is started at all
// ones and never inverted at the end.
bool CrcMatches(std::span<const uint8_t> block) {
    uint16_t stored = static_cast<uint16_t>(block[0] | block[1] << 8);
    return ChecksumMatches(Crc32Update(0xFFFFFFFF, block.subspan(kBlockPrefix)) & 0xFFFF, stored);
}

// The block at pos with its checked CRC; empty when it is cut off or damaged.
std::vector<uint8_t> ReadBlock(BufferedFile& file, uint64_t pos) {
    auto prefix = file.Read(pos, kBlockPrefix);
    if (prefix.empty()) return {};
    size_t headSize = static_cast<size_t>(prefix[2] | prefix[3] << 8);
    if (headSize < kMinHeadSize) return {};
    auto bytes = file.Read(pos, kBlockPrefix + headSize);
    if (bytes.empty() || !CrcMatches(bytes)) return {};
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// A file header; false when its fields do not fit the header.
bool ParseFile(std::span<const uint8_t> block, ACEHeaderData& h, uint64_t& addSize) {
    ByteCursor cursor(block, kBlockPrefix);
    uint8_t type = cursor.U8();
    uint16_t flags = cursor.U16();
    bool wide = type == kFile64;
    h.PackSize = wide ? cursor.U64() : cursor.U32();
    h.UnpSize = wide ? cursor.U64() : cursor.U32();
    h.FileTime = cursor.U32();
    h.FileAttr = cursor.U32();
    // The stored value is the complement of the data's CRC-32.
    h.FileCRC = ~cursor.U32();
    h.Method = cursor.U8();
    cursor.Skip(1 + 2 + 2);  // quality, parameter, reserved
    uint16_t nameSize = cursor.U16();
    h.FileName = cursor.Text(nameSize);
    // The comment is always compressed, so only its extent is checked.
    if (flags & kHasComment) cursor.Skip(cursor.U16());
    if (flags & kHasNtSecurity) cursor.Skip(cursor.U16());
    if (!cursor.Ok()) return false;
    h.Flags = static_cast<uint32_t>(flags) << 16 | ((flags & kPassword) ? kEncrypted : 0);
    addSize = (flags & kHasAddSize) ? h.PackSize : 0;
    return true;
}

std::optional<uint64_t> FindMainHeader(BufferedFile& file) {
    for (uint64_t from = kMagicOffset;;) {
        auto at = file.Find(kMagic, from, kMaxStubSize);
        if (!at) return std::nullopt;
        uint64_t start = *at - kMagicOffset;
        auto block = ReadBlock(file, start);
        if (!block.empty() && block[kBlockPrefix] == kMainBlock) return start;
        from = *at + 1;
    }
}

}  // namespace

int ReadAceListing(BufferedFile& file, std::vector<ACEHeaderData>& entries) {
    auto mainHeader = FindMainHeader(file);
    if (!mainHeader) return kBadArchive;
    const uint64_t size = file.Size();
    for (uint64_t pos = *mainHeader; pos < size;) {
        auto block = ReadBlock(file, pos);
        if (block.empty()) return kBadArchive;
        ByteCursor cursor(block, kBlockPrefix);
        uint8_t type = cursor.U8();
        uint16_t flags = cursor.U16();
        if (type > kLastBlockType || (pos == *mainHeader) != (type == kMainBlock))
            return kBadArchive;
        uint64_t addSize = 0;
        if (type == kFile32 || type == kFile64) {
            ACEHeaderData entry;
            if (!ParseFile(block, entry, addSize)) return kBadArchive;
            entries.push_back(std::move(entry));
        } else if (flags & kHasAddSize) {
            addSize = type > kFile64 ? cursor.U64() : cursor.U32();
            if (!cursor.Ok()) return kBadArchive;
        }
        uint64_t blockEnd = pos + block.size();
        if (addSize > size - blockEnd) return kBadArchive;
        pos = blockEnd + addSize;
    }
    return kSuccess;
}

}  // namespace kest::archive::acelib
