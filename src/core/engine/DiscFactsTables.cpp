#include "core/engine/DiscFactsTables.h"

#include <sqlite3.h>

#include "core/engine/Database.h"
#include "core/engine/EngineError.h"

namespace kest::engine {
namespace {

// Plain SQLite statements (no Jet translation): dates are ISO texts.
constexpr const char* kCreate =
    "CREATE TABLE IF NOT EXISTS _kest_disc_facts (KestId INTEGER PRIMARY KEY, catalogued TEXT, "
    "recatalogued TEXT, capacity INTEGER, free_space INTEGER, location TEXT NOT NULL DEFAULT '', "
    "lent_to TEXT NOT NULL DEFAULT '', lent_on TEXT, due_back TEXT, notes TEXT NOT NULL DEFAULT "
    "'');"
    "CREATE TABLE IF NOT EXISTS _kest_disc_tags (KestId INTEGER NOT NULL, tag TEXT NOT NULL, "
    "UNIQUE (KestId, tag));"
    "CREATE TABLE IF NOT EXISTS _kest_file_hashes (FileId INTEGER PRIMARY KEY, KestId INTEGER "
    "NOT NULL, xxh3 TEXT NOT NULL);"
    "CREATE INDEX IF NOT EXISTS _kest_file_hashes_disc ON _kest_file_hashes (KestId);";

int64_t TableCount(Database& db) {
    auto count = db.Prepare(
        "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name IN "
        "('_kest_disc_facts', '_kest_disc_tags', '_kest_file_hashes')");
    return count.Step() ? count.Int(0) : 0;
}

}  // namespace

const std::vector<std::string>& DiscFactsTableNames() {
    static const std::vector<std::string> names = {"_kest_disc_facts", "_kest_disc_tags",
                                                   "_kest_file_hashes"};
    return names;
}

void CreateDiscFactsTables(Database& db) {
    if (!HasDiscFactsTables(db)) ExecOrThrow(db.Handle(), kCreate);
}

bool HasDiscFactsTables(Database& db) {
    return TableCount(db) == 3;
}

int64_t RebuildDiscFactsTables(Database& db) {
    if (TableCount(db) == 0) return 0;  // a catalog that never had facts
    ExecOrThrow(db.Handle(), kCreate);
    int64_t dropped = 0;
    for (const char* orphans :
         {"DELETE FROM _kest_disc_facts WHERE KestId NOT IN (SELECT KestId FROM tblDiscs)",
          "DELETE FROM _kest_disc_tags WHERE KestId NOT IN (SELECT KestId FROM tblDiscs)",
          "DELETE FROM _kest_file_hashes WHERE FileId NOT IN (SELECT FileId FROM tblFiles)"}) {
        ExecOrThrow(db.Handle(), orphans);
        dropped += sqlite3_changes64(db.Handle());
    }
    return dropped;
}

void DeleteDiscFacts(Database& db, const std::string& kestId) {
    if (!HasDiscFactsTables(db)) return;
    for (const char* table : {"_kest_disc_facts", "_kest_disc_tags", "_kest_file_hashes"})
        ExecOrThrow(db.Handle(), std::string("DELETE FROM ") + table + " WHERE KestId = " + kestId);
}

}  // namespace kest::engine
