#include "core/volumeid/VolumeIds.h"

#include <array>
#include <cstring>

namespace kest::volumeid {

namespace {

std::array<std::uint8_t, 4> LaneSums(std::span<const std::uint8_t> bytes) {
    std::array<std::uint8_t, 4> lanes{};
    for (size_t i = 0; i < bytes.size(); ++i) lanes[i % 4] += bytes[i];
    return lanes;
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

std::string TrimLabel(std::string label) {
    while (!label.empty() && (label.back() == ' ' || label.back() == '\0')) label.pop_back();
    return label;
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

bool IsIsoDescriptor(std::span<const std::uint8_t> sector) {
    return sector.size() >= kIsoSectorSize && std::memcmp(sector.data() + 1, "CD001", 5) == 0 &&
           sector[6] == 1;
}

bool IsJolietDescriptor(std::span<const std::uint8_t> descriptor) {
    return descriptor[0] == 2 && descriptor[88] == '%' && descriptor[89] == '/' &&
           (descriptor[90] == '@' || descriptor[90] == 'C' || descriptor[90] == 'E');
}

IsoVolume IsoVolumeOf(std::span<const std::uint8_t> descriptor) {
    std::string label =
        IsJolietDescriptor(descriptor)
            ? Ucs2BeToUtf8(descriptor.data() + 40, 16)
            : std::string(reinterpret_cast<const char*>(descriptor.data() + 40), 32);
    return IsoVolume{TrimLabel(std::move(label)), IsoDescriptorSerial(descriptor)};
}

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
        // A surrogate left alone has no UTF-8 form.
        if (code >= 0xD800 && code < 0xE000) code = 0xFFFD;
        AppendUtf8(out, code);
    }
    return out;
}

}  // namespace kest::volumeid
