#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kest::platform {

// Drive types, numbered as the classic drive-type codes so that logs and
// tests can compare them to 2 (removable), 3 (fixed), 4 (network), 5 (CD-ROM).
enum class DriveType { Unknown = 0, Removable = 2, Fixed = 3, Network = 4, Optical = 5 };

const char* DriveTypeName(DriveType type);  // "unknown", "removable", "fixed", ...

// Icon of a drive in the drive box: 1 floppy, 2 other removable, 3 fixed,
// 4 optical, 5 network; 0 for a type the box does not show.
int DriveIconIndex(DriveType type, bool floppy);

// One drive of the drive box (an item of it: the root to scan, the text shown
// and the icon). A mounted volume's root is its mount point with
// a trailing "/" ("/", "/media/ann/BACKUP_01/"); an optical drive without a
// mounted medium is named by its device ("/dev/sr0").
struct Drive {
    std::string root;
    std::string text;  // the drive list's own entry text: root, then details
    DriveType type = DriveType::Unknown;
    int iconIndex = 0;
};

// What a volume tells about itself. Not ok: label and file system "[error]",
// serial "0000-0000".
struct VolumeInfo {
    bool ok = false;
    std::string label = "[error]";
    std::string serial = "0000-0000";    // "1A2B-03CD"
    std::string fileSystem = "[error]";  // "FAT32", "NTFS", "CDFS", "UDF", "EXT4", ...
    // The volume's size and free space in bytes when asked; -1 when unknown.
    int64_t capacity = -1;
    int64_t freeSpace = -1;
};

// 32 bits as eight upper-case hexadecimal digits in two groups: "0000-0ABC".
std::string FormatSerial(std::uint32_t serial);

// Result of CheckDiscPresent, with the numbers the scan compares against.
enum class DiscPresence { NotChecked = 0, Present = 1, Missing = 2 };

// The machine's drives as the scan and the file functions see them.
class Volumes {
  public:
    virtual ~Volumes() = default;

    // Every drive the drive box may offer, in display order.
    virtual std::vector<Drive> ListDrives() const = 0;
    // The type of the drive holding root (Unknown when nothing holds it).
    virtual DriveType GetDriveType(const std::string& root) const = 0;
    // Never throws; a failure is the not-ok result.
    virtual VolumeInfo GetVolumeInfo(const std::string& root) const = 0;
    // Removable and optical roots are checked: Present when the root can be
    // entered, Missing when there is no medium or the root cannot be entered.
    // Other drives are not checked.
    virtual DiscPresence CheckDiscPresent(const std::string& root) const = 0;

    bool IsOptical(const std::string& root) const {
        return GetDriveType(root) == DriveType::Optical;
    }
};

// What follows the text of a drive offered in place of missing optical drives.
inline constexpr const char* kNotOpticalMark = " (not optical)";

// The items of the drive box. Optical drives are always offered, shown as
// "<root> " alone when their volume cannot be read (no disc), else as
// "<root> [<label>]". Removable, fixed and network drives are offered with
// their own text unless onlyOptical is set; with onlyOptical set on a machine
// without optical drives they are offered too, their text ending in
// kNotOpticalMark.
std::vector<Drive> DriveBoxItems(const Volumes& volumes, bool onlyOptical);
// Why a drive box of itemCount items offers nothing, for the status bar;
// empty when it offers something.
std::string EmptyDriveBoxNote(size_t itemCount, bool onlyOptical);

// The real drives of this machine.
std::unique_ptr<Volumes> MakeSystemVolumes();

}  // namespace kest::platform
