#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/search/SearchOptions.h"
#include "core/search/SearchPanel.h"
#include "core/ui/Prompter.h"

namespace kest::engine {
class Database;
}

namespace kest::search {

enum class SearchOutcome { Ignored, NoDiscs, NoText, BadBound, Failed, Ran };

// The search button: checks the catalog, the text and (with the advanced panel
// open) the bounds, telling the user about the first failure; then runs the
// search. discCount is the disc count of the last disc list reload.
SearchOutcome SearchCommand(engine::Database& db, SearchPanel& panel, const SearchOptions& options,
                            int64_t discCount, Prompter& prompter, SearchViewHooks& view);

// Runs the search for a normalised text into the results list, with the count
// and time texts; an error ends it with "SQL query error" and gives false.
bool RunSearch(engine::Database& db, SearchPanel& panel, const SearchOptions& options,
               const std::string& searchText, Prompter& prompter, SearchViewHooks& view);

// Runs the statement of the shown results again, so that they show what the
// catalog holds now (after description changes); false after an error.
bool RefreshResults(engine::Database& db, SearchPanel& panel, const SearchOptions& options,
                    Prompter& prompter);

// Lists one disc (kestId given) or the whole catalog (nullopt) in the results
// and puts back the criteria that list it again; false after an error.
bool ShowContents(engine::Database& db, SearchPanel& panel, const SearchOptions& options,
                  const std::optional<std::string>& kestId, Prompter& prompter,
                  SearchViewHooks& view);

// The Clear All button.
void ClearAll(SearchPanel& panel, const SearchOptions& options, Prompter& prompter,
              SearchViewHooks& view);

// Fills a list from a statement: one column per result column, named as
// aliased, every value as text; layOut, when given, sees the columns before the
// first row. Raises KestError; rows read so far stay.
void FillFromStatement(engine::Database& db, const std::string& statement, ListTable& table,
                       const std::function<void(ListTable&)>& layOut = {});

}  // namespace kest::search
