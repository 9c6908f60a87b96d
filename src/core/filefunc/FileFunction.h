#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/search/ListSelection.h"
#include "core/ui/Prompter.h"
#include "platform/Shell.h"
#include "platform/Volumes.h"

namespace kest::engine {
class Database;
}

namespace kest::filefunc {

// The three file functions by their menu numbers.
inline constexpr int kOpenFile = 1;
inline constexpr int kOpenFolder = 2;
inline constexpr int kExploreFolder = 3;

// The disc and file a file function works on, as the catalog holds them.
struct FileTarget {
    std::string kestId;
    std::string fileId;
    std::string serial;
    std::string label;
    std::string dir;  // "<root>" for the disc's root folder
    std::string name;
};

// Looks up the disc and the file of a results row (grid rows, 0 the header;
// nothing happens there or on a row without a KestId). A missing row shows
// "no records"; an error shows its number under the function's title.
std::optional<FileTarget> LookUpResultsRow(engine::Database& db, const ListTable& results,
                                           size_t gridRow, int function, Prompter& prompter);
// The same for identifiers given as text; an empty kestId takes the file's disc.
std::optional<FileTarget> LookUpFileTarget(engine::Database& db, const std::string& kestId,
                                           const std::string& fileId, int function,
                                           Prompter& prompter);

// The settings the dialog reads and (with its default-drive button) writes.
struct DriveSettings {
    bool useDefaultDrive = false;
    std::string defaultDrive;  // a mount point
};

// The file function dialog: the drive list, the default drive, the target and
// its OK button, which checks the disc in the chosen drive and hands the path
// to the desktop.
class FileFuncDialog {
  public:
    FileFuncDialog(FileTarget target, int function, const platform::Volumes& volumes,
                   platform::Shell& shell, DriveSettings& settings);

    // "Open File", "Open Folder", "Explore Folder" or "File Function Error".
    std::string Caption() const;
    bool OkEnabled() const { return ValidFunction(); }

    const std::vector<platform::Drive>& Drives() const { return m_drives; }
    std::optional<size_t> Selected() const { return m_selected; }
    void SelectDrive(size_t index);
    // Selects the entry of this root, adding it to the list when the list
    // lacks it (a folder given on the command line); false for an empty root.
    bool UseRoot(const std::string& root);

    // The default-drive button and its label show only with UseDefaultDrive.
    bool ShowsDefaultDrive() const { return m_settings.useDefaultDrive; }
    const std::string& DefaultDriveCaption() const { return m_defaultCaption; }
    // The button: the selected drive becomes the default drive.
    void SetDefaultDrive();

    // The OK button's tool tip: the path the function will open.
    std::string Target() const;

    // The OK button; true when the desktop took the path and the dialog closed.
    bool Ok(Prompter& prompter);
    bool Closed() const { return m_closed; }
    void Cancel() { m_closed = true; }

  private:
    bool ValidFunction() const { return m_function >= kOpenFile && m_function <= kExploreFolder; }
    std::string Root() const;
    std::string RelativeFolder() const;
    bool RunOk(Prompter& prompter);
    bool ConfirmVolume(Prompter& prompter);

    FileTarget m_target;
    int m_function;
    const platform::Volumes& m_volumes;
    platform::Shell& m_shell;
    DriveSettings& m_settings;
    std::vector<platform::Drive> m_drives;
    std::optional<size_t> m_selected;
    std::string m_defaultCaption;
    bool m_closed = false;
};

// Loads the dialog (its drive list and default drive). An error while
// loading shows "Error in loading FileFunc Form" with its number and text,
// and there is no dialog.
std::optional<FileFuncDialog> LoadFileFuncDialog(FileTarget target, int function,
                                                 const platform::Volumes& volumes,
                                                 platform::Shell& shell, DriveSettings& settings,
                                                 Prompter& prompter);

}  // namespace kest::filefunc
