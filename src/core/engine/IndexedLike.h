#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kest::engine {

// One text column with a trigram index (an FTS5 table of that one column).
// Without runsTable, the table's counter is the rowid of the index table;
// with it, the index table holds the column's text of each run of rows, and
// the runs table (id, lo, hi) gives the counters lo to hi of each run.
struct IndexedColumn {
    const char* table;
    const char* column;
    const char* key;
    const char* indexTable;
    const char* runsTable;
};

// The condition that holds for every row of table whose column's text the
// match finds (and maybe for others).
std::string CandidateCondition(const std::string& table, const IndexedColumn& column,
                               const std::string& match);
// The condition that holds for the rows of table with the given counters.
std::string ListedCondition(const std::string& table, const IndexedColumn& column,
                            const std::vector<int64_t>& keys);

// Strengthens each "<table>.<column> LIKE '<pattern>'" of a SELECT's WHERE
// clause on an indexed column with "AND <candidate condition>", when the
// pattern has a literal run to look up. Only terms whose value counts
// for nothing but being true are touched: those joined to the WHERE by AND,
// OR and brackets alone, where a superset condition changes no row (a term
// under NOT, inside a function or compared with something is left as it is).
// find gives a column's index, or null when it has none or it is not complete;
// candidates gives the condition for an FTS5 match expression on it, or none
// when the match does not narrow enough to pay.
using ColumnLookup =
    std::function<const IndexedColumn*(const std::string& table, const std::string& column)>;
using CandidateLookup = std::function<std::optional<std::string>(
    const std::string& table, const IndexedColumn& column, const std::string& match)>;
std::string StrengthenIndexedLikes(const std::string& jetSql, const ColumnLookup& find,
                                   const CandidateLookup& candidates);

}  // namespace kest::engine
