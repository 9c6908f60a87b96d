#include "core/engine/DerivedTables.h"

#include "core/engine/FolderFacts.h"
#include "core/engine/SearchIndex.h"
#include "core/engine/SearchIndexObjects.h"

namespace kest::engine {
namespace {

bool OwnedBySearchIndex(const std::string& name) {
    return name.starts_with("_kest_fx_") || name == kSearchStateTable;
}

void RebuildSearchIndex(sqlite3* db, const std::function<void(int64_t, int64_t)>& progress) {
    BuildSearchIndex(db, progress);
}

bool OwnedByFolderFacts(const std::string& name) {
    return name.starts_with(kFolderFactsTable);
}

void RebuildFolderFacts(sqlite3* db, const std::function<void(int64_t, int64_t)>& progress) {
    BuildFolderFacts(db, progress);
}

}  // namespace

const std::vector<DerivedTable>& DerivedTables() {
    static const std::vector<DerivedTable> tables = {
        {&OwnedBySearchIndex, &RebuildSearchIndex},
        {&OwnedByFolderFacts, &RebuildFolderFacts},
    };
    return tables;
}

bool IsDerivedObject(const std::string& name) {
    for (const auto& table : DerivedTables())
        if (table.owns(name)) return true;
    return false;
}

void RebuildDerivedTables(sqlite3* db, const std::function<void(int64_t, int64_t)>& progress) {
    for (const auto& table : DerivedTables()) table.rebuild(db, progress);
}

}  // namespace kest::engine
