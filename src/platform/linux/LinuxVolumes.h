#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Volumes.h"
#include "platform/linux/BlockDevices.h"
#include "platform/linux/MountTable.h"

namespace kest::platform::os {

// Drives are the mounted volumes of the mount table that a user would scan,
// plus optical drives whose medium is not mounted (named by their device).
class LinuxVolumes : public Volumes {
  public:
    explicit LinuxVolumes(SystemPaths paths = {});

    std::vector<Drive> ListDrives() const override;
    DriveType GetDriveType(const std::string& root) const override;
    VolumeInfo GetVolumeInfo(const std::string& root) const override;
    DiscPresence CheckDiscPresent(const std::string& root) const override;

  private:
    // What holds a root: the mount (none for a bare device node), the block
    // device with its numbers, and the resulting drive type.
    struct Place {
        std::string path;
        std::optional<MountEntry> mount;
        std::optional<BlockDevice> device;
        unsigned major = 0;
        unsigned minor = 0;
        DriveType type = DriveType::Unknown;
    };

    std::optional<Place> Locate(const std::string& root) const;
    std::optional<Place> LocateDeviceNode(const std::string& node) const;
    Place PlaceOfMount(const MountEntry& mount, const std::string& path) const;
    VolumeInfo InfoOf(const Place& place) const;
    VolumeInfo InfoFromUdev(const Place& place) const;

    SystemPaths m_paths;
};

}  // namespace kest::platform::os
