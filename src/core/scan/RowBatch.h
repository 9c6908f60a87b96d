#pragma once

#include <chrono>

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

    explicit RowBatch(engine::Database& db) : m_db(db) {}

    // Before a row is written: opens a transaction when none is open.
    void Open();
    // After a row is written: commits when the batch is full or old.
    void Written();
    // Commits what is pending; safe when nothing is.
    void Commit();

  private:
    engine::Database& m_db;
    int m_rows = 0;
    std::chrono::steady_clock::time_point m_opened;
};

}  // namespace kest::scan
