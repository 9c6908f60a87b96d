#pragma once

#include <cstdio>
#include <string>

#include "cli/catalog/CliSession.h"
#include "core/discs/DiscList.h"
#include "core/search/ListTable.h"
#include "core/search/SearchPanel.h"

namespace kest::cli {

// Writes the shown columns (tag 0 or more) of a list, tab-separated, the
// header line first.
void PrintList(std::FILE* out, const search::ListTable& table);

// Applies "--sort COL[:desc]" to the results: COL is a shown column's header
// or its 0-based index among the shown columns; one header click, two for
// ":desc". False when no column fits.
bool SortResultsBy(search::ListTable& table, const std::string& argument);

// The disc list of the open catalog, as the window fills it at start-up.
bool LoadDiscList(CliSession& session, discs::DiscList& list);

// A search panel with the history, text and widths of the settings.
search::SearchPanel PanelFromSettings(const CliSession& session);

// Stores the history, text and result columns back and saves the settings.
void SaveSearchState(CliSession& session, const search::SearchPanel& panel);

}  // namespace kest::cli
