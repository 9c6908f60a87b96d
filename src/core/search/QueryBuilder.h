#pragma once

#include <string>

#include "core/search/SearchBounds.h"
#include "core/search/SearchOptions.h"

namespace kest::search {

// The WHERE clause for a normalised search text. With the advanced panel open
// it adds the bound conditions and rewrites the disc identifier bounds as the
// rounded whole numbers it used. Raises KestError for a bound it cannot use.
std::string BuildWhere(const std::string& searchText, SearchBounds& bounds,
                       const SearchOptions& options);
// "SELECT " + column list + FROM clause.
std::string BuildSelectList(const SearchOptions& options);
// The ORDER BY clause of a search.
std::string BuildSortClause(const SearchOptions& options);
// The whole search statement: select list, WHERE clause, " ", ORDER BY clause.
std::string BuildSearchStatement(const std::string& searchText, SearchBounds& bounds,
                                 const SearchOptions& options);

}  // namespace kest::search
