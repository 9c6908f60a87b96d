#pragma once

#include <filesystem>
#include <string>

namespace kest {

// The program folder and the files the program keeps in it: the settings file,
// the scan log, the properties report, the default catalog and the sounds.
class AppPaths {
  public:
    // Uses `folder` as it stands (nothing is created).
    explicit AppPaths(std::filesystem::path folder);

    // Finds the program folder: `home` when given; else the executable's folder
    // when a Kest.ini stands beside the executable (a portable install); else
    // $XDG_DATA_HOME/kest, by default ~/.local/share/kest. The folder is
    // created when missing; if that fails, reads give defaults and writes fail
    // quietly, as with any unwritable folder.
    static AppPaths Locate(const std::string& home);

    // The program folder of this run: fixed by the first call (from `home`, as
    // Locate finds it); later calls return the same folder whatever they pass.
    static const AppPaths& ForRun(const std::string& home = "");

    const std::filesystem::path& Folder() const { return m_folder; }
    // The folder as text without a trailing '/' ("/" stays "/").
    std::string FolderText() const;

    std::filesystem::path IniPath() const { return m_folder / kIniName; }
    std::filesystem::path ScanLogPath() const { return m_folder / "Kest.dat"; }
    std::filesystem::path ReportPath() const { return m_folder / "Kest.log"; }
    std::filesystem::path DefaultCatalogPath() const { return m_folder / kDefaultCatalogName; }
    std::filesystem::path SoundsFolder() const { return m_folder / "sounds"; }
    // The sound played at the end of a scan unless the settings name another.
    std::filesystem::path DefaultEndScanSound() const { return SoundsFolder() / "oyeah.wav"; }

    // The settings file keeps the program's own name whatever the executable
    // is called (kest, kest-cli).
    static constexpr const char* kIniName = "Kest.ini";
    static constexpr const char* kDefaultCatalogName = "kest001.kst";

  private:
    std::filesystem::path m_folder;
};

}  // namespace kest
