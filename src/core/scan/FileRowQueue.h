#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/engine/Statement.h"

namespace kest::engine {
class Database;
}

namespace kest::scan {

// tblFiles rows of a scan on their way to the catalog. They are written
// kGroup at a time with one multi-row INSERT, which halves the work SQLite
// does per row against one statement per row; what is left over when the
// queue is written early (before a commit or an archive) goes row by row.
class FileRowQueue {
  public:
    static constexpr int kGroup = 25;

    explicit FileRowQueue(engine::Database& db) : m_db(db) {}

    // Queues a row (an empty isoDate is stored as no date); writes the group
    // when it is full, and writes at once a row whose texts the catalog
    // refuses (raising the engine's error).
    void Add(int64_t discId, std::string_view dir, std::string_view name,
             std::string_view attributes, int64_t size, std::string_view isoDate);
    // Writes every queued row. Rows that fail to be written are dropped: the
    // error is raised once, not again at the next write.
    void Flush();
    // Writes every queued row and gives the FileId of the row added last.
    int64_t LastFileId();

  private:
    struct Row {
        int64_t discId = 0;
        std::string dir, name, attributes;
        int64_t size = 0;
        std::string isoDate;
    };
    static void BindRow(engine::Statement& statement, int first, const Row& row);

    engine::Database& m_db;
    std::array<Row, kGroup> m_rows;
    int m_count = 0;
    std::optional<engine::Statement> m_single, m_group;
};

}  // namespace kest::scan
