#include <vector>

#include "core/archive/rarlib/ByteCursor.h"
#include "core/archive/rarlib/Crc32.h"
#include "core/archive/rarlib/RarListing.h"

namespace kest::archive::rarlib {

namespace {

constexpr uint8_t kMainBlock = 0x73;
constexpr uint8_t kFileBlock = 0x74;
constexpr uint8_t kCommentBlock = 0x75;
constexpr uint8_t kServiceBlock = 0x7A;
constexpr uint8_t kEndBlock = 0x7B;
constexpr uint8_t kFirstBlockType = 0x72;

constexpr uint16_t kMainOldComment = 0x0002;
constexpr uint16_t kMainEncryptedHeaders = 0x0080;
constexpr uint16_t kHasAddSize = 0x8000;
constexpr uint16_t kFileLarge = 0x0100;
constexpr uint16_t kFileUnicode = 0x0200;
constexpr uint16_t kFileSalt = 0x0400;

constexpr size_t kBlockFixed = 7;
constexpr size_t kMainFixed = 13;
constexpr size_t kFileFixed = 32;
constexpr size_t kCommentFixed = 13;
constexpr uint8_t kStoredMethod = 0x30;
// A stored comment is kept up to this size; longer ones are cut.
constexpr uint64_t kMaxComment = uint64_t{64} * 1024;

bool CrcMatches(std::span<const uint8_t> block, size_t coveredEnd, uint16_t stored) {
    return ChecksumMatches(Crc32(block.subspan(2, coveredEnd - 2)) & 0xFFFF, stored);
}

// An embedded 1.5/2.x comment: a 0x75 sub-block inside the file header. Its
// text is readable only when it is stored.
std::string EmbeddedComment(ByteCursor cursor) {
    cursor.Skip(2);
    uint8_t type = cursor.U8();
    cursor.Skip(2);
    uint16_t size = cursor.U16();
    cursor.Skip(3);
    uint8_t method = cursor.U8();
    cursor.Skip(2);
    if (!cursor.Ok() || type != kCommentBlock || method != kStoredMethod || size < kCommentFixed)
        return {};
    return cursor.Text(std::min<uint64_t>(size - kCommentFixed, cursor.Remaining()));
}

struct FileBlock {
    RARHeaderData header;
    uint64_t packSize = 0;
};

// A file (0x74) or service (0x7A) block; false when it is malformed.
bool ParseFileBlock(std::span<const uint8_t> block, FileBlock& out) {
    if (block.size() < kFileFixed) return false;
    ByteCursor cursor(block);
    uint16_t storedCrc = cursor.U16();
    uint8_t type = cursor.U8();
    uint16_t flags = cursor.U16();
    cursor.Skip(2);
    uint32_t packLow = cursor.U32();
    uint32_t unpLow = cursor.U32();
    cursor.Skip(1);  // host system
    RARHeaderData& h = out.header;
    h.FileCRC = cursor.U32();
    h.FileTime = cursor.U32();
    cursor.Skip(1);  // version needed
    h.Method = cursor.U8();
    uint16_t nameSize = cursor.U16();
    h.FileAttr = cursor.U32();
    uint64_t packHigh = 0;
    uint64_t unpHigh = 0;
    if (flags & kFileLarge) {
        packHigh = cursor.U32();
        unpHigh = cursor.U32();
    }
    auto name = cursor.Bytes(nameSize);
    if (!cursor.Ok()) return false;
    // With an embedded comment the checksum covers the header only up to the
    // end of the name.
    bool embeddedComment = type == kFileBlock && (flags & kComment);
    if (!CrcMatches(block, block.size(), storedCrc) &&
        !(embeddedComment && CrcMatches(block, cursor.Pos(), storedCrc)))
        return false;
    out.packSize = packLow | (packHigh << 32);
    h.PackSize = out.packSize;
    h.UnpSize = unpLow | (unpHigh << 32);

    auto oem = name;
    std::span<const uint8_t> encoded;
    if (flags & kFileUnicode) {
        size_t nul = 0;
        while (nul < name.size() && name[nul] != 0) ++nul;
        oem = name.first(nul);
        if (nul < name.size()) encoded = name.subspan(nul + 1);
    }
    h.FileName =
        encoded.empty() ? std::string(oem.begin(), oem.end()) : DecodeRarUnicodeName(oem, encoded);
    if (h.FileName.empty()) h.FileName.assign(oem.begin(), oem.end());

    bool directory = type == kFileBlock && (flags & kDictionaryMask) == kDictionaryMask;
    h.Flags = (flags & 0xFF) | (directory || type == kServiceBlock ? kNotAFile : 0);
    if (embeddedComment) {
        if (flags & kFileSalt) cursor.Skip(8);
        h.CmtBuf = EmbeddedComment(cursor);
    }
    return true;
}

// The text of a stored 3.x comment block's data, read from the file.
std::string StoredBlockData(BufferedFile& file, uint64_t offset, const FileBlock& block) {
    if (block.header.Method != kStoredMethod) return {};
    auto data = file.Read(offset, static_cast<size_t>(std::min(block.packSize, kMaxComment)));
    return std::string(data.begin(), data.end());
}

}  // namespace

int ReadRar4Listing(BufferedFile& file, uint64_t offset, std::vector<RARHeaderData>& entries) {
    const uint64_t size = file.Size();
    bool first = true;
    for (uint64_t pos = offset; pos < size;) {
        auto fixed = file.Read(pos, kBlockFixed);
        if (fixed.empty()) return kBadArchive;
        ByteCursor head(fixed);
        uint16_t storedCrc = head.U16();
        uint8_t type = head.U8();
        uint16_t flags = head.U16();
        uint16_t blockSize = head.U16();
        if (blockSize < kBlockFixed || type < kFirstBlockType || type > kEndBlock)
            return kBadArchive;
        if (first != (type == kMainBlock)) return kBadArchive;
        first = false;
        std::vector<uint8_t> block;
        {
            auto bytes = file.Read(pos, blockSize);
            if (bytes.empty()) return kBadArchive;
            block.assign(bytes.begin(), bytes.end());
        }
        uint64_t dataSize = 0;
        if ((flags & kHasAddSize) && blockSize >= kBlockFixed + 4)
            dataSize = ByteCursor(block, kBlockFixed).U32();

        if (type == kMainBlock) {
            if (blockSize < kMainFixed) return kBadArchive;
            bool oldComment = flags & kMainOldComment;
            if (!CrcMatches(block, block.size(), storedCrc) &&
                !(oldComment && CrcMatches(block, kMainFixed, storedCrc)))
                return kBadArchive;
            if (flags & kMainEncryptedHeaders) return kMissingPassword;
        } else if (type == kFileBlock || type == kServiceBlock) {
            FileBlock parsed;
            if (!ParseFileBlock(block, parsed)) return kBadArchive;
            dataSize = parsed.packSize;
            // A comment block after a file holds that file's comment.
            bool fileComment = type == kServiceBlock && parsed.header.FileName == "CMT" &&
                               !entries.empty() && !(entries.back().Flags & kNotAFile);
            if (fileComment) {
                entries.back().Flags |= kComment;
                entries.back().CmtBuf = StoredBlockData(file, pos + blockSize, parsed);
            }
            entries.push_back(std::move(parsed.header));
        } else if (type == kEndBlock) {
            return kSuccess;
        }
        if (dataSize > size - pos - blockSize) return kBadArchive;
        pos += blockSize + dataSize;
    }
    return kSuccess;
}

}  // namespace kest::archive::rarlib
