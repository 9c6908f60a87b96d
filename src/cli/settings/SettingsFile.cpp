#include "cli/settings/SettingsFile.h"

#include <iostream>

namespace kest::cli {

IniFile ReadSettingsFile(const std::filesystem::path& path) {
    IniFile ini(path);
    ReportSettingsProblem(path, ini.Problem());
    return ini;
}

void ReportSettingsProblem(const std::filesystem::path& path, const std::string& problem) {
    if (problem.empty()) return;
    std::cerr << "kest-cli: " << path.string() << " is not used (" << problem
              << "): the default settings apply.\n";
}

}  // namespace kest::cli
