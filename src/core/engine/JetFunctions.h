#pragma once

struct sqlite3;

namespace kest::engine {

// Registers the Jet functions on a connection: LIKE with Jet wildcards
// (overriding SQLite's), FORMAT(value[, format]) with VB semantics and
// IIf(condition, whenTrue, whenFalse).
void RegisterJetFunctions(sqlite3* db);

}  // namespace kest::engine
