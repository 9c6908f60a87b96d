#pragma once

#include <string>

struct sqlite3;

namespace kest::engine {

// The catalog password: an Argon2id verifier kept in an engine-internal
// table. The password itself is never stored. A lock table that cannot be
// read raises 3049 (damage, for the repair), never reads as "no lock".
bool HasPasswordLock(sqlite3* db);
bool PasswordMatches(sqlite3* db, const std::string& password);
// Replaces the verifier; an empty password removes the lock.
void WritePasswordLock(sqlite3* db, const std::string& password);
// Whether a text has the form of a stored verifier: the salvage knows the
// lock's row by it when the schema no longer names the lock's table.
bool IsPasswordVerifier(const std::string& text);
// Empties a lock whose verifier damage put out of form; whether it did.
bool DropDamagedPasswordLock(sqlite3* db);
// Puts back a verifier as it was read from a damaged file.
void RestorePasswordLock(sqlite3* db, const std::string& verifier);

}  // namespace kest::engine
