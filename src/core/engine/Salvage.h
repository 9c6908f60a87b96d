#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kest::engine {

// What became of the password lock in a salvage.
enum class LockOutcome {
    None,    // the file had no lock
    Kept,    // its verifier was recovered
    Remade,  // its verifier was lost and made again from the password given
    Lost,    // its verifier was lost: the salvaged file opens without a password
};

struct SalvageResult {
    int64_t recoveredRows = 0;
    // Rows that something in the file still names (an index entry, a cell
    // the page reader found) but whose data could not be recovered; rows
    // that nothing names any more cannot be counted.
    int64_t lostRows = 0;
    // Of the recovered rows, those only the page reader found (past the
    // damage that stopped the engine's own reading of their table).
    int64_t pageReaderRows = 0;
    // Rows kept per table of the catalog (engine-internal tables left out).
    std::vector<std::pair<std::string, int64_t>> tableRows;
    // Pages the file was cut short by: their rows are lost uncounted.
    uint32_t missingPages = 0;
    // Damaged pages of tables no index names the rows of: their lost rows
    // cannot be counted either.
    uint32_t uncountedPages = 0;
    LockOutcome lock = LockOutcome::None;
    // The verifier of a lock found on a page the schema no longer named: the
    // file opened without a password, so the caller puts it back last.
    std::string foundVerifier;
};

// An object of the schema as sqlite_master holds it.
struct SchemaObject {
    std::string type, name, table, sql;
};

struct SalvageOptions {
    // The objects the file is known to have (a catalog's tables and their
    // indexes): when damage to the schema lost one, it is made all the same
    // and its rows are taken from the leaves the page reader finds.
    std::vector<SchemaObject> expected;
    // The password the user gave, to lock the salvaged file again when the
    // damage took the lock's verifier (empty: none given).
    std::string password;
    // Pages read of the file's pages, now and then; false cancels the
    // salvage (3059 is raised and the target is not finished).
    std::function<bool(int64_t done, int64_t total)> progress;
    // The search index's build from the recovered rows: rows done, rows to do.
    std::function<void(int64_t done, int64_t total)> indexProgress;
    // Off: only the engine's own reading (to measure what the page reader adds).
    bool readPages = true;
};

// Whether the file begins with the engine's own header: one that does, yet
// that the engine takes for no database, had its schema damaged.
bool HasDatabaseHeader(const std::string& path);

// Builds a new file at target (which must not exist) with the damaged file's
// schema and every row that can still be read from it, table by table:
// first through the engine, in rowid order, stepping over damage by the
// rowids the indexes hold; then straight from the pages (PageReader), which
// adds the rows of every other readable leaf, the leaves whose parent page
// was lost included. Internal tables (password lock, field order) and
// counters are kept, the indexes built afresh, derived tables (the search
// index) made anew from the recovered rows, the journal mode kept, the file
// flushed to disk. The work is bounded by the file's page count. A schema
// that cannot be read raises the engine error and writes nothing the caller
// keeps.
SalvageResult SalvageInto(const std::string& damagedPath, const std::string& target,
                          const SalvageOptions& options = {});

}  // namespace kest::engine
