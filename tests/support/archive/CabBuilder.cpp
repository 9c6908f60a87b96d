#include "support/archive/CabBuilder.h"

#include "support/archive/ByteWriter.h"

namespace kest::test {

std::string BuildCab(const CabLayout& layout) {
    const bool reserve = layout.headerReserve != 0 || layout.folderReserve != 0;
    uint16_t flags = 0;
    if (!layout.previousCabinet.empty()) flags |= 0x1;
    if (!layout.nextCabinet.empty()) flags |= 0x2;
    if (reserve) flags |= 0x4;

    ByteWriter optional;
    if (reserve) {
        optional.U16(layout.headerReserve).U8(layout.folderReserve).U8(0);
        optional.Raw(std::string(layout.headerReserve, '\xAA'));
    }
    if (flags & 0x1) optional.Raw(layout.previousCabinet + '\0' + "disk" + '\0');
    if (flags & 0x2) optional.Raw(layout.nextCabinet + '\0' + "disk" + '\0');

    const uint32_t filesOffset = static_cast<uint32_t>(
        36 + optional.Size() + layout.folderTypes.size() * (8 + layout.folderReserve));
    const uint16_t fileCount = layout.storedFileCount >= 0
                                   ? static_cast<uint16_t>(layout.storedFileCount)
                                   : static_cast<uint16_t>(layout.files.size());
    ByteWriter out;
    out.Raw("MSCF").U32(0).U32(0).U32(0).U32(filesOffset).U32(0).U8(3).U8(1);
    out.U16(static_cast<uint16_t>(layout.folderTypes.size())).U16(fileCount).U16(flags);
    out.U16(1234).U16(0);
    out.Raw(optional.Bytes());
    for (uint16_t type : layout.folderTypes) {
        out.U32(0).U16(0).U16(type).Raw(std::string(layout.folderReserve, '\xBB'));
    }
    for (const CabFileLayout& f : layout.files) {
        out.U32(f.size).U32(0).U16(f.folder).U16(f.dosDate).U16(f.dosTime).U16(f.attributes);
        out.Raw(f.name + '\0');
    }
    return out.Bytes();
}

}  // namespace kest::test
