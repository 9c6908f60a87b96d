#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/engine/Statement.h"
#include "core/engine/TableDef.h"
#include "core/engine/Value.h"

struct sqlite3;

namespace kest::engine {

struct Rows {
    std::vector<std::string> columns;  // names as aliased
    std::vector<std::vector<Value>> rows;
};

struct OpenOptions {
    bool exclusive = true;
    bool readOnly = false;
};

// A catalog file opened through the engine. Every statement is written in the
// Jet dialect and translated (see JetSql.h). Errors are KestError with a
// Jet-style number. Closing (or destroying) releases the file.
//
// One thread at a time uses a connection: its owner, at first the thread that
// opened it. The owner hands it on (the scan's writer thread takes it while it
// writes a batch and hands it back); builds with KEST_THREAD_CHECKS (debug and
// sanitizer builds) stop the program when another thread uses it.
class Database {
  public:
    // Creates a new, empty catalog file with no password; fails when a file
    // exists at the path.
    static std::unique_ptr<Database> Create(const std::string& path);
    // Opens an existing file; a refused password raises 3031.
    static std::unique_ptr<Database> Open(const std::string& path, const std::string& password,
                                          OpenOptions options = {});

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void Close();
    bool IsOpen() const { return m_db != nullptr; }
    const std::string& Path() const { return m_path; }

    // Runs a statement that returns no rows; gives the number of rows changed.
    int64_t Execute(const std::string& jetSql);
    // Runs a statement and collects every row.
    Rows Query(const std::string& jetSql);
    // Prepares a statement for stepping or for repeated use with "?" parameters.
    // A SELECT whose LIKEs the search index narrows to a few rows names those
    // rows' counters as found now: step it before the catalog changes.
    Statement Prepare(const std::string& jetSql);
    int64_t LastInsertId() const;

    // Batching of writes: a transaction the caller opens and commits.
    void Begin();
    void Commit();
    bool InTransaction() const;

    // Table definitions (engine-internal tables are never listed).
    std::vector<std::string> TableNames();
    bool HasTable(const std::string& name);  // case-insensitive
    TableDef Table(const std::string& name);
    // A table's field names in stored order, without the rest of its
    // definition (which takes a statement per index).
    std::vector<std::string> FieldNames(const std::string& table);
    void CreateTable(const TableDef& table);
    void AppendField(const std::string& table, const FieldDef& field);
    void DeleteField(const std::string& table, const std::string& field);
    void RenameField(const std::string& table, const std::string& from, const std::string& to);
    void SetFieldPosition(const std::string& table, const std::string& field, int position);
    void CreateIndex(const std::string& table, const IndexDef& index);

    // Sets a new password given the old one; an empty new password removes it.
    void SetPassword(const std::string& oldPassword, const std::string& newPassword);
    bool HasPassword();

    // Writes a compacted copy of the whole file (rows, indexes, internal
    // tables, counters) to target, in the same journal mode, flushed to disk.
    void VacuumInto(const std::string& target);
    // What the engine's consistency check finds wrong (every page, row and
    // index entry); empty when the file is sound. Damage that stops the check
    // is reported as a problem too.
    std::vector<std::string> IntegrityProblems();
    // The trigram index of the searchable texts (see SearchIndex.h): builds
    // what is missing or damaged; progress gets (rows done, rows to do). Until
    // a table's index is complete its LIKEs read every row.
    void BuildSearchIndex(const std::function<void(int64_t done, int64_t total)>& progress = {});
    // Whether the last BuildSearchIndex found the file as it was when its
    // index was last found whole: unchanged since, so whatever was derived
    // from its rows then (the discs' folders too) is there still.
    bool FoundUnchanged() const { return m_foundUnchanged; }
    bool SearchIndexComplete();
    // Drops the whole index and builds it afresh, whatever the checks found
    // (the reindex command; repair and compact run it too). stop is asked
    // before each slice: the slices built stay, and the next open goes on.
    // Gives whether the index is complete.
    bool RebuildSearchIndex(const std::function<void(int64_t done, int64_t total)>& progress,
                            const std::function<bool()>& stop = {});
    // Around a long run of inserts (a scan, with the catalog open
    // exclusively): the index stops following new rows, and
    // EndSearchIndexDeferral afterwards adds them at once. True when there
    // was an index to defer.
    bool DeferSearchIndex();
    // Meanwhile, indexes the rows added so far, keeping the index deferred.
    void IndexDeferredRows();
    // Indexes the rows added since the deferral and completes the index.
    void EndSearchIndexDeferral();
    // While set, a long statement asks stop now and then and, when it says
    // so, ends with the engine's error (its work rolled back); {} clears it.
    void StopWhen(std::function<bool()> stop);
    // Switches the use of the index in statements (on by default); the
    // results are the same either way, only the time differs.
    void UseSearchIndex(bool use) { m_useSearchIndex = use; }

    sqlite3* Handle() const;

    // Makes the given thread the owner; called by the owner.
    void HandTo(std::thread::id owner);

  private:
    Database(sqlite3* db, std::string path);
    void RebuildTable(const TableDef& table, const std::vector<std::string>& sourceColumns);
    Statement PrepareTranslated(const std::string& jetSql);
    void ForgetSearchIndex();
    // Bytes free on the catalog's file system and in its free pages.
    uint64_t RoomToWrite();
    // Stops the program when the calling thread is not the owner (only with
    // KEST_THREAD_CHECKS).
    void CheckOwner() const;
    // The tables whose index is complete: all of them when the file is as it
    // was when last found so (SearchIndexStamp.h), else as the probes find.
    unsigned CheckSearchIndexes();

    sqlite3* m_db = nullptr;
    std::string m_path;
    unsigned m_searchIndexes = 0;  // the tables whose index is complete, as bits
    bool m_searchChecked = false;  // m_searchIndexes is known
    bool m_foundUnchanged = false;
    bool m_useSearchIndex = true;
    std::function<bool()> m_stop;
    std::atomic<std::thread::id> m_owner{std::this_thread::get_id()};
};

}  // namespace kest::engine
