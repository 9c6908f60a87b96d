#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kest {

class KestError;

// A settings file with the semantics of Windows profile files: section and key
// names compared without regard to case, the first of duplicate keys wins, a
// missing file or key gives the default, values longer than 2047 characters
// come back cut, matching quotes around a value are dropped. The file is read
// once at construction; Save writes every change back in one step.
class IniFile {
  public:
    explicit IniFile(std::filesystem::path path);
    ~IniFile();
    IniFile(IniFile&&) noexcept;
    IniFile& operator=(IniFile&&) noexcept;

    const std::filesystem::path& Path() const { return m_path; }
    // Why a file that exists could not be read (its settings are then the
    // defaults); empty when it was read or does not exist.
    const std::string& Problem() const;

    std::string Read(std::string_view section, std::string_view key,
                     std::string_view defaultValue) const;

    // The key's value as the file holds it (not cut, quotes kept); none when
    // the key is missing.
    std::optional<std::string> Stored(std::string_view section, std::string_view key) const;
    // How many keys the section holds (duplicates counted); -1 without it.
    long KeysIn(std::string_view section) const;
    // Whether the file still holds the bytes read at construction.
    bool UnchangedOnDisk() const;

    // An empty key deletes the whole section; an empty value deletes the key.
    void Write(std::string_view section, std::string_view key, std::string_view value);

    // Writes a temporary file beside the settings file and renames it over the
    // old one, so a full disk or a crash leaves the old file whole. Returns
    // false, touching nothing, when the file is read-only, could not be read,
    // or holds no INI text at all, or when the write fails. A file that
    // already holds exactly the text is left alone.
    bool Save() const;
    // Why the last Save could not write the file (a full disk, a folder it
    // may not write to); null when it wrote or had nothing to write.
    const KestError* SaveFailure() const;

  private:
    struct Impl;
    std::filesystem::path m_path;
    std::unique_ptr<Impl> m_impl;
};

// The settings file of this run: Kest.ini in AppPaths::ForRun()'s folder, fixed
// at first use (the start-up fixes the program folder before anything reads).
const std::filesystem::path& IniPath();

// One-value access to a settings file; an empty `file` means IniPath().
std::string ReadIni(std::string_view section, std::string_view key, std::string_view defaultValue,
                    const std::string& file = "");
// Returns non-zero on success; a failed write changes nothing and is not reported.
long WriteIni(std::string_view section, std::string_view key, std::string_view value,
              const std::string& file = "");

}  // namespace kest
