#pragma once

#include <string>

namespace kest::engine {

// Translates a statement written in the Jet dialect into SQLite's:
//   DELETE * FROM t          -> DELETE FROM t
//   #9/18/99 2:32:21 PM#     -> '1999-09-18 14:32:21'
//   a / b                    -> a * 1.0 / b   (real division)
//   "text"                   -> 'text'        (Jet's double-quoted strings)
//   a & b                    -> a || b        (string concatenation)
//   ORDER BY a, b DESC       -> ORDER BY a COLLATE KEST_TEXT, b COLLATE KEST_TEXT DESC
//                               (the catalog's text order, see JetFunctions.h;
//                               none for the counters KestId, FileId, SubFileId)
//   SELECT TOP n ..., a + b  -> see JetOperators.h
// LIKE, FORMAT() and IIf() keep their text and are served by functions the
// engine registers; [bracketed names] pass through. Text inside literals is
// never touched. A date literal that cannot be read raises a syntax error.
std::string TranslateJetSql(const std::string& jetSql);

}  // namespace kest::engine
