#include <algorithm>
#include <optional>
#include <vector>

#include "core/archive/rarlib/ByteCursor.h"
#include "core/archive/rarlib/Crc32.h"
#include "core/archive/rarlib/DosTime.h"
#include "core/archive/rarlib/RarListing.h"

namespace kest::archive::rarlib {

namespace {

enum HeaderType : uint64_t { kMain = 1, kFile = 2, kService = 3, kEncryption = 4, kEnd = 5 };

constexpr uint64_t kHasExtra = 0x01;
constexpr uint64_t kHasData = 0x02;
constexpr uint64_t kHeaderSplitBefore = 0x08;
constexpr uint64_t kHeaderSplitAfter = 0x10;

constexpr uint64_t kFileDirectory = 0x01;
constexpr uint64_t kFileUnixTime = 0x02;
constexpr uint64_t kFileCrc = 0x04;

constexpr uint64_t kExtraEncryption = 0x01;
constexpr uint64_t kExtraTime = 0x03;
constexpr uint64_t kCryptMacInsteadOfCrc = 0x02;
constexpr uint64_t kTimeIsUnix = 0x01;
constexpr uint64_t kTimeHasMtime = 0x02;

constexpr uint64_t kMaxHeaderSize = uint64_t{2} * 1024 * 1024;
// CRC32 plus the longest size field.
constexpr size_t kMaxHeaderPrefix = 4 + 10;
constexpr int64_t kFileTimeTicksPerSecond = 10'000'000;
constexpr int64_t kFileTimeToUnixSeconds = 11'644'473'600;
constexpr uint32_t kMaxDictionaryCode = 6;

// What the extra area of a file or service header adds.
struct Extras {
    bool encrypted = false;
    bool crcIsMac = false;
    std::optional<int64_t> mtime;  // Unix seconds
};

bool ParseExtras(std::span<const uint8_t> area, Extras& out) {
    ByteCursor cursor(area);
    while (cursor.Remaining() > 0) {
        uint64_t size = cursor.VarInt();
        size_t start = cursor.Pos();
        if (!cursor.Ok() || size == 0 || size > cursor.Remaining()) return false;
        ByteCursor record(area.first(start + static_cast<size_t>(size)), start);
        uint64_t type = record.VarInt();
        if (type == kExtraEncryption) {
            out.encrypted = true;
            record.VarInt();  // version
            out.crcIsMac = (record.VarInt() & kCryptMacInsteadOfCrc) != 0;
        } else if (type == kExtraTime) {
            uint64_t flags = record.VarInt();
            if (flags & kTimeHasMtime) {
                // The modification time comes first whatever else follows.
                int64_t mtime = (flags & kTimeIsUnix)
                                    ? static_cast<int64_t>(record.U32())
                                    : static_cast<int64_t>(record.U64() / kFileTimeTicksPerSecond) -
                                          kFileTimeToUnixSeconds;
                if (record.Ok()) out.mtime = mtime;
            }
        }
        if (!record.Ok()) return false;
        cursor.Skip(size);
    }
    return true;
}

uint32_t DictionaryCode(uint64_t compression) {
    return std::min<uint32_t>(static_cast<uint32_t>((compression >> 10) & 0x0F) + 1,
                              kMaxDictionaryCode);
}

// The fields of a file or service header after its common part; false when
// the header is malformed.
bool ParseFileHeader(ByteCursor body, std::span<const uint8_t> extraArea, uint64_t type,
                     uint64_t headerFlags, RARHeaderData& h) {
    uint64_t fileFlags = body.VarInt();
    h.UnpSize = body.VarInt();
    h.FileAttr = static_cast<uint32_t>(body.VarInt());
    std::optional<int64_t> mtime;
    if (fileFlags & kFileUnixTime) mtime = body.U32();
    uint32_t crc = (fileFlags & kFileCrc) ? body.U32() : 0;
    uint64_t compression = body.VarInt();
    body.VarInt();  // host system
    uint64_t nameSize = body.VarInt();
    h.FileName = body.Text(nameSize);
    Extras extras;
    if (!body.Ok() || !ParseExtras(extraArea, extras)) return false;

    if (extras.mtime) mtime = extras.mtime;
    h.FileTime = mtime ? UnixToLocalDosTime(*mtime) : 0;
    h.FileCRC = extras.crcIsMac ? 0 : crc;
    h.Method = 0x30 + static_cast<uint32_t>((compression >> 7) & 0x07);
    bool directory = type == kFile && (fileFlags & kFileDirectory);
    h.Flags = (directory ? kDictionaryMask : DictionaryCode(compression) << 5) |
              ((headerFlags & kHeaderSplitBefore) ? kSplitBefore : 0) |
              ((headerFlags & kHeaderSplitAfter) ? kSplitAfter : 0) |
              (extras.encrypted ? kEncrypted : 0) | ((compression & 0x40) ? kSolid : 0) |
              (directory || type == kService ? kNotAFile : 0);
    return true;
}

}  // namespace

int ReadRar5Listing(BufferedFile& file, uint64_t offset, std::vector<RARHeaderData>& entries) {
    const uint64_t size = file.Size();
    bool first = true;
    for (uint64_t pos = offset; pos < size;) {
        auto prefix =
            file.Read(pos, static_cast<size_t>(std::min<uint64_t>(kMaxHeaderPrefix, size - pos)));
        ByteCursor head(prefix);
        uint32_t storedCrc = head.U32();
        uint64_t headerSize = head.VarInt();
        if (!head.Ok() || headerSize == 0 || headerSize > kMaxHeaderSize) return kBadArchive;
        size_t sizeField = head.Pos() - 4;
        if (headerSize > size - pos - 4 - sizeField) return kBadArchive;
        std::vector<uint8_t> header;
        {
            auto bytes = file.Read(pos + 4, sizeField + static_cast<size_t>(headerSize));
            if (bytes.empty()) return kBadArchive;
            header.assign(bytes.begin(), bytes.end());
        }
        if (!ChecksumMatches(Crc32(header), storedCrc)) return kBadArchive;

        ByteCursor body(header, sizeField);
        uint64_t type = body.VarInt();
        uint64_t flags = body.VarInt();
        uint64_t extraSize = (flags & kHasExtra) ? body.VarInt() : 0;
        uint64_t dataSize = (flags & kHasData) ? body.VarInt() : 0;
        if (!body.Ok() || extraSize > body.Remaining()) return kBadArchive;
        if (first != (type == kMain || type == kEncryption)) return kBadArchive;
        first = false;

        if (type == kEncryption) return kMissingPassword;
        if (type == kEnd) return kSuccess;
        if (type == kFile || type == kService) {
            size_t extraStart = header.size() - static_cast<size_t>(extraSize);
            ByteCursor fields(std::span<const uint8_t>(header).first(extraStart), body.Pos());
            RARHeaderData entry;
            entry.PackSize = dataSize;
            if (!ParseFileHeader(fields, std::span<const uint8_t>(header).subspan(extraStart), type,
                                 flags, entry))
                return kBadArchive;
            entries.push_back(std::move(entry));
        }
        uint64_t headerEnd = pos + 4 + sizeField + headerSize;
        if (dataSize > size - headerEnd) return kBadArchive;
        pos = headerEnd + dataSize;
    }
    return kSuccess;
}

}  // namespace kest::archive::rarlib
