#include "core/scan/FileRowQueue.h"

#include <utility>

#include "core/common/KestError.h"
#include "core/engine/Database.h"

namespace kest::scan {

namespace {

constexpr int kColumns = 6;
// tblFiles' texts hold at most this many characters; FileDir and FileName at
// least one.
constexpr size_t kMaxText = 255;

size_t Characters(std::string_view utf8) {
    size_t count = 0;
    for (char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// Whether the catalog will refuse the row for the length of a text.
bool Refused(std::string_view dir, std::string_view name, std::string_view attributes) {
    return dir.empty() || name.empty() || Characters(dir) > kMaxText ||
           Characters(name) > kMaxText || Characters(attributes) > kMaxText;
}

std::string InsertStatement(int rows) {
    std::string sql =
        "INSERT INTO tblFiles (KestId, FileDir, FileName, FileAtt, FileSize, FileDate) VALUES ";
    for (int row = 0; row < rows; ++row)
        sql += row == 0 ? "(?, ?, ?, ?, ?, ?)" : ", (?, ?, ?, ?, ?, ?)";
    return sql;
}

}  // namespace

FileRowQueue::~FileRowQueue() {
    if (!m_writer.joinable()) return;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_writer.join();
}

void FileRowQueue::Add(int64_t discId, std::string_view dir, std::string_view name,
                       std::string_view attributes, int64_t size, std::string_view isoDate) {
    Row& row = m_filling->rows[static_cast<size_t>(m_filling->count++)];
    row.discId = discId;
    row.dir.assign(dir);
    row.name.assign(name);
    row.attributes.assign(attributes);
    row.size = size;
    row.isoDate.assign(isoDate);
    // A row the catalog will refuse is written at once, so that the error
    // stops the scan at its file with every row before it stored.
    if (Refused(dir, name, attributes)) {
        Flush();
    } else if (m_filling->count == kHandOver) {
        Submit(false);
    }
}

void FileRowQueue::CommitSoon() {
    Submit(true);
}

int64_t FileRowQueue::CommitsMade() {
    std::lock_guard lock(m_mutex);
    return m_commits;
}

FileRowQueue::BatchPtr FileRowQueue::NewBatch() {
    if (m_spare.empty()) return std::make_unique<Batch>();
    BatchPtr batch = std::move(m_spare.back());
    m_spare.pop_back();
    batch->count = 0;
    return batch;
}

void FileRowQueue::Submit(bool commitAfter) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queued.size() < kQueued || m_error; });
    RaiseError();
    m_filling->commitAfter = commitAfter;
    m_queued.push_back(std::exchange(m_filling, NewBatch()));
    if (!m_writer.joinable()) m_writer = std::thread([this] { WriterLoop(); });
    if (!m_busy) {
        m_busy = true;
        m_submitter = std::this_thread::get_id();
        m_db.HandTo(m_writer.get_id());
    }
    lock.unlock();
    m_changed.notify_all();
}

void FileRowQueue::RaiseError() {
    if (!m_error) return;
    m_filling->count = 0;  // what was queued after the failure goes with it
    std::rethrow_exception(std::exchange(m_error, nullptr));
}

void FileRowQueue::Wait(std::unique_lock<std::mutex>& lock) {
    m_changed.wait(lock, [this] { return !m_busy; });
    RaiseError();
}

void FileRowQueue::Flush() {
    if (m_filling->count > 0) Submit(false);
    std::unique_lock lock(m_mutex);
    Wait(lock);
}

int64_t FileRowQueue::LastFileId() {
    Flush();
    return m_db.LastInsertId();
}

void FileRowQueue::WriterLoop() {
    std::unique_lock lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [this] { return !m_queued.empty() || m_stop; });
        if (m_stop) {
            // Rows never flushed belong to a scan that is gone.
            m_queued.clear();
            if (m_busy) m_db.HandTo(m_submitter);
            return;
        }
        BatchPtr batch = std::move(m_queued.front());
        m_queued.pop_front();
        lock.unlock();
        std::exception_ptr error;
        try {
            Write(*batch);
            if (batch->commitAfter) {
                if (m_beforeCommit) m_beforeCommit();
                m_db.Commit();
                m_db.Begin();
                if (m_afterCommit) m_afterCommit();
            }
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        if (batch->commitAfter && !error) ++m_commits;
        m_spare.push_back(std::move(batch));
        if (error) {
            // The rows queued after the failure are not written.
            m_error = error;
            while (!m_queued.empty()) {
                m_spare.push_back(std::move(m_queued.front()));
                m_queued.pop_front();
            }
        }
        if (m_queued.empty()) {
            m_db.HandTo(m_submitter);
            m_busy = false;
        }
        m_changed.notify_all();
    }
}

void FileRowQueue::BindRow(engine::Statement& statement, int first, const Row& row) {
    statement.Bind(first, row.discId);
    statement.BindView(first + 1, row.dir);
    statement.BindView(first + 2, row.name);
    statement.BindView(first + 3, row.attributes);
    statement.Bind(first + 4, row.size);
    if (row.isoDate.empty()) {
        statement.BindNull(first + 5);
    } else {
        statement.BindView(first + 5, row.isoDate);
    }
}

void FileRowQueue::Write(const Batch& batch) {
    const auto& rows = batch.rows;
    const auto total = static_cast<size_t>(batch.count);
    size_t done = 0;
    for (; total - done >= kGroup; done += kGroup) {
        if (!m_group) m_group.emplace(m_db.Prepare(InsertStatement(kGroup)));
        for (int i = 0; i < kGroup; ++i)
            BindRow(*m_group, 1 + i * kColumns, rows[done + static_cast<size_t>(i)]);
        try {
            m_group->Run();
        } catch (const KestError&) {
            // One row failed and took the group with it (a full disk, say):
            // the rows go one by one, so those before it are kept and the
            // error is raised by the row that causes it.
            break;
        }
    }
    if (done < total && !m_single) m_single.emplace(m_db.Prepare(InsertStatement(1)));
    for (; done < total; ++done) {
        BindRow(*m_single, 1, rows[done]);
        m_single->Run();
    }
}

}  // namespace kest::scan
