#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kest::platform::os {

// One line of /proc/self/mountinfo, with the octal escapes of paths undone.
struct MountEntry {
    unsigned major = 0;
    unsigned minor = 0;
    std::string root;        // the folder of the file system mounted here ("/" = all of it)
    std::string mountPoint;  // without a trailing "/" except for "/" itself
    std::string fsType;      // "ext4", "vfat", "fuseblk", "nfs4", ...
    std::string source;      // "/dev/sdb1", "server:/export", ...
};

// Parses mountinfo text; lines that do not have the expected shape are skipped.
std::vector<MountEntry> ParseMountInfo(std::string_view text);
std::vector<MountEntry> ReadMountInfo(const std::string& path);

// Undoes the kernel's "\ooo" escapes (space, tab, newline and backslash).
std::string UnescapeMountField(std::string_view field);

// The entry whose mount point holds path (an absolute, normalised path): the
// longest matching mount point, the last one mounted when several are equal.
const MountEntry* FindMountFor(const std::vector<MountEntry>& mounts, const std::string& path);

}  // namespace kest::platform::os
