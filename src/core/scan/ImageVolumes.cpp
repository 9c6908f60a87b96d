#include "core/scan/ImageVolumes.h"

namespace kest::scan {

ImageVolumes::ImageVolumes(const platform::Volumes& machine, std::string root,
                           const image::DiscImage& image, int64_t imageSize)
    : m_machine(machine), m_root(std::move(root)) {
    m_info.ok = true;
    m_info.label = image.Label();
    m_info.serial = platform::FormatSerial(image.Serial());
    m_info.fileSystem = image.FileSystem();
    // A mounted disc is full: its size is the image's, nothing is free.
    m_info.capacity = imageSize;
    m_info.freeSpace = 0;
}

platform::DriveType ImageVolumes::GetDriveType(const std::string& root) const {
    return root == m_root ? platform::DriveType::Optical : m_machine.GetDriveType(root);
}

platform::VolumeInfo ImageVolumes::GetVolumeInfo(const std::string& root) const {
    return root == m_root ? m_info : m_machine.GetVolumeInfo(root);
}

platform::DiscPresence ImageVolumes::CheckDiscPresent(const std::string& root) const {
    return root == m_root ? platform::DiscPresence::Present : m_machine.CheckDiscPresent(root);
}

}  // namespace kest::scan
