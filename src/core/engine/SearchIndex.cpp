#include "core/engine/SearchIndex.h"

#include <sqlite3.h>
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/engine/EngineError.h"
#include "core/engine/SearchIndexObjects.h"
#include "core/engine/TrigramQuery.h"

namespace kest::engine {

namespace {

constexpr int64_t kComplete = std::numeric_limits<int64_t>::max();
constexpr const char* kStateTable = kSearchStateTable;
using Source = IndexSource;

// Runs a query whose first column of the first row is an integer; fallback
// when there is no row, no integer, or the query fails.
int64_t IntOf(sqlite3* db, const std::string& sql, int64_t fallback) {
    sqlite3_stmt* stmt = nullptr;
    int64_t value = fallback;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_type(stmt, 0) == SQLITE_INTEGER) {
        value = sqlite3_column_int64(stmt, 0);
    }
    sqlite3_finalize(stmt);
    return value;
}

std::string TextOf(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    std::string value;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        if (auto text = sqlite3_column_text(stmt, 0)) value = reinterpret_cast<const char*>(text);
    }
    sqlite3_finalize(stmt);
    return value;
}

std::string StoredSql(sqlite3* db, const std::string& name) {
    return TextOf(db, "SELECT sql FROM sqlite_master WHERE name = " + SqlLiteral(name));
}

int64_t Upto(sqlite3* db, const Source& s) {
    return IntOf(
        db, std::string("SELECT upto FROM ") + kStateTable + " WHERE tbl = " + SqlLiteral(s.table),
        -1);
}

// The forms the source table's triggers take. Complete: every row change
// reaches the index. Building: changes reach it only for rows the builder has
// passed. Deferred: the building form without the insert trigger, while a
// scan (holding the catalog exclusively) adds rows whose counters all lie
// beyond the mark, so that the builder takes them and the scan's inserts do
// not pay for the trigger.
enum class Form { Complete, Building, Deferred };

SqlObjects TriggersOf(const Source& s, Form form) {
    SqlObjects triggers = TriggerSql(s, form == Form::Complete);
    if (form == Form::Deferred) triggers.erase(triggers.begin());  // the insert trigger
    return triggers;
}

// Whether every object of the source's index is there as made, with the
// triggers in the given form.
bool ObjectsIntact(sqlite3* db, const Source& s, Form form) {
    for (const auto& [name, sql] : TableSql(s))
        if (StoredSql(db, name) != sql) return false;
    for (const auto& [name, sql] : TriggersOf(s, form))
        if (StoredSql(db, name) != sql) return false;
    return form != Form::Deferred || StoredSql(db, TriggerSql(s, false).front().first).empty();
}

// The number of rows an FTS5 table holds, from its averages record, which
// FTS5 keeps up to date with every insert and delete.
int64_t FtsRows(sqlite3* db, const char* fts) {
    sqlite3_stmt* stmt = nullptr;
    int64_t rows = -1;
    std::string sql = std::string("SELECT block FROM ") + fts + "_data WHERE id = 1";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        auto bytes = static_cast<const unsigned char*>(sqlite3_column_blob(stmt, 0));
        int size = sqlite3_column_bytes(stmt, 0);
        uint64_t value = 0;
        for (int i = 0; i < size && i < 9; ++i) {
            if (i == 8) {
                value = (value << 8) | bytes[i];
                break;
            }
            value = (value << 7) | (bytes[i] & 0x7f);
            if (!(bytes[i] & 0x80)) break;
        }
        rows = static_cast<int64_t>(value);
    } else {
        // An index that never held a row has no averages record yet.
        rows = 0;
    }
    sqlite3_finalize(stmt);
    return rows;
}

int64_t IndexedRows(sqlite3* db, const Source& s) {
    return FtsRows(db, s.nameIndexes[0]);
}

// The number of rows whose texts the column's index finds by the query (FTS5
// syntax): for a name column, rows whose counter the index gives; for the
// folder, the rows of the runs whose folder the index gives. Counts up to
// limit index rows or runs, narrowed by also.
std::string CountSql(const IndexedColumn& column, const std::string& match, int64_t limit,
                     const std::string& also = "") {
    const std::string fts = column.indexTable;
    const std::string found = " WHERE " + fts + " MATCH " + SqlLiteral(match);
    if (!column.runsTable)
        return "SELECT count(*) FROM (SELECT rowid FROM " + fts + found + also + " LIMIT " +
               std::to_string(limit) + ")";
    return std::string("SELECT ifnull(sum(hi - lo + 1), 0) FROM (SELECT lo, hi FROM ") +
           column.runsTable + " WHERE id IN (SELECT rowid FROM " + fts + found + ")" + also +
           " LIMIT " + std::to_string(limit) + ")";
}

// The counters (names) or runs (lo, hi: folders) the column's index finds by
// the query (FTS5 syntax), up to limit of them.
std::string FoundSql(const IndexedColumn& column, const std::string& match, int64_t limit) {
    const std::string fts = column.indexTable;
    std::string found = "SELECT rowid FROM " + fts + " WHERE " + fts + " MATCH " +
                        SqlLiteral(match) + " LIMIT " + std::to_string(limit);
    if (!column.runsTable) return found;
    return std::string("SELECT lo, hi FROM ") + column.runsTable + " WHERE id IN (" + found + ")";
}

// Whether the index finds a few rows spread over the table by their own
// texts: damage to the index's pages shows here on most catalogs.
bool ProbesFound(sqlite3* db, const Source& s) {
    constexpr int kProbes = 2;
    int64_t first = IntOf(db, std::string("SELECT min(") + s.key + ") FROM " + s.table, 0);
    int64_t last = IntOf(db, std::string("SELECT max(") + s.key + ") FROM " + s.table, 0);
    for (int i = 0; i < kProbes; ++i) {
        int64_t at = first + (last - first) * i / (kProbes - 1);
        std::string select = std::string("SELECT ") + s.key + ", " + s.names[0] + ", " +
                             s.names[1] + ", " + s.dir + " FROM " + s.table + " WHERE " + s.key +
                             " >= " + std::to_string(at) + " ORDER BY " + s.key + " LIMIT 1";
        sqlite3_stmt* stmt = nullptr;
        bool found = true;
        if (sqlite3_prepare_v2(db, select.c_str(), -1, &stmt, nullptr) != SQLITE_OK) found = false;
        if (found && sqlite3_step(stmt) == SQLITE_ROW) {
            std::string id = std::to_string(sqlite3_column_int64(stmt, 0));
            int c = 0;
            for (const auto& column : IndexedColumns()) {
                if (strcmp(column.table, s.table) != 0 || !found) continue;
                auto text = sqlite3_column_text(stmt, ++c);
                std::string query =
                    text ? TrigramQuery(reinterpret_cast<const char*>(text)) : std::string();
                if (query.empty()) continue;
                std::string row = column.runsTable ? " AND lo <= " + id + " AND hi >= " + id
                                                   : " AND rowid = " + id;
                found = IntOf(db, CountSql(column, query, 1, row), 0) > 0;
            }
        }
        sqlite3_finalize(stmt);
        if (!found) return false;
    }
    return true;
}

// Whether the index holds an entry for every row's name and a folder for
// every run, and the runs span at least as many counters as there are rows:
// a name taken out of its FTS5 table, a run out of the runs table or a
// folder out of its FTS5 table shows here, wherever it was. The name is a
// required field, so its count comes from the table's smallest index
// (about 20 ms at 1,000,000 rows); the runs are read whole (one per folder).
// Descriptions and comments are not counted: they may be empty, and
// counting them reads every row.
bool CountsAgree(sqlite3* db, const Source& s) {
    const int64_t rows = IntOf(
        db,
        std::string("SELECT count(*) FROM ") + s.table + " WHERE " + s.names[0] + " IS NOT NULL",
        -1);
    if (rows < 0 || FtsRows(db, s.nameIndexes[0]) != rows) return false;
    const int64_t runs = IntOf(db, std::string("SELECT count(*) FROM ") + s.runs, -1);
    const int64_t spanned =
        IntOf(db, std::string("SELECT ifnull(sum(hi - lo + 1), 0) FROM ") + s.runs, -1);
    return runs >= 0 && FtsRows(db, s.dirs) == runs && spanned >= rows;
}

bool Complete(sqlite3* db, const Source& s) {
    return Upto(db, s) == kComplete && ObjectsIntact(db, s, Form::Complete) && CountsAgree(db, s) &&
           ProbesFound(db, s);
}

bool SourceExists(sqlite3* db, const Source& s) {
    return IntOf(
               db,
               std::string("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ") +
                   SqlLiteral(s.table),
               0) > 0;
}

// A full-text table whose own records are damaged cannot even be opened to
// be dropped. Those records are rows of ordinary tables, so they are set to
// the ones of an empty full-text table first; then it drops as any other.
void DropFullTextTable(sqlite3* db, const std::string& table) {
    const std::string drop = "DROP TABLE IF EXISTS " + table;
    if (sqlite3_exec(db, drop.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK) return;
    ExecOrThrow(db, "CREATE VIRTUAL TABLE temp._kest_fx_blank USING fts5(x)");
    for (const char* records : {"_data", "_config", "_idx"}) {
        ExecOrThrow(db, "DELETE FROM " + table + records);
        if (std::strcmp(records, "_idx") != 0)
            ExecOrThrow(db, "INSERT INTO " + table + records +
                                " SELECT * FROM temp._kest_fx_blank" + records);
    }
    ExecOrThrow(db, "DROP TABLE temp._kest_fx_blank");
    ExecOrThrow(db, drop);
}

void DropSource(sqlite3* db, const Source& s) {
    for (const auto& [name, sql] : TriggerSql(s, true))
        ExecOrThrow(db, "DROP TRIGGER IF EXISTS " + name);
    for (const char* table : s.nameIndexes) DropFullTextTable(db, table);
    DropFullTextTable(db, s.dirs);
    ExecOrThrow(db, std::string("DROP TABLE IF EXISTS ") + s.runs);
    if (!StoredSql(db, kStateTable).empty())
        ExecOrThrow(
            db, std::string("DELETE FROM ") + kStateTable + " WHERE tbl = " + SqlLiteral(s.table));
}

void CreateTriggers(sqlite3* db, const Source& s, Form form) {
    for (const auto& [name, sql] : TriggerSql(s, true))
        ExecOrThrow(db, "DROP TRIGGER IF EXISTS " + name);
    for (const auto& [name, sql] : TriggersOf(s, form)) ExecOrThrow(db, sql);
}

// Starts the index of a source afresh: empty, nothing passed yet.
void StartSource(sqlite3* db, const Source& s) {
    AsOneUnit(db, [&] {
        DropSource(db, s);
        ExecOrThrow(db, std::string("CREATE TABLE IF NOT EXISTS ") + kStateTable +
                            " (tbl TEXT PRIMARY KEY, upto INTEGER NOT NULL)");
        for (const auto& [name, sql] : TableSql(s)) ExecOrThrow(db, sql);
        // A scan commits every thousand rows; merging segments less eagerly
        // halves what the index costs it.
        for (const char* index : s.nameIndexes)
            ExecOrThrow(db, std::string("INSERT INTO ") + index + " (" + index +
                                ", rank) VALUES ('automerge', 16)");
        ExecOrThrow(db, std::string("INSERT INTO ") + kStateTable + " VALUES (" +
                            SqlLiteral(s.table) + ", 0)");
        CreateTriggers(db, s, Form::Building);
    });
}

// Adds a run for each stretch of the rows (in counter order) that share a
// folder, as written.
void AddRuns(sqlite3* db, const Source& s, const std::string& rows) {
    std::string select = std::string("SELECT ") + s.key + ", " + s.dir + rows;
    std::string insert = std::string("INSERT INTO ") + s.runs + " (lo, hi, dir) VALUES (?, ?, ?)";
    sqlite3_stmt* read = nullptr;
    sqlite3_stmt* add = nullptr;
    int rc = sqlite3_prepare_v2(db, select.c_str(), -1, &read, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_prepare_v2(db, insert.c_str(), -1, &add, nullptr);
    std::string dir;
    bool open = false, dirNull = false;
    auto flush = [&] {
        if (!open || rc != SQLITE_OK) return;
        if (dirNull) {
            sqlite3_bind_null(add, 3);
        } else {
            sqlite3_bind_text(add, 3, dir.data(), static_cast<int>(dir.size()), SQLITE_STATIC);
        }
        rc = sqlite3_step(add) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
        sqlite3_reset(add);
    };
    while (rc == SQLITE_OK) {
        int step = sqlite3_step(read);
        if (step != SQLITE_ROW) {
            if (step != SQLITE_DONE) rc = sqlite3_errcode(db);
            break;
        }
        int64_t key = sqlite3_column_int64(read, 0);
        auto text = reinterpret_cast<const char*>(sqlite3_column_text(read, 1));
        size_t size = static_cast<size_t>(sqlite3_column_bytes(read, 1));
        bool same =
            open && dirNull == !text && (!text || dir.compare(0, dir.size(), text, size) == 0);
        if (!same) {
            flush();
            dir.assign(text ? text : "", size);
            dirNull = !text;
            open = true;
            sqlite3_bind_int64(add, 1, key);
        }
        sqlite3_bind_int64(add, 2, key);
    }
    flush();
    sqlite3_finalize(read);
    sqlite3_finalize(add);
    if (rc != SQLITE_OK) ThrowEngineError(db, rc);
}

struct SliceFacts {
    int64_t rows = 0, last = 0, second = 0;
};

// The three integers of a query's first row; raises the engine's error
// when it fails.
SliceFacts FactsOf(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    SliceFacts facts;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
        facts = {sqlite3_column_int64(stmt, 0), sqlite3_column_int64(stmt, 1),
                 sqlite3_column_int64(stmt, 2)};
        rc = SQLITE_OK;
    } else {
        rc = sqlite3_errcode(db);
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_OK) ThrowEngineError(db, rc);
    return facts;
}

// Indexes the next rows past the builder's mark; true when none were left
// and, asked to finish, the index is then complete.
bool IndexSlice(sqlite3* db, const Source& s, int64_t sliceRows, int64_t& done,
                bool finish = true) {
    bool finished = false;
    AsOneUnit(db, [&] {
        int64_t upto = Upto(db, s);
        // One pass over the slice gives its size, its last counter and
        // whether any row has the second text (descriptions are rare).
        const std::string slice = std::string("SELECT ") + s.key + ", " + s.names[1] + " FROM " +
                                  s.table + " WHERE " + s.key + " > " + std::to_string(upto) +
                                  " ORDER BY " + s.key + " LIMIT " + std::to_string(sliceRows);
        const SliceFacts facts =
            FactsOf(db, std::string("SELECT count(*), max(") + s.key + "), count(" + s.names[1] +
                            ") FROM (" + slice + ")");
        const int64_t count = facts.rows, last = count > 0 ? facts.last : upto;
        std::string rows = std::string(" FROM ") + s.table + " WHERE " + s.key + " > " +
                           std::to_string(upto) + " AND " + s.key + " <= " + std::to_string(last);
        if (count > 0) {
            for (size_t i = 0; i < (facts.second > 0 ? 2 : 1); ++i)
                ExecOrThrow(db, std::string("INSERT INTO ") + s.nameIndexes[i] + " (rowid, " +
                                    s.names[i] + ") SELECT " + s.key + ", " + s.names[i] + rows +
                                    " AND " + s.names[i] + " IS NOT NULL");
            AddRuns(db, s, rows + " ORDER BY " + s.key);
        }
        done += count;
        finished = count < sliceRows;
        if (!finish) {
            if (count > 0)
                ExecOrThrow(db, std::string("UPDATE ") + kStateTable + " SET upto = " +
                                    std::to_string(last) + " WHERE tbl = " + SqlLiteral(s.table));
            return;
        }
        ExecOrThrow(db, std::string("UPDATE ") + kStateTable +
                            " SET upto = " + std::to_string(finished ? kComplete : last) +
                            " WHERE tbl = " + SqlLiteral(s.table));
        if (finished) CreateTriggers(db, s, Form::Complete);
    });
    return finished;
}

}  // namespace

unsigned CompleteSearchIndexes(sqlite3* db) {
    unsigned complete = 0;
    if (StoredSql(db, kStateTable).empty()) return 0;
    const auto& sources = IndexSources();
    for (size_t i = 0; i < sources.size(); ++i)
        if (Complete(db, sources[i])) complete |= 1u << i;
    return complete;
}

unsigned AllSearchIndexes() {
    return (1u << IndexSources().size()) - 1;
}

const IndexedColumn* FindIndexedColumn(unsigned complete, const std::string& table,
                                       const std::string& column) {
    for (const auto& c : IndexedColumns()) {
        if (strcasecmp(c.table, table.c_str()) != 0 || strcasecmp(c.column, column.c_str()) != 0)
            continue;
        const auto& sources = IndexSources();
        for (size_t i = 0; i < sources.size(); ++i)
            if (strcmp(sources[i].table, c.table) == 0) return (complete >> i) & 1 ? &c : nullptr;
    }
    return nullptr;
}

std::optional<Candidates> FindCandidates(sqlite3* db, const IndexedColumn& column,
                                         const std::string& match) {
    // Past about one row in thirty, reading every row costs less than
    // looking each candidate up.
    constexpr int64_t kAlwaysFew = 2000;
    for (const auto& s : IndexSources()) {
        if (strcmp(s.table, column.table) != 0) continue;
        const int64_t limit = std::max(kAlwaysFew, IndexedRows(db, s) / 30);
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(db, FoundSql(column, match, limit).c_str(), -1, &stmt, nullptr);
        int64_t count = 0;
        std::vector<int64_t> keys;
        while (rc == SQLITE_OK && count < limit) {
            int step = sqlite3_step(stmt);
            if (step != SQLITE_ROW) {
                if (step != SQLITE_DONE) rc = step;
                break;
            }
            // A name's row, or a run of rows lo to hi.
            const int64_t lo = sqlite3_column_int64(stmt, 0);
            const int64_t hi = column.runsTable ? sqlite3_column_int64(stmt, 1) : lo;
            count += hi - lo + 1;
            for (int64_t key = lo; key <= hi && count <= int64_t{kListedCandidates}; ++key)
                keys.push_back(key);
        }
        sqlite3_finalize(stmt);
        if (rc != SQLITE_OK) return std::nullopt;
        Candidates found;
        found.few = count < limit;
        if (found.few && count <= int64_t{kListedCandidates}) {
            std::sort(keys.begin(), keys.end());
            keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
            found.keys = std::move(keys);
        }
        return found;
    }
    return Candidates{};
}

bool DeferSearchIndex(sqlite3* db) {
    bool deferred = false;
    for (const auto& s : IndexSources()) {
        if (Upto(db, s) != kComplete || !ObjectsIntact(db, s, Form::Complete)) continue;
        AsOneUnit(db, [&] {
            ExecOrThrow(db, std::string("UPDATE ") + kStateTable +
                                " SET upto = (SELECT ifnull(max(" + s.key + "), 0) FROM " +
                                s.table + ") WHERE tbl = " + SqlLiteral(s.table));
            CreateTriggers(db, s, Form::Deferred);
        });
        deferred = true;
    }
    return deferred;
}

void IndexDeferredRows(sqlite3* db) {
    for (const auto& s : IndexSources()) {
        int64_t upto = Upto(db, s), done = 0;
        if (upto < 0 || upto == kComplete || !ObjectsIntact(db, s, Form::Deferred)) continue;
        IndexSlice(db, s, std::numeric_limits<int64_t>::max(), done, false);
    }
}

void EndDeferral(sqlite3* db) {
    for (const auto& s : IndexSources()) {
        int64_t upto = Upto(db, s);
        if (upto < 0 || upto == kComplete || !ObjectsIntact(db, s, Form::Deferred)) continue;
        AsOneUnit(db, [&] { CreateTriggers(db, s, Form::Building); });
    }
}

void DropSearchIndex(sqlite3* db) {
    AsOneUnit(db, [&] {
        for (const auto& s : IndexSources()) DropSource(db, s);
        ExecOrThrow(db, std::string("DROP TABLE IF EXISTS ") + kStateTable);
    });
}

unsigned BuildSearchIndex(sqlite3* db, const IndexProgress& progress, int64_t sliceRows,
                          const std::function<bool()>& stop) {
    const auto& sources = IndexSources();
    std::vector<size_t> todo;
    unsigned complete = 0;
    for (size_t i = 0; i < sources.size(); ++i) {
        const Source& s = sources[i];
        if (!SourceExists(db, s)) continue;
        complete |= 1u << i;
        if (Complete(db, s)) continue;
        int64_t upto = Upto(db, s);
        if (upto < 0 || upto == kComplete || !ObjectsIntact(db, s, Form::Building))
            StartSource(db, s);
        todo.push_back(i);
    }
    int64_t total = 0, done = 0;
    for (size_t i : todo) {
        total += IntOf(db,
                       std::string("SELECT count(*) FROM ") + sources[i].table + " WHERE " +
                           sources[i].key + " > " + std::to_string(Upto(db, sources[i])),
                       0);
    }
    for (size_t k = 0; k < todo.size(); ++k) {
        bool finished = false;
        while (!finished) {
            if (stop && stop()) {
                // What is committed stays; the next build goes on from it.
                for (size_t left = k; left < todo.size(); ++left) complete &= ~(1u << todo[left]);
                return complete;
            }
            finished = IndexSlice(db, sources[todo[k]], sliceRows, done);
            if (progress) progress(done, total);
        }
    }
    return complete;
}

}  // namespace kest::engine
