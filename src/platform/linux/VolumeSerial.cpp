#include "platform/linux/VolumeSerial.h"

#include <unistd.h>

#include <array>
#include <vector>

namespace kest::platform::os {

namespace {

constexpr std::uint64_t kIsoSector = volumeid::kIsoSectorSize;
constexpr std::uint64_t kUdfAnchorSector = 256;
constexpr size_t kUdfTagSize = 16;
constexpr size_t kUdfFileSetSize = 512;
// How far into the partition to look for the File Set Descriptor when the
// logical volume does not point straight at it (metadata partitions).
constexpr std::uint32_t kUdfFileSetSearchBlocks = 1024;

enum UdfTag : std::uint16_t {
    kAnchor = 2,
    kPartition = 5,
    kLogicalVolume = 6,
    kTerminating = 8,
    kFileSet = 256,
};

bool ReadAt(int fd, std::uint64_t offset, std::span<std::uint8_t> buffer) {
    size_t done = 0;
    while (done < buffer.size()) {
        ssize_t got = pread(fd, buffer.data() + done, buffer.size() - done,
                            static_cast<off_t>(offset + done));
        if (got <= 0) return false;
        done += static_cast<size_t>(got);
    }
    return true;
}

std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t Le32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

bool IsValidUdfTag(const std::uint8_t* tag, std::uint16_t id) {
    std::uint8_t sum = 0;
    for (size_t i = 0; i < kUdfTagSize; ++i) {
        if (i != 4) sum = static_cast<std::uint8_t>(sum + tag[i]);
    }
    return Le16(tag) == id && sum == tag[4];
}

struct UdfLayout {
    std::uint64_t blockSize = 0;
    std::uint32_t partitionStart = 0;
    std::uint32_t partitionLength = 0;
    std::optional<std::uint32_t> fileSetBlock;  // relative to the partition
};

std::optional<UdfLayout> ReadUdfLayout(int fd) {
    std::array<std::uint8_t, kUdfFileSetSize> block{};
    UdfLayout layout;
    for (std::uint64_t size : {2048u, 512u, 1024u, 4096u}) {
        if (ReadAt(fd, kUdfAnchorSector * size, block) && IsValidUdfTag(block.data(), kAnchor) &&
            Le32(block.data() + 12) == kUdfAnchorSector) {
            layout.blockSize = size;
            break;
        }
    }
    if (layout.blockSize == 0) return std::nullopt;

    std::uint32_t sequenceBlocks =
        static_cast<std::uint32_t>(Le32(block.data() + 16) / layout.blockSize);
    std::uint32_t sequenceStart = Le32(block.data() + 20);
    bool havePartition = false;
    for (std::uint32_t i = 0; i < sequenceBlocks && i < 64; ++i) {
        if (!ReadAt(fd, (sequenceStart + i) * layout.blockSize, block)) break;
        std::uint16_t id = Le16(block.data());
        if (!IsValidUdfTag(block.data(), id) || id == kTerminating) break;
        if (id == kPartition && !havePartition) {
            layout.partitionStart = Le32(block.data() + 188);
            layout.partitionLength = Le32(block.data() + 192);
            havePartition = true;
        } else if (id == kLogicalVolume && !layout.fileSetBlock) {
            layout.fileSetBlock = Le32(block.data() + 252);
        }
    }
    if (!havePartition) return std::nullopt;
    return layout;
}

}  // namespace

std::optional<IsoVolume> ReadIsoVolume(int fd, std::uint64_t sessionStart) {
    std::array<std::uint8_t, kIsoSector> descriptor{};
    std::optional<IsoVolume> primary;
    for (std::uint64_t sector = sessionStart + 16;; ++sector) {
        if (!ReadAt(fd, sector * kIsoSector, descriptor)) break;
        if (!volumeid::IsIsoDescriptor(descriptor) || descriptor[0] == 255) break;
        if (volumeid::IsJolietDescriptor(descriptor)) return volumeid::IsoVolumeOf(descriptor);
        if (descriptor[0] == 1 && !primary) primary = volumeid::IsoVolumeOf(descriptor);
    }
    return primary;
}

std::optional<std::uint32_t> ReadUdfSerial(int fd) {
    std::optional<UdfLayout> layout = ReadUdfLayout(fd);
    if (!layout) return std::nullopt;
    std::array<std::uint8_t, kUdfFileSetSize> block{};
    auto fileSetAt = [&](std::uint32_t relative) {
        return ReadAt(fd, (layout->partitionStart + std::uint64_t{relative}) * layout->blockSize,
                      block) &&
               IsValidUdfTag(block.data(), kFileSet);
    };
    if (layout->fileSetBlock && fileSetAt(*layout->fileSetBlock)) {
        return volumeid::UdfDescriptorSerial(block);
    }
    std::uint32_t limit = std::min(layout->partitionLength, kUdfFileSetSearchBlocks);
    for (std::uint32_t relative = 0; relative < limit; ++relative) {
        if (fileSetAt(relative)) return volumeid::UdfDescriptorSerial(block);
    }
    return std::nullopt;
}

}  // namespace kest::platform::os
