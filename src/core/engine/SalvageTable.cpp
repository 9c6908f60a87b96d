#include "core/engine/SalvageTable.h"

#include <bit>

#include <sqlite3.h>

#include <climits>
#include <utility>

#include "core/engine/EngineError.h"
#include "core/text/UnicodeCase.h"

namespace kest::engine {
namespace {

std::string Quote(const std::string& name) {
    return Quoted(name, '"');
}

// The column's affinity as far as the salvage tells rows apart by it.
char KindOf(const std::string& declared) {
    std::string type = text::UpperCase(declared);
    if (type.find("INT") != std::string::npos) return 'i';
    for (const char* textual : {"CHAR", "CLOB", "TEXT"})
        if (type.find(textual) != std::string::npos) return 't';
    return 'n';
}

void Bind(sqlite3_stmt* stmt, int at, const CellValue& value) {
    if (const auto* number = std::get_if<int64_t>(&value)) {
        sqlite3_bind_int64(stmt, at, *number);
    } else if (const auto* real = std::get_if<double>(&value)) {
        sqlite3_bind_double(stmt, at, *real);
    } else if (const auto* text = std::get_if<std::string>(&value)) {
        sqlite3_bind_text(stmt, at, text->data(), static_cast<int>(text->size()), SQLITE_TRANSIENT);
    } else if (const auto* blob = std::get_if<Blob>(&value)) {
        sqlite3_bind_blob(stmt, at, blob->bytes.data(), static_cast<int>(blob->bytes.size()),
                          SQLITE_TRANSIENT);
    } else {
        sqlite3_bind_null(stmt, at);
    }
}

}  // namespace

Query::Query(sqlite3* db, const std::string& sql) {
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &m_stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
}

Query::~Query() {
    sqlite3_finalize(m_stmt);
}

std::string Query::Text(int column) const {
    auto text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return text ? text : "";
}

SalvageTable::SalvageTable(sqlite3* read, sqlite3* write, std::string name, uint32_t root,
                           std::string damagedPath)
    : m_read(read),
      m_write(write),
      m_name(std::move(name)),
      m_root(root),
      m_path(std::move(damagedPath)) {
    Query info(
        m_write,
        "SELECT name, type, pk, \"notnull\" FROM pragma_table_info(?1, 'main') ORDER BY cid");
    sqlite3_bind_text(info.get(), 1, m_name.c_str(), -1, SQLITE_TRANSIENT);
    std::string names, marks;
    int keys = 0, keyColumn = -1;
    std::string keyType;
    while (sqlite3_step(info.get()) == SQLITE_ROW) {
        if (sqlite3_column_int(info.get(), 2) > 0) {
            ++keys;
            keyColumn = static_cast<int>(m_kinds.size());
            keyType = text::UpperCase(info.Text(1));
        }
        m_kinds.push_back(KindOf(info.Text(1)));
        m_required.push_back(sqlite3_column_int(info.get(), 3) != 0);
        names += ", " + Quote(info.Text(0));
        marks += ", ?";
    }
    if (keys == 1 && keyType == "INTEGER") m_alias = keyColumn;
    // A rowid that is no column of its own is kept as the first value.
    const std::string into = " INTO main." + Quote(m_name) +
                             (m_alias >= 0 ? " (" + names.substr(2) + ") VALUES (" + marks.substr(2)
                                           : " (rowid" + names + ") VALUES (?" + marks) +
                             ")";
    for (auto [verb, statement] :
         {std::pair{"INSERT OR IGNORE", &m_insert}, std::pair{"INSERT OR REPLACE", &m_replace}})
        if (sqlite3_prepare_v2(m_write, (verb + into).c_str(), -1, statement, nullptr) != SQLITE_OK)
            ThrowEngineError(m_write, sqlite3_errcode(m_write), m_path + ".salvage");
}

SalvageTable::~SalvageTable() {
    sqlite3_finalize(m_insert);
    sqlite3_finalize(m_replace);
}

bool SalvageTable::Insert(int64_t rowid, sqlite3_stmt* statement) {
    int rc = sqlite3_step(statement);
    bool taken = rc == SQLITE_DONE && sqlite3_changes(m_write) > 0;
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    switch (rc & 0xff) {
        case SQLITE_FULL:
        case SQLITE_IOERR:
        case SQLITE_NOMEM:
        case SQLITE_READONLY:
        case SQLITE_CANTOPEN:
            // The new file cannot be written: no salvage.
            ThrowEngineError(m_write, rc, m_path + ".salvage");
        default:
            break;
    }
    if (taken) m_copied.insert(rowid);
    return taken;
}

std::set<int64_t> SalvageTable::IndexedRowids(const std::vector<TableIndex>& indexes) {
    std::set<int64_t> ids;
    for (const auto& index : indexes) {
        Query query(m_read,
                    "SELECT rowid FROM " + Quote(m_name) + " INDEXED BY " + Quote(index.name));
        if (!query.Prepared()) continue;
        const uint32_t bit = IndexBit(index.name);
        while (sqlite3_step(query.get()) == SQLITE_ROW) {
            int64_t rowid = sqlite3_column_int64(query.get(), 0);
            ids.insert(rowid);
            m_named[rowid] |= bit;
        }
    }
    return ids;
}

uint32_t SalvageTable::IndexBit(const std::string& index) {
    auto known = m_indexBits.try_emplace(index, m_indexBits.size()).first;
    return known->second < 32 ? uint32_t{1} << known->second : 0;
}

void SalvageTable::CopyThroughEngine(const std::vector<TableIndex>& indexes, int64_t stepBudget) {
    Query scan(m_read, "SELECT rowid, * FROM " + Quote(m_name) + " WHERE rowid > ? ORDER BY rowid");
    Query probe(m_read, "SELECT rowid, * FROM " + Quote(m_name) + " WHERE rowid = ?");
    if (!scan.Prepared() || !probe.Prepared()) return;
    const int columns = static_cast<int>(m_kinds.size());
    if (sqlite3_column_count(scan.get()) != columns + 1) return;
    std::set<int64_t> named = IndexedRowids(indexes);
    // Binds the current row of a read statement and inserts it.
    auto copy = [&](sqlite3_stmt* read) {
        int64_t rowid = sqlite3_column_int64(read, 0);
        int first = m_alias >= 0 ? 1 : 0;
        for (int c = first; c <= columns; ++c)
            sqlite3_bind_value(m_insert, c - first + 1, sqlite3_column_value(read, c));
        if (!Insert(rowid, m_insert)) m_refused.insert(rowid);
    };
    int64_t after = INT64_MIN;
    bool restarted = false;
    for (;;) {
        sqlite3_reset(scan.get());
        sqlite3_bind_int64(scan.get(), 1, after);
        int rc;
        while ((rc = sqlite3_step(scan.get())) == SQLITE_ROW) {
            if (--stepBudget < 0) return;
            if (m_cancelCheck && stepBudget % 4096 == 0) m_cancelCheck();
            int64_t rowid = sqlite3_column_int64(scan.get(), 0);
            // A damaged cell's rowid out of order is left to the page reader;
            // so may be the row before it, whose rowid may be the damaged one.
            if (rowid <= after) {
                m_doubtful.insert(after);
                continue;
            }
            after = rowid;
            copy(scan.get());
        }
        if (rc == SQLITE_DONE) {
            m_readWhole = !restarted;
            return;
        }
        // Damage: step over the unreadable rows the indexes name, one by
        // one, to the next row that reads again, and scan on from there.
        restarted = true;
        bool resumed = false;
        for (auto it = named.upper_bound(after); it != named.end() && !resumed; ++it) {
            if (--stepBudget < 0) return;
            after = *it;
            sqlite3_reset(probe.get());
            sqlite3_bind_int64(probe.get(), 1, after);
            if (sqlite3_step(probe.get()) == SQLITE_ROW) {
                copy(probe.get());
                resumed = true;
            }
        }
        if (!resumed) return;
    }
}

void SalvageTable::NamedBy(const std::string& index, const std::vector<CellValue>& entry) {
    auto known = m_indexColumns.find(index);
    if (known == m_indexColumns.end()) {
        Query info(m_read, "SELECT count(*) FROM pragma_index_xinfo(?1)");
        sqlite3_bind_text(info.get(), 1, index.c_str(), -1, SQLITE_TRANSIENT);
        size_t columns = sqlite3_step(info.get()) == SQLITE_ROW
                             ? static_cast<size_t>(sqlite3_column_int(info.get(), 0))
                             : 0;
        // xinfo lists the key columns, the rowid and the table's other columns.
        Query key(m_read, "SELECT count(*) FROM pragma_index_info(?1)");
        sqlite3_bind_text(key.get(), 1, index.c_str(), -1, SQLITE_TRANSIENT);
        if (columns > 0 && sqlite3_step(key.get()) == SQLITE_ROW)
            columns = static_cast<size_t>(sqlite3_column_int(key.get(), 0)) + 1;
        known = m_indexColumns.emplace(index, columns).first;
    }
    // Random bytes that happen to parse are no entry of this index.
    if (known->second != 0 && entry.size() != known->second) return;
    m_named[std::get<int64_t>(entry.back())] |= IndexBit(index);
}

bool SalvageTable::Fits(const PageRow& row, bool exact) const {
    if (row.values.size() > m_kinds.size() || (exact && row.values.size() != m_kinds.size()))
        return false;
    for (size_t c = 0; c < row.values.size(); ++c) {
        const CellValue& value = row.values[c];
        // The rowid column is stored as null; another column's null can only
        // be where the table allows one.
        if (std::holds_alternative<std::monostate>(value)) {
            if (m_required[c] && static_cast<int>(c) != m_alias) return false;
            continue;
        }
        if (static_cast<int>(c) == m_alias) return false;
        bool number =
            std::holds_alternative<int64_t>(value) || std::holds_alternative<double>(value);
        if (m_kinds[c] == 't' && (number || std::holds_alternative<Blob>(value))) return false;
        if (m_kinds[c] == 'i' && !number) return false;
    }
    return true;
}

void SalvageTable::BindPageRow(sqlite3_stmt* statement, const PageRow& row) {
    int at = 1;
    if (m_alias < 0) sqlite3_bind_int64(statement, at++, row.rowid);
    for (size_t c = 0; c < m_kinds.size(); ++c, ++at) {
        if (static_cast<int>(c) == m_alias)
            sqlite3_bind_int64(statement, at, row.rowid);
        else if (c < row.values.size())
            Bind(statement, at, row.values[c]);
    }
}

bool SalvageTable::CopyPageRow(const PageRow& row) {
    if (m_copied.contains(row.rowid)) {
        if (row.ordered && m_doubtful.erase(row.rowid) > 0) {
            BindPageRow(m_replace, row);
            Insert(row.rowid, m_replace);
        }
        return false;
    }
    BindPageRow(m_insert, row);
    if (Insert(row.rowid, m_insert)) return true;
    // A row the table refuses is a lost row only when its leaf is sound;
    // bytes of a damaged leaf that happen to parse prove no row.
    if (row.ordered) m_refused.insert(row.rowid);
    return false;
}

void SalvageTable::CopyFromPages(PageReader& pages) {
    m_damagedPages = pages.WalkTable(m_root, [&](const PageRow& row) {
        if (row.ordered) {
            LeafSpan& span = m_wholeLeaves[row.page];
            if (++span.rows == 2) span.second = row.rowid;
            span.beforeLast = span.last;
            span.last = row.rowid;
        }
        if (Fits(row, false) && CopyPageRow(row)) ++m_fromPages;
    });
}

bool SalvageTable::FitsAll(const std::vector<PageRow>& rows) const {
    for (const auto& row : rows)
        if (!Fits(row, true)) return false;
    return !rows.empty();
}

void SalvageTable::CopyRows(const std::vector<PageRow>& rows) {
    for (const auto& row : rows)
        if (CopyPageRow(row)) ++m_fromPages;
}

int64_t SalvageTable::Lost() const {
    // A row is named when most of the indexes that hold anything hold it: a
    // damaged key in one index names a row that never was, which the others
    // do not.
    uint32_t holders = 0;
    for (const auto& [rowid, bits] : m_named) holders |= bits;
    std::set<int64_t> seen;
    for (const auto& [rowid, bits] : m_named)
        if (2 * std::popcount(bits) > std::popcount(holders)) seen.insert(rowid);
    // A refused row is counted only within the counter: without one, damage
    // that parses as rows (a page of random bytes) would count as rows lost.
    if (m_counter >= 0) seen.insert(m_refused.begin(), m_refused.end());
    // Rowids inside the span of a leaf read whole were never there (a
    // damaged index key, or a row deleted long ago). A leaf's first and last
    // rowids are left out: damage to a cell's rowid that keeps the leaf in
    // order can only have moved it past its neighbours at either end.
    std::map<int64_t, int64_t> spans;
    for (const auto& [page, span] : m_wholeLeaves)
        if (span.rows >= 3) spans[span.second] = span.beforeLast;
    auto onWholeLeaf = [&spans](int64_t rowid) {
        auto next = spans.upper_bound(rowid);
        return next != spans.begin() && std::prev(next)->second >= rowid;
    };
    int64_t lost = 0;
    for (int64_t rowid : seen) {
        if (onWholeLeaf(rowid)) continue;
        // What a damaged index page names beyond the counter never existed.
        if (m_counter >= 0 && (rowid <= 0 || rowid > m_counter)) continue;
        if (!m_copied.contains(rowid)) ++lost;
    }
    return lost;
}

}  // namespace kest::engine
