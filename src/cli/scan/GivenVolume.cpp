#include "cli/scan/GivenVolume.h"

#include <fcntl.h>
#include <unistd.h>
#include <CLI/CLI.hpp>

#include "core/app/Session.h"

namespace kest::cli {

std::string GivenRoot(const std::string& typed) {
    std::string root = app::AbsolutePath(typed);
    if (root.back() != '/') root += '/';
    return root;
}

void AddVolumeOptions(CLI::App& command, VolumeOverrides& overrides) {
    command.add_option("--volume-label", overrides.label, "Volume label to record");
    command.add_option("--volume-serial", overrides.serial, "Volume serial to record (XXXX-XXXX)");
    command.add_option("--volume-fs", overrides.fileSystem, "File system name to record");
}

using platform::DriveType;

std::optional<DriveType> ParseDriveType(const std::string& text) {
    for (DriveType type :
         {DriveType::Removable, DriveType::Fixed, DriveType::Network, DriveType::Optical}) {
        if (text == platform::DriveTypeName(type) ||
            text == std::to_string(static_cast<int>(type))) {
            return type;
        }
    }
    return std::nullopt;
}

DriveType GivenVolume::GetDriveType(const std::string& root) const {
    return IsGiven(root) && type ? *type : m_real.GetDriveType(root);
}

platform::VolumeInfo GivenVolume::GetVolumeInfo(const std::string& root) const {
    platform::VolumeInfo info = m_real.GetVolumeInfo(root);
    if (!IsGiven(root)) return info;
    if (given.label || given.serial || given.fileSystem) info.ok = true;
    if (given.label) info.label = *given.label;
    if (given.serial) info.serial = *given.serial;
    if (given.fileSystem) info.fileSystem = *given.fileSystem;
    return info;
}

platform::DiscPresence GivenVolume::CheckDiscPresent(const std::string& root) const {
    if (!IsGiven(root) || !type) return m_real.CheckDiscPresent(root);
    if (*type != DriveType::Removable && *type != DriveType::Optical) {
        return platform::DiscPresence::NotChecked;
    }
    int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return platform::DiscPresence::Missing;
    close(fd);
    return platform::DiscPresence::Present;
}

}  // namespace kest::cli
