#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/engine/Statement.h"

namespace kest::engine {
class Database;
}

namespace kest::scan {

// tblFiles rows of a scan on their way to the catalog. A writer thread takes
// them kHandOver at a time and writes them kGroup to a multi-row INSERT (half
// SQLite's work per row against one statement per row), so the catalog's work
// overlaps the walk's reading of the disc; it also commits for the batch.
// Up to kQueued hand-overs wait for the writer, so that its longer steps (a
// commit's checkpoint, indexing the new rows for search) do not stop the walk.
//
// While the writer works it owns the catalog's connection (handed to it when
// it starts on a queue of hand-overs and back when the queue is empty):
// everyone else touches the catalog only after Flush() (which waits for the
// writer) and before the next Add() or CommitSoon().
class FileRowQueue {
  public:
    static constexpr int kGroup = 25;
    static constexpr int kHandOver = 10 * kGroup;
    static constexpr size_t kQueued = 128;

    explicit FileRowQueue(engine::Database& db) : m_db(db), m_filling(std::make_unique<Batch>()) {}
    ~FileRowQueue();
    FileRowQueue(const FileRowQueue&) = delete;
    FileRowQueue& operator=(const FileRowQueue&) = delete;

    // Queues a row (an empty isoDate is stored as no date); hands the rows
    // over to the writer kHandOver at a time. A row whose texts the catalog refuses is written
    // at once, raising the engine's error at its own file. Raises an error
    // the writer met with an earlier group.
    void Add(int64_t discId, std::string_view dir, std::string_view name,
             std::string_view attributes, int64_t size, std::string_view isoDate);
    // Writes every queued row and waits for the writer; raises the first
    // error it met. Rows that failed to be written, and those queued after
    // them, are dropped: the error is raised once, not again at the next write.
    void Flush();
    // Writes every queued row and gives the FileId of the row added last.
    int64_t LastFileId();
    // Has the writer write the queued rows, commit the open transaction and
    // open the next, without waiting for it.
    void CommitSoon();
    // How many of the commits asked for by CommitSoon the writer has made.
    int64_t CommitsMade();
    // Work the writer does, in the transaction it has just opened, after
    // each commit it makes; set before the first row is queued. An error it
    // raises counts as the commit's.
    void AfterEachCommit(std::function<void()> work) { m_afterCommit = std::move(work); }
    // Work the writer does just before each commit it makes (syncing the
    // scan's log); set before the first row is queued.
    void BeforeEachCommit(std::function<void()> work) { m_beforeCommit = std::move(work); }

  private:
    struct Row {
        int64_t discId = 0;
        std::string dir, name, attributes;
        int64_t size = 0;
        std::string isoDate;
    };
    struct Batch {
        std::array<Row, kHandOver> rows;
        int count = 0;
        bool commitAfter = false;
    };
    using BatchPtr = std::unique_ptr<Batch>;

    // Hands the queued rows to the writer, then a commit when asked.
    void Submit(bool commitAfter);
    void Wait(std::unique_lock<std::mutex>& lock);  // until the writer is idle; raises its error
    void RaiseError();                              // the writer's error, when it met one
    BatchPtr NewBatch();                            // a used one when there is one
    void WriterLoop();
    void Write(const Batch& batch);  // on the writer thread
    static void BindRow(engine::Statement& statement, int first, const Row& row);

    engine::Database& m_db;
    BatchPtr m_filling;
    std::optional<engine::Statement> m_single, m_group;  // the writer's
    std::function<void()> m_beforeCommit, m_afterCommit;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<BatchPtr> m_queued;  // handed over, not yet written
    std::vector<BatchPtr> m_spare;  // written, kept for their strings' room
    bool m_busy = false;            // the writer has the connection and work
    bool m_stop = false;
    int64_t m_commits = 0;
    std::thread::id m_submitter;  // who gets the connection back
    std::exception_ptr m_error;
    std::thread m_writer;  // started with the first group
};

}  // namespace kest::scan
