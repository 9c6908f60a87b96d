#include "core/engine/Database.h"

#include <sqlite3.h>
#include <strings.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "core/common/DurableFile.h"
#include "core/common/Errors.h"
#include "core/common/ReplacementFile.h"
#include "core/engine/EngineError.h"
#include "core/engine/FolderFacts.h"
#include "core/engine/JetFunctions.h"
#include "core/engine/JetSql.h"
#include "core/engine/PasswordLock.h"
#include "core/engine/SearchIndex.h"
#include "core/engine/SearchIndexStamp.h"

namespace kest::engine {

namespace {

bool UsesLike(const std::string& sql) {
    for (size_t i = 0; i + 4 <= sql.size(); ++i)
        if (strncasecmp(sql.c_str() + i, "LIKE", 4) == 0) return true;
    return false;
}

// Opens the SQLite handle; on failure closes it and raises the engine error.
sqlite3* OpenHandle(const std::string& path, int flags) {
    // Before SQLite's first use: no memory statistics (they take a lock and
    // bookkeeping on every allocation).
    static const bool configured = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
    (void)configured;
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close(db);
        if (rc == SQLITE_CANTOPEN) throw err::CannotOpen(path);
        throw err::EngineFailure(message);
    }
    sqlite3_extended_result_codes(db, 1);
    return db;
}

// Runs setup statements on a fresh handle, closing it on failure.
void Setup(sqlite3* db, const std::string& path, const char* sql) {
    int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        try {
            ThrowEngineError(db, rc, path);
        } catch (...) {
            sqlite3_close(db);
            throw;
        }
    }
}

int64_t IntOrZero(sqlite3* db, const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    int64_t value = 0;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        value = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return value;
}

std::string JournalMode(sqlite3* db) {
    std::string mode = "delete";
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        if (auto text = sqlite3_column_text(stmt, 0)) mode = reinterpret_cast<const char*>(text);
    }
    sqlite3_finalize(stmt);
    return mode;
}

// The first value of each row of a statement, as text; none when it fails.
std::optional<std::vector<std::string>> Column(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    std::vector<std::string> values;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        auto text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        values.emplace_back(text ? text : "");
        rc = SQLITE_OK;
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) return std::nullopt;
    return values;
}

// The structure of every b-tree of a copy, and the same rows in each index
// as in its table (their count and the sum of their rowids): a copy takes an
// index's pages as they are, so an index page the damage spoiled would
// otherwise go unseen.
bool CopyIsSound(const std::string& path) {
    sqlite3* db = nullptr;
    bool sound = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK;
    auto check = sound ? Column(db, "PRAGMA quick_check(1)") : std::nullopt;
    sound = check && *check == std::vector<std::string>{"ok"};
    // Per index: its table, its name, and a sum over its key columns and the
    // rowid that a scan of the index alone can give.
    auto indexes =
        sound ? Column(db,
                       "WITH q(tbl, idx, col) AS (SELECT '\"' || replace(m.tbl_name, '\"', "
                       "'\"\"') || '\"', '\"' || replace(m.name, '\"', '\"\"') || '\"', '\"' || "
                       "replace(i.name, '\"', '\"\"') || '\"' FROM sqlite_master m, "
                       "pragma_index_info(m.name) i WHERE m.type = 'index' AND m.sql NOT LIKE "
                       "'% WHERE %') SELECT tbl || ' INDEXED BY ' || idx || char(9) || 'count(*) "
                       "|| '' '' || total(rowid)' || group_concat(' || '' '' || total(length(' || "
                       "col || ')) || '' '' || total(CASE WHEN typeof(' || col || ') IN "
                       "(''integer'', ''real'') THEN ' || col || ' END)', '') FROM q GROUP BY idx")
              : std::nullopt;
    for (const auto& line : indexes ? *indexes : std::vector<std::string>{}) {
        std::string indexed = line.substr(0, line.find('\t'));
        std::string sums = line.substr(line.find('\t') + 1);
        std::string table = indexed.substr(0, indexed.find(" INDEXED BY "));
        auto fromIndex = Column(db, "SELECT " + sums + " FROM " + indexed);
        sound = sound && fromIndex &&
                fromIndex == Column(db, "SELECT " + sums + " FROM " + table + " NOT INDEXED");
    }
    sqlite3_close(db);
    return sound;
}

}  // namespace

Database::Database(sqlite3* db, std::string path) : m_db(db), m_path(std::move(path)) {
    RegisterJetFunctions(m_db);
}

Database::~Database() {
    Close();
}

void Database::HandTo(std::thread::id owner) {
    CheckOwner();
    m_owner.store(owner, std::memory_order_relaxed);
}

void Database::CheckOwner() const {
#if defined(KEST_THREAD_CHECKS) || !defined(NDEBUG)
    if (m_owner.load(std::memory_order_relaxed) == std::this_thread::get_id()) return;
    std::fprintf(stderr, "Catalog connection of %s used by a thread that does not own it\n",
                 m_path.c_str());
    std::abort();
#endif
}

sqlite3* Database::Handle() const {
    CheckOwner();
    return m_db;
}

void Database::Close() {
    CheckOwner();
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

std::unique_ptr<Database> Database::Create(const std::string& path) {
    // A database in memory has no file to make.
    if (path != ":memory:") {
        std::error_code ec;
        if (std::filesystem::exists(std::filesystem::symlink_status(path, ec)))
            throw err::DatabaseExists();
        // A new catalog is private to its owner: the engine takes the empty file
        // made here as a new database (its journals get the file's mode).
        try {
            close(CreateExclusively(path));
        } catch (const KestError&) {
            // The engine's open below gives the reason in its own words.
        }
    }
    sqlite3* db = OpenHandle(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    Setup(db, path,
          "PRAGMA locking_mode=EXCLUSIVE; PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"
          "BEGIN EXCLUSIVE; COMMIT;");
    return std::unique_ptr<Database>(new Database(db, path));
}

std::unique_ptr<Database> Database::Open(const std::string& path, const std::string& password,
                                         OpenOptions options) {
    std::error_code ec;
    auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) throw err::FileNotFound(path);
    if (std::filesystem::is_directory(status)) throw err::CannotOpen(path);
    if (std::filesystem::file_size(path, ec) == 0) {
        // SQLite would take an empty file as an empty database and write to it.
        throw err::UnrecognizedFormat(path);
    }
    sqlite3* db = OpenHandle(path, options.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE);
    if (options.exclusive) Setup(db, path, "PRAGMA locking_mode=EXCLUSIVE;");
    // Reading the schema tells a database from any other file.
    Setup(db, path, "SELECT count(*) FROM sqlite_master;");
    if (options.exclusive && !options.readOnly) Setup(db, path, "BEGIN EXCLUSIVE; COMMIT;");
    // Pages are read into a page cache of 16 MB, not through a memory map:
    // mapped pages count as the process's memory (a whole catalog's worth once
    // a list reads every row), and the cache also bounds the sorter's memory,
    // so a streamed list of any length stays within a few tens of MB. A scan
    // raises it while it inserts (DeferSearchIndex).
    Setup(db, path, "PRAGMA synchronous=NORMAL; PRAGMA cache_size=-16384;");
    auto database = std::unique_ptr<Database>(new Database(db, path));
    if (!PasswordMatches(db, password)) throw err::InvalidPassword();
    return database;
}

Statement Database::Prepare(const std::string& jetSql) {
    CheckOwner();
    if (!m_useSearchIndex || !UsesLike(jetSql)) return PrepareTranslated(jetSql);
    if (!m_searchChecked) {
        // Checked at the first statement that could use it, so that opening
        // a catalog stays quick.
        m_searchIndexes = CheckSearchIndexes();
        m_searchChecked = true;
    }
    if (m_searchIndexes == 0) return PrepareTranslated(jetSql);
    bool failed = false;
    std::string strengthened = StrengthenIndexedLikes(
        jetSql,
        [this](const std::string& table, const std::string& column) {
            return FindIndexedColumn(m_searchIndexes, table, column);
        },
        [&](const std::string& table, const IndexedColumn& column,
            const std::string& match) -> std::optional<std::string> {
            auto found = FindCandidates(m_db, column, match);
            failed = failed || !found;
            if (!found || !found->few) return std::nullopt;
            if (found->keys) return ListedCondition(table, column, *found->keys);
            return CandidateCondition(table, column, match);
        });
    if (failed) ForgetSearchIndex();
    if (failed || strengthened == jetSql) return PrepareTranslated(jetSql);
    Statement statement = PrepareTranslated(strengthened);
    statement.SetUnindexed([this, jetSql] {
        ForgetSearchIndex();
        return PrepareTranslated(jetSql);
    });
    return statement;
}

void Database::ForgetSearchIndex() {
    // The index failed to answer: it goes, and the next build makes it anew.
    m_searchIndexes = 0;
    m_searchChecked = true;
    ClearSearchIndexStamp(m_path);
    try {
        DropSearchIndex(m_db);
    } catch (const KestError&) {
        // A read-only file keeps it; the next open finds it damaged again.
    }
}

unsigned Database::CheckSearchIndexes() {
    if (SearchIndexStamped(m_path)) return AllSearchIndexes();
    unsigned complete = CompleteSearchIndexes(m_db);
    if (complete == AllSearchIndexes()) StampSearchIndex(m_path);
    return complete;
}

uint64_t Database::RoomToWrite() {
    struct statvfs disk {};
    std::string folder = std::filesystem::path(m_path).parent_path().string();
    uint64_t room = statvfs(folder.empty() ? "." : folder.c_str(), &disk) == 0
                        ? static_cast<uint64_t>(disk.f_bavail) * disk.f_frsize
                        : 0;
    const int64_t freePages = IntOrZero(m_db, "PRAGMA freelist_count");
    const int64_t pageSize = IntOrZero(m_db, "PRAGMA page_size");
    return room + static_cast<uint64_t>(freePages * pageSize);
}

void Database::BuildSearchIndex(const std::function<void(int64_t, int64_t)>& progress) {
    const bool stamped = SearchIndexStamped(m_path);
    m_foundUnchanged = stamped;
    // The engine-internal tables beside the search index are built or
    // completed here too; on a file unchanged since the index was last found
    // whole only their objects are checked (a catalog of an earlier version
    // may carry the note without them).
    if (!stamped || !FolderFactsUsable(m_db)) BuildFolderFacts(m_db, progress);
    if (stamped) {
        // Whole when last probed, and the file unchanged since.
        m_searchIndexes = AllSearchIndexes();
        m_searchChecked = true;
        return;
    }
    m_searchChecked = false;
    // A build that ran out of room is not tried again until there is more:
    // it would fail the same way, slowly, at every open.
    const uint64_t room = RoomToWrite();
    if (SearchIndexOutOfRoom(m_path, room)) return;
    try {
        m_searchIndexes = engine::BuildSearchIndex(m_db, progress);
    } catch (const KestError& e) {
        if (e.Number() == err::kDiskFull || e.Number() == err::kNoSpace)
            NoteSearchIndexOutOfRoom(m_path, room);
        throw;
    }
    m_searchChecked = true;
    if (m_searchIndexes == AllSearchIndexes()) StampSearchIndex(m_path);
}

bool Database::RebuildSearchIndex(const std::function<void(int64_t, int64_t)>& progress,
                                  const std::function<bool()>& stop) {
    ClearSearchIndexStamp(m_path);
    m_searchIndexes = 0;
    m_searchChecked = true;
    DropSearchIndex(m_db);
    m_searchIndexes = engine::BuildSearchIndex(m_db, progress, kIndexSliceRows, stop);
    if (m_searchIndexes == AllSearchIndexes()) StampSearchIndex(m_path);
    return m_searchIndexes == AllSearchIndexes();
}

bool Database::DeferSearchIndex() {
    // A larger page cache keeps the indexes of a long run of inserts in memory.
    ExecOrThrow(m_db, "PRAGMA cache_size=-32768");
    bool deferred = engine::DeferSearchIndex(m_db);
    if (deferred) {
        m_searchIndexes = 0;
        m_searchChecked = true;
    }
    return DeferFolderFacts(m_db) || deferred;
}

void Database::IndexDeferredRows() {
    engine::IndexDeferredRows(m_db);
    CatchUpFolderFacts(m_db);
}

void Database::EndSearchIndexDeferral() {
    ExecOrThrow(m_db, "PRAGMA cache_size=-16384");
    engine::EndDeferral(m_db);
    BuildSearchIndex();
}

void Database::StopWhen(std::function<bool()> stop) {
    CheckOwner();
    m_stop = std::move(stop);
    // Asked every few thousand engine steps: well under a millisecond apart.
    constexpr int kStepsBetweenAsks = 4000;
    auto ask = [](void* self) { return static_cast<Database*>(self)->m_stop() ? 1 : 0; };
    if (m_stop) {
        sqlite3_progress_handler(m_db, kStepsBetweenAsks, ask, this);
    } else {
        sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
    }
}

bool Database::SearchIndexComplete() {
    if (!m_searchChecked) m_searchIndexes = CheckSearchIndexes();
    m_searchChecked = true;
    return m_searchIndexes != 0;
}

Statement Database::PrepareTranslated(const std::string& jetSql) {
    std::string sql = TranslateJetSql(jetSql);
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(m_db, sql.c_str(), static_cast<int>(sql.size()), &stmt, &tail);
    if (rc != SQLITE_OK) ThrowEngineError(m_db, rc, m_path);
    Statement statement(m_db, stmt);
    for (; tail && *tail; ++tail) {
        if (*tail != ';' && !std::isspace(static_cast<unsigned char>(*tail))) {
            throw err::TextAfterStatement();
        }
    }
    if (!stmt) throw err::SyntaxError("The statement is empty.");
    return statement;
}

int64_t Database::Execute(const std::string& jetSql) {
    return Prepare(jetSql).Run();
}

Rows Database::Query(const std::string& jetSql) {
    Statement statement = Prepare(jetSql);
    Rows result;
    for (int c = 0; c < statement.ColumnCount(); ++c)
        result.columns.push_back(statement.ColumnName(c));
    while (statement.Step()) {
        std::vector<Value> row;
        row.reserve(result.columns.size());
        for (int c = 0; c < statement.ColumnCount(); ++c) row.push_back(statement.Column(c));
        result.rows.push_back(std::move(row));
    }
    return result;
}

int64_t Database::LastInsertId() const {
    CheckOwner();
    return sqlite3_last_insert_rowid(m_db);
}

void Database::Begin() {
    CheckOwner();
    ExecOrThrow(m_db, "BEGIN");
}
void Database::Commit() {
    CheckOwner();
    ExecOrThrow(m_db, "COMMIT");
}
bool Database::InTransaction() const {
    CheckOwner();
    return sqlite3_get_autocommit(m_db) == 0;
}

void Database::SetPassword(const std::string& oldPassword, const std::string& newPassword) {
    if (!PasswordMatches(m_db, oldPassword)) throw err::InvalidPassword();
    WritePasswordLock(m_db, newPassword);
}

bool Database::HasPassword() {
    return HasPasswordLock(m_db);
}

void Database::VacuumInto(const std::string& target) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(m_db, "VACUUM INTO ?", -1, &stmt, nullptr);
    if (rc != SQLITE_OK) ThrowEngineError(m_db, rc, m_path);
    sqlite3_bind_text(stmt, 1, target.c_str(), -1, SQLITE_TRANSIENT);
    rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) ThrowEngineError(m_db, rc, m_path);
    // The copy reads every page, but a damaged page can still read as rows
    // (keys out of order, cells that overlap) and then be written as a
    // damaged copy: the copy's own structure is checked while its pages are
    // still in the cache.
    if (!CopyIsSound(target)) throw err::Corrupt(m_path);
    // The copy is written in the rollback journal mode; a WAL catalog stays
    // one. The mode is the pair of format version bytes at offset 18 of the
    // file header (2 and 2 for WAL), which is all that switching the mode
    // through a connection would write, without its journal and extra flush.
    if (JournalMode(m_db) == "wal") {
        std::fstream header(target, std::ios::in | std::ios::out | std::ios::binary);
        header.seekp(18);
        header.write("\x02\x02", 2);
        header.close();
        if (!header) throw err::EngineFailure("Couldn't set the journal mode of '" + target + "'.");
    }
    SyncFile(target);
}

std::vector<std::string> Database::IntegrityProblems() {
    std::vector<std::string> problems;
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(m_db, "PRAGMA integrity_check", -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            auto text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            std::string line = text ? text : "";
            if (line != "ok") problems.push_back(line);
        }
    }
    if (rc != SQLITE_DONE) problems.push_back(sqlite3_errmsg(m_db));
    sqlite3_finalize(stmt);
    // The engine reads past some header damage, but a write format it does
    // not know leaves the file read-only for good.
    sqlite3_file* file = nullptr;
    unsigned char header[24] = {};
    if (sqlite3_file_control(m_db, "main", SQLITE_FCNTL_FILE_POINTER, &file) == SQLITE_OK && file &&
        file->pMethods && file->pMethods->xRead(file, header, sizeof header, 0) == SQLITE_OK) {
        bool formats = header[18] >= 1 && header[18] <= 2 && header[19] >= 1 && header[19] <= 2;
        bool fractions = header[21] == 64 && header[22] == 32 && header[23] == 32;
        if (!formats || !fractions) problems.emplace_back("the file's header is damaged");
    }
    return problems;
}

}  // namespace kest::engine
