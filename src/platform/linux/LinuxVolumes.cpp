#include "platform/linux/LinuxVolumes.h"

#include <fcntl.h>
#include <linux/cdrom.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <set>
#include <string_view>
#include <tuple>

#include "platform/linux/VolumeProbe.h"

namespace kest::platform {

std::unique_ptr<Volumes> MakeSystemVolumes() {
    return std::make_unique<os::LinuxVolumes>();
}

namespace os {

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 14> kNetworkTypes = {
    "nfs", "nfs4",       "cifs",        "smb3",       "smbfs", "9p",        "ceph",
    "afs", "fuse.sshfs", "fuse.rclone", "fuse.davfs", "davfs", "glusterfs", "fuse.gvfsd-fuse"};

// Kernel file systems: never a volume to catalogue. Memory file systems
// (tmpfs, ramfs) hold the user's files like any disk and are offered.
constexpr std::array<std::string_view, 23> kPseudoTypes = {
    "proc",       "sysfs",   "devtmpfs",  "devpts",    "cgroup",     "cgroup2",
    "securityfs", "pstore",  "efivarfs",  "bpf",       "debugfs",    "tracefs",
    "configfs",   "fusectl", "mqueue",    "hugetlbfs", "autofs",     "binfmt_misc",
    "rpc_pipefs", "nsfs",    "selinuxfs", "squashfs",  "fuse.portal"};

// Folders whose mounts belong to the system, not to the user's volumes. Under
// /run only the desktop's media and network-share folders are shown.
constexpr std::array<std::string_view, 6> kSystemFolders = {"/proc", "/sys",  "/dev",
                                                            "/boot", "/snap", "/efi"};

template <size_t N>
bool IsOneOf(const std::string& text, const std::array<std::string_view, N>& set) {
    return std::find(set.begin(), set.end(), text) != set.end();
}

bool IsBelow(const std::string& path, std::string_view folder) {
    return path.compare(0, folder.size(), folder) == 0 &&
           (path.size() == folder.size() || path[folder.size()] == '/');
}

bool IsUserMountPoint(const std::string& mountPoint) {
    for (std::string_view folder : kSystemFolders) {
        if (IsBelow(mountPoint, folder)) return false;
    }
    if (IsBelow(mountPoint, "/run")) {
        return IsBelow(mountPoint, "/run/media") || mountPoint.find("/gvfs") != std::string::npos;
    }
    return true;
}

std::string RootOf(const std::string& mountPoint) {
    return mountPoint == "/" ? mountPoint : mountPoint + "/";
}

bool IsDeviceSource(const std::string& source) {
    return source.rfind("/dev/", 0) == 0;
}

DriveType Classify(const MountEntry& mount, const std::optional<BlockDevice>& device) {
    if (IsOneOf(mount.fsType, kNetworkTypes)) return DriveType::Network;
    if (IsOneOf(mount.fsType, kPseudoTypes)) return DriveType::Unknown;
    if (device) {
        // A mounted CD image counts as a CD, as it does on the desktop.
        bool discImage =
            !device->backingFile.empty() && (mount.fsType == "iso9660" || mount.fsType == "udf");
        if (device->optical || discImage) return DriveType::Optical;
        return device->removable ? DriveType::Removable : DriveType::Fixed;
    }
    return DriveType::Fixed;
}

DriveType TypeOfDevice(const BlockDevice& device) {
    if (device.optical) return DriveType::Optical;
    return device.removable ? DriveType::Removable : DriveType::Fixed;
}

// FNV-1a of the mount source: a stable stand-in serial for network shares
// that report none.
std::uint32_t HashSerial(const std::string& text) {
    std::uint32_t hash = 2166136261u;
    for (char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

// The SMB client's mount information, laid out as the kernel's cifs ioctl
// interface has it: the server volume's own serial is in it.
struct __attribute__((packed)) SmbMountInfo {
    std::uint32_t version;
    std::uint16_t protocolId;
    std::uint16_t treeConnectFlags;
    std::uint32_t volumeSerial;
    std::uint32_t others[11];
    std::uint64_t posixCapabilities;
};
static_assert(sizeof(SmbMountInfo) == 64);
constexpr unsigned long kCifsGetMountInfo = _IOR(0xCF, 5, SmbMountInfo);

std::uint32_t NetworkSerial(const MountEntry& mount, const std::string& path) {
    if (mount.fsType == "cifs" || mount.fsType == "smb3") {
        int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        SmbMountInfo info{};
        bool ok = fd >= 0 && ioctl(fd, kCifsGetMountInfo, &info) == 0;
        if (fd >= 0) close(fd);
        if (ok) return info.volumeSerial;
    }
    return HashSerial(mount.source);
}

std::optional<std::uint32_t> FatVolumeId(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::uint32_t id = 0;
    bool ok = ioctl(fd, FAT_IOCTL_GET_VOLUME_ID, &id) == 0;
    close(fd);
    return ok ? std::optional(id) : std::nullopt;
}

// Errors that mean the medium is gone or its root cannot be entered.
bool IsNoMediumError(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
        case EACCES:
        case EPERM:
        case EIO:
        case ENOMEDIUM:
        case ENXIO:
        case ENODEV:
        case ESTALE:
            return true;
        default:
            return false;
    }
}

DiscPresence DriveStatus(const std::string& node) {
    int fd = open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return DiscPresence::Missing;
    int status = ioctl(fd, CDROM_DRIVE_STATUS, CDSL_CURRENT);
    close(fd);
    if (status == CDS_DISC_OK) return DiscPresence::Present;
    if (status == CDS_NO_DISC || status == CDS_TRAY_OPEN || status == CDS_DRIVE_NOT_READY) {
        return DiscPresence::Missing;
    }
    // No drive status to ask (an image standing in for a drive): a readable
    // volume is a disc.
    return ProbeVolume(node) ? DiscPresence::Present : DiscPresence::Missing;
}

bool ReadDeviceNumbers(const fs::path& devFile, unsigned& major, unsigned& minor) {
    std::ifstream in(devFile);
    char colon = 0;
    return static_cast<bool>(in >> major >> colon >> minor) && colon == ':';
}

}  // namespace

LinuxVolumes::LinuxVolumes(SystemPaths paths) : m_paths(std::move(paths)) {}

LinuxVolumes::Place LinuxVolumes::PlaceOfMount(const MountEntry& mount,
                                               const std::string& path) const {
    Place place;
    place.path = path;
    place.mount = mount;
    place.major = mount.major;
    place.minor = mount.minor;
    place.device = DescribeBlockDevice(m_paths, mount.major, mount.minor);
    // btrfs and similar mount under an anonymous number; the source names the device.
    struct stat info {};
    if (!place.device && IsDeviceSource(mount.source) && stat(mount.source.c_str(), &info) == 0 &&
        S_ISBLK(info.st_mode)) {
        place.major = ::major(info.st_rdev);
        place.minor = ::minor(info.st_rdev);
        place.device = DescribeBlockDevice(m_paths, place.major, place.minor);
    }
    place.type = Classify(mount, place.device);
    return place;
}

std::optional<LinuxVolumes::Place> LinuxVolumes::LocateDeviceNode(const std::string& node) const {
    Place place;
    place.path = node;
    std::string name = fs::path(node).filename().string();
    if (!ReadDeviceNumbers(fs::path(m_paths.sys) / "class" / "block" / name / "dev", place.major,
                           place.minor)) {
        return std::nullopt;
    }
    place.device = DescribeBlockDevice(m_paths, place.major, place.minor);
    if (!place.device) return std::nullopt;
    place.type = TypeOfDevice(*place.device);
    return place;
}

std::optional<LinuxVolumes::Place> LinuxVolumes::Locate(const std::string& root) const {
    if (IsBelow(root, m_paths.dev)) return LocateDeviceNode(root);
    std::error_code ec;
    fs::path path = fs::canonical(root, ec);
    if (ec) return std::nullopt;
    std::vector<MountEntry> mounts = ReadMountInfo(m_paths.mountInfo);
    const MountEntry* mount = FindMountFor(mounts, path.string());
    if (!mount) return std::nullopt;
    return PlaceOfMount(*mount, path.string());
}

std::vector<Drive> LinuxVolumes::ListDrives() const {
    std::vector<MountEntry> mounts = ReadMountInfo(m_paths.mountInfo);
    // A folder of a volume mounted more than once is listed once, at its
    // shortest mount point; a bind mount of another folder is a drive of its own.
    std::stable_sort(mounts.begin(), mounts.end(), [](const MountEntry& a, const MountEntry& b) {
        return std::pair(a.root.size(), a.mountPoint.size()) <
               std::pair(b.root.size(), b.mountPoint.size());
    });
    std::vector<Drive> drives;
    std::set<std::pair<unsigned, unsigned>> devices;
    std::set<std::tuple<unsigned, unsigned, std::string>> seen;
    for (const MountEntry& mount : mounts) {
        // Bind mounts of single files (containers) are no drives.
        std::error_code ec;
        if (!IsUserMountPoint(mount.mountPoint) || !fs::is_directory(mount.mountPoint, ec)) {
            continue;
        }
        Place place = PlaceOfMount(mount, mount.mountPoint);
        if (place.type == DriveType::Unknown ||
            !seen.insert({place.major, place.minor, mount.root}).second) {
            continue;
        }
        devices.insert({place.major, place.minor});
        Drive drive;
        drive.root = RootOf(mount.mountPoint);
        drive.type = place.type;
        drive.iconIndex = DriveIconIndex(place.type, place.device && place.device->floppy);
        std::string detail = place.type == DriveType::Network ? mount.source : InfoOf(place).label;
        drive.text = detail.empty() ? drive.root : drive.root + " [" + detail + "]";
        drives.push_back(std::move(drive));
    }
    std::sort(drives.begin(), drives.end(),
              [](const Drive& a, const Drive& b) { return a.root < b.root; });

    for (const std::string& node : ListOpticalDrives(m_paths)) {
        std::optional<Place> place = LocateDeviceNode(node);
        if (!place || devices.count({place->major, place->minor})) continue;
        drives.push_back(
            {node, node, DriveType::Optical, DriveIconIndex(DriveType::Optical, false)});
    }
    return drives;
}

DriveType LinuxVolumes::GetDriveType(const std::string& root) const {
    std::optional<Place> place = Locate(root);
    return place ? place->type : DriveType::Unknown;
}

VolumeInfo LinuxVolumes::GetVolumeInfo(const std::string& root) const {
    std::optional<Place> place = Locate(root);
    VolumeInfo info = place ? InfoOf(*place) : VolumeInfo{};
    struct statvfs space;
    if (info.ok && ::statvfs(root.c_str(), &space) == 0) {
        info.capacity = static_cast<int64_t>(space.f_blocks * space.f_frsize);
        info.freeSpace = static_cast<int64_t>(space.f_bavail * space.f_frsize);
    }
    return info;
}

VolumeInfo LinuxVolumes::InfoOf(const Place& place) const {
    if (!place.mount)
        return place.device ? ProbeVolume(place.device->node).value_or(VolumeInfo{}) : VolumeInfo{};
    const MountEntry& mount = *place.mount;
    if (place.type == DriveType::Network) {
        VolumeInfo info;
        info.ok = true;
        info.label.clear();
        info.serial = FormatSerial(NetworkSerial(mount, place.path));
        std::string type =
            mount.fsType.rfind("fuse.", 0) == 0 ? mount.fsType.substr(5) : mount.fsType;
        info.fileSystem = FileSystemName(type, "");
        return info;
    }
    if (place.device) {
        // Image files behind loop devices and optical devices are readable by
        // the user; other disks usually are not, and udev answers for them.
        for (const std::string& path : {place.device->backingFile, place.device->node}) {
            if (path.empty()) continue;
            if (std::optional<VolumeInfo> info = ProbeVolume(path)) return *info;
        }
    }
    return InfoFromUdev(place);
}

VolumeInfo LinuxVolumes::InfoFromUdev(const Place& place) const {
    auto properties = ReadUdevProperties(m_paths, place.major, place.minor);
    std::string type = properties["ID_FS_TYPE"];
    VolumeInfo info;
    info.ok = true;
    if (type.empty()) {
        // Nothing known beyond the mount itself.
        type = place.mount->fsType;
        info.fileSystem = FileSystemName(type, "");
        info.label.clear();
    } else {
        info.fileSystem = FileSystemName(type, properties["ID_FS_VERSION"]);
        info.label = properties.count("ID_FS_LABEL_ENC")
                         ? DecodeUdevText(properties["ID_FS_LABEL_ENC"])
                         : properties["ID_FS_LABEL"];
    }
    std::uint32_t serial = 0;
    if (type == "vfat" || type == "msdos") {
        std::optional<std::uint32_t> id = FatVolumeId(place.path);
        serial = id ? *id : SerialFromUuid(type, properties["ID_FS_UUID"]);
    } else if (type != "iso9660" && type != "udf") {
        // An optical UUID is a date or a random number, not the serial.
        serial = SerialFromUuid(type, properties["ID_FS_UUID"]);
    }
    info.serial = FormatSerial(serial);
    return info;
}

DiscPresence LinuxVolumes::CheckDiscPresent(const std::string& root) const {
    std::optional<Place> place = Locate(root);
    // A root that no longer exists: its medium was taken out and unmounted.
    if (!place) return DiscPresence::Missing;
    if (place->type != DriveType::Removable && place->type != DriveType::Optical) {
        return DiscPresence::NotChecked;
    }
    if (!place->mount) return DriveStatus(place->device->node);
    // Entering the root is tried without making it the current directory,
    // which would keep the medium busy and stop it from being ejected.
    int fd = open(place->path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        close(fd);
        return DiscPresence::Present;
    }
    return IsNoMediumError(errno) ? DiscPresence::Missing : DiscPresence::NotChecked;
}

}  // namespace os

}  // namespace kest::platform
