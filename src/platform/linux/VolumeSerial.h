#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/UdfDescriptors.h"

namespace kest::platform::os {

// The serial numbers of optical file systems are checksums of one descriptor:
// its bytes summed modulo 256 in four lanes by offset modulo 4. ISO 9660 puts
// lane 0 in the high byte, UDF in the low byte (UdfDescriptorSerial).
std::uint32_t IsoDescriptorSerial(std::span<const std::uint8_t> descriptor);

// Label and serial of an ISO 9660 volume, taken from the first Joliet
// descriptor when there is one, else from the primary descriptor.
struct IsoVolume {
    std::string label;  // UTF-8, trailing spaces and NULs removed
    std::uint32_t serial = 0;
};

// Reads the volume descriptors of the session starting at sessionStart (in
// 2048-byte sectors) from fd, a device or an image file.
std::optional<IsoVolume> ReadIsoVolume(int fd, std::uint64_t sessionStart = 0);

// The serial of a UDF volume: the checksum of its File Set Descriptor.
std::optional<std::uint32_t> ReadUdfSerial(int fd);

}  // namespace kest::platform::os
