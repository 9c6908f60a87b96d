#pragma once

#include <filesystem>
#include <string>

namespace kest::test {

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    // Writes a file (creating folders) and gives its path.
    std::string Write(const std::string& name, const std::string& content) const;

  private:
    std::filesystem::path m_path;
};

// The shared test data folder beside the project, or "" when it is absent.
std::string SharedDataDir();

}  // namespace kest::test
