#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Volumes.h"

namespace kest::platform::os {

// Reads label, serial and file system straight from a device node or an image
// file: the same code serves a disc in a drive and an image on disk. nullopt
// when the path cannot be read or holds no recognised file system.
std::optional<VolumeInfo> ProbeVolume(const std::string& path);

// The name shown for a file system, from the probe's TYPE and VERSION:
// "FAT", "FAT32", "exFAT", "NTFS", "CDFS", "UDF", else TYPE in upper case.
std::string FileSystemName(const std::string& type, const std::string& version);

// The 32-bit serial a volume's UUID stands for: FAT and exFAT UUIDs are the
// serial itself, NTFS keeps it in the low half of its 64-bit number, other
// file systems give the first eight hexadecimal digits. 0 when there are none.
std::uint32_t SerialFromUuid(const std::string& type, const std::string& uuid);

}  // namespace kest::platform::os
