#include "core/engine/FolderFacts.h"

#include <sqlite3.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "core/engine/EngineError.h"

namespace kest::engine {
namespace {

constexpr int64_t kComplete = std::numeric_limits<int64_t>::max();
const std::string kTable = kFolderFactsTable;
const std::string kState = kTable + "_state";
const std::string kNodes = kFolderNodesTable;
const std::string kUpto = "(SELECT upto FROM " + kState + ")";
const std::string kSize = "CAST(ifnull(%.FileSize, 0) AS INTEGER)";

std::string SizeOf(const char* row) {
    std::string size = kSize;
    size.replace(size.find('%'), 1, row);
    return size;
}

// A file row counted into the facts of its folder, adding to a folder's row
// or starting one.
std::string AddRow(const std::string& values) {
    return "INSERT INTO " + kTable + " " + values +
           " ON CONFLICT (kest, dir) DO UPDATE SET files = files + excluded.files, bytes = bytes "
           "+ excluded.bytes, lo = min(lo, excluded.lo), hi = max(hi, excluded.hi)";
}

std::string NewRow() {
    return "SELECT new.KestId, new.FileDir, 1, " + SizeOf("new") +
           ", new.FileId, new.FileId WHERE new.FileId <= " + kUpto +
           " AND new.KestId IS NOT NULL AND new.FileDir IS NOT NULL";
}

// Any change of a disc's facts forgets its stored folders (the disc tree
// stores them again from the facts).
std::string ForgetNodes(const char* row) {
    return "CREATE TRIGGER " + kTable + "_forget_" + row + " AFTER " + row + " ON " + kTable +
           " BEGIN DELETE FROM " + kNodes + " WHERE kest = " + (row[0] == 'i' ? "new" : "old") +
           ".kest; END";
}

// A folder whose last file goes keeps its row with no files (the disc's
// deletion clears them), so a deleted row costs one update.
std::string TakeOldRow() {
    return "UPDATE " + kTable + " SET files = files - 1, bytes = bytes - " + SizeOf("old") +
           " WHERE kest = old.KestId AND dir = old.FileDir COLLATE BINARY AND old.FileId <= " +
           kUpto;
}

using SqlObjects = std::vector<std::pair<std::string, std::string>>;

const SqlObjects& Objects() {
    static const SqlObjects objects = {
        {kTable, "CREATE TABLE " + kTable +
                     " (kest INTEGER NOT NULL, dir TEXT NOT NULL, files INTEGER NOT NULL, bytes "
                     "INTEGER NOT NULL, lo INTEGER NOT NULL, hi INTEGER NOT NULL, PRIMARY KEY "
                     "(kest, dir)) WITHOUT ROWID"},
        {kState, "CREATE TABLE " + kState + " (upto INTEGER NOT NULL)"},
        {kNodes, "CREATE TABLE " + kNodes +
                     " (kest INTEGER NOT NULL, parent INTEGER NOT NULL, id INTEGER NOT NULL, run "
                     "INTEGER NOT NULL, name TEXT NOT NULL, files INTEGER NOT NULL, bytes INTEGER "
                     "NOT NULL, folders INTEGER NOT NULL, dir TEXT, lo INTEGER, hi INTEGER, "
                     "PRIMARY KEY (kest, parent, id, run)) WITHOUT ROWID"},
        {kTable + "_forget_insert", ForgetNodes("insert")},
        {kTable + "_forget_update", ForgetNodes("update")},
        {kTable + "_forget_delete", ForgetNodes("delete")},
        {kTable + "_insert", "CREATE TRIGGER " + kTable +
                                 "_insert AFTER INSERT ON tblFiles BEGIN " + AddRow(NewRow()) +
                                 "; END"},
        {kTable + "_delete", "CREATE TRIGGER " + kTable +
                                 "_delete AFTER DELETE ON tblFiles BEGIN " + TakeOldRow() +
                                 "; END"},
        {kTable + "_update", "CREATE TRIGGER " + kTable +
                                 "_update AFTER UPDATE OF FileId, KestId, FileDir, FileSize ON "
                                 "tblFiles BEGIN " +
                                 TakeOldRow() + "; " + AddRow(NewRow()) + "; END"},
        {kTable + "_disc", "CREATE TRIGGER " + kTable + "_disc AFTER DELETE ON tblDiscs BEGIN " +
                               "DELETE FROM " + kTable +
                               " WHERE kest = old.KestId AND files <= 0; DELETE FROM " + kNodes +
                               " WHERE kest = old.KestId; END"},
    };
    return objects;
}

// The first column of the query's first row; fallback when there is none
// or the query fails.
int64_t IntOf(sqlite3* db, const std::string& sql, int64_t fallback) {
    sqlite3_stmt* stmt = nullptr;
    int64_t value = fallback;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_type(stmt, 0) != SQLITE_NULL)
        value = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return value;
}

std::string StoredSql(sqlite3* db, const std::string& name) {
    sqlite3_stmt* stmt = nullptr;
    std::string sql;
    if (sqlite3_prepare_v2(db, "SELECT sql FROM sqlite_master WHERE name = ?", -1, &stmt,
                           nullptr) == SQLITE_OK) {
        sqlite3_bind_text(stmt, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(stmt) == SQLITE_ROW)
            if (auto text = sqlite3_column_text(stmt, 0)) sql = reinterpret_cast<const char*>(text);
    }
    sqlite3_finalize(stmt);
    return sql;
}

const std::string kInsertTrigger = kTable + "_insert";

// Whether every object is as made now; deferred, the insert trigger must be
// missing instead.
bool ObjectsIntact(sqlite3* db, bool deferred = false) {
    for (const auto& [name, sql] : Objects()) {
        const bool gone = deferred && name == kInsertTrigger;
        if (StoredSql(db, name) != (gone ? std::string() : sql)) return false;
    }
    return true;
}

void RestoreInsertTrigger(sqlite3* db) {
    for (const auto& [name, sql] : Objects())
        if (name == kInsertTrigger) ExecOrThrow(db, sql);
}

int64_t Upto(sqlite3* db) {
    return IntOf(db, "SELECT upto FROM " + kState, -1);
}

// Whether tblFiles has what the facts read (not before the older format's
// upgrade).
bool SourceReady(sqlite3* db) {
    for (const char* sql : {"SELECT FileId, KestId, FileDir, FileSize FROM tblFiles LIMIT 0",
                            "SELECT KestId FROM tblDiscs LIMIT 0"}) {
        sqlite3_stmt* stmt = nullptr;
        const int rc = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
        sqlite3_finalize(stmt);
        if (rc != SQLITE_OK) return false;
    }
    return true;
}

void Start(sqlite3* db) {
    AsOneUnit(db, [&] {
        DropFolderFacts(db);
        for (const auto& [name, sql] : Objects()) ExecOrThrow(db, sql);
        ExecOrThrow(db, "INSERT INTO " + kState + " VALUES (0)");
    });
}

// Counts the next rows past the mark into their folders, one upsert per run
// of rows sharing a disc and folder; true when none were left. Finishing
// moves the mark to its end.
bool TakeSlice(sqlite3* db, int64_t sliceRows, int64_t& done, bool finish) {
    bool finished = false;
    AsOneUnit(db, [&] {
        const int64_t upto = Upto(db);
        const std::string select =
            "SELECT FileId, KestId, FileDir, " + std::string("CAST(ifnull(") +
            "FileSize, 0) AS INTEGER) FROM tblFiles WHERE FileId > " + std::to_string(upto) +
            " ORDER BY FileId LIMIT " + std::to_string(sliceRows);
        sqlite3_stmt* read = nullptr;
        sqlite3_stmt* add = nullptr;
        int rc = sqlite3_prepare_v2(db, select.c_str(), -1, &read, nullptr);
        if (rc == SQLITE_OK)
            rc = sqlite3_prepare_v2(db, AddRow("VALUES (?, ?, ?, ?, ?, ?)").c_str(), -1, &add,
                                    nullptr);
        struct Run {
            bool open = false;
            int64_t kest = 0, files = 0, bytes = 0, lo = 0, hi = 0;
            std::string dir;
        } run;
        auto flush = [&] {
            if (!run.open || rc != SQLITE_OK) return;
            sqlite3_bind_int64(add, 1, run.kest);
            sqlite3_bind_text(add, 2, run.dir.data(), static_cast<int>(run.dir.size()),
                              SQLITE_STATIC);
            sqlite3_bind_int64(add, 3, run.files);
            sqlite3_bind_int64(add, 4, run.bytes);
            sqlite3_bind_int64(add, 5, run.lo);
            sqlite3_bind_int64(add, 6, run.hi);
            rc = sqlite3_step(add) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
            sqlite3_reset(add);
            run.open = false;
        };
        int64_t count = 0, last = upto;
        while (rc == SQLITE_OK) {
            int step = sqlite3_step(read);
            if (step != SQLITE_ROW) {
                if (step != SQLITE_DONE) rc = sqlite3_errcode(db);
                break;
            }
            ++count;
            last = sqlite3_column_int64(read, 0);
            if (sqlite3_column_type(read, 1) == SQLITE_NULL ||
                sqlite3_column_type(read, 2) == SQLITE_NULL)
                continue;
            const int64_t kest = sqlite3_column_int64(read, 1);
            auto text = reinterpret_cast<const char*>(sqlite3_column_text(read, 2));
            const auto size = static_cast<size_t>(sqlite3_column_bytes(read, 2));
            if (!run.open || run.kest != kest ||
                run.dir.compare(0, run.dir.size(), text, size) != 0) {
                flush();
                run.open = true;
                run.kest = kest;
                run.dir.assign(text, size);
                run.files = run.bytes = 0;
                run.lo = last;
            }
            ++run.files;
            run.bytes += sqlite3_column_int64(read, 3);
            run.hi = last;
        }
        flush();
        sqlite3_finalize(read);
        sqlite3_finalize(add);
        if (rc != SQLITE_OK) ThrowEngineError(db, rc);
        done += count;
        finished = count < sliceRows;
        const int64_t mark = finished && finish ? kComplete : last;
        if (mark != upto)
            ExecOrThrow(db, "UPDATE " + kState + " SET upto = " + std::to_string(mark));
    });
    return finished;
}

}  // namespace

bool FolderFactsUsable(sqlite3* db) {
    return Upto(db) == kComplete && ObjectsIntact(db);
}

bool FolderFactsComplete(sqlite3* db) {
    if (!FolderFactsUsable(db)) return false;
    return IntOf(db, "SELECT ifnull(sum(files), 0) FROM " + kTable, -1) ==
           IntOf(db, "SELECT count(*) FROM tblFiles", -2);
}

void BuildFolderFacts(sqlite3* db, const FactsProgress& progress, int64_t sliceRows) {
    if (!SourceReady(db) || FolderFactsComplete(db)) return;
    const int64_t upto = Upto(db);
    // Rows past the mark are the slices' to take: the trigger skips them.
    if (upto >= 0 && upto != kComplete && ObjectsIntact(db, true)) RestoreInsertTrigger(db);
    if (upto < 0 || upto == kComplete || !ObjectsIntact(db)) Start(db);
    const int64_t total =
        IntOf(db, "SELECT count(*) FROM tblFiles WHERE FileId > " + std::to_string(Upto(db)), 0);
    int64_t done = 0;
    while (!TakeSlice(db, sliceRows, done, true))
        if (progress) progress(done, total);
    if (progress) progress(done, total);
}

bool DeferFolderFacts(sqlite3* db) {
    if (Upto(db) != kComplete || !ObjectsIntact(db)) return false;
    AsOneUnit(db, [&] {
        ExecOrThrow(
            db, "UPDATE " + kState + " SET upto = (SELECT ifnull(max(FileId), 0) FROM tblFiles)");
        ExecOrThrow(db, "DROP TRIGGER " + kInsertTrigger);
    });
    return true;
}

void CatchUpFolderFacts(sqlite3* db) {
    const int64_t upto = Upto(db);
    if (upto < 0 || upto == kComplete || !ObjectsIntact(db, true)) return;
    int64_t done = 0;
    TakeSlice(db, kComplete, done, false);
}

void DropFolderFacts(sqlite3* db) {
    AsOneUnit(db, [&] {
        for (auto it = Objects().rbegin(); it != Objects().rend(); ++it) {
            const bool table = it->second.starts_with("CREATE TABLE");
            ExecOrThrow(
                db, std::string(table ? "DROP TABLE" : "DROP TRIGGER") + " IF EXISTS " + it->first);
        }
    });
}

}  // namespace kest::engine
