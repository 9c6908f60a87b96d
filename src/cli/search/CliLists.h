#pragma once

#include <string>

#include "cli/catalog/CliSession.h"
#include "cli/search/ListPrinter.h"
#include "core/app/SessionLists.h"
#include "core/table/ListTable.h"

namespace kest::cli {

// Applies "--sort COL[:desc]" to the results: COL is a shown column's header
// or its 0-based index among the shown columns; one header click, two for
// ":desc". False when no column fits.
bool SortResultsBy(ListTable& table, const std::string& argument);

// The shared session's list helpers, under the names the commands use.
using app::LoadDiscList;
using app::PanelFromSettings;
using app::SaveSearchState;

}  // namespace kest::cli
