#include "core/image/UdfVolume.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_set>

#include "core/image/UdfText.h"

namespace kest::image {

using volumeid::IsUdfTag;
using volumeid::UdfLe16;
using volumeid::UdfLe32;
using volumeid::UdfLe64;

namespace {

constexpr std::size_t kMapTableStart = 440;
constexpr std::uint32_t kMaxPartitionMaps = 64;
constexpr int kMaxIndirectEntries = 8;
// A CD-R's allocation table is the last entry written: it lies in one of the
// last blocks of the image.
constexpr std::uint32_t kVirtualTableSearchBlocks = 32;
constexpr std::uint32_t kUnusedVirtualBlock = 0xFFFFFFFF;
// Folders and allocation tables are read whole; a million entries take less
// than a tenth of this.
constexpr std::uint64_t kMaxContentsSize = std::uint64_t{1} << 30;

enum FileType : std::uint8_t {
    kVirtualTableType = 248,
    kMetadataFileType = 250,
    kMetadataMirrorType = 251,
};

enum ExtentType : std::uint32_t { kRecorded = 0, kNextDescriptors = 3 };

std::string BlockText(UdfAddress address) {
    return "block " + std::to_string(address.block) + " of partition " +
           std::to_string(address.partition);
}

bool StartsWith(const std::uint8_t* bytes, const char* text) {
    return std::memcmp(bytes, text, std::strlen(text)) == 0;
}

}  // namespace

UdfVolume::UdfVolume(const ImageFile& file, const volumeid::UdfVolumeDescriptors& descriptors)
    : m_file(file), m_blockSize(descriptors.blockSize), m_partitions(descriptors.partitions) {
    AddMaps(descriptors);
}

const volumeid::UdfPartitionDescriptor* UdfVolume::FindPartition(std::uint16_t number) const {
    for (const auto& partition : m_partitions) {
        if (partition.number == number) return &partition;
    }
    return nullptr;
}

void UdfVolume::AddMaps(const volumeid::UdfVolumeDescriptors& descriptors) {
    const std::vector<std::uint8_t>& lvd = descriptors.logicalVolume;
    std::uint32_t count = UdfLe32(lvd.data() + 268);
    std::size_t end = std::min<std::size_t>(lvd.size(), kMapTableStart + UdfLe32(lvd.data() + 264));
    if (count > kMaxPartitionMaps)
        throw ImageError("The logical volume claims too many partitions");
    std::size_t at = kMapTableStart;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::size_t length = at + 2 <= end ? lvd[at + 1] : 0;
        if (length < 6 || at + length > end) {
            throw ImageError("The partition maps of the logical volume are damaged");
        }
        const std::uint8_t* map = lvd.data() + at;
        PartitionMap added;
        if (map[0] == 1) {
            added.number = UdfLe16(map + 4);
        } else if (map[0] == 2 && length >= 64) {
            added.number = UdfLe16(map + 38);
            if (StartsWith(map + 5, "*UDF Virtual Partition")) {
                added.kind = MapKind::Virtual;
            } else if (StartsWith(map + 5, "*UDF Metadata Partition")) {
                added.kind = MapKind::Metadata;
                added.metadataFile = UdfLe32(map + 40);
                added.mirrorFile = UdfLe32(map + 44);
            }
            // A sparable partition remaps the packets a disc could not write;
            // an image holds every packet where it was written, so it is read
            // as a physical one.
        } else {
            throw ImageError("The logical volume has a partition map of an unknown kind");
        }
        const volumeid::UdfPartitionDescriptor* partition = FindPartition(added.number);
        if (!partition) {
            throw ImageError("The logical volume uses partition " + std::to_string(added.number) +
                             ", which the volume does not describe");
        }
        added.start = partition->start;
        added.length = partition->length;
        m_maps.push_back(std::move(added));
        at += length;
    }
    if (m_maps.empty()) throw ImageError("The logical volume has no partition");
    // Virtual and metadata partitions lie inside a physical one; the maps a
    // volume names keep their indexes, so a missing physical map is added last.
    std::size_t named = m_maps.size();
    for (std::size_t i = 0; i < named; ++i) {
        if (m_maps[i].kind == MapKind::Physical) continue;
        m_maps[i].underlying = PhysicalMapOf(m_maps[i].number);
        if (m_maps[i].kind == MapKind::Virtual) {
            ReadVirtualTable(i);
        } else {
            ReadMetadataRuns(i);
        }
    }
}

std::uint16_t UdfVolume::PhysicalMapOf(std::uint16_t number) {
    for (std::size_t i = 0; i < m_maps.size(); ++i) {
        if (m_maps[i].kind == MapKind::Physical && m_maps[i].number == number) {
            return static_cast<std::uint16_t>(i);
        }
    }
    PartitionMap physical;
    physical.number = number;
    physical.start = FindPartition(number)->start;
    physical.length = FindPartition(number)->length;
    m_maps.push_back(std::move(physical));
    return static_cast<std::uint16_t>(m_maps.size() - 1);
}

void UdfVolume::ReadVirtualTable(std::size_t index) {
    std::uint16_t physical = m_maps[index].underlying;
    std::uint64_t blocks = m_file.Size() / m_blockSize;
    std::uint32_t start = m_maps[physical].start;
    if (blocks <= start) throw ImageError("The image ends before its virtual partition");
    std::uint64_t last = blocks - 1 - start;
    for (std::uint32_t back = 0; back < kVirtualTableSearchBlocks && back <= last; ++back) {
        UdfAddress at{static_cast<std::uint32_t>(last - back), physical};
        UdfNode node;
        std::vector<std::uint8_t> data;
        try {
            node = ReadNode(at);
            if (node.fileType != kVirtualTableType && node.fileType != 0) continue;
            data = ReadContents(node, "the virtual allocation table");
        } catch (const ImageError&) {
            continue;
        }
        std::size_t first = 0, end = data.size();
        if (node.fileType == kVirtualTableType && data.size() >= 2) {
            first = UdfLe16(data.data());  // the length of the table's header
        } else if (data.size() >= 36 &&
                   StartsWith(data.data() + data.size() - 35, "*UDF Virtual Alloc Tbl")) {
            end = data.size() - 36;  // the older form ends with its identifier
        } else {
            continue;
        }
        for (std::size_t at4 = first; at4 + 4 <= end; at4 += 4) {
            m_maps[index].table.push_back(UdfLe32(data.data() + at4));
        }
        return;
    }
    throw ImageError("The virtual allocation table of the disc cannot be found");
}

void UdfVolume::ReadMetadataRuns(std::size_t index) {
    std::uint16_t physical = m_maps[index].underlying;
    for (std::uint32_t location : {m_maps[index].metadataFile, m_maps[index].mirrorFile}) {
        try {
            UdfNode node = ReadNode({location, physical});
            if (node.fileType != kMetadataFileType && node.fileType != kMetadataMirrorType) {
                continue;
            }
            std::uint64_t at = 0;
            for (const Extent& run : node.extents) {
                m_maps[index].runStarts.push_back(at);
                at += run.length;
            }
            m_maps[index].runs = std::move(node.extents);
            return;
        } catch (const ImageError&) {
        }
    }
    throw ImageError("Neither the metadata file of the volume nor its mirror can be read");
}

const UdfVolume::PartitionMap& UdfVolume::Map(std::uint16_t index) const {
    if (index >= m_maps.size()) {
        throw ImageError("An entry refers to partition " + std::to_string(index) +
                         ", which the logical volume does not have");
    }
    return m_maps[index];
}

std::uint64_t UdfVolume::Offset(UdfAddress address) const {
    const PartitionMap& map = Map(address.partition);
    switch (map.kind) {
        case MapKind::Physical:
            return (std::uint64_t{map.start} + address.block) * m_blockSize;
        case MapKind::Virtual:
            if (address.block >= map.table.size() ||
                map.table[address.block] == kUnusedVirtualBlock) {
                throw ImageError("The virtual allocation table has no " + BlockText(address));
            }
            return Offset({map.table[address.block], map.underlying});
        case MapKind::Metadata: {
            std::uint64_t at = std::uint64_t{address.block} * m_blockSize;
            auto after = std::upper_bound(map.runStarts.begin(), map.runStarts.end(), at);
            if (after != map.runStarts.begin()) {
                std::size_t run = static_cast<std::size_t>(after - map.runStarts.begin() - 1);
                std::uint64_t within = at - map.runStarts[run];
                if (within < map.runs[run].length) return map.runs[run].offset + within;
            }
            throw ImageError("The metadata file does not reach " + BlockText(address));
        }
    }
    return 0;
}

std::vector<std::uint8_t> UdfVolume::ReadDescriptor(UdfAddress address, std::uint16_t id,
                                                    const char* what) const {
    std::vector<std::uint8_t> block(m_blockSize);
    m_file.Read(Offset(address), block, what);
    if (!IsUdfTag(block, id)) {
        throw ImageError(std::string("There is no ") + what + " at " + BlockText(address));
    }
    return block;
}

UdfNode UdfVolume::ReadNode(UdfAddress icb) const {
    UdfAddress at = icb;
    for (int hop = 0; hop < kMaxIndirectEntries; ++hop) {
        std::vector<std::uint8_t> block(m_blockSize);
        std::uint64_t offset = Offset(at);
        m_file.Read(offset, block, "a file entry");
        if (IsUdfTag(block, volumeid::kUdfIndirectEntry)) {
            at = {UdfLe32(block.data() + 40), UdfLe16(block.data() + 44)};
            continue;
        }
        bool extended = IsUdfTag(block, volumeid::kUdfExtendedFileEntry);
        if (!extended && !IsUdfTag(block, volumeid::kUdfFileEntry)) {
            throw ImageError("There is no file entry at " + BlockText(at));
        }
        UdfNode node;
        node.fileType = block[27];
        node.size = UdfLe64(block.data() + 56);
        node.permissions = UdfLe32(block.data() + 44);
        node.modified = UdfTimestampToUtc(block.data() + (extended ? 92 : 84));
        std::size_t base = extended ? 216 : 176;
        std::uint64_t attributes = UdfLe32(block.data() + base - 8);
        std::uint64_t descriptors = UdfLe32(block.data() + base - 4);
        if (base + attributes + descriptors > m_blockSize) {
            throw ImageError("The file entry at " + BlockText(at) + " overruns its block");
        }
        std::size_t first = base + static_cast<std::size_t>(attributes);
        int kind = UdfLe16(block.data() + 34) & 7;
        if (kind == 3) {  // the data is embedded in the entry
            std::uint64_t length = std::min(descriptors, node.size);
            if (length > 0) node.extents.push_back({offset + first, length});
        } else {
            ReadAllocation(std::span(block).subspan(first, static_cast<std::size_t>(descriptors)),
                           kind, at, node);
        }
        return node;
    }
    throw ImageError("The indirect entries from " + BlockText(icb) + " loop");
}

void UdfVolume::ReadAllocation(std::span<const std::uint8_t> descriptors, int kind, UdfAddress icb,
                               UdfNode& node) const {
    std::size_t size = kind == 0 ? 8 : kind == 1 ? 16 : kind == 2 ? 20 : 0;
    if (size == 0) {
        throw ImageError("The file entry at " + BlockText(icb) +
                         " has allocation descriptors of an unknown kind");
    }
    // The data of one file cannot be larger than the image: this bounds the
    // work on a size that claims more.
    std::uint64_t remaining = std::min(node.size, m_file.Size());
    std::unordered_set<std::uint64_t> continuations;
    std::vector<std::uint8_t> holder;
    std::span<const std::uint8_t> region = descriptors;
    std::size_t at = 0;
    while (remaining > 0 && at + size <= region.size()) {
        const std::uint8_t* p = region.data() + at;
        at += size;
        std::uint32_t field = UdfLe32(p);
        std::uint32_t type = field >> 30;
        std::uint32_t length = field & 0x3FFFFFFF;
        UdfAddress address = kind == 0   ? UdfAddress{UdfLe32(p + 4), icb.partition}
                             : kind == 1 ? UdfAddress{UdfLe32(p + 4), UdfLe16(p + 8)}
                                         : UdfAddress{UdfLe32(p + 12), UdfLe16(p + 16)};
        if (length == 0) break;
        if (type == kNextDescriptors) {
            if (!continuations.insert(Offset(address)).second) {
                throw ImageError("The allocation descriptors of the entry at " + BlockText(icb) +
                                 " loop");
            }
            holder = ReadDescriptor(address, volumeid::kUdfAllocationExtent,
                                    "allocation extent descriptor");
            std::uint32_t used = UdfLe32(holder.data() + 20);
            if (used > m_blockSize - 24) {
                throw ImageError("The allocation extent at " + BlockText(address) +
                                 " overruns its block");
            }
            region = std::span(holder).subspan(24, used);
            at = 0;
            continue;
        }
        std::uint64_t taken = std::min<std::uint64_t>(length, remaining);
        remaining -= taken;
        // Extents allocated but not recorded read as zeros: no image bytes.
        if (type == kRecorded) AppendExtent(address, taken, node.extents);
    }
}

void UdfVolume::AppendExtent(UdfAddress start, std::uint64_t length,
                             std::vector<Extent>& out) const {
    std::uint64_t imageSize = m_file.Size();
    auto push = [&](std::uint64_t offset, std::uint64_t bytes) {
        if (offset >= imageSize) return;
        bytes = std::min(bytes, imageSize - offset);
        if (!out.empty() && out.back().offset + out.back().length == offset) {
            out.back().length += bytes;
        } else {
            out.push_back({offset, bytes});
        }
    };
    if (Map(start.partition).kind == MapKind::Physical) {
        push(Offset(start), length);
        return;
    }
    // Virtual and metadata blocks each map on their own.
    for (std::uint64_t done = 0; done < length; done += m_blockSize) {
        std::uint64_t block = std::uint64_t{start.block} + done / m_blockSize;
        if (block > UINT32_MAX) throw ImageError("An extent runs past the end of its partition");
        push(Offset({static_cast<std::uint32_t>(block), start.partition}),
             std::min<std::uint64_t>(m_blockSize, length - done));
    }
}

std::vector<std::uint8_t> UdfVolume::ReadContents(const UdfNode& node, const char* what) const {
    if (node.size > std::min(m_file.Size(), kMaxContentsSize)) {
        throw ImageError(std::string("The ") + what + " claims " + std::to_string(node.size) +
                         " bytes, more than the image holds");
    }
    std::vector<std::uint8_t> data;
    for (const Extent& extent : node.extents) {
        std::uint64_t taken = std::min<std::uint64_t>(extent.length, node.size - data.size());
        if (taken == 0) break;
        std::size_t old = data.size();
        data.resize(old + static_cast<std::size_t>(taken));
        m_file.Read(extent.offset, std::span(data).subspan(old), what);
    }
    return data;
}

}  // namespace kest::image
