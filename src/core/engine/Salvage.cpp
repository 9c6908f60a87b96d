#include "core/engine/Salvage.h"

#include <sqlite3.h>

#include <cstring>
#include <fstream>
#include <map>
#include <memory>

#include "core/common/DurableFile.h"
#include "core/common/Errors.h"
#include "core/engine/DerivedTables.h"
#include "core/engine/EngineError.h"
#include "core/engine/PageReader.h"
#include "core/engine/PasswordLock.h"
#include "core/engine/SalvageTable.h"

namespace kest::engine {
namespace {

struct SchemaEntry {
    std::string type, name, table, sql;
    uint32_t root = 0;
};

bool IsSystemTable(const std::string& name) {
    return name.starts_with("sqlite_");
}

bool IsVirtual(const SchemaEntry& entry) {
    return entry.sql.starts_with("CREATE VIRTUAL TABLE");
}

std::string TextOf(const CellValue& value) {
    return std::holds_alternative<std::string>(value) ? std::get<std::string>(value) : "";
}

class Salvager {
  public:
    // Reads go through their own connection: damage met in a statement would
    // otherwise spoil the open write transaction.
    Salvager(sqlite3* read, sqlite3* write, std::string damagedPath, const SalvageOptions& options)
        : m_read(read),
          m_db(write),
          m_path(std::move(damagedPath)),
          m_options(options),
          m_pages(m_path) {}

    SalvageResult Run() {
        ReadSchema();
        std::string journalMode = OldJournalMode();
        ExecOrThrow(m_db, "BEGIN");
        CreateTables();
        // The engine's own reading first: it checks what it reads.
        const int64_t budget = int64_t{m_pages.PageCount()} * (m_pages.PageSize() / 4 + 1) + 1024;
        for (auto& table : m_tables) table->CopyThroughEngine(IndexesOf(table->Name()), budget);
        if (m_options.readPages) ReadPages();
        KeepCounters();
        // Indexes and triggers afresh; one the damage garbled, or whose table
        // is gone, is left out.
        for (const auto& entry : m_schema) {
            if (entry.type == "table" || entry.sql.empty() || IsDerivedObject(entry.name) ||
                IsDerivedObject(entry.table))
                continue;
            Make(entry);
        }
        Account();
        ExecOrThrow(m_db, "COMMIT");
        RebuildDerivedTables(m_db, m_options.indexProgress);
        ExecOrThrow(m_db, "PRAGMA journal_mode=" + journalMode);
        return m_result;
    }

  private:
    // The schema as the engine reads it, completed by what the page reader
    // finds on the schema's own pages when the engine stops early.
    void ReadSchema() {
        Query query(m_read, "SELECT type, name, tbl_name, rootpage, sql FROM sqlite_master");
        int rc = SQLITE_ERROR;
        std::map<std::string, bool> known;
        if (query.Prepared()) {
            while ((rc = sqlite3_step(query.get())) == SQLITE_ROW) {
                SchemaEntry entry{query.Text(0), query.Text(1), query.Text(2), query.Text(4),
                                  static_cast<uint32_t>(sqlite3_column_int64(query.get(), 3))};
                known[entry.name] = true;
                m_schema.push_back(std::move(entry));
            }
        }
        if (rc != SQLITE_DONE) ReadSchemaPages(known);
        // A file whose schema holds one of the expected tables word for word
        // is of that kind: what else it lacks, the damage took.
        for (const auto& object : m_options.expected)
            for (const auto& entry : m_schema)
                m_sameKind = m_sameKind || (object.type == "table" && entry.sql == object.sql);
        for (const auto& object : m_options.expected) {
            if (!m_sameKind || known[object.name]) continue;
            known[object.name] = true;
            m_schema.push_back({object.type, object.name, object.table, object.sql, 0});
        }
        if (m_schema.empty() && rc != SQLITE_DONE) ThrowEngineError(m_read, rc, m_path);
    }

    void ReadSchemaPages(std::map<std::string, bool>& known) {
        auto take = [&](const PageRow& row) {
            if (row.values.size() != 5 || !std::holds_alternative<int64_t>(row.values[3]) ||
                !TextOf(row.values[4]).starts_with("CREATE "))
                return;
            SchemaEntry entry{TextOf(row.values[0]), TextOf(row.values[1]), TextOf(row.values[2]),
                              TextOf(row.values[4]),
                              static_cast<uint32_t>(std::get<int64_t>(row.values[3]))};
            if (entry.name.empty() || known[entry.name]) return;
            known[entry.name] = true;
            m_schema.push_back(std::move(entry));
        };
        m_pages.WalkTable(1, take);
        // The schema's leaves whose parent page was lost, looked at only.
        m_pages.ForEachUnreachedLeaf(
            [&](uint32_t, const std::vector<PageRow>& rows) {
                for (const auto& row : rows) take(row);
            },
            false);
    }

    std::string OldJournalMode() {
        Query query(m_read, "PRAGMA journal_mode");
        if (query.Prepared() && sqlite3_step(query.get()) == SQLITE_ROW) return query.Text(0);
        return "delete";
    }

    // A virtual table's own tables are named after it.
    bool IsShadow(const std::string& name) const {
        for (const auto& entry : m_schema)
            if (IsVirtual(entry) && name.starts_with(entry.name + "_")) return true;
        return false;
    }

    // Makes a schema object in the new file: by its own statement, or, when
    // the damage garbled that, by the statement it is expected to have.
    bool Make(const SchemaEntry& entry) {
        if (sqlite3_exec(m_db, entry.sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK)
            return true;
        for (const auto& object : m_options.expected) {
            if (m_sameKind && object.name == entry.name)
                return sqlite3_exec(m_db, object.sql.c_str(), nullptr, nullptr, nullptr) ==
                       SQLITE_OK;
        }
        return false;
    }

    void CreateTables() {
        for (const auto& entry : m_schema) {
            if (entry.type != "table" || entry.sql.empty() || IsSystemTable(entry.name) ||
                IsDerivedObject(entry.name) || IsShadow(entry.name))
                continue;
            // A statement the damage garbled makes no table.
            if (!Make(entry)) continue;
            // A virtual table (not ours) is made empty: its own tables hold
            // what it would need.
            if (IsVirtual(entry)) continue;
            m_tables.push_back(
                std::make_unique<SalvageTable>(m_read, m_db, entry.name, entry.root, m_path));
            m_tables.back()->SetCancelCheck([this] { Tick(); });
        }
    }

    std::vector<TableIndex> IndexesOf(const std::string& table) const {
        std::vector<TableIndex> indexes;
        for (const auto& entry : m_schema)
            if (entry.type == "index" && entry.table == table)
                indexes.push_back({entry.name, entry.root});
        return indexes;
    }

    void Tick() {
        if (m_options.progress && !m_options.progress(m_pages.PagesSeen(), m_pages.PageCount()))
            throw err::CancelledByUser();
    }

    // Straight from the pages: each table's tree, the index entries that tell
    // which rows there were, then the leaves no tree reaches any more.
    void ReadPages() {
        m_pages.SetPageHook([this](uint32_t seen) {
            if (seen % 256 == 0) Tick();
        });
        for (auto& table : m_tables) {
            table->CopyFromPages(m_pages);
            // The lock's row is accounted for with the lock; the field order's
            // rows are no rows of the catalog.
            if (IndexesOf(table->Name()).empty() && table->Name() != "_kest_lock" &&
                table->Name() != "_kest_fields")
                m_result.uncountedPages += table->DamagedPages();
            for (const auto& index : IndexesOf(table->Name()))
                m_pages.WalkIndex(index.root, [&](const std::vector<CellValue>& entry) {
                    table->NamedBy(index.name, entry);
                });
        }
        // Pages that belong elsewhere are not lost leaves.
        for (const auto& entry : m_schema) {
            if (!IsDerivedObject(entry.name) && !IsSystemTable(entry.name) && !IsShadow(entry.name))
                continue;
            if (entry.type == "index" || entry.sql.find("WITHOUT ROWID") != std::string::npos)
                m_pages.WalkIndex(entry.root, [](const std::vector<CellValue>&) {});
            else
                m_pages.WalkTable(entry.root, [](const PageRow&) {});
        }
        m_pages.MarkFreePages();
        m_pages.ForEachUnreachedLeaf([&](uint32_t, const std::vector<PageRow>& rows) {
            SalvageTable* owner = nullptr;
            for (auto& table : m_tables) {
                if (!table->FitsAll(rows)) continue;
                // A leaf that two tables could own is left alone.
                if (owner) return;
                owner = table.get();
            }
            if (owner)
                owner->CopyRows(rows);
            else
                RecoverLock(rows);
        });
        Tick();
    }

    // The lock's leaf when the schema no longer names the lock's table: one
    // row holding nothing but a verifier. Protection must not end unseen.
    void RecoverLock(const std::vector<PageRow>& rows) {
        if (rows.size() != 1 || rows[0].values.size() != 1 || m_result.lock == LockOutcome::Kept)
            return;
        for (const auto& table : m_tables)
            if (table->Name() == "_kest_lock") return;
        const auto* verifier = std::get_if<std::string>(&rows[0].values[0]);
        if (!verifier || !IsPasswordVerifier(*verifier)) return;
        m_result.foundVerifier = *verifier;
        m_result.lock = LockOutcome::Kept;
    }

    // The counters go on from where they stood, even past rows deleted before.
    void KeepCounters() {
        std::vector<std::pair<std::string, int64_t>> counters;
        Query old(m_read, "SELECT name, seq FROM sqlite_sequence");
        int rc = SQLITE_ERROR;
        if (old.Prepared()) {
            while ((rc = sqlite3_step(old.get())) == SQLITE_ROW)
                counters.emplace_back(old.Text(0), sqlite3_column_int64(old.get(), 1));
        }
        if (rc != SQLITE_DONE && m_options.readPages) {
            for (const auto& entry : m_schema) {
                if (entry.name != "sqlite_sequence") continue;
                PageReader pages(m_path);
                pages.WalkTable(entry.root, [&](const PageRow& row) {
                    if (row.values.size() == 2 && std::holds_alternative<int64_t>(row.values[1]))
                        counters.emplace_back(TextOf(row.values[0]),
                                              std::get<int64_t>(row.values[1]));
                });
            }
        }
        for (const auto& [name, seq] : counters) {
            Query keep(m_db,
                       "INSERT INTO main.sqlite_sequence (name, seq) SELECT ?1, ?2 WHERE NOT "
                       "EXISTS (SELECT 1 FROM main.sqlite_sequence WHERE name = ?1) AND EXISTS "
                       "(SELECT 1 FROM main.sqlite_master WHERE name = ?1)");
            Query raise(m_db, "UPDATE main.sqlite_sequence SET seq = max(seq, ?2) WHERE name = ?1");
            for (sqlite3_stmt* stmt : {keep.get(), raise.get()}) {
                if (!stmt) continue;
                sqlite3_bind_text(stmt, 1, name.c_str(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_int64(stmt, 2, seq);
                int done = sqlite3_step(stmt);
                if (done != SQLITE_DONE) ThrowEngineError(m_db, done, m_path + ".salvage");
            }
            for (auto& table : m_tables)
                if (table->Name() == name) table->SetCounter(seq);
        }
    }

    // Rows kept and lost, and what became of the lock.
    void Account() {
        m_result.missingPages = m_pages.MissingPages();
        for (auto& table : m_tables) {
            m_result.recoveredRows += table->Copied();
            m_result.pageReaderRows += table->FromPages();
            m_result.lostRows += table->Lost();
            if (!table->Name().starts_with("_kest_"))
                m_result.tableRows.emplace_back(table->Name(), table->Copied());
        }
        SalvageTable* lock = nullptr;
        for (auto& table : m_tables)
            if (table->Name() == "_kest_lock") lock = table.get();
        if (!lock) return;
        bool damagedVerifier = DropDamagedPasswordLock(m_db);
        if (HasPasswordLock(m_db)) {
            m_result.lock = LockOutcome::Kept;
        } else if (damagedVerifier || !lock->ReadWhole()) {
            // Damage took the verifier: lock with the password given, if any;
            // the lock's row is then back, else it is one more row lost.
            m_result.lock = m_options.password.empty() ? LockOutcome::Lost : LockOutcome::Remade;
            if (!m_options.password.empty()) {
                WritePasswordLock(m_db, m_options.password);
                m_result.lostRows -= lock->Lost();
            } else if (lock->Lost() == 0) {
                ++m_result.lostRows;
            }
        }
    }

    sqlite3* m_read;
    sqlite3* m_db;
    std::string m_path;
    const SalvageOptions& m_options;
    PageReader m_pages;
    std::vector<SchemaEntry> m_schema;
    bool m_sameKind = false;  // the file is of the kind the expected objects describe
    std::vector<std::unique_ptr<SalvageTable>> m_tables;
    SalvageResult m_result;
};

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

}  // namespace

bool HasDatabaseHeader(const std::string& path) {
    static constexpr char kMagic[] = "SQLite format 3";  // with its NUL: 16 bytes
    unsigned char start[sizeof kMagic + 2] = {};
    std::ifstream file(path, std::ios::binary);
    if (!file.read(reinterpret_cast<char*>(start), sizeof start) ||
        std::memcmp(start, kMagic, sizeof kMagic) != 0)
        return false;
    // A page size the engine can have written (1 stands for 65536).
    auto size = static_cast<unsigned>(start[16] << 8 | start[17]);
    return size == 1 || (size >= 512 && size <= 32768 && (size & (size - 1)) == 0);
}

SalvageResult SalvageInto(const std::string& damagedPath, const std::string& target,
                          const SalvageOptions& options) {
    sqlite3* read = OpenForSalvage(damagedPath, SQLITE_OPEN_READWRITE);
    sqlite3* write = nullptr;
    try {
        // The schema switch also lets a file that is shorter than its header
        // says be read as far as it goes. The check that came before has
        // folded any write-ahead log into the file, so the pages hold it all.
        ExecOrThrow(read, "PRAGMA locking_mode=EXCLUSIVE; PRAGMA writable_schema=ON");
        write = OpenForSalvage(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        ExecOrThrow(write, "PRAGMA locking_mode=EXCLUSIVE");
        SalvageResult result = Salvager(read, write, damagedPath, options).Run();
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
