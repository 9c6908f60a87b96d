#pragma once

struct sqlite3;

namespace kest::engine {

// Registers the Jet functions on a connection: LIKE with Jet wildcards
// (overriding SQLite's), FORMAT(value[, format]) with VB semantics and
// IIf(condition, whenTrue, whenFalse), Len(text) in characters, jet_plus(a, b)
// for Jet's "+" (JetOperators.h), and the collation kTextCollation: the
// catalog's general sort order for text (text::CompareText), which the
// translated statements' ORDER BY uses. It is never part of the schema, so
// any SQLite tool still reads the catalog.
void RegisterJetFunctions(sqlite3* db);

inline constexpr const char* kTextCollation = "KEST_TEXT";

}  // namespace kest::engine
