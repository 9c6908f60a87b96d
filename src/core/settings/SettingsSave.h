#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/common/KestError.h"
#include "core/settings/AppPaths.h"
#include "core/settings/AppSettings.h"
#include "core/settings/WindowState.h"

namespace kest {

class IniFile;

// One write of a save: an empty key deletes the whole section.
struct SettingsEntry {
    std::string section;
    std::string key;
    std::string value;
};

// Whether the window's place is part of the entries: as a save does it (only
// for a window in its normal state) or always.
enum class PlaceRule { AsSaved, Always };

// Every write of a save, in order, for the catalog `current` (already given its
// "?null?" name and program folder when none is open).
std::vector<SettingsEntry> SettingsEntries(const AppSettings& settings, const WindowState& window,
                                           const CatalogName& current,
                                           PlaceRule place = PlaceRule::AsSaved);

// Writes every setting to the program folder's settings file in one step.
// `current` is the open catalog, or nullptr when none is; an empty name
// becomes "?null?" and an empty folder the program folder, and a given
// `current` keeps them. Returns whether the file was written; a write that
// failed (not one skipped for a read-only file) gives its error in `failure`.
// `loaded`, the file as read when the settings were loaded, spares reading it
// again when it is unchanged and already holds every setting (nothing is
// written then, and the save counts as done).
bool SaveSettings(const AppPaths& paths, const AppSettings& settings, const WindowState& window,
                  CatalogName* current, std::optional<KestError>* failure = nullptr,
                  const IniFile* loaded = nullptr);

// The results grid as it stands with every file and subfile column shown at
// its remembered width.
std::vector<ResultColumnWidth> AllResultColumns(const WindowState& window);

}  // namespace kest
