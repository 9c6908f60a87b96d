#pragma once

#include <optional>
#include <string>

#include "platform/Volumes.h"

namespace CLI {
class App;
}

namespace kest::cli {

// --volume-label, --volume-serial and --volume-fs: what a folder (or a test)
// says of its volume instead of the machine.
struct VolumeOverrides {
    std::optional<std::string> label, serial, fileSystem;
};
void AddVolumeOptions(CLI::App& command, VolumeOverrides& overrides);
// A folder given on the command line as a drive's root: absolute, ending in "/".
std::string GivenRoot(const std::string& typed);

// The machine's volumes, except that the folder being scanned may be given
// its own drive type, label, serial and file system on the command line.
class GivenVolume : public platform::Volumes {
  public:
    GivenVolume(const platform::Volumes& real, std::string root) : m_real(real), m_root(root) {}

    std::optional<platform::DriveType> type;
    VolumeOverrides given;

    std::vector<platform::Drive> ListDrives() const override { return m_real.ListDrives(); }
    platform::DriveType GetDriveType(const std::string& root) const override;
    platform::VolumeInfo GetVolumeInfo(const std::string& root) const override;
    platform::DiscPresence CheckDiscPresent(const std::string& root) const override;

  private:
    bool IsGiven(const std::string& root) const { return root == m_root; }

    const platform::Volumes& m_real;
    std::string m_root;
};

// "removable", "fixed", "network", "optical" (or the numbers 2 to 5).
std::optional<platform::DriveType> ParseDriveType(const std::string& text);

}  // namespace kest::cli
