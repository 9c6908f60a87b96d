#pragma once

#include <functional>
#include <string>

struct sqlite3;

namespace kest::engine {

// Raises the SQLite error rc of db as a KestError with a Jet-style number:
// constraint failures get the Jet texts, a busy file "already in use", a file
// that is no database "unrecognized format"; everything else keeps SQLite's
// message under a stable number. path names the file in the file messages.
[[noreturn]] void ThrowEngineError(sqlite3* db, int rc, const std::string& path = {});

// Runs SQLite statements directly (no Jet translation), raising on error.
void ExecOrThrow(sqlite3* db, const std::string& sql);

// Runs change as one unit (a savepoint, so also inside the caller's
// transaction): all of it or, when it raises, nothing.
void AsOneUnit(sqlite3* db, const std::function<void()>& change);

// text between two quote characters, each quote inside doubled: an SQL
// string literal with '\'', a quoted name with '"'.
std::string Quoted(const std::string& text, char quote);
inline std::string SqlLiteral(const std::string& text) {
    return Quoted(text, '\'');
}

}  // namespace kest::engine
