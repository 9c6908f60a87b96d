#include "platform/linux/VolumeProbe.h"

#include <blkid/blkid.h>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "platform/linux/VolumeSerial.h"

namespace kest::platform::os {

namespace {

// Closes a descriptor and frees a probe at the end of a scope.
struct ProbeHandles {
    int fd = -1;
    blkid_probe probe = nullptr;
    ~ProbeHandles() {
        if (probe) blkid_free_probe(probe);
        if (fd >= 0) close(fd);
    }
};

std::string ProbeValue(blkid_probe probe, const char* name) {
    const char* data = nullptr;
    if (blkid_probe_lookup_value(probe, name, &data, nullptr) != 0 || !data) return {};
    return data;
}

// The last session of a multisession disc holds the current descriptors.
std::uint64_t LastSessionStart(int fd) {
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISBLK(info.st_mode)) return 0;
    cdrom_multisession session{};
    session.addr_format = CDROM_LBA;
    if (ioctl(fd, CDROMMULTISESSION, &session) != 0 || !session.xa_flag) return 0;
    return session.addr.lba > 0 ? static_cast<std::uint64_t>(session.addr.lba) : 0;
}

}  // namespace

std::string FileSystemName(const std::string& type, const std::string& version) {
    if (type == "vfat" || type == "msdos") return version == "FAT32" ? "FAT32" : "FAT";
    if (type == "exfat") return "exFAT";
    if (type == "ntfs" || type == "ntfs3") return "NTFS";
    if (type == "iso9660") return "CDFS";
    std::string name = type;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name;
}

std::uint32_t SerialFromUuid(const std::string& type, const std::string& uuid) {
    std::string digits;
    for (char c : uuid) {
        if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
    }
    if (type == "ntfs" && digits.size() > 8) digits.erase(0, digits.size() - 8);
    digits = digits.substr(0, 8);
    return digits.empty() ? 0 : static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
}

std::optional<VolumeInfo> ProbeVolume(const std::string& path) {
    ProbeHandles handles;
    handles.fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (handles.fd < 0) return std::nullopt;
    handles.probe = blkid_new_probe();
    if (!handles.probe || blkid_probe_set_device(handles.probe, handles.fd, 0, 0) != 0) {
        return std::nullopt;
    }
    blkid_probe_enable_superblocks(handles.probe, 1);
    blkid_probe_set_superblocks_flags(handles.probe, BLKID_SUBLKS_LABEL | BLKID_SUBLKS_UUID |
                                                         BLKID_SUBLKS_TYPE | BLKID_SUBLKS_VERSION);
    if (blkid_do_safeprobe(handles.probe) != 0) return std::nullopt;

    std::string type = ProbeValue(handles.probe, "TYPE");
    VolumeInfo info;
    info.ok = true;
    info.fileSystem = FileSystemName(type, ProbeValue(handles.probe, "VERSION"));
    info.label = ProbeValue(handles.probe, "LABEL");
    std::uint32_t serial = SerialFromUuid(type, ProbeValue(handles.probe, "UUID"));
    if (type == "iso9660") {
        // The probe reports the long primary label; the volume's own label is
        // the Joliet one when there is one, and its serial a checksum.
        std::optional<IsoVolume> iso = ReadIsoVolume(handles.fd, LastSessionStart(handles.fd));
        if (iso) info.label = iso->label;
        serial = iso ? iso->serial : 0;
    } else if (type == "udf") {
        serial = ReadUdfSerial(handles.fd).value_or(0);
    }
    info.serial = FormatSerial(serial);
    return info;
}

}  // namespace kest::platform::os
