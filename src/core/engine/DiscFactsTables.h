#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kest::engine {

class Database;

// The facts Kest keeps about discs beyond the catalog's own three tables live
// in engine-internal tables, which no table listing shows:
//   _kest_disc_facts   (KestId, catalogued, recatalogued, capacity, free_space,
//                       location, lent_to, lent_on, due_back, notes)
//   _kest_disc_tags    (KestId, tag)
//   _kest_file_hashes  (FileId, KestId, xxh3): 128-bit content hashes as hex
// They are made on the first write, so a catalog from before them simply has
// no facts, and a program that predates them ignores them. Compaction and
// save-as copy them with the file; the salvage copies them as it copies every
// table (RebuildDiscFactsTables puts back what a salvaged file lacks).

// Creates whichever of the tables is missing.
void CreateDiscFactsTables(Database& db);
// Whether the tables exist (reads need not create them).
bool HasDiscFactsTables(Database& db);
// The maintenance hook: makes the tables and their index whole again after a
// file was rebuilt, and drops the facts of discs the catalog no longer holds
// (an older program deletes discs without them, damage can take a disc's
// row); gives the number of rows dropped. A catalog that never had facts is
// left without the tables.
int64_t RebuildDiscFactsTables(Database& db);
// With a disc's deletion (inside the deletion's unit): its facts, tags and
// content hashes go with it. kestId is a checked whole number.
void DeleteDiscFacts(Database& db, const std::string& kestId);
// The tables' names, for checks that every engine-internal table survives.
const std::vector<std::string>& DiscFactsTableNames();

}  // namespace kest::engine
