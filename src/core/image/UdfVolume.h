#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/image/DiscImage.h"
#include "core/image/ImageFile.h"
#include "core/volumeid/UdfDescriptors.h"

namespace kest::image {

// A block of a partition the logical volume names by its index in its maps.
struct UdfAddress {
    std::uint32_t block = 0;
    std::uint16_t partition = 0;
};

// A file entry (plain or extended) as far as a catalog needs it.
struct UdfNode {
    std::uint8_t fileType = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    std::uint32_t permissions = 0;  // the owner's write bit is 0x800
    // The image bytes holding the data in order; for data embedded in the
    // entry, the entry's own bytes.
    std::vector<Extent> extents;
};

// The logical volume: its partition maps (physical, virtual through the
// allocation table of a CD-R, metadata through the metadata file of UDF 2.50)
// and the reading of file entries and their allocation descriptors. Every
// damage is an ImageError; every chain it follows is bounded.
class UdfVolume {
  public:
    UdfVolume(const ImageFile& file, const volumeid::UdfVolumeDescriptors& descriptors);

    std::uint32_t BlockSize() const { return m_blockSize; }
    // The byte offset of a block in the image.
    std::uint64_t Offset(UdfAddress address) const;
    // One block of a partition, checked to hold the descriptor tag id.
    std::vector<std::uint8_t> ReadDescriptor(UdfAddress address, std::uint16_t id,
                                             const char* what) const;
    // The file entry at an ICB, following indirect entries.
    UdfNode ReadNode(UdfAddress icb) const;
    // A node's data, at most its size; raises ImageError when it claims more
    // than the image holds.
    std::vector<std::uint8_t> ReadContents(const UdfNode& node, const char* what) const;

  private:
    enum class MapKind { Physical, Virtual, Metadata };
    struct PartitionMap {
        MapKind kind = MapKind::Physical;
        std::uint16_t number = 0;
        std::uint32_t start = 0;  // of the partition descriptor, in blocks
        std::uint32_t length = 0;
        // Virtual and metadata: the map of the physical partition they lie in.
        std::uint16_t underlying = 0;
        // Virtual: the physical partition block of each virtual block.
        std::vector<std::uint32_t> table;
        // Metadata: the image bytes of the metadata file, in order, and where
        // each run starts in the file.
        std::vector<Extent> runs;
        std::vector<std::uint64_t> runStarts;
        std::uint32_t metadataFile = 0, mirrorFile = 0;
    };

    void AddMaps(const volumeid::UdfVolumeDescriptors& descriptors);
    const volumeid::UdfPartitionDescriptor* FindPartition(std::uint16_t number) const;
    std::uint16_t PhysicalMapOf(std::uint16_t number);
    void ReadVirtualTable(std::size_t index);
    void ReadMetadataRuns(std::size_t index);
    const PartitionMap& Map(std::uint16_t index) const;
    // Appends the image bytes of `length` bytes from `start` on, joining
    // neighbours and leaving out what lies past the end of the image.
    void AppendExtent(UdfAddress start, std::uint64_t length, std::vector<Extent>& out) const;
    void ReadAllocation(std::span<const std::uint8_t> descriptors, int kind, UdfAddress icb,
                        UdfNode& node) const;

    const ImageFile& m_file;
    std::uint32_t m_blockSize = 0;
    std::vector<volumeid::UdfPartitionDescriptor> m_partitions;
    std::vector<PartitionMap> m_maps;
};

}  // namespace kest::image
