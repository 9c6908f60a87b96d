#pragma once

#include <cstdint>
#include <optional>

#include "core/volumeid/VolumeIds.h"

namespace kest::platform::os {

using volumeid::IsoDescriptorSerial;
using volumeid::IsoVolume;
using volumeid::UdfDescriptorSerial;

// Reads the volume descriptors of the session starting at sessionStart (in
// 2048-byte sectors) from fd, a device or an image file.
std::optional<IsoVolume> ReadIsoVolume(int fd, std::uint64_t sessionStart = 0);

// The serial of a UDF volume: the checksum of its File Set Descriptor.
std::optional<std::uint32_t> ReadUdfSerial(int fd);

}  // namespace kest::platform::os
