#include "support/platform/FakeVolumes.h"

#include <filesystem>
#include <stdexcept>

namespace kest::test {

namespace {

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

std::string FakeVolumes::Add(FakeDrive drive) {
    drive.folder = WithoutTrailingSlash(drive.folder);
    m_drives.push_back(std::move(drive));
    return m_drives.back().folder + "/";
}

FakeVolumes::FakeDrive& FakeVolumes::At(const std::string& root) {
    const FakeDrive* drive = Find(root);
    if (!drive) throw std::invalid_argument("no fake drive holds " + root);
    return m_drives[static_cast<size_t>(drive - m_drives.data())];
}

const FakeVolumes::FakeDrive* FakeVolumes::Find(const std::string& path) const {
    std::string wanted = WithoutTrailingSlash(path);
    const FakeDrive* best = nullptr;
    for (const FakeDrive& drive : m_drives) {
        const std::string& folder = drive.folder;
        bool holds = wanted.compare(0, folder.size(), folder) == 0 &&
                     (wanted.size() == folder.size() || wanted[folder.size()] == '/');
        if (holds && (!best || folder.size() > best->folder.size())) best = &drive;
    }
    return best;
}

std::vector<platform::Drive> FakeVolumes::ListDrives() const {
    std::vector<platform::Drive> drives;
    for (const FakeDrive& drive : m_drives) {
        std::string root = drive.folder + "/";
        std::string text =
            drive.present && !drive.label.empty() ? root + " [" + drive.label + "]" : root;
        drives.push_back(
            {root, text, drive.type, platform::DriveIconIndex(drive.type, drive.floppy)});
    }
    return drives;
}

platform::DriveType FakeVolumes::GetDriveType(const std::string& root) const {
    const FakeDrive* drive = Find(root);
    return drive ? drive->type : platform::DriveType::Unknown;
}

platform::VolumeInfo FakeVolumes::GetVolumeInfo(const std::string& root) const {
    const FakeDrive* drive = Find(root);
    if (!drive || !drive->present) return {};
    return {
        true, drive->label, drive->serial, drive->fileSystem, drive->capacity, drive->freeSpace};
}

platform::DiscPresence FakeVolumes::CheckDiscPresent(const std::string& root) const {
    const FakeDrive* drive = Find(root);
    if (!drive) return platform::DiscPresence::Missing;
    if (drive->type != platform::DriveType::Removable &&
        drive->type != platform::DriveType::Optical) {
        return platform::DiscPresence::NotChecked;
    }
    std::error_code ec;
    return drive->present && std::filesystem::is_directory(drive->folder, ec)
               ? platform::DiscPresence::Present
               : platform::DiscPresence::Missing;
}

std::string DescribeRoot(const platform::Volumes& volumes, const std::string& root) {
    const char* presence[] = {"unchecked", "present", "missing"};
    platform::VolumeInfo info = volumes.GetVolumeInfo(root);
    return std::string(platform::DriveTypeName(volumes.GetDriveType(root))) + " " +
           presence[static_cast<int>(volumes.CheckDiscPresent(root))] +
           (info.ok ? " ok [" : " not ok [") + info.label + "] " + info.serial + " " +
           info.fileSystem;
}

std::vector<std::string> DescribeDrives(const platform::Volumes& volumes) {
    std::vector<std::string> lines;
    for (const platform::Drive& d : volumes.ListDrives()) {
        lines.push_back(d.root + " " + platform::DriveTypeName(d.type) + " " +
                        std::to_string(d.iconIndex) + " " + d.text);
    }
    return lines;
}

}  // namespace kest::test
