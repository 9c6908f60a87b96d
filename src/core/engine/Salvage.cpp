#include "core/engine/Salvage.h"

#include <sqlite3.h>

#include <set>
#include <vector>

#include "core/common/DurableFile.h"
#include "core/common/Errors.h"
#include "core/engine/EngineError.h"

namespace kest::engine {
namespace {

struct SchemaEntry {
    std::string type, name, table, sql;
};

std::string Quote(const std::string& name) {
    std::string quoted = "\"";
    for (char c : name) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// A prepared statement that finalizes itself.
class Query {
  public:
    Query(sqlite3* db, const std::string& sql) {
        m_rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &m_stmt, nullptr);
    }
    ~Query() { sqlite3_finalize(m_stmt); }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    bool Prepared() const { return m_rc == SQLITE_OK && m_stmt; }
    sqlite3_stmt* get() const { return m_stmt; }
    std::string Text(int column) const {
        auto text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
        return text ? text : "";
    }

  private:
    sqlite3_stmt* m_stmt = nullptr;
    int m_rc = SQLITE_ERROR;
};

class Salvager {
  public:
    // Reads go through their own connection: damage met in a statement would
    // otherwise spoil the open write transaction.
    Salvager(sqlite3* read, sqlite3* write, std::string damagedPath)
        : m_read(read), m_db(write), m_path(std::move(damagedPath)) {}

    SalvageResult Run() {
        std::vector<SchemaEntry> schema = ReadSchema();
        std::string journalMode = OldJournalMode();
        ExecOrThrow(m_db, "BEGIN");
        for (const auto& entry : schema) {
            if (entry.type == "table" && !entry.sql.empty() && !IsSystemTable(entry.name) &&
                !ExistsInMain(entry.name)) {
                ExecOrThrow(m_db, entry.sql);
            }
        }
        for (const auto& entry : schema) {
            if (entry.type == "table" && !IsVirtual(entry) && !IsSystemTable(entry.name))
                CopyTable(entry.name, schema);
        }
        KeepCounters();
        for (const auto& entry : schema) {
            if (entry.type != "table" && !entry.sql.empty()) ExecOrThrow(m_db, entry.sql);
        }
        ExecOrThrow(m_db, "COMMIT");
        ExecOrThrow(m_db, "PRAGMA journal_mode=" + journalMode);
        return m_result;
    }

  private:
    static bool IsSystemTable(const std::string& name) { return name.starts_with("sqlite_"); }
    static bool IsVirtual(const SchemaEntry& entry) {
        return entry.sql.starts_with("CREATE VIRTUAL TABLE");
    }

    std::vector<SchemaEntry> ReadSchema() {
        std::vector<SchemaEntry> schema;
        Query query(m_read, "SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY rowid");
        if (!query.Prepared()) ThrowEngineError(m_read, sqlite3_errcode(m_read), m_path);
        int rc;
        while ((rc = sqlite3_step(query.get())) == SQLITE_ROW)
            schema.push_back({query.Text(0), query.Text(1), query.Text(2), query.Text(3)});
        if (rc != SQLITE_DONE) ThrowEngineError(m_read, rc, m_path);
        return schema;
    }

    std::string OldJournalMode() {
        Query query(m_read, "PRAGMA journal_mode");
        if (query.Prepared() && sqlite3_step(query.get()) == SQLITE_ROW) return query.Text(0);
        return "delete";
    }

    bool ExistsInMain(const std::string& name) {
        Query query(m_db, "SELECT 1 FROM main.sqlite_master WHERE name = ?");
        sqlite3_bind_text(query.get(), 1, name.c_str(), -1, SQLITE_TRANSIENT);
        return sqlite3_step(query.get()) == SQLITE_ROW;
    }

    // The rowids that the table's indexes still hold, read without touching
    // the table's own pages; each index as far as it can be read.
    std::set<int64_t> IndexedRowids(const std::string& table,
                                    const std::vector<SchemaEntry>& schema) {
        std::set<int64_t> ids;
        for (const auto& entry : schema) {
            if (entry.type != "index" || entry.table != table) continue;
            Query query(m_read,
                        "SELECT rowid FROM " + Quote(table) + " INDEXED BY " + Quote(entry.name));
            if (!query.Prepared()) continue;
            while (sqlite3_step(query.get()) == SQLITE_ROW)
                ids.insert(sqlite3_column_int64(query.get(), 0));
        }
        return ids;
    }

    // Copies the current row of read (rowid first) into the table; false when
    // the new file refuses it.
    bool CopyRow(sqlite3_stmt* read, sqlite3_stmt* write, bool withRowid) {
        int columns = sqlite3_column_count(read);
        sqlite3_reset(write);
        for (int c = withRowid ? 0 : 1; c < columns; ++c)
            sqlite3_bind_value(write, withRowid ? c + 1 : c, sqlite3_column_value(read, c));
        if (sqlite3_step(write) != SQLITE_DONE) return false;
        ++m_result.recoveredRows;
        return true;
    }

    std::string InsertSql(const std::string& table, sqlite3_stmt* read, bool withRowid) {
        std::string names, marks;
        for (int c = withRowid ? 0 : 1; c < sqlite3_column_count(read); ++c) {
            names += (names.empty() ? "" : ", ") +
                     (c == 0 ? std::string("rowid") : Quote(sqlite3_column_name(read, c)));
            marks += marks.empty() ? "?" : ", ?";
        }
        return "INSERT OR REPLACE INTO main." + Quote(table) + " (" + names + ") VALUES (" + marks +
               ")";
    }

    // Whether the table's rowid is one of its named columns (INTEGER PRIMARY KEY).
    bool RowidIsColumn(const std::string& table) {
        Query query(m_db, "SELECT count(*) FROM pragma_table_info(?, 'main') WHERE pk > 0");
        sqlite3_bind_text(query.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
        bool singleKey =
            sqlite3_step(query.get()) == SQLITE_ROW && sqlite3_column_int(query.get(), 0) == 1;
        Query type(m_db, "SELECT upper(type) FROM pragma_table_info(?, 'main') WHERE pk = 1");
        sqlite3_bind_text(type.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
        return singleKey && sqlite3_step(type.get()) == SQLITE_ROW && type.Text(0) == "INTEGER";
    }

    void CopyTable(const std::string& table, const std::vector<SchemaEntry>& schema) {
        Query scan(m_read,
                   "SELECT rowid, * FROM " + Quote(table) + " WHERE rowid > ? ORDER BY rowid");
        if (!scan.Prepared()) {
            CopyWithoutRowids(table);
            return;
        }
        bool withRowid = !RowidIsColumn(table);
        Query write(m_db, InsertSql(table, scan.get(), withRowid));
        Query probe(m_read, "SELECT rowid, * FROM " + Quote(table) + " WHERE rowid = ?");
        if (!probe.Prepared()) ThrowEngineError(m_read, sqlite3_errcode(m_read), m_path);
        if (!write.Prepared()) ThrowEngineError(m_db, sqlite3_errcode(m_db), m_path + ".salvage");
        std::set<int64_t> named = IndexedRowids(table, schema);
        std::set<int64_t> copied;
        int64_t after = INT64_MIN;
        for (;;) {
            sqlite3_reset(scan.get());
            sqlite3_bind_int64(scan.get(), 1, after);
            int rc;
            while ((rc = sqlite3_step(scan.get())) == SQLITE_ROW) {
                after = sqlite3_column_int64(scan.get(), 0);
                if (CopyRow(scan.get(), write.get(), withRowid)) copied.insert(after);
            }
            if (rc == SQLITE_DONE) break;
            // Damage: step over the unreadable rows the indexes name, one by
            // one, to the next row that reads again, and scan on from there.
            bool resumed = false;
            for (auto it = named.upper_bound(after); it != named.end() && !resumed; ++it) {
                after = *it;
                sqlite3_reset(probe.get());
                sqlite3_bind_int64(probe.get(), 1, after);
                if (sqlite3_step(probe.get()) == SQLITE_ROW) {
                    if (CopyRow(probe.get(), write.get(), withRowid)) copied.insert(after);
                    resumed = true;
                }
            }
            if (!resumed) break;
        }
        for (int64_t id : named)
            if (!copied.contains(id)) ++m_result.lostRows;
    }

    // A table without rowids: copied in its own order for as far as it reads.
    void CopyWithoutRowids(const std::string& table) {
        Query read(m_read, "SELECT NULL, * FROM " + Quote(table));
        if (!read.Prepared()) return;
        Query write(m_db, InsertSql(table, read.get(), false));
        if (!write.Prepared()) ThrowEngineError(m_db, sqlite3_errcode(m_db), m_path + ".salvage");
        while (sqlite3_step(read.get()) == SQLITE_ROW) CopyRow(read.get(), write.get(), false);
    }

    // The counters go on from where they stood, even past rows deleted before.
    void KeepCounters() {
        Query old(m_read, "SELECT name, seq FROM sqlite_sequence");
        if (!old.Prepared()) return;
        while (sqlite3_step(old.get()) == SQLITE_ROW) {
            Query keep(m_db,
                       "INSERT INTO main.sqlite_sequence (name, seq) SELECT ?1, ?2 WHERE NOT "
                       "EXISTS (SELECT 1 FROM main.sqlite_sequence WHERE name = ?1)");
            Query raise(m_db, "UPDATE main.sqlite_sequence SET seq = max(seq, ?2) WHERE name = ?1");
            for (sqlite3_stmt* stmt : {keep.get(), raise.get()}) {
                sqlite3_bind_value(stmt, 1, sqlite3_column_value(old.get(), 0));
                sqlite3_bind_value(stmt, 2, sqlite3_column_value(old.get(), 1));
                int rc = sqlite3_step(stmt);
                if (rc != SQLITE_DONE) ThrowEngineError(m_db, rc, m_path + ".salvage");
            }
        }
    }

    sqlite3* m_read;
    sqlite3* m_db;
    std::string m_path;
    SalvageResult m_result;
};

}  // namespace

// Opens a file for the salvage, raising the engine's error.
sqlite3* OpenForSalvage(const std::string& path, int flags) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(db);
        throw err::CannotOpen(path);
    }
    sqlite3_extended_result_codes(db, 1);
    return db;
}

SalvageResult SalvageInto(const std::string& damagedPath, const std::string& target) {
    sqlite3* read = OpenForSalvage(damagedPath, SQLITE_OPEN_READWRITE);
    sqlite3* write = nullptr;
    try {
        // The schema switch also lets a file that is shorter than its header
        // says be read as far as it goes.
        ExecOrThrow(read, "PRAGMA locking_mode=EXCLUSIVE; PRAGMA writable_schema=ON");
        write = OpenForSalvage(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        ExecOrThrow(write, "PRAGMA locking_mode=EXCLUSIVE");
        SalvageResult result = Salvager(read, write, damagedPath).Run();
        sqlite3_close_v2(write);
        sqlite3_close_v2(read);
        SyncFile(target);
        return result;
    } catch (...) {
        sqlite3_close_v2(write);
        sqlite3_close_v2(read);
        throw;
    }
}

}  // namespace kest::engine
