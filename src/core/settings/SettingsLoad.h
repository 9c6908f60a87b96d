#pragma once

#include <string>
#include <vector>

#include "core/settings/AppPaths.h"
#include "core/settings/AppSettings.h"
#include "core/settings/IniFile.h"
#include "core/settings/WindowState.h"

namespace kest {

// Fills the settings record, the start-up catalog and the window's settings
// from `ini`, key by key in a fixed order, repairing values as it goes. The
// window's screen, design and disc grid sizes must be set beforehand. A key
// that cannot be converted (a boolean that is no boolean, a number out of its
// member's range) raises KestError and ends the load there; what was loaded
// before it stays, everything after keeps its zero value. `keysRead`, when
// given, receives "Section/Key" of every key converted, in order.
void LoadSettings(const IniFile& ini, const AppPaths& paths, AppSettings& settings,
                  CatalogName& startup, WindowState& window,
                  std::vector<std::string>* keysRead = nullptr);

}  // namespace kest
