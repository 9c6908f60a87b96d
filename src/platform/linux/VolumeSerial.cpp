#include "platform/linux/VolumeSerial.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <vector>

#include "core/volumeid/UdfDescriptors.h"

namespace kest::platform::os {

namespace {

constexpr std::uint64_t kIsoSector = volumeid::kIsoSectorSize;
// How far into the partition to look for the File Set Descriptor when the
// logical volume does not point straight at it (metadata partitions).
constexpr std::uint32_t kUdfFileSetSearchBlocks = 1024;

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
    volumeid::ReadBytes read = [fd](std::uint64_t offset, std::span<std::uint8_t> buffer) {
        return ReadAt(fd, offset, buffer);
    };
    off_t end = lseek(fd, 0, SEEK_END);
    auto volume =
        volumeid::ReadUdfVolumeDescriptors(read, end > 0 ? static_cast<std::uint64_t>(end) : 0);
    if (!volume) return std::nullopt;
    const volumeid::UdfPartitionDescriptor& partition = volume->partitions.front();
    std::array<std::uint8_t, volumeid::kUdfFileSetSize> block{};
    auto fileSetAt = [&](std::uint32_t relative) {
        return read((partition.start + std::uint64_t{relative}) * volume->blockSize, block) &&
               volumeid::IsUdfTag(block, volumeid::kUdfFileSet);
    };
    if (fileSetAt(volumeid::UdfLe32(volume->logicalVolume.data() + 252))) {
        return volumeid::UdfDescriptorSerial(block);
    }
    std::uint32_t limit = std::min(partition.length, kUdfFileSetSearchBlocks);
    for (std::uint32_t relative = 0; relative < limit; ++relative) {
        if (fileSetAt(relative)) return volumeid::UdfDescriptorSerial(block);
    }
    return std::nullopt;
}

}  // namespace kest::platform::os
