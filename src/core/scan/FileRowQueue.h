#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "core/engine/Statement.h"

namespace kest::engine {
class Database;
}

namespace kest::scan {

// tblFiles rows of a scan on their way to the catalog. A writer thread takes
// them kHandOver at a time and writes them kGroup to a multi-row INSERT (half
// SQLite's work per row against one statement per row), so the catalog's work
// overlaps the walk's reading of the disc; it also commits for the batch.
//
// While the writer works it owns the catalog's connection (handed to it with
// each batch and back when the batch is written): everyone else touches the
// catalog only after Flush() (which waits for the writer) and before the next
// Add() or CommitSoon().
class FileRowQueue {
  public:
    static constexpr int kGroup = 25;
    static constexpr int kHandOver = 10 * kGroup;

    explicit FileRowQueue(engine::Database& db) : m_db(db) {}
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
    // error it met. Rows that failed to be written are dropped: the error is
    // raised once, not again at the next write.
    void Flush();
    // Writes every queued row and gives the FileId of the row added last.
    int64_t LastFileId();
    // Has the writer write the queued rows, commit the open transaction and
    // open the next, without waiting for it.
    void CommitSoon();
    // Work the writer does, in the transaction it has just opened, after
    // each commit it makes; set before the first row is queued. An error it
    // raises counts as the commit's.
    void AfterEachCommit(std::function<void()> work) { m_afterCommit = std::move(work); }

  private:
    struct Row {
        int64_t discId = 0;
        std::string dir, name, attributes;
        int64_t size = 0;
        std::string isoDate;
    };
    using Rows = std::array<Row, kHandOver>;

    // Hands the queued rows to the writer, then a commit when asked.
    void Submit(bool commitAfter);
    void Wait(std::unique_lock<std::mutex>& lock);  // until the writer is idle; raises its error
    void WriterLoop();
    void Write(const Rows& rows, int count);  // on the writer thread
    static void BindRow(engine::Statement& statement, int first, const Row& row);

    engine::Database& m_db;
    Rows m_filling, m_writing;
    int m_fillCount = 0, m_writeCount = 0;
    bool m_commitAfter = false;
    std::optional<engine::Statement> m_single, m_group;
    std::function<void()> m_afterCommit;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_busy = false;  // the writer has work
    bool m_stop = false;
    std::thread::id m_submitter;  // who gets the connection back
    std::exception_ptr m_error;
    std::thread m_writer;  // started with the first group
};

}  // namespace kest::scan
