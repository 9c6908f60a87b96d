#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/engine/PageReader.h"

struct sqlite3;
struct sqlite3_stmt;

namespace kest::engine {

// A prepared statement that finalizes itself; an empty one when the
// statement does not prepare.
class Query {
  public:
    Query(sqlite3* db, const std::string& sql);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    bool Prepared() const { return m_stmt != nullptr; }
    sqlite3_stmt* get() const { return m_stmt; }
    std::string Text(int column) const;

  private:
    sqlite3_stmt* m_stmt = nullptr;
};

struct TableIndex {
    std::string name;
    uint32_t root = 0;
};

// One table of a salvage: its rows copied from the damaged file (read) into
// the new one (write), which already has the table, and the account of the
// rows kept and lost. A row is taken once, by its rowid: whichever reading
// finds it first, except that a row the engine took just before the rowids
// went back down (a damaged cell's rowid can be any number) gives way to the
// row of that rowid on a leaf whose rowids are in order.
class SalvageTable {
  public:
    SalvageTable(sqlite3* read, sqlite3* write, std::string name, uint32_t root,
                 std::string damagedPath);
    ~SalvageTable();
    SalvageTable(const SalvageTable&) = delete;
    SalvageTable& operator=(const SalvageTable&) = delete;

    const std::string& Name() const { return m_name; }
    // Called now and then during long reads; it raises to cancel.
    void SetCancelCheck(std::function<void()> check) { m_cancelCheck = std::move(check); }

    // Through the engine in rowid order; after damage it goes on at the next
    // rowid an index names that still reads. The rowid read never goes back
    // below one already passed (damaged cells can hold rowids out of order)
    // and at most stepBudget rows are stepped, so it always ends.
    void CopyThroughEngine(const std::vector<TableIndex>& indexes, int64_t stepBudget);
    // Every row the page reader finds in the table's own tree.
    void CopyFromPages(PageReader& pages);
    // Whether every row of a lost leaf has this table's shape (column count,
    // an empty rowid column, texts where texts belong, numbers where numbers).
    bool FitsAll(const std::vector<PageRow>& rows) const;
    void CopyRows(const std::vector<PageRow>& rows);
    // An entry the page reader found in one of the table's indexes: its
    // rowid names a row that existed, when the entry has the index's shape.
    void NamedBy(const std::string& index, const std::vector<CellValue>& entry);
    // The counter's value: no row of the table lies beyond it.
    void SetCounter(int64_t seq) { m_counter = seq; }

    int64_t Copied() const { return static_cast<int64_t>(m_copied.size()); }
    int64_t FromPages() const { return m_fromPages; }
    // Pages of the table's tree that damage kept from being read whole.
    uint32_t DamagedPages() const { return m_damagedPages; }
    int64_t Lost() const;
    // The engine read the whole table without meeting damage.
    bool ReadWhole() const { return m_readWhole; }

  private:
    bool Fits(const PageRow& row, bool exact) const;
    bool CopyPageRow(const PageRow& row);
    void BindPageRow(sqlite3_stmt* statement, const PageRow& row);
    // Steps the statement bound to a row; true when the new file took it.
    bool Insert(int64_t rowid, sqlite3_stmt* statement);
    std::set<int64_t> IndexedRowids(const std::vector<TableIndex>& indexes);
    // The bit of an index in m_named (none past the 32nd index).
    uint32_t IndexBit(const std::string& index);

    sqlite3* m_read;
    sqlite3* m_write;
    std::string m_name;
    uint32_t m_root;
    std::string m_path;
    std::vector<char> m_kinds;          // per column: 't' text, 'i' number, 'n' either
    std::vector<bool> m_required;       // per column: NOT NULL
    int m_alias = -1;                   // the column that is the rowid, if any
    sqlite3_stmt* m_insert = nullptr;   // a rowid already taken is left as it is
    sqlite3_stmt* m_replace = nullptr;  // the row of an ordered leaf replaces a doubtful one
    std::function<void()> m_cancelCheck;
    std::set<int64_t> m_copied;
    std::map<int64_t, uint32_t> m_named;  // rowids the indexes hold, a bit per index
    std::map<std::string, uint32_t> m_indexBits;
    // Per leaf read whole: its row count, second, last but one and last rowid.
    struct LeafSpan {
        int64_t rows = 0, second = 0, beforeLast = 0, last = 0;
    };
    std::map<uint32_t, LeafSpan> m_wholeLeaves;
    std::set<int64_t> m_refused;   // rows read that the new table would not take
    std::set<int64_t> m_doubtful;  // taken by the engine just before the rowids went back down
    std::map<std::string, size_t> m_indexColumns;  // per index, its columns and the rowid
    int64_t m_fromPages = 0;
    uint32_t m_damagedPages = 0;
    int64_t m_counter = -1;
    bool m_readWhole = false;
};

}  // namespace kest::engine
