#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kest::volumeid {

inline constexpr size_t kIsoSectorSize = 2048;

// The serial numbers of optical file systems are checksums of one descriptor:
// its bytes summed modulo 256 in four lanes by offset modulo 4. ISO 9660 puts
// lane 0 in the high byte, UDF in the low byte.
std::uint32_t IsoDescriptorSerial(std::span<const std::uint8_t> descriptor);
std::uint32_t UdfDescriptorSerial(std::span<const std::uint8_t> descriptor);

// Label and serial of an ISO 9660 volume, taken from the first Joliet
// descriptor when there is one, else from the primary descriptor.
struct IsoVolume {
    std::string label;  // UTF-8, trailing spaces and NULs removed
    std::uint32_t serial = 0;
};

// Whether a 2048-byte sector is an ISO 9660 volume descriptor ("CD001",
// version 1); the set terminator (type 255) is one too.
bool IsIsoDescriptor(std::span<const std::uint8_t> sector);
// A supplementary descriptor whose escape sequence names UCS-2 (Joliet).
bool IsJolietDescriptor(std::span<const std::uint8_t> descriptor);
// The label and serial a primary or Joliet descriptor gives.
IsoVolume IsoVolumeOf(std::span<const std::uint8_t> descriptor);

// UCS-2 big-endian text (Joliet, UDF) as UTF-8; surrogate pairs are joined, an
// unpaired surrogate becomes U+FFFD.
std::string Ucs2BeToUtf8(const std::uint8_t* p, size_t chars);

}  // namespace kest::volumeid
