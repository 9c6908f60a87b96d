#pragma once

#include <chrono>

#include "core/common/CoarseClock.h"

#include "core/scan/FileRowQueue.h"

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

    explicit RowBatch(engine::Database& db) : m_db(db), m_files(db) {}

    // Before a row is written: opens a transaction when none is open.
    void Open();
    // After a file row is queued: has the writer commit when the batch is
    // full or old.
    void Written();
    // After a row is written on this thread (a subfile row): commits here
    // when the batch is full or old.
    void StoredHere();
    // Writes the queued file rows and commits what is pending; safe when
    // nothing is.
    void Commit();
    // The file rows waiting to be written inside the open transaction.
    FileRowQueue& Files() { return m_files; }

  private:
    engine::Database& m_db;
    FileRowQueue m_files;
    bool m_open = false;  // a transaction of this batch is open
    int m_rows = 0;
    CoarseClock::time_point m_opened;
};

}  // namespace kest::scan
