#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kest::engine {

class Database;

// The first row of a query, every value as a bound grid shows it; nullopt
// when the query gives no row.
std::optional<std::vector<std::string>> FirstRow(Database& db, const std::string& jetSql);

}  // namespace kest::engine
