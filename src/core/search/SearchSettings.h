#pragma once

#include "core/search/ResultsGrid.h"
#include "core/search/SearchOptions.h"
#include "core/settings/AppSettings.h"
#include "core/settings/WindowState.h"

namespace kest::search {

// The search's view of the user's settings.
SearchOptions SearchOptionsFrom(const AppSettings& settings);
// The remembered results widths of the window's settings.
ColumnWidths ColumnWidthsFrom(const WindowState& window);
// The results columns as the settings save them: tag and width of each.
std::vector<ResultColumnWidth> ResultColumnsOf(const ListTable& table);

}  // namespace kest::search
