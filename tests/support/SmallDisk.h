#pragma once

#include <filesystem>
#include <string>

#include "support/TempDir.h"

namespace kest::test {

// A small tmpfs mounted on a fresh folder for the object's life: a disk that
// fills up for real. Where mounting is not allowed Mounted() is false and
// the test skips.
class SmallDisk {
  public:
    // `size` as the mount option takes it ("256k", "1m").
    explicit SmallDisk(const std::string& size);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return m_mounted; }
    const std::filesystem::path& Path() const { return m_dir.Path(); }
    std::string File(const std::string& name) const { return m_dir.File(name); }
    // Writes a filler file until the disk is full.
    void Fill() const;

  private:
    TempDir m_dir;
    bool m_mounted = false;
};

}  // namespace kest::test
