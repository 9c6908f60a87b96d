#pragma once

#include <functional>
#include <string>

namespace kest::engine {

// One text column with a trigram index: the table's counter is the rowid of
// the index table, the column is one of the index table's columns.
struct IndexedColumn {
    const char* table;
    const char* column;
    const char* key;
    const char* indexTable;
};

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
