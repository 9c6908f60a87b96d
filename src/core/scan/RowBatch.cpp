#include "core/scan/RowBatch.h"

#include <algorithm>
#include <numeric>
#include <optional>

#include "core/common/KestError.h"
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
        // The writer commits and opens the next transaction in turn; an
        // error it met with an earlier group is raised here.
        m_log.Flush();
        m_files.CommitSoon();
        m_asked.push_back(m_rowStarts.size() -
                          std::accumulate(m_asked.begin(), m_asked.end(), size_t{0}));
        ConfirmWriterCommits();
        m_rows = 0;
        m_opened = CoarseClock::now();
    }
}

void RowBatch::ConfirmWriterCommits() {
    for (int64_t made = m_files.CommitsMade(); m_commitsSeen < made; ++m_commitsSeen) {
        Confirm(m_asked.front());
        m_asked.pop_front();
    }
}

void RowBatch::ConfirmAll() {
    Confirm(m_rowStarts.size());
    m_asked.clear();
    m_commitsSeen = m_files.CommitsMade();
}

bool RowBatch::StoredHere(uint64_t logLine) {
    if (!m_lost.empty() && m_lost.front() == logLine) m_lost.pop_front();
    m_rowStarts.push_back(logLine);
    if (++m_rows < kMaxRows && CoarseClock::now() - m_opened < kMaxAge) return false;
    Commit();
    return true;
}

size_t RowBatch::RollBack() {
    m_open = false;
    m_rows = 0;
    if (m_db.InTransaction()) m_db.Execute("ROLLBACK");
    // Only this thread's rows are pending here: the file rows were committed
    // before the archive's entries began.
    m_lost.insert(m_lost.begin(), m_rowStarts.begin(), m_rowStarts.end());
    m_rowStarts.clear();
    m_asked.clear();
    return m_lost.size();
}

void RowBatch::Drop(uint64_t logLine) {
    auto found = std::find(m_lost.begin(), m_lost.end(), logLine);
    if (found != m_lost.end()) m_lost.erase(found);
}

void RowBatch::Commit() {
    m_open = false;
    m_rows = 0;
    m_files.Flush();
    m_log.Flush();
    m_log.Sync();
    if (m_db.InTransaction()) m_db.Commit();
    ConfirmAll();
}

void RowBatch::Confirm(size_t rows) {
    m_confirmed += static_cast<int64_t>(rows);
    m_rowStarts.erase(m_rowStarts.begin(), m_rowStarts.begin() + static_cast<ptrdiff_t>(rows));
}

std::string RowBatch::Reconcile(int64_t discId) {
    m_open = false;
    m_rows = 0;
    try {
        m_files.Flush();
    } catch (const KestError&) {
        // Its rows are not stored: the count below finds out.
    }
    if (m_db.InTransaction()) {
        try {
            m_db.Commit();
        } catch (const KestError&) {
            m_db.Execute("ROLLBACK");
        }
    }
    if (m_rowStarts.empty() && m_lost.empty()) return {};
    auto count = [&](const char* table) {
        auto query =
            m_db.Prepare(std::string("SELECT COUNT(*) FROM ") + table + " WHERE KestId = ?");
        query.Bind(1, discId);
        return query.Step() ? query.Int(0) : 0;
    };
    int64_t stored = count("tblFiles") + count("tblSubFiles") - m_confirmed;
    std::optional<uint64_t> cut;
    if (stored >= 0 && stored < static_cast<int64_t>(m_rowStarts.size()))
        cut = m_rowStarts[static_cast<size_t>(stored)];
    // Rows rolled back and never saved again come first in the log.
    if (!m_lost.empty() && (!cut || m_lost.front() < *cut)) cut = m_lost.front();
    std::string line;
    if (cut) {
        line = m_log.LineAt(*cut);
        m_log.TruncateTo(*cut);
    }
    m_lost.clear();
    ConfirmAll();
    return line;
}

}  // namespace kest::scan
