#pragma once

#include <filesystem>

#include "core/settings/IniFile.h"

namespace kest::cli {

// Reads the settings file of the run; one that exists but cannot be read (a
// folder, a read error, no settings text) gives the defaults, and a line on
// stderr tells why.
IniFile ReadSettingsFile(const std::filesystem::path& path);
// The line on stderr for a settings file that could not be read (nothing for
// an empty `problem`).
void ReportSettingsProblem(const std::filesystem::path& path, const std::string& problem);

}  // namespace kest::cli
