#include "core/engine/EngineError.h"

#include <sqlite3.h>

#include <cerrno>

#include "core/common/Errors.h"

namespace kest::engine {

namespace {

// Constraint names carry the field and the rule: "tblFiles.FileDir:zls".
KestError CheckFailure(const std::string& message) {
    auto colon = message.rfind(':');
    std::string name = message.substr(message.find(": ") + 2);
    std::string rule = colon == std::string::npos ? "" : message.substr(colon + 1);
    std::string field = name.substr(0, name.rfind(':'));
    if (rule == "zls") {
        return err::ZeroLengthString(field);
    }
    if (rule == "len") {
        return err::FieldTooSmall();
    }
    return err::EngineFailure(message);
}

}  // namespace

void ThrowEngineError(sqlite3* db, int rc, const std::string& path) {
    std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    int extended = db ? sqlite3_extended_errcode(db) : rc;
    // A catalog that cannot be written (a read-only file or mount) is opened
    // read-only by SQLite, and its locks and journal then fail as I/O.
    if ((rc & 0xff) == SQLITE_IOERR && db && sqlite3_db_readonly(db, "main") == 1) {
        throw err::ReadOnly();
    }
    // A write the file system refused for want of room (or a size or quota
    // limit) is a full disk to the user.
    if ((rc & 0xff) == SQLITE_IOERR && db) {
        int system = sqlite3_system_errno(db);
        if (system == ENOSPC || system == EFBIG || system == EDQUOT) throw err::DiskFull();
    }
    switch (rc & 0xff) {
        case SQLITE_CONSTRAINT:
            if (extended == SQLITE_CONSTRAINT_NOTNULL) {
                std::string field = message.substr(message.find(": ") + 2);
                throw err::RequiredNull(field);
            }
            if (extended == SQLITE_CONSTRAINT_CHECK) throw CheckFailure(message);
            throw err::EngineFailure(message);
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            throw err::FileInUse(path);
        case SQLITE_NOTADB:
            throw err::UnrecognizedFormat(path);
        case SQLITE_CORRUPT:
            throw err::Corrupt(path);
        case SQLITE_CANTOPEN:
            throw err::CannotOpen(path);
        case SQLITE_FULL:
            throw err::DiskFull();
        case SQLITE_READONLY:
            throw err::ReadOnly();
        default:
            break;
    }
    if (message.starts_with("no such table")) throw err::TableNotFound(message);
    if (message.starts_with("no such column")) throw err::TooFewParameters(message);
    if (message.find("syntax error") != std::string::npos ||
        message.starts_with("incomplete input") || message.starts_with("unrecognized token")) {
        throw err::SyntaxError(message);
    }
    throw err::EngineFailure(message);
}

void ExecOrThrow(sqlite3* db, const std::string& sql) {
    int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) ThrowEngineError(db, rc, sqlite3_db_filename(db, "main"));
}

void AsOneUnit(sqlite3* db, const std::function<void()>& change) {
    ExecOrThrow(db, "SAVEPOINT kest_unit");
    try {
        change();
        ExecOrThrow(db, "RELEASE kest_unit");
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK TO kest_unit; RELEASE kest_unit;", nullptr, nullptr, nullptr);
        throw;
    }
}

std::string Quoted(const std::string& text, char quote) {
    std::string out(1, quote);
    for (char c : text) {
        if (c == quote) out += quote;
        out += c;
    }
    return out + quote;
}

}  // namespace kest::engine
