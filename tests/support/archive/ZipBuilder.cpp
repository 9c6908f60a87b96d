#include "support/archive/ZipBuilder.h"

#include "support/archive/ByteWriter.h"

namespace kest::test {

namespace {

constexpr uint32_t kSaturated = 0xFFFFFFFF;

std::string Zip64Extra(const ZipEntryLayout& e) {
    ByteWriter extra;
    extra.U16(0x0001).U16(16).U64(e.size).U64(e.packedSize);
    return extra.Bytes();
}

}  // namespace

std::string BuildZip(const ZipLayout& layout) {
    ByteWriter out;
    out.Raw(layout.prefix);
    std::vector<uint64_t> localOffsets;
    for (const ZipEntryLayout& e : layout.entries) {
        localOffsets.push_back(out.Size() - layout.prefix.size());
        out.Raw("PK\x03\x04").U16(20).U16(e.flags).U16(e.method).U16(e.dosTime).U16(e.dosDate);
        out.U32(e.crc).U32(0).U32(0).U16(static_cast<uint16_t>(e.name.size())).U16(0);
        out.Raw(e.name);
    }
    const uint64_t cdOffset = out.Size() - layout.prefix.size();
    for (size_t i = 0; i < layout.entries.size(); ++i) {
        const ZipEntryLayout& e = layout.entries[i];
        std::string extra = (layout.zip64 ? Zip64Extra(e) : std::string()) + e.extra;
        out.Raw("PK\x01\x02").U16(0x031E).U16(20).U16(e.flags).U16(e.method);
        out.U16(e.dosTime).U16(e.dosDate).U32(e.crc);
        out.U32(layout.zip64 ? kSaturated : static_cast<uint32_t>(e.packedSize));
        out.U32(layout.zip64 ? kSaturated : static_cast<uint32_t>(e.size));
        out.U16(static_cast<uint16_t>(e.name.size())).U16(static_cast<uint16_t>(extra.size()));
        out.U16(static_cast<uint16_t>(e.comment.size())).U16(0).U16(0);
        out.U32(e.externalAttributes).U32(static_cast<uint32_t>(localOffsets[i]));
        out.Raw(e.name).Raw(extra).Raw(e.comment);
    }
    const uint64_t cdSize = out.Size() - layout.prefix.size() - cdOffset;
    const uint64_t count =
        layout.storedCount >= 0 ? static_cast<uint64_t>(layout.storedCount) : layout.entries.size();
    if (layout.zip64) {
        const uint64_t recordOffset = out.Size() - layout.prefix.size();
        out.Raw("PK\x06\x06").U64(44).U16(45).U16(45).U32(0).U32(0);
        out.U64(count).U64(count).U64(cdSize).U64(cdOffset);
        out.Raw("PK\x06\x07").U32(0).U64(recordOffset).U32(1);
    }
    out.Raw("PK\x05\x06").U16(0).U16(0);
    out.U16(layout.zip64 ? 0xFFFF : static_cast<uint16_t>(count));
    out.U16(layout.zip64 ? 0xFFFF : static_cast<uint16_t>(count));
    out.U32(layout.zip64 ? kSaturated : static_cast<uint32_t>(cdSize));
    out.U32(layout.zip64 ? kSaturated : static_cast<uint32_t>(cdOffset));
    out.U16(static_cast<uint16_t>(layout.archiveComment.size())).Raw(layout.archiveComment);
    return out.Bytes();
}

ZipLayout SampleZip() {
    ZipLayout layout;
    layout.entries = {
        {.name = "hello.txt",
         .dosTime = 0x28A4,
         .dosDate = 0x5264,
         .crc = 0x0000ABCD,
         .packedSize = 12,
         .size = 12,
         .externalAttributes = 0x81A40000,
         .comment = "greeting"},
        {.name = "docs/", .dosDate = 0x24E1, .externalAttributes = 0x41ED0010},
        {.name = "docs/sub/data.bin",
         .method = 8,
         .flags = 3,
         .dosTime = 0x1862,
         .dosDate = 0x2622,
         .crc = 0xFFFFFFFF,
         .packedSize = 70,
         .size = 100,
         .externalAttributes = 0x20},
    };
    return layout;
}

}  // namespace kest::test
