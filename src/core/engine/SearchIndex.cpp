#include "core/engine/SearchIndex.h"

#include <sqlite3.h>
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/engine/EngineError.h"
#include "core/engine/TrigramQuery.h"

namespace kest::engine {

namespace {

constexpr int64_t kComplete = std::numeric_limits<int64_t>::max();
constexpr const char* kStateTable = "_kest_search";

// A searched table: its names (name, description) in one index keyed by the
// counter; its folder texts, which repeat for every file of a folder, once per
// run of consecutive rows sharing a folder (what a scan writes): the runs
// table maps each run to its range of counters, the dirs index holds its text.
struct Source {
    const char* table;
    const char* key;
    const char* index;
    const char* dirs;
    const char* runs;
    const char* names[2];
    const char* dir;
};

constexpr Source kSources[] = {
    {"tblFiles",
     "FileId",
     "_kest_fx_files",
     "_kest_fx_files_dirs",
     "_kest_fx_files_runs",
     {"FileName", "FileDesc"},
     "FileDir"},
    {"tblSubFiles",
     "SubFileId",
     "_kest_fx_subfiles",
     "_kest_fx_subfiles_dirs",
     "_kest_fx_subfiles_runs",
     {"SubFileName", "SubFileComm"},
     "SubFileDir"},
};

const std::vector<IndexedColumn>& Columns() {
    static const std::vector<IndexedColumn> columns = [] {
        std::vector<IndexedColumn> all;
        for (const auto& s : kSources) {
            for (const char* c : s.names) all.push_back({s.table, c, s.key, s.index, nullptr});
            all.push_back({s.table, s.dir, s.key, s.dirs, s.runs});
        }
        return all;
    }();
    return columns;
}

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

std::string IndexSql(const Source& s) {
    return std::string("CREATE VIRTUAL TABLE ") + s.index + " USING fts5(" + s.names[0] + ", " +
           s.names[1] +
           ", content='', detail=column, columnsize=0, tokenize='trigram case_sensitive 1')";
}

std::string DirsSql(const Source& s) {
    return std::string("CREATE VIRTUAL TABLE ") + s.dirs + " USING fts5(" + s.dir +
           ", content='', detail=none, columnsize=0, tokenize='trigram case_sensitive 1')";
}

std::string RunsSql(const Source& s) {
    return std::string("CREATE TABLE ") + s.runs +
           " (id INTEGER PRIMARY KEY, lo INTEGER NOT NULL, hi INTEGER NOT NULL, dir TEXT)";
}

std::string List(const Source& s, const char* prefix) {
    std::string out;
    for (const char* c : s.names) out += std::string(", ") + prefix + c;
    return out;
}

// The runs table's trigger puts each new run's folder into the dirs index.
std::pair<std::string, std::string> RunsTriggerSql(const Source& s) {
    std::string name = std::string(s.runs) + "_insert";
    return {name, "CREATE TRIGGER " + name + " AFTER INSERT ON " + s.runs + " BEGIN INSERT INTO " +
                      s.dirs + " (rowid, " + s.dir + ") VALUES (new.id, new.dir); END"};
}

// The three triggers of the source table; while building, each row change
// reaches the index only for rows the builder has passed. A new row extends
// the last run when it follows it in the same folder, else starts a run; a
// row whose folder or counter changes gets a run of its own. Runs are never
// taken back: a run that names a row no longer in its folder only adds a
// candidate, which the LIKE then turns down.
std::vector<std::pair<std::string, std::string>> TriggerSql(const Source& s, bool complete) {
    std::string upto = std::string("(SELECT upto FROM ") + kStateTable +
                       " WHERE tbl = " + SqlLiteral(s.table) + ")";
    auto passed = [&](const char* row) {
        return complete ? std::string() : std::string(" AND ") + row + "." + s.key + " <= " + upto;
    };
    const std::string key = std::string("new.") + s.key, dir = std::string("new.") + s.dir;
    const std::string lastRun = std::string("id = (SELECT max(id) FROM ") + s.runs + ")";
    const std::string sameDir = " AND dir IS " + dir + " COLLATE BINARY";
    std::string add = std::string("INSERT INTO ") + s.index + " (rowid" + List(s, "") +
                      ") SELECT " + key + List(s, "new.") + " WHERE 1" + passed("new") + ";";
    std::string remove = std::string("INSERT INTO ") + s.index + " (" + s.index + ", rowid" +
                         List(s, "") + ") SELECT 'delete', old." + s.key + List(s, "old.") +
                         " WHERE 1" + passed("old") + ";";
    std::string newRun = std::string("INSERT INTO ") + s.runs + " (lo, hi, dir) SELECT " + key +
                         ", " + key + ", " + dir + " WHERE ";
    std::string extend = std::string("UPDATE ") + s.runs + " SET hi = " + key + " WHERE " +
                         lastRun + " AND hi = " + key + " - 1" + sameDir + passed("new") + "; " +
                         newRun + "NOT EXISTS (SELECT 1 FROM " + s.runs + " WHERE " + lastRun +
                         " AND hi = " + key + sameDir + ")" + passed("new") + ";";
    std::string moved = newRun + "(" + key + " <> old." + s.key + " OR " + dir + " IS NOT old." +
                        s.dir + " COLLATE BINARY)" + passed("new") + ";";
    std::string name = s.index;
    std::string on = std::string(" ON ") + s.table + " BEGIN ";
    std::string columns = std::string(s.key) + List(s, "") + ", " + s.dir;
    return {
        {name + "_insert",
         "CREATE TRIGGER " + name + "_insert AFTER INSERT" + on + add + " " + extend + " END"},
        {name + "_delete",
         "CREATE TRIGGER " + name + "_delete AFTER DELETE" + on + remove + " END"},
        {name + "_update", "CREATE TRIGGER " + name + "_update AFTER UPDATE OF " + columns + on +
                               remove + " " + add + " " + moved + " END"},
    };
}

// The tables and the runs table's trigger, as made.
std::vector<std::pair<std::string, std::string>> TableSql(const Source& s) {
    return {{s.index, IndexSql(s)}, {s.dirs, DirsSql(s)}, {s.runs, RunsSql(s)}, RunsTriggerSql(s)};
}

std::string StoredSql(sqlite3* db, const std::string& name) {
    return TextOf(db, "SELECT sql FROM sqlite_master WHERE name = " + SqlLiteral(name));
}

int64_t Upto(sqlite3* db, const Source& s) {
    return IntOf(
        db, std::string("SELECT upto FROM ") + kStateTable + " WHERE tbl = " + SqlLiteral(s.table),
        -1);
}

// Whether every object of the source's index is there as made, for the
// phase its state names.
bool ObjectsIntact(sqlite3* db, const Source& s, int64_t upto) {
    if (upto < 0) return false;
    for (const auto& [name, sql] : TableSql(s))
        if (StoredSql(db, name) != sql) return false;
    for (const auto& [name, sql] : TriggerSql(s, upto == kComplete))
        if (StoredSql(db, name) != sql) return false;
    return true;
}

// The number of rows the index holds, from the FTS5 averages record.
int64_t IndexedRows(sqlite3* db, const Source& s) {
    sqlite3_stmt* stmt = nullptr;
    int64_t rows = -1;
    std::string sql = std::string("SELECT block FROM ") + s.index + "_data WHERE id = 1";
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

// The number of rows whose texts the index finds by the query (FTS5 syntax):
// for a name column, rows whose counter the index gives; for the folder, rows
// of the runs whose folder the dirs index gives, counting up to limit runs;
// also narrows the index rows or runs counted.
std::string CountSql(const Source& s, const IndexedColumn& column, const std::string& match,
                     int64_t limit, const std::string& also = "") {
    if (!column.runsTable)
        return std::string("SELECT count(*) FROM (SELECT rowid FROM ") + s.index + " WHERE " +
               s.index + " MATCH " + SqlLiteral(match) + also + " LIMIT " + std::to_string(limit) +
               ")";
    return std::string("SELECT ifnull(sum(hi - lo + 1), 0) FROM (SELECT lo, hi FROM ") + s.runs +
           " WHERE id IN (SELECT rowid FROM " + s.dirs + " WHERE " + s.dirs + " MATCH " +
           SqlLiteral(match) + ")" + also + " LIMIT " + std::to_string(limit) + ")";
}

// Whether the index finds a few rows spread over the table by their own
// texts: damage to the index's pages shows here on most catalogs.
bool ProbesFound(sqlite3* db, const Source& s) {
    constexpr int kProbes = 2;
    int64_t first = IntOf(db, std::string("SELECT min(") + s.key + ") FROM " + s.table, 0);
    int64_t last = IntOf(db, std::string("SELECT max(") + s.key + ") FROM " + s.table, 0);
    for (int i = 0; i < kProbes; ++i) {
        int64_t at = first + (last - first) * i / (kProbes - 1);
        std::string select = std::string("SELECT ") + s.key + List(s, "") + ", " + s.dir +
                             " FROM " + s.table + " WHERE " + s.key + " >= " + std::to_string(at) +
                             " ORDER BY " + s.key + " LIMIT 1";
        sqlite3_stmt* stmt = nullptr;
        bool found = true;
        if (sqlite3_prepare_v2(db, select.c_str(), -1, &stmt, nullptr) != SQLITE_OK) found = false;
        if (found && sqlite3_step(stmt) == SQLITE_ROW) {
            std::string id = std::to_string(sqlite3_column_int64(stmt, 0));
            int c = 0;
            for (const auto& column : Columns()) {
                if (strcmp(column.table, s.table) != 0 || !found) continue;
                auto text = sqlite3_column_text(stmt, ++c);
                std::string query =
                    text ? TrigramQuery(reinterpret_cast<const char*>(text)) : std::string();
                if (query.empty()) continue;
                std::string row = column.runsTable ? " AND lo <= " + id + " AND hi >= " + id
                                                   : " AND rowid = " + id;
                found = IntOf(db, CountSql(s, column, MatchFor(column, query), 1, row), 0) > 0;
            }
        }
        sqlite3_finalize(stmt);
        if (!found) return false;
    }
    return true;
}

bool Complete(sqlite3* db, const Source& s) {
    return Upto(db, s) == kComplete && ObjectsIntact(db, s, kComplete) && ProbesFound(db, s);
}

bool SourceExists(sqlite3* db, const Source& s) {
    return IntOf(
               db,
               std::string("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ") +
                   SqlLiteral(s.table),
               0) > 0;
}

void DropSource(sqlite3* db, const Source& s) {
    for (const auto& [name, sql] : TriggerSql(s, true))
        ExecOrThrow(db, "DROP TRIGGER IF EXISTS " + name);
    for (const char* table : {s.index, s.dirs, s.runs})
        ExecOrThrow(db, std::string("DROP TABLE IF EXISTS ") + table);
    if (!StoredSql(db, kStateTable).empty())
        ExecOrThrow(
            db, std::string("DELETE FROM ") + kStateTable + " WHERE tbl = " + SqlLiteral(s.table));
}

void CreateTriggers(sqlite3* db, const Source& s, bool complete) {
    for (const auto& [name, sql] : TriggerSql(s, complete)) {
        ExecOrThrow(db, "DROP TRIGGER IF EXISTS " + name);
        ExecOrThrow(db, sql);
    }
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
        ExecOrThrow(db, std::string("INSERT INTO ") + s.index + " (" + s.index +
                            ", rank) VALUES ('automerge', 16)");
        ExecOrThrow(db, std::string("INSERT INTO ") + kStateTable + " VALUES (" +
                            SqlLiteral(s.table) + ", 0)");
        CreateTriggers(db, s, false);
    });
}

// Indexes the next rows past the builder's mark; true when none were left.
bool IndexSlice(sqlite3* db, const Source& s, int64_t sliceRows, int64_t& done) {
    bool finished = false;
    AsOneUnit(db, [&] {
        int64_t upto = Upto(db, s);
        std::string rows = std::string(" FROM ") + s.table + " WHERE " + s.key + " > " +
                           std::to_string(upto) + " ORDER BY " + s.key + " LIMIT " +
                           std::to_string(sliceRows);
        int64_t last = IntOf(
            db, std::string("SELECT max(") + s.key + ") FROM (SELECT " + s.key + rows + ")", upto);
        ExecOrThrow(db, std::string("INSERT INTO ") + s.index + " (rowid" + List(s, "") +
                            ") SELECT " + s.key + List(s, "") + rows);
        int64_t count = IntOf(db, "SELECT changes()", 0);
        // Each run of rows sharing a folder: c marks the rows that start one,
        // g numbers the runs.
        ExecOrThrow(db, std::string("INSERT INTO ") + s.runs +
                            " (lo, hi, dir) SELECT min(k), max(k), d FROM (SELECT k, d, sum(c) "
                            "OVER (ORDER BY k) AS g FROM (SELECT k, d, (lag(d) OVER (ORDER BY k)) "
                            "IS NOT d COLLATE BINARY AS c FROM (SELECT " +
                            s.key + " AS k, " + s.dir + " AS d" + rows +
                            "))) GROUP BY g ORDER BY g");
        done += count;
        finished = count < sliceRows;
        ExecOrThrow(db, std::string("UPDATE ") + kStateTable +
                            " SET upto = " + std::to_string(finished ? kComplete : last) +
                            " WHERE tbl = " + SqlLiteral(s.table));
        if (finished) CreateTriggers(db, s, true);
    });
    return finished;
}

}  // namespace

unsigned CompleteSearchIndexes(sqlite3* db) {
    unsigned complete = 0;
    if (StoredSql(db, kStateTable).empty()) return 0;
    for (size_t i = 0; i < std::size(kSources); ++i)
        if (Complete(db, kSources[i])) complete |= 1u << i;
    return complete;
}

const IndexedColumn* FindIndexedColumn(unsigned complete, const std::string& table,
                                       const std::string& column) {
    for (const auto& c : Columns()) {
        if (strcasecmp(c.table, table.c_str()) != 0 || strcasecmp(c.column, column.c_str()) != 0)
            continue;
        for (size_t i = 0; i < std::size(kSources); ++i)
            if (strcmp(kSources[i].table, c.table) == 0) return (complete >> i) & 1 ? &c : nullptr;
    }
    return nullptr;
}

std::optional<bool> FewCandidates(sqlite3* db, const IndexedColumn& column,
                                  const std::string& match) {
    // Past about one row in thirty, reading every row costs less than
    // looking each candidate up.
    constexpr int64_t kAlwaysFew = 2000;
    for (const auto& s : kSources) {
        if (strcmp(s.table, column.table) != 0) continue;
        int64_t limit = std::max(kAlwaysFew, IndexedRows(db, s) / 30);
        int64_t count = IntOf(db, CountSql(s, column, match, limit), -1);
        if (count < 0) return std::nullopt;
        return count < limit;
    }
    return false;
}

bool DeferSearchIndex(sqlite3* db) {
    bool deferred = false;
    for (const auto& s : kSources) {
        if (Upto(db, s) != kComplete || !ObjectsIntact(db, s, kComplete)) continue;
        AsOneUnit(db, [&] {
            ExecOrThrow(db, std::string("UPDATE ") + kStateTable +
                                " SET upto = (SELECT ifnull(max(" + s.key + "), 0) FROM " +
                                s.table + ") WHERE tbl = " + SqlLiteral(s.table));
            CreateTriggers(db, s, false);
        });
        deferred = true;
    }
    return deferred;
}

void DropSearchIndex(sqlite3* db) {
    AsOneUnit(db, [&] {
        for (const auto& s : kSources) DropSource(db, s);
        ExecOrThrow(db, std::string("DROP TABLE IF EXISTS ") + kStateTable);
    });
}

void BuildSearchIndex(sqlite3* db, const IndexProgress& progress, int64_t sliceRows) {
    std::vector<const Source*> todo;
    for (const auto& s : kSources) {
        if (!SourceExists(db, s) || Complete(db, s)) continue;
        int64_t upto = Upto(db, s);
        if (upto == kComplete || !ObjectsIntact(db, s, upto)) StartSource(db, s);
        todo.push_back(&s);
    }
    int64_t total = 0, done = 0;
    for (const Source* s : todo) {
        total += IntOf(db,
                       std::string("SELECT count(*) FROM ") + s->table + " WHERE " + s->key +
                           " > " + std::to_string(Upto(db, *s)),
                       0);
    }
    for (const Source* s : todo) {
        bool finished = false;
        while (!finished) {
            finished = IndexSlice(db, *s, sliceRows, done);
            if (progress) progress(done, total);
        }
    }
}

}  // namespace kest::engine
