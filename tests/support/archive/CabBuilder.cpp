#include "support/archive/CabBuilder.h"

#include "support/archive/ByteWriter.h"

namespace kest::test {

std::string BuildCab(const CabSpec& spec) {
    const bool reserve = spec.headerReserve != 0 || spec.folderReserve != 0;
    uint16_t flags = 0;
    if (!spec.previousCabinet.empty()) flags |= 0x1;
    if (!spec.nextCabinet.empty()) flags |= 0x2;
    if (reserve) flags |= 0x4;

    ByteWriter optional;
    if (reserve) {
        optional.U16(spec.headerReserve).U8(spec.folderReserve).U8(0);
        optional.Raw(std::string(spec.headerReserve, '\xAA'));
    }
    if (flags & 0x1) optional.Raw(spec.previousCabinet + '\0' + "disk" + '\0');
    if (flags & 0x2) optional.Raw(spec.nextCabinet + '\0' + "disk" + '\0');

    const uint32_t filesOffset = static_cast<uint32_t>(
        36 + optional.Size() + spec.folderTypes.size() * (8 + spec.folderReserve));
    const uint16_t fileCount = spec.storedFileCount >= 0
                                   ? static_cast<uint16_t>(spec.storedFileCount)
                                   : static_cast<uint16_t>(spec.files.size());
    ByteWriter out;
    out.Raw("MSCF").U32(0).U32(0).U32(0).U32(filesOffset).U32(0).U8(3).U8(1);
    out.U16(static_cast<uint16_t>(spec.folderTypes.size())).U16(fileCount).U16(flags);
    out.U16(1234).U16(0);
    out.Raw(optional.Bytes());
    for (uint16_t type : spec.folderTypes) {
        out.U32(0).U16(0).U16(type).Raw(std::string(spec.folderReserve, '\xBB'));
    }
    for (const CabFileSpec& f : spec.files) {
        out.U32(f.size).U32(0).U16(f.folder).U16(f.dosDate).U16(f.dosTime).U16(f.attributes);
        out.Raw(f.name + '\0');
    }
    return out.Bytes();
}

}  // namespace kest::test
