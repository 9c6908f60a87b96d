#pragma once

#include <string>
#include <vector>

#include "platform/Volumes.h"

namespace kest::test {

// Drives made of ordinary folders, with the volume facts a test chooses.
class FakeVolumes : public platform::Volumes {
  public:
    struct FakeDrive {
        std::string folder;  // any folder; the drive's root is folder + "/"
        platform::DriveType type = platform::DriveType::Fixed;
        std::string label;
        std::string serial = "0000-0000";
        std::string fileSystem = "NTFS";
        bool floppy = false;
        // false: the medium is out; its volume cannot be read and a removable
        // or optical drive reports the disc missing.
        bool present = true;
        int64_t capacity = -1;  // bytes; -1 unknown
        int64_t freeSpace = -1;
    };

    // Adds a drive and gives its root.
    std::string Add(FakeDrive drive);
    // The drive holding root, to change its facts (throws when there is none).
    FakeDrive& At(const std::string& root);

    std::vector<platform::Drive> ListDrives() const override;
    platform::DriveType GetDriveType(const std::string& root) const override;
    platform::VolumeInfo GetVolumeInfo(const std::string& root) const override;
    platform::DiscPresence CheckDiscPresent(const std::string& root) const override;

  private:
    const FakeDrive* Find(const std::string& path) const;

    std::vector<FakeDrive> m_drives;
};

// What `volumes` tells about one root, as one line to compare:
// "<type> <unchecked|present|missing> <ok|not ok> [<label>] <serial> <file system>".
std::string DescribeRoot(const platform::Volumes& volumes, const std::string& root);
// Each listed drive as "<root> <type> <icon> <text>".
std::vector<std::string> DescribeDrives(const platform::Volumes& volumes);

}  // namespace kest::test
