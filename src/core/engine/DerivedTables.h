#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct sqlite3;

namespace kest::engine {

// Engine-internal tables whose rows are made from the catalog's own rows (the
// search index): a salvage never copies them, since their pages cannot be
// trusted when the rows they were made from are damaged, and makes them anew
// from the rows it recovered. A feature that adds such a table adds its entry
// to DerivedTables() and nothing else.
struct DerivedTable {
    // Its tables, indexes and triggers, by name.
    bool (*owns)(const std::string& objectName);
    // Makes it from the rows of a database that has none of its objects;
    // progress gets (rows done, rows to do).
    void (*rebuild)(sqlite3* db, const std::function<void(int64_t, int64_t)>& progress);
};

const std::vector<DerivedTable>& DerivedTables();

// Whether a schema object belongs to a derived table.
bool IsDerivedObject(const std::string& name);

// Makes every derived table anew.
void RebuildDerivedTables(sqlite3* db, const std::function<void(int64_t, int64_t)>& progress);

}  // namespace kest::engine
