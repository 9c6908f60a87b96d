#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/engine/Value.h"

struct sqlite3_stmt;
struct sqlite3;

namespace kest::engine {

// A prepared statement. Step() moves to the next row; columns are 0-based,
// parameters ("?") 1-based.
class Statement {
  public:
    Statement(sqlite3* db, sqlite3_stmt* stmt) : m_db(db), m_stmt(stmt) {}
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // A statement the engine strengthened with its search index; when it
    // fails before giving a row (a damaged index), unindexed() gives the same
    // statement without the index, which then runs in its place.
    void SetUnindexed(std::function<Statement()> unindexed) { m_unindexed = std::move(unindexed); }

    bool Step();    // true when a row is available
    void Reset();   // for the next run; keeps the bindings
    int64_t Run();  // steps to the end (Reset first); gives the rows changed

    void BindNull(int index);
    void Bind(int index, int64_t value);
    void Bind(int index, double value);
    void Bind(int index, const std::string& value);
    // Binds without a copy: the text must stay unchanged until the statement
    // has run.
    void BindView(int index, std::string_view value);

    int ColumnCount() const;
    std::string ColumnName(int column) const;
    Value Column(int column) const;
    std::string Text(int column) const;  // ValueText of the column
    // The same without a copy: valid until the next Step; numbers are
    // written into scratch.
    std::string_view TextView(int column, std::string& scratch) const;
    int64_t Int(int column) const;
    bool IsNull(int column) const;

  private:
    void Check(int rc) const;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
    std::function<Statement()> m_unindexed;
};

}  // namespace kest::engine
