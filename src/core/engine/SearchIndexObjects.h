#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/engine/IndexedLike.h"

namespace kest::engine {

// What the search index keeps of one searched table. The name columns are
// indexed row by row, each in an FTS5 table of its own keyed by the table's
// counter. The folder column repeats for every file of a folder, so it is
// indexed once per run of consecutive rows sharing a folder (what a scan
// writes): the runs table (id, lo, hi, dir) gives each run's counters lo to
// hi, the dirs FTS5 table holds each run's folder under the run's id.
struct IndexSource {
    const char* table;
    const char* key;
    const char* names[2];
    const char* nameIndexes[2];
    const char* dir;
    const char* dirs;
    const char* runs;
};

// The state table: per source table, the highest counter indexed so far.
inline constexpr const char* kSearchStateTable = "_kest_search";

const std::vector<IndexSource>& IndexSources();

// Every indexed column of every source.
const std::vector<IndexedColumn>& IndexedColumns();

// Objects as (name, the statement that makes them).
using SqlObjects = std::vector<std::pair<std::string, std::string>>;

// The index tables, the runs table and its trigger, which indexes each new
// run's folder.
SqlObjects TableSql(const IndexSource& s);

// The source table's triggers. In their building form (not complete) each
// row change reaches the index only for rows the builder has passed.
SqlObjects TriggerSql(const IndexSource& s, bool complete);

}  // namespace kest::engine
