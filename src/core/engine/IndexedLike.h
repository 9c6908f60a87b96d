#pragma once

#include <functional>
#include <string>

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

// Strengthens each "<table>.<column> LIKE '<pattern>'" of a SELECT's WHERE
// clause on an indexed column with "AND <table>.<key> IN (<index lookup>)",
// when the pattern has a literal run to look up. Only terms whose value counts
// for nothing but being true are touched: those joined to the WHERE by AND,
// OR and brackets alone, where a superset condition changes no row (a term
// under NOT, inside a function or compared with something is left as it is).
// find gives a column's index, or null when it has none or it is not complete;
// worth tells whether an FTS5 match expression on it narrows enough to pay.
using ColumnLookup =
    std::function<const IndexedColumn*(const std::string& table, const std::string& column)>;
using MatchWorth = std::function<bool(const IndexedColumn& column, const std::string& match)>;
std::string StrengthenIndexedLikes(const std::string& jetSql, const ColumnLookup& find,
                                   const MatchWorth& worth);

}  // namespace kest::engine
