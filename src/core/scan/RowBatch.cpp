#include "core/scan/RowBatch.h"

#include "core/engine/Database.h"

namespace kest::scan {

void RowBatch::Open() {
    // Known without asking the catalog, whose connection the file-row writer
    // may be using.
    if (m_open) return;
    if (!m_db.InTransaction()) m_db.Begin();
    m_open = true;
    m_rows = 0;
    m_opened = CoarseClock::now();
}

void RowBatch::Written() {
    if (++m_rows >= kMaxRows || CoarseClock::now() - m_opened >= kMaxAge) {
        // The writer commits and opens the next transaction in turn.
        m_files.CommitSoon();
        m_rows = 0;
        m_opened = CoarseClock::now();
    }
}

void RowBatch::StoredHere() {
    if (++m_rows >= kMaxRows || CoarseClock::now() - m_opened >= kMaxAge) Commit();
}

void RowBatch::Commit() {
    m_open = false;
    m_rows = 0;
    m_files.Flush();
    if (m_db.InTransaction()) m_db.Commit();
}

}  // namespace kest::scan
