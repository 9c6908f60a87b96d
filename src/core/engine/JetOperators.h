#pragma once

#include <string>

namespace kest::engine {

// The Jet forms that need more than a word-for-word translation, applied to
// a statement already in SQLite's spelling (TranslateJetSql):
//   SELECT TOP 5 a FROM t ...   -> SELECT a FROM t ... LIMIT 5   (also in a subquery)
//   a + b                       -> jet_plus(a, b)
// Jet's "+" joins two texts and adds numbers, and binds more loosely than
// "*" and "/" and more tightly than "&" and the comparisons; jet_plus
// (JetFunctions.h) does the joining or adding at run time. A "+" with a
// number written out on one side stays SQLite's own addition.
std::string RewriteJetOperators(const std::string& sql);

}  // namespace kest::engine
