#include "core/scan/RowBatch.h"

#include "core/engine/Database.h"

namespace kest::scan {

void RowBatch::Open() {
    if (m_db.InTransaction()) return;
    m_db.Begin();
    m_rows = 0;
    m_opened = CoarseClock::now();
}

void RowBatch::Written() {
    if (++m_rows >= kMaxRows || CoarseClock::now() - m_opened >= kMaxAge) Commit();
}

void RowBatch::Commit() {
    if (m_db.InTransaction()) {
        m_files.Flush();
        m_db.Commit();
    }
    m_rows = 0;
}

}  // namespace kest::scan
