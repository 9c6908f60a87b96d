#include "core/engine/EngineError.h"

#include <sqlite3.h>

#include "core/common/KestError.h"

namespace kest::engine {

namespace {

// Constraint names carry the field and the rule: "tblFiles.FileDir:zls".
KestError CheckFailure(const std::string& message) {
    auto colon = message.rfind(':');
    std::string name = message.substr(message.find(": ") + 2);
    std::string rule = colon == std::string::npos ? "" : message.substr(colon + 1);
    std::string field = name.substr(0, name.rfind(':'));
    if (rule == "zls") {
        return KestError(err::kZeroLengthString,
                         "Field '" + field + "' cannot be a zero-length string.");
    }
    if (rule == "len") {
        return KestError(err::kFieldTooSmall,
                         "The field is too small to accept the amount of data you attempted to "
                         "add.  Try inserting or pasting less data.");
    }
    return KestError(err::kEngineError, message);
}

}  // namespace

void ThrowEngineError(sqlite3* db, int rc, const std::string& path) {
    std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    int extended = db ? sqlite3_extended_errcode(db) : rc;
    // A catalog that cannot be written (a read-only file or mount) is opened
    // read-only by SQLite, and its locks and journal then fail as I/O.
    if ((rc & 0xff) == SQLITE_IOERR && db && sqlite3_db_readonly(db, "main") == 1) {
        throw KestError(err::kReadOnly, "Can't update.  Database or object is read-only.");
    }
    switch (rc & 0xff) {
        case SQLITE_CONSTRAINT:
            if (extended == SQLITE_CONSTRAINT_NOTNULL) {
                std::string field = message.substr(message.find(": ") + 2);
                throw KestError(err::kRequiredNull,
                                "The field '" + field +
                                    "' cannot contain a Null value because the Required property "
                                    "for this field is set to True.  Enter a value in this field.");
            }
            if (extended == SQLITE_CONSTRAINT_CHECK) throw CheckFailure(message);
            throw KestError(err::kEngineError, message);
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            throw KestError(err::kFileInUse, "Couldn't use '" + path + "'; file already in use.");
        case SQLITE_NOTADB:
            throw KestError(err::kUnrecognizedFormat,
                            "Unrecognized database format '" + path + "'.");
        case SQLITE_CORRUPT:
            throw KestError(err::kCorrupt, "Can't open database '" + path +
                                               "'.  The file may be damaged or not a database.");
        case SQLITE_CANTOPEN:
            throw KestError(err::kCannotOpen, "Couldn't open file '" + path + "'.");
        case SQLITE_FULL:
            throw KestError(err::kDiskFull, "Not enough space on disk.");
        case SQLITE_READONLY:
            throw KestError(err::kReadOnly, "Can't update.  Database or object is read-only.");
        default:
            break;
    }
    if (message.starts_with("no such table")) throw KestError(err::kTableNotFound, message);
    if (message.starts_with("no such column")) throw KestError(err::kTooFewParameters, message);
    if (message.find("syntax error") != std::string::npos ||
        message.starts_with("incomplete input") || message.starts_with("unrecognized token")) {
        throw KestError(err::kSyntaxError, message);
    }
    throw KestError(err::kEngineError, message);
}

void ExecOrThrow(sqlite3* db, const std::string& sql) {
    int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) ThrowEngineError(db, rc, sqlite3_db_filename(db, "main"));
}

}  // namespace kest::engine
