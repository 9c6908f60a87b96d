#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kest::platform::os {

// Where the kernel and udev publish what they know; tests point these at
// folders of their own.
struct SystemPaths {
    std::string mountInfo = "/proc/self/mountinfo";
    std::string sys = "/sys";
    std::string udevData = "/run/udev/data";
    std::string dev = "/dev";
};

// A block device and the disk it belongs to.
struct BlockDevice {
    std::string node;         // "/dev/sdb1"
    std::string disk;         // kernel name of the whole disk: "sdb", "sr0", "loop3"
    std::string backingFile;  // the image file behind a loop device
    bool removable = false;   // the disk's removable-media bit (USB hard disks are fixed)
    bool optical = false;
    bool floppy = false;
};

std::optional<BlockDevice> DescribeBlockDevice(const SystemPaths& paths, unsigned major,
                                               unsigned minor);

// The udev database entry of a block device: its E: properties
// (ID_FS_TYPE, ID_FS_LABEL_ENC, ID_FS_UUID, ID_CDROM, ...).
std::map<std::string, std::string> ReadUdevProperties(const SystemPaths& paths, unsigned major,
                                                      unsigned minor);

// Undoes udev's "\xNN" escapes (ID_FS_LABEL_ENC).
std::string DecodeUdevText(const std::string& text);

// Device nodes of the optical drives ("/dev/sr0", ...), sorted.
std::vector<std::string> ListOpticalDrives(const SystemPaths& paths);

}  // namespace kest::platform::os
