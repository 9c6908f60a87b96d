#include "core/engine/PasswordLock.h"

#include <sodium.h>
#include <sqlite3.h>

#include <cctype>
#include <cstring>

#include "core/common/Errors.h"
#include "core/engine/EngineError.h"

namespace kest::engine {

namespace {

constexpr const char* kLockTable = "_kest_lock";
// The file itself is readable by whoever holds it, so the verifier only has
// to make guessing costly, not to resist a dedicated attacker for years; a
// lighter setting keeps every open quick.
constexpr unsigned long long kOpsLimit = crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr size_t kMemLimit = 16u << 20;

bool HasLockTable(sqlite3* db) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, "SELECT 1 FROM sqlite_master WHERE name = '_kest_lock'", -1,
                                &stmt, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throw err::Corrupt(sqlite3_db_filename(db, "main"));
}

void StartSodium() {
    if (sodium_init() < 0) throw err::EngineFailure("The password library failed to start.");
}

// The verifier as stored, damaged or not; empty when the file has no lock.
std::string ReadVerifier(sqlite3* db) {
    if (!HasLockTable(db)) return "";
    sqlite3_stmt* stmt = nullptr;
    std::string verifier;
    int rc = sqlite3_prepare_v2(db, "SELECT verifier FROM _kest_lock LIMIT 1", -1, &stmt, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
        if (auto text = sqlite3_column_text(stmt, 0))
            verifier = reinterpret_cast<const char*>(text);
        rc = SQLITE_DONE;
    }
    sqlite3_finalize(stmt);
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        throw err::FileInUse(sqlite3_db_filename(db, "main"));
    if (rc != SQLITE_DONE) throw err::Corrupt(sqlite3_db_filename(db, "main"));
    return verifier;
}

// The stored verifier; empty when the file has no lock. A lock that cannot be
// read, or whose verifier damage has put out of form (no password could ever
// match it), is damage, never "no lock": protection must not end unseen.
std::string StoredVerifier(sqlite3* db) {
    std::string verifier = ReadVerifier(db);
    if (!verifier.empty() && !IsPasswordVerifier(verifier))
        throw err::Corrupt(sqlite3_db_filename(db, "main"));
    return verifier;
}

void EmptyLockTable(sqlite3* db) {
    ExecOrThrow(db, std::string("CREATE TABLE IF NOT EXISTS ") + kLockTable + " (verifier TEXT)");
    ExecOrThrow(db, std::string("DELETE FROM ") + kLockTable);
}

}  // namespace

bool HasPasswordLock(sqlite3* db) {
    return !StoredVerifier(db).empty();
}

bool PasswordMatches(sqlite3* db, const std::string& password) {
    std::string verifier = StoredVerifier(db);
    if (verifier.empty()) return true;
    StartSodium();
    return crypto_pwhash_str_verify(verifier.c_str(), password.data(), password.size()) == 0;
}

void WritePasswordLock(sqlite3* db, const std::string& password) {
    if (password.empty()) return EmptyLockTable(db);
    StartSodium();
    char verifier[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(verifier, password.data(), password.size(), kOpsLimit, kMemLimit) != 0) {
        throw err::EngineFailure("Not enough memory to protect the password.");
    }
    RestorePasswordLock(db, verifier);
}

bool IsPasswordVerifier(const std::string& text) {
    if (!text.starts_with(crypto_pwhash_STRPREFIX) || text.size() >= crypto_pwhash_STRBYTES)
        return false;
    // Its parameters, salt and hash are written in these characters alone.
    for (char c : text)
        if (!std::isalnum(static_cast<unsigned char>(c)) && std::strchr("$=,+/", c) == nullptr)
            return false;
    StartSodium();
    // -1: not a string the hash function could have written.
    return crypto_pwhash_str_needs_rehash(text.c_str(), kOpsLimit, kMemLimit) != -1;
}

bool DropDamagedPasswordLock(sqlite3* db) {
    std::string verifier = ReadVerifier(db);
    if (verifier.empty() || IsPasswordVerifier(verifier)) return false;
    EmptyLockTable(db);
    return true;
}

void RestorePasswordLock(sqlite3* db, const std::string& verifier) {
    EmptyLockTable(db);
    sqlite3_stmt* stmt = nullptr;
    int rc =
        sqlite3_prepare_v2(db, "INSERT INTO _kest_lock (verifier) VALUES (?)", -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_bind_text(stmt, 1, verifier.c_str(), -1, SQLITE_TRANSIENT);
        rc = sqlite3_step(stmt);
        rc = rc == SQLITE_DONE ? SQLITE_OK : rc;
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_OK) ThrowEngineError(db, rc, sqlite3_db_filename(db, "main"));
}

}  // namespace kest::engine
