#include "platform/linux/VolumeSerial.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace kest::platform::os {

namespace {

constexpr std::uint64_t kIsoSector = 2048;
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

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Joliet names are UCS-2 big-endian; surrogate pairs are joined when present.
std::string Ucs2BeToUtf8(const std::uint8_t* p, size_t chars) {
    std::string out;
    for (size_t i = 0; i < chars; ++i) {
        std::uint32_t code = static_cast<std::uint32_t>(p[2 * i] << 8 | p[2 * i + 1]);
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < chars) {
            std::uint32_t low = static_cast<std::uint32_t>(p[2 * i + 2] << 8 | p[2 * i + 3]);
            if (low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        AppendUtf8(out, code);
    }
    return out;
}

std::string TrimLabel(std::string label) {
    while (!label.empty() && (label.back() == ' ' || label.back() == '\0')) label.pop_back();
    return label;
}

bool IsJoliet(const std::uint8_t* descriptor) {
    return descriptor[88] == '%' && descriptor[89] == '/' &&
           (descriptor[90] == '@' || descriptor[90] == 'C' || descriptor[90] == 'E');
}

}  // namespace

std::uint32_t IsoDescriptorSerial(std::span<const std::uint8_t> descriptor) {
    auto lanes = DescriptorLaneSums(descriptor);
    return std::uint32_t{lanes[0]} << 24 | std::uint32_t{lanes[1]} << 16 |
           std::uint32_t{lanes[2]} << 8 | lanes[3];
}

std::optional<IsoVolume> ReadIsoVolume(int fd, std::uint64_t sessionStart) {
    std::array<std::uint8_t, kIsoSector> descriptor{};
    std::optional<std::array<std::uint8_t, kIsoSector>> primary;
    for (std::uint64_t sector = sessionStart + 16;; ++sector) {
        if (!ReadAt(fd, sector * kIsoSector, descriptor)) break;
        std::uint8_t type = descriptor[0];
        if (std::memcmp(descriptor.data() + 1, "CD001", 5) != 0 || descriptor[6] != 1 ||
            type == 255) {
            break;
        }
        if (type == 2 && IsJoliet(descriptor.data())) {
            return IsoVolume{TrimLabel(Ucs2BeToUtf8(descriptor.data() + 40, 16)),
                             IsoDescriptorSerial(descriptor)};
        }
        if (type == 1 && !primary) primary = descriptor;
    }
    if (!primary) return std::nullopt;
    std::string label(reinterpret_cast<const char*>(primary->data() + 40), 32);
    return IsoVolume{TrimLabel(label), IsoDescriptorSerial(*primary)};
}

std::optional<std::uint32_t> ReadUdfSerial(int fd) {
    ReadBytes read = [fd](std::uint64_t offset, std::span<std::uint8_t> buffer) {
        return ReadAt(fd, offset, buffer);
    };
    off_t end = lseek(fd, 0, SEEK_END);
    auto volume = ReadUdfVolumeDescriptors(read, end > 0 ? static_cast<std::uint64_t>(end) : 0);
    if (!volume) return std::nullopt;
    const UdfPartitionDescriptor& partition = volume->partitions.front();
    std::array<std::uint8_t, kUdfFileSetSize> block{};
    auto fileSetAt = [&](std::uint32_t relative) {
        return read((partition.start + std::uint64_t{relative}) * volume->blockSize, block) &&
               IsUdfTag(block, kUdfFileSet);
    };
    if (fileSetAt(UdfLe32(volume->logicalVolume.data() + 252))) return UdfDescriptorSerial(block);
    std::uint32_t limit = std::min(partition.length, kUdfFileSetSearchBlocks);
    for (std::uint32_t relative = 0; relative < limit; ++relative) {
        if (fileSetAt(relative)) return UdfDescriptorSerial(block);
    }
    return std::nullopt;
}

}  // namespace kest::platform::os
