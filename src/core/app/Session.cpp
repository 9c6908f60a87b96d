#include "core/app/Session.h"

#include <filesystem>

#include "core/catalog/CatalogCheck.h"
#include "core/catalog/CatalogCommands.h"
#include "core/catalog/CatalogPaths.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingsLoad.h"
#include "core/settings/SettingsSave.h"
#include "core/text/VbFormat.h"

namespace kest::app {

std::string AbsolutePath(const std::string& path) {
    std::error_code ec;
    auto absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

Session::Session(AppPaths folder, Prompter& p) : prompter(p), paths(std::move(folder)) {}
Session::~Session() = default;

void Session::LoadSettings(const WindowState& prepared) {
    text::SetNumberLocale(text::UserNumberLocale());
    window = prepared;
    m_loadedFile = std::make_unique<IniFile>(paths.IniPath());
    settingsProblem = m_loadedFile->Problem();
    kest::LoadSettings(*m_loadedFile, paths, settings, startup, window);
    window.resultColumns = AllResultColumns(window);
}

std::string Session::StartupPath() const {
    return startup.folder + "/" + startup.name;
}

bool Session::OpenCatalog(CatalogHost& host, const std::string& path, OpenWarning warningMode) {
    std::string full = path.empty() ? StartupPath() : AbsolutePath(path);
    CheckResult check = CheckCatalog(full, prompter);
    if (!check.valid) {
        lastWarningAnswer =
            ShowOpenWarning(prompter, check.code, warningMode, check.errorNumber, check.errorText);
        return false;
    }
    auto [dirPart, name] = SplitPath(full);
    MakeCurrent(current, GetDirectory(full), name, full, check.password, &host,
                std::move(check.database));
    return true;
}

std::string Session::ProgramFolder() const {
    return paths.FolderText();
}

bool Session::SaveSettings() {
    // A closed catalog leaves no start-up catalog but keeps its folder, where
    // the next file dialog starts.
    CatalogName name{current.HasDatabase() ? current.name : std::string(), current.folder};
    std::optional<KestError> failure;
    kest::SaveSettings(paths, settings, window, &name, &failure, m_loadedFile.get());
    current.folder = name.folder;
    if (!failure) {
        m_saveFailureShown = false;
        return true;
    }
    if (!m_saveFailureShown) {
        prompter.ShowError("Error in saving settings", failure->Number(),
                           failure->Description() + "\r\n" + paths.IniPath().string() +
                               " keeps the settings it held before.");
    }
    m_saveFailureShown = true;
    return false;
}

}  // namespace kest::app
