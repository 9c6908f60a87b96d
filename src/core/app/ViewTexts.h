#pragma once

#include <string>

#include "core/settings/AppSettings.h"

namespace kest::app {

// The two views of the main window.
enum class View { Discs, Search };

// The toolbar's view buttons (1 = Discs, 2 = Search): the active view's
// caption stands in square brackets.
std::string ViewButtonCaption(int index, View active);

// The hint of the Search view, built from the fields searched in.
std::string SearchHint(const AppSettings& settings);

inline constexpr const char* kScanHint =
    "To add a Disc to the database, select your drive and then click on 'Scan && Save'.";
inline constexpr const char* kNoDatabase = "No active database.";

}  // namespace kest::app
