#pragma once

#include <cstdint>
#include <string>

namespace kest::engine {

struct SalvageResult {
    int64_t recoveredRows = 0;
    // Rows that an index still names but whose data could not be read; rows
    // that nothing names any more cannot be counted.
    int64_t lostRows = 0;
};

// Builds a new file at target (which must not exist) with the damaged file's
// schema and every row that can still be read from it, table by table:
// internal tables (password lock, field order) and counters included, the
// indexes built afresh, the journal mode kept, flushed to disk. A schema that
// cannot be read raises the engine error and writes nothing the caller keeps.
SalvageResult SalvageInto(const std::string& damagedPath, const std::string& target);

}  // namespace kest::engine
