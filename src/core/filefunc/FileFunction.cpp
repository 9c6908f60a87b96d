#include "core/filefunc/FileFunction.h"

#include <filesystem>

#include "core/common/Errors.h"
#include "core/engine/Database.h"
#include "core/engine/FirstRow.h"
#include "core/search/SearchText.h"
#include "core/search/SqlText.h"
#include "core/shell/ShellRun.h"
#include "core/text/NameBytes.h"

namespace kest::filefunc {
using shell::kShellSuccess;
using shell::ShellRun;
namespace {

std::string LookupErrorTitle(int function) {
    switch (function) {
        case kOpenFile:
            return "Error in opening file";
        case kOpenFolder:
            return "Error in opening folder";
        case kExploreFolder:
            return "Error in exploring folder";
        default:
            return "Unknown index";
    }
}

std::string WithSlash(std::string root) {
    if (!root.ends_with('/')) root += '/';
    return root;
}

// The drive the drive list starts on: the one holding the working folder,
// as a drive list starts on the current drive.
std::optional<size_t> CurrentDrive(const std::vector<platform::Drive>& drives) {
    std::error_code ec;
    std::string here = WithSlash(std::filesystem::current_path(ec).string());
    std::optional<size_t> best;
    for (size_t i = 0; i < drives.size(); ++i)
        if (here.starts_with(WithSlash(drives[i].root)) &&
            (!best || drives[i].root.size() > drives[*best].root.size()))
            best = i;
    if (!best && !drives.empty()) best = 0;
    return best;
}

// Whether a catalogued folder and name stay below the disc's root: a shared
// catalog may hold any text there, and no ".." component or "/" in a name
// may lead the desktop outside the disc.
bool StaysOnDisc(const std::string& dir, const std::string& name) {
    for (size_t start = 0; start <= dir.size();) {
        size_t end = dir.find('/', start);
        if (end == std::string::npos) end = dir.size();
        if (dir.compare(start, end - start, "..") == 0) return false;
        start = end + 1;
    }
    return name.find('/') == std::string::npos && name != ".." && name != "." &&
           dir.find('\0') == std::string::npos && name.find('\0') == std::string::npos;
}

}  // namespace

std::optional<FileTarget> LookUpFileTarget(engine::Database& db, const std::string& kestId,
                                           const std::string& fileId, int function,
                                           Prompter& prompter) {
    try {
        FileTarget target{kestId, fileId, "", "", "", ""};
        if (target.kestId.empty()) {
            auto owner = engine::FirstRow(db, "SELECT KestId FROM tblFiles WHERE tblFiles.FileId=" +
                                                  search::SqlWholeNumber(fileId));
            if (!owner) {
                prompter.Show(kAppTitle, "no records");
                return std::nullopt;
            }
            target.kestId = (*owner)[0];
        }
        auto disc =
            engine::FirstRow(db, "SELECT DiscSer, DiscLbl FROM tblDiscs WHERE tblDiscs.KestID=" +
                                     search::SqlWholeNumber(target.kestId));
        if (!disc) {
            prompter.Show(kAppTitle, "no records");
            return std::nullopt;
        }
        target.serial = (*disc)[0];
        target.label = (*disc)[1];
        auto file =
            engine::FirstRow(db, "SELECT FileDir, FileName FROM tblFiles WHERE tblFiles.FileId=" +
                                     search::SqlWholeNumber(fileId));
        if (!file) {
            prompter.Show(kAppTitle, "no records");
            return std::nullopt;
        }
        target.dir = (*file)[0];
        target.name = (*file)[1];
        return target;
    } catch (const KestError& e) {
        prompter.ShowError(LookupErrorTitle(function), e.Number(), e.Description());
        return std::nullopt;
    }
}

std::optional<FileTarget> LookUpResultsRow(engine::Database& db, const ListTable& results,
                                           size_t gridRow, int function, Prompter& prompter) {
    if (gridRow == 0 || gridRow > results.RowCount() || results.ColumnCount() < 2)
        return std::nullopt;
    std::string kestId = search::TrimBlanks(results.Cell(gridRow - 1, 0));
    if (kestId.empty()) return std::nullopt;
    return LookUpFileTarget(db, kestId, std::string(results.Cell(gridRow - 1, 1)), function,
                            prompter);
}

FileFuncDialog::FileFuncDialog(FileTarget target, int function, const platform::Volumes& volumes,
                               platform::Shell& shell, DriveSettings& settings)
    : m_target(std::move(target)),
      m_function(function),
      m_volumes(volumes),
      m_shell(shell),
      m_settings(settings),
      m_drives(volumes.ListDrives()) {
    if (!ValidFunction()) return;
    m_selected = CurrentDrive(m_drives);
    std::string wanted = search::TrimBlanks(m_settings.defaultDrive);
    if (!m_settings.useDefaultDrive || wanted.empty()) return;
    for (size_t i = 0; i < m_drives.size(); ++i) {
        if (WithSlash(m_drives[i].root) != WithSlash(wanted)) continue;
        m_defaultCaption = m_settings.defaultDrive;
        m_selected = i;
        break;
    }
}

std::string FileFuncDialog::Caption() const {
    switch (m_function) {
        case kOpenFile:
            return "Open File";
        case kOpenFolder:
            return "Open Folder";
        case kExploreFolder:
            return "Explore Folder";
        default:
            return "File Function Error";
    }
}

void FileFuncDialog::SelectDrive(size_t index) {
    if (index < m_drives.size()) m_selected = index;
}

bool FileFuncDialog::UseRoot(const std::string& root) {
    if (root.empty()) return false;
    for (size_t i = 0; i < m_drives.size(); ++i) {
        if (WithSlash(m_drives[i].root) == WithSlash(root)) {
            m_selected = i;
            return true;
        }
    }
    m_drives.push_back(platform::Drive{WithSlash(root), WithSlash(root)});
    m_selected = m_drives.size() - 1;
    return true;
}

void FileFuncDialog::SetDefaultDrive() {
    if (!m_selected) return;
    m_settings.defaultDrive = Root();
    m_defaultCaption = m_settings.defaultDrive;
}

std::string FileFuncDialog::Root() const {
    return m_selected ? WithSlash(m_drives[*m_selected].root) : std::string();
}

std::string FileFuncDialog::RelativeFolder() const {
    return m_target.dir == "<root>" ? std::string() : m_target.dir;
}

std::string FileFuncDialog::Target() const {
    if (!ValidFunction()) return "Error";
    std::string relative = RelativeFolder();
    if (m_function == kOpenFile) relative += m_target.name;
    return Root() + relative;
}

bool FileFuncDialog::ConfirmVolume(Prompter& prompter) {
    platform::VolumeInfo volume = m_volumes.GetVolumeInfo(Root());
    if (volume.serial != m_target.serial &&
        prompter.Show("Serial number mismatch",
                      "The Disc serial number does not match \r\n"
                      "the serial number of the database file.\r\nDo you want to continue?",
                      Icon::Exclamation, Buttons::YesNo) != Answer::Yes)
        return false;
    return volume.label == m_target.label ||
           prompter.Show("Volume name mismatch",
                         "The Disc volume name does not match\r\n"
                         "the volume name of the database file.\r\nDo you want to continue?",
                         Icon::Exclamation, Buttons::YesNo) == Answer::Yes;
}

bool FileFuncDialog::RunOk(Prompter& prompter) {
    if (!StaysOnDisc(RelativeFolder(), m_target.name)) {
        prompter.Show(LookupErrorTitle(m_function),
                      "The catalog gives this file a path that leaves its Disc:\r\n" +
                          text::ShownName(RelativeFolder() + m_target.name) +
                          "\r\nNothing was opened.",
                      Icon::Critical);
        return false;
    }
    // The catalog's names as the bytes they stand for on the disc.
    const std::string folder = Root() + text::NameBytes(RelativeFolder());
    const std::string name = text::NameBytes(m_target.name);
    std::error_code ec;
    if (!m_selected || !std::filesystem::is_directory(folder, ec)) {
        prompter.Show("Error in directory", "Directory not found!", Icon::Critical);
        return false;
    }
    if (!ConfirmVolume(prompter)) return false;
    int result = 0;
    switch (m_function) {
        case kOpenFile:
            result = ShellRun(m_shell, prompter, folder + name, platform::ShellVerb::None);
            break;
        case kOpenFolder:
            result = ShellRun(m_shell, prompter, folder, platform::ShellVerb::Open);
            break;
        case kExploreFolder:
            result = ShellRun(m_shell, prompter, folder, platform::ShellVerb::Explore, name);
            break;
        default:
            prompter.Show("File function error",
                          "Error in File Function=" + std::to_string(m_function), Icon::Critical);
            return false;
    }
    return result == kShellSuccess;
}

bool FileFuncDialog::Ok(Prompter& prompter) {
    try {
        if (RunOk(prompter)) m_closed = true;
    } catch (const KestError& e) {
        prompter.ShowError("Error in opening file", e.Number(), e.Description());
    }
    return m_closed;
}

std::optional<FileFuncDialog> LoadFileFuncDialog(FileTarget target, int function,
                                                 const platform::Volumes& volumes,
                                                 platform::Shell& shell, DriveSettings& settings,
                                                 Prompter& prompter) {
    try {
        std::optional<FileFuncDialog> dialog;
        dialog.emplace(std::move(target), function, volumes, shell, settings);
        return dialog;
    } catch (const std::exception& e) {
        KestError error = err::ToKestError(e);
        prompter.ShowError("Error in loading FileFunc Form", error.Number(), error.Description());
        return std::nullopt;
    }
}

}  // namespace kest::filefunc
