#pragma once

#include <chrono>
#include <deque>
#include <string>

#include "core/common/CoarseClock.h"

#include "core/scan/FileRowQueue.h"
#include "core/scan/ScanLog.h"

namespace kest::engine {
class Database;
}

namespace kest::scan {

// Groups the rows of a scan into transactions of at most kMaxRows rows or
// kMaxAge of time, and commits at once whenever the scan stops to ask, shows
// an error, is cancelled or ends - so what the user sees in the catalog is the
// same as if every row had been committed on its own.
class RowBatch {
  public:
    static constexpr int kMaxRows = 1000;
    static constexpr std::chrono::milliseconds kMaxAge{250};

    // A committed row's log line is never behind it: the log is flushed
    // before a commit is asked for and synced just before it is made.
    RowBatch(engine::Database& db, ScanLog& log) : m_db(db), m_log(log), m_files(db) {
        m_files.BeforeEachCommit([&log] { log.Sync(); });
    }

    // Before a row is written: opens a transaction when none is open.
    void Open();
    // After a file row is queued: has the writer commit when the batch is
    // full or old.
    void Written();
    // After a row is written on this thread (a subfile row, whose log line
    // starts at `logLine`): commits here when the batch is full or old (and
    // then gives true). A row lost before and saved again counts stored.
    bool StoredHere(uint64_t logLine);
    // After a failed save on this thread: rolls back what the transaction
    // still holds; every row not known committed is then lost until it is
    // saved again (StoredHere) or given up (Drop). Gives how many are lost.
    size_t RollBack();
    void Drop(uint64_t logLine);
    // Writes the queued file rows and commits what is pending; safe when
    // nothing is.
    void Commit();
    // The file rows waiting to be written inside the open transaction.
    FileRowQueue& Files() { return m_files; }

    // Before the log lines of a file row: notes where they start.
    void RowStarting() { m_rowStarts.push_back(m_log.Position()); }
    // After an error: keeps what the catalog can keep and rolls back what it
    // cannot (a full disk), then cuts the log back to the first row of this
    // scan (`discId`) that is not stored, and gives that row's log line; ""
    // when every row logged is stored.
    std::string Reconcile(int64_t discId);

  private:
    // Rows whose commit is now known done.
    void Confirm(size_t rows);
    // Confirms the rows of the commits the writer has made since last seen.
    void ConfirmWriterCommits();
    // After every row is known committed.
    void ConfirmAll();

    engine::Database& m_db;
    ScanLog& m_log;
    FileRowQueue m_files;
    // The log offsets of the rows not yet known committed, oldest first; the
    // first of them are in the commits asked of the writer, whose row counts
    // m_asked holds (oldest first), m_commitsSeen of them made before.
    std::deque<uint64_t> m_rowStarts;
    // The log offsets of rows rolled back and not saved again, oldest first.
    std::deque<uint64_t> m_lost;
    std::deque<size_t> m_asked;
    int64_t m_commitsSeen = 0;
    int64_t m_confirmed = 0;  // rows of the scan known committed
    bool m_open = false;      // a transaction of this batch is open
    int m_rows = 0;
    CoarseClock::time_point m_opened;
};

}  // namespace kest::scan
