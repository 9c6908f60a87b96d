#include "platform/linux/VolumeSerial.h"

#include <unistd.h>

#include <array>
#include <cstring>
#include <vector>

namespace kest::platform::os {

namespace {

constexpr std::uint64_t kIsoSector = 2048;
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

std::array<std::uint8_t, 4> LaneSums(std::span<const std::uint8_t> bytes) {
    std::array<std::uint8_t, 4> lanes{};
    for (size_t i = 0; i < bytes.size(); ++i) lanes[i % 4] += bytes[i];
    return lanes;
}

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

std::uint32_t IsoDescriptorSerial(std::span<const std::uint8_t> descriptor) {
    auto lanes = LaneSums(descriptor);
    return std::uint32_t{lanes[0]} << 24 | std::uint32_t{lanes[1]} << 16 |
           std::uint32_t{lanes[2]} << 8 | lanes[3];
}

std::uint32_t UdfDescriptorSerial(std::span<const std::uint8_t> descriptor) {
    auto lanes = LaneSums(descriptor);
    return std::uint32_t{lanes[3]} << 24 | std::uint32_t{lanes[2]} << 16 |
           std::uint32_t{lanes[1]} << 8 | lanes[0];
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
    std::optional<UdfLayout> layout = ReadUdfLayout(fd);
    if (!layout) return std::nullopt;
    std::array<std::uint8_t, kUdfFileSetSize> block{};
    auto fileSetAt = [&](std::uint32_t relative) {
        return ReadAt(fd, (layout->partitionStart + std::uint64_t{relative}) * layout->blockSize,
                      block) &&
               IsValidUdfTag(block.data(), kFileSet);
    };
    if (layout->fileSetBlock && fileSetAt(*layout->fileSetBlock)) {
        return UdfDescriptorSerial(block);
    }
    std::uint32_t limit = std::min(layout->partitionLength, kUdfFileSetSearchBlocks);
    for (std::uint32_t relative = 0; relative < limit; ++relative) {
        if (fileSetAt(relative)) return UdfDescriptorSerial(block);
    }
    return std::nullopt;
}

}  // namespace kest::platform::os
