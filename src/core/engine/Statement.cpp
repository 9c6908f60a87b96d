#include "core/engine/Statement.h"

#include <sqlite3.h>

#include <utility>

#include "core/engine/EngineError.h"

namespace kest::engine {

Statement::~Statement() {
    sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement&& other) noexcept
    : m_db(other.m_db),
      m_stmt(std::exchange(other.m_stmt, nullptr)),
      m_unindexed(std::move(other.m_unindexed)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_db = other.m_db;
        m_stmt = std::exchange(other.m_stmt, nullptr);
        m_unindexed = std::move(other.m_unindexed);
    }
    return *this;
}

void Statement::Check(int rc) const {
    if (rc != SQLITE_OK) ThrowEngineError(m_db, rc, sqlite3_db_filename(m_db, "main"));
}

bool Statement::Step() {
    int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) {
        m_unindexed = nullptr;
        return true;
    }
    if (rc == SQLITE_DONE) return false;
    sqlite3_reset(m_stmt);
    if (m_unindexed) {
        auto unindexed = std::exchange(m_unindexed, nullptr);
        *this = unindexed();
        return Step();
    }
    ThrowEngineError(m_db, rc, sqlite3_db_filename(m_db, "main"));
}

void Statement::Reset() {
    sqlite3_reset(m_stmt);
}

int64_t Statement::Run() {
    sqlite3_reset(m_stmt);
    while (Step()) {
    }
    // Ready for the next binding and run.
    sqlite3_reset(m_stmt);
    return sqlite3_changes64(m_db);
}

void Statement::BindNull(int index) {
    Check(sqlite3_bind_null(m_stmt, index));
}
void Statement::Bind(int index, int64_t value) {
    Check(sqlite3_bind_int64(m_stmt, index, value));
}
void Statement::Bind(int index, double value) {
    Check(sqlite3_bind_double(m_stmt, index, value));
}
void Statement::Bind(int index, const std::string& value) {
    Check(sqlite3_bind_text(m_stmt, index, value.data(), static_cast<int>(value.size()),
                            SQLITE_TRANSIENT));
}
void Statement::BindView(int index, std::string_view value) {
    Check(sqlite3_bind_text(m_stmt, index, value.data(), static_cast<int>(value.size()),
                            SQLITE_STATIC));
}

int Statement::ColumnCount() const {
    return sqlite3_column_count(m_stmt);
}

std::string Statement::ColumnName(int column) const {
    const char* name = sqlite3_column_name(m_stmt, column);
    return name ? name : "";
}

Value Statement::Column(int column) const {
    switch (sqlite3_column_type(m_stmt, column)) {
        case SQLITE_INTEGER:
            return static_cast<int64_t>(sqlite3_column_int64(m_stmt, column));
        case SQLITE_FLOAT:
            return sqlite3_column_double(m_stmt, column);
        case SQLITE_NULL:
            return std::monostate{};
        default: {
            auto text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
            return std::string(text, static_cast<size_t>(sqlite3_column_bytes(m_stmt, column)));
        }
    }
}

std::string Statement::Text(int column) const {
    std::string scratch;
    return std::string(TextView(column, scratch));
}

std::string_view Statement::TextView(int column, std::string& scratch) const {
    // Text straight from the row: large results read every cell this way.
    if (sqlite3_column_type(m_stmt, column) == SQLITE_TEXT) {
        auto text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
        return std::string_view(text, static_cast<size_t>(sqlite3_column_bytes(m_stmt, column)));
    }
    scratch = ValueText(Column(column));
    return scratch;
}
int64_t Statement::Int(int column) const {
    return sqlite3_column_int64(m_stmt, column);
}
bool Statement::IsNull(int column) const {
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

}  // namespace kest::engine
