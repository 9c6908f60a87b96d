#include "cli/settings/SettingsFile.h"

#include <iostream>

namespace kest::cli {

IniFile ReadSettingsFile(const std::filesystem::path& path) {
    IniFile ini(path);
    if (!ini.Problem().empty()) {
        std::cerr << "kest-cli: " << path.string() << " is not used (" << ini.Problem()
                  << "): the default settings apply.\n";
    }
    return ini;
}

}  // namespace kest::cli
