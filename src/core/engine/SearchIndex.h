#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/IndexedLike.h"

struct sqlite3;

namespace kest::engine {

// The trigram index of the searchable texts of tblFiles (FileName, FileDir,
// FileDesc) and tblSubFiles (SubFileName, SubFileDir, SubFileComm): FTS5
// tables holding no copy of the texts (only the rowid lists of each trigram),
// one per column, the folders once per run of rows (SearchIndexObjects.h).
// Triggers on the source tables keep it current on every insert, update and
// delete, whoever writes: they use nothing but SQLite's own statements.
// _kest_search holds, per table, the highest counter indexed so far: the
// builder works upwards in slices and the triggers touch only rows at or
// below it, until it reaches the largest integer (complete) and the triggers
// drop their condition.

// The tables whose index is complete, as a set of bits (one per indexed
// table); a table whose index objects are missing or altered, or whose index
// does not find its first and last rows by their texts, counts as not indexed.
unsigned CompleteSearchIndexes(sqlite3* db);

// The bits of every indexed table.
unsigned AllSearchIndexes();

// The indexed column of table.column when the table's bit is in complete.
const IndexedColumn* FindIndexedColumn(unsigned complete, const std::string& table,
                                       const std::string& column);

// What an FTS5 match on a column's index finds: whether few enough rows that
// looking them up beats reading the whole table, and, when they number at
// most kListedCandidates, their counters (ascending), so that the statement
// need not ask the index again.
inline constexpr size_t kListedCandidates = 2000;
struct Candidates {
    bool few = false;
    std::optional<std::vector<int64_t>> keys;
};
// None when the index fails to answer (damaged).
std::optional<Candidates> FindCandidates(sqlite3* db, const IndexedColumn& column,
                                         const std::string& match);

// Stops indexing new rows of the complete indexes, for a scan that holds the
// catalog exclusively: the mark goes to the largest counter and the insert
// triggers are dropped (the other triggers take their building form), so that
// a scan's many small inserts and commits skip the index and the new rows,
// all beyond the mark, are indexed in a few large slices (a third of the
// cost). True when an index was deferred. EndDeferral takes the index back to
// its building form; a deferred index found on opening (a scan that did not
// end) is not intact, and its build starts afresh.
bool DeferSearchIndex(sqlite3* db);

// Indexes the rows a deferred index has not taken yet and keeps it deferred:
// a scan does it between its commits, on its writer thread, so that little
// is left for the build at its end.
void IndexDeferredRows(sqlite3* db);

// Gives a deferred index its insert triggers back in their building form;
// BuildSearchIndex then completes it.
void EndDeferral(sqlite3* db);

// Removes every index object (tables, triggers, state), as a unit.
void DropSearchIndex(sqlite3* db);

// Builds what is missing, slice by slice, each slice committed on its own so
// that an interruption (a full disk, or stop giving true before a slice)
// loses at most one slice and the next build resumes. progress gets (rows
// done, rows to do) after each slice. Damaged or partial objects are dropped
// and rebuilt. Raises the engine error of a failed slice, after rolling it
// back. Gives the tables whose index is then complete, as
// CompleteSearchIndexes does (without probing them again).
using IndexProgress = std::function<void(int64_t done, int64_t total)>;
inline constexpr int64_t kIndexSliceRows = 100000;
unsigned BuildSearchIndex(sqlite3* db, const IndexProgress& progress,
                          int64_t sliceRows = kIndexSliceRows,
                          const std::function<bool()>& stop = {});

}  // namespace kest::engine
