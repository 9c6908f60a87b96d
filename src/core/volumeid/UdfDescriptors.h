#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

// The byte layout of a UDF volume's descriptors, shared by the volume probe
// (a device or image the system mounts) and the image reader.
namespace kest::volumeid {

// Reads exactly buffer.size() bytes at offset; false when the medium ends or fails first.
using ReadBytes = std::function<bool(std::uint64_t offset, std::span<std::uint8_t> buffer)>;

enum UdfTag : std::uint16_t {
    kUdfAnchor = 2,
    kUdfPointer = 3,
    kUdfPartition = 5,
    kUdfLogicalVolume = 6,
    kUdfTerminating = 8,
    kUdfFileSet = 256,
    kUdfFileIdentifier = 257,
    kUdfAllocationExtent = 258,
    kUdfIndirectEntry = 259,
    kUdfFileEntry = 261,
    kUdfExtendedFileEntry = 266,
};

constexpr std::size_t kUdfTagSize = 16;
constexpr std::size_t kUdfFileSetSize = 512;

inline std::uint16_t UdfLe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline std::uint32_t UdfLe32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}
inline std::uint64_t UdfLe64(const std::uint8_t* p) {
    return std::uint64_t{UdfLe32(p)} | std::uint64_t{UdfLe32(p + 4)} << 32;
}

// The descriptor tag (its first 16 bytes) carries id and its checksum is right.
bool IsUdfTag(std::span<const std::uint8_t> descriptor, std::uint16_t id);

struct UdfPartitionDescriptor {
    std::uint16_t number = 0;
    std::uint32_t start = 0;  // in blocks from the start of the medium
    std::uint32_t length = 0;
};

struct UdfVolumeDescriptors {
    std::uint32_t blockSize = 0;
    std::vector<UdfPartitionDescriptor> partitions;
    // The logical volume descriptor (one block): label, partition maps and
    // where the file set descriptor lies.
    std::vector<std::uint8_t> logicalVolume;
};

// Finds the anchor at block 256 (or in the last block) for each usual block
// size, then reads the main volume descriptor sequence, or the reserve one when
// the main one lacks a partition or a logical volume. mediumSize may be 0 when
// unknown (no last-block anchor is then looked for).
std::optional<UdfVolumeDescriptors> ReadUdfVolumeDescriptors(const ReadBytes& read,
                                                             std::uint64_t mediumSize);

}  // namespace kest::volumeid
