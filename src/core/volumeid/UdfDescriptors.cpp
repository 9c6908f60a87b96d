#include "core/volumeid/UdfDescriptors.h"

#include <algorithm>
#include <map>

namespace kest::volumeid {

namespace {

constexpr std::uint32_t kAnchorBlock = 256;
// A sequence is 16 blocks at least; pointers may chain it further. These
// bounds keep a looping or absurd sequence from being read forever.
constexpr std::uint32_t kMaxSequenceDescriptors = 512;
constexpr int kMaxSequencePointers = 16;

struct Extent {
    std::uint32_t length = 0;
    std::uint32_t location = 0;
};

Extent ExtentAt(const std::uint8_t* p) {
    return {UdfLe32(p), UdfLe32(p + 4)};
}

// The descriptors of one sequence, keeping for each kind the one with the
// highest sequence number (a later one replaces an earlier one).
struct Sequence {
    std::map<std::uint16_t, std::pair<std::uint32_t, UdfPartitionDescriptor>> partitions;
    std::optional<std::pair<std::uint32_t, std::vector<std::uint8_t>>> logicalVolume;
};

Sequence ReadSequence(const ReadBytes& read, std::uint32_t blockSize, Extent extent) {
    Sequence sequence;
    std::vector<std::uint8_t> block(blockSize);
    std::uint32_t descriptors = 0;
    int pointers = 0;
    for (std::uint32_t i = 0; i < extent.length / blockSize; ++i) {
        if (++descriptors > kMaxSequenceDescriptors) break;
        if (!read((std::uint64_t{extent.location} + i) * blockSize, block)) break;
        std::uint16_t id = UdfLe16(block.data());
        if (!IsUdfTag(block, id) || id == kUdfTerminating) break;
        std::uint32_t number = UdfLe32(block.data() + 16);
        if (id == kUdfPointer) {
            if (++pointers > kMaxSequencePointers) break;
            extent = ExtentAt(block.data() + 20);
            i = static_cast<std::uint32_t>(-1);  // the loop's increment starts the new extent
        } else if (id == kUdfPartition) {
            UdfPartitionDescriptor partition{UdfLe16(block.data() + 22),
                                             UdfLe32(block.data() + 188),
                                             UdfLe32(block.data() + 192)};
            auto found = sequence.partitions.find(partition.number);
            if (found == sequence.partitions.end() || found->second.first <= number) {
                sequence.partitions[partition.number] = {number, partition};
            }
        } else if (id == kUdfLogicalVolume) {
            if (!sequence.logicalVolume || sequence.logicalVolume->first <= number) {
                sequence.logicalVolume = {number, block};
            }
        }
    }
    return sequence;
}

std::optional<std::pair<std::uint32_t, std::vector<std::uint8_t>>> FindAnchor(
    const ReadBytes& read, std::uint64_t mediumSize) {
    for (std::uint32_t size : {2048u, 512u, 1024u, 4096u}) {
        std::vector<std::uint32_t> candidates{kAnchorBlock};
        std::uint64_t blocks = mediumSize / size;
        if (blocks > kAnchorBlock + 1 && blocks <= UINT32_MAX) {
            candidates.push_back(static_cast<std::uint32_t>(blocks - 1));
            candidates.push_back(static_cast<std::uint32_t>(blocks - 1 - kAnchorBlock));
        }
        std::vector<std::uint8_t> block(size);
        for (std::uint32_t candidate : candidates) {
            if (read(std::uint64_t{candidate} * size, block) && IsUdfTag(block, kUdfAnchor) &&
                UdfLe32(block.data() + 12) == candidate) {
                return std::pair{size, block};
            }
        }
    }
    return std::nullopt;
}

}  // namespace

bool IsUdfTag(std::span<const std::uint8_t> descriptor, std::uint16_t id) {
    if (descriptor.size() < kUdfTagSize || UdfLe16(descriptor.data()) != id) return false;
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // Fuzzing skips the checksum so that mutated descriptors reach the parsers.
    return true;
#else
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < kUdfTagSize; ++i) {
        if (i != 4) sum = static_cast<std::uint8_t>(sum + descriptor[i]);
    }
    return sum == descriptor[4];
#endif
}

std::optional<UdfVolumeDescriptors> ReadUdfVolumeDescriptors(const ReadBytes& read,
                                                             std::uint64_t mediumSize) {
    auto anchor = FindAnchor(read, mediumSize);
    if (!anchor) return std::nullopt;
    auto [blockSize, block] = *anchor;
    for (std::size_t at : {16u, 24u}) {  // the main sequence, then the reserve one
        Sequence sequence = ReadSequence(read, blockSize, ExtentAt(block.data() + at));
        if (sequence.partitions.empty() || !sequence.logicalVolume) continue;
        UdfVolumeDescriptors volume;
        volume.blockSize = blockSize;
        for (const auto& [number, partition] : sequence.partitions) {
            volume.partitions.push_back(partition.second);
        }
        volume.logicalVolume = std::move(sequence.logicalVolume->second);
        return volume;
    }
    return std::nullopt;
}

}  // namespace kest::volumeid
