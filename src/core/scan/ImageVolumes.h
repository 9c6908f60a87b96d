#pragma once

#include <string>

#include "core/image/DiscImage.h"
#include "platform/Volumes.h"

namespace kest::scan {

// The machine's drives with one more: a disc image, whose root is its path
// followed by "/", answering as a disc in an optical drive would.
class ImageVolumes : public platform::Volumes {
  public:
    ImageVolumes(const platform::Volumes& machine, std::string root, const image::DiscImage& image,
                 int64_t imageSize);

    std::vector<platform::Drive> ListDrives() const override { return m_machine.ListDrives(); }
    platform::DriveType GetDriveType(const std::string& root) const override;
    platform::VolumeInfo GetVolumeInfo(const std::string& root) const override;
    platform::DiscPresence CheckDiscPresent(const std::string& root) const override;

  private:
    const platform::Volumes& m_machine;
    std::string m_root;
    platform::VolumeInfo m_info;
};

}  // namespace kest::scan
