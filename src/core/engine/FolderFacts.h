#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct sqlite3;

namespace kest::engine {

// What the disc tree needs to open a folder without reading every file row
// of its disc: per disc and per stored folder text (tblFiles.FileDir, as
// bytes), the number of files, their bytes and the counters lo..hi that hold
// them (a scan writes a folder's files as one run, so its files are read by
// counter; a range widened by later rows or left wide by deletions only
// costs reading, the folder text still decides).
//
// The engine-internal table _kest_tree is kept by triggers on tblFiles that
// use SQLite's own statements only, so any writer (description updates, disc
// deletion, the sqlite3 shell, an older Kest) keeps it true; a description
// change does not touch it. _kest_tree_state holds the highest counter taken
// so far: the triggers count only rows at or below it, the builder takes the
// rows above it in committed slices, and the mark is the largest integer when
// every row is taken.
inline constexpr const char* kFolderFactsTable = "_kest_tree";

// The disc tree's stored folders, made with the facts and written by the
// disc tree (core/explore) from them: per disc, one row per folder and
// stored folder text (run; a folder without files of its own has one row
// with no text) holding its parent, name, the files, bytes and folders below
// it and the counters of that text's rows. Siblings' ids follow their shown
// order, so a folder's children are one range of the key. Any change of a
// disc's facts deletes its rows, so they are either true or missing.
inline constexpr const char* kFolderNodesTable = "_kest_tree_nodes";

// Whether the facts are complete and as made: every object as created, the
// mark at its end, and as many files counted as tblFiles holds.
bool FolderFactsComplete(sqlite3* db);

// Whether the facts can be read: made as they are made now and holding every
// row (no count taken; FolderFactsComplete checks that too).
bool FolderFactsUsable(sqlite3* db);

// Builds what is missing (all of it when the objects are missing, altered or
// the counts disagree), in committed slices so an interruption (a full disk)
// loses at most one slice and the next build resumes. progress gets (rows
// done, rows to do) after each slice. Nothing to do for a catalog whose
// tblFiles lacks the fields (the older format, before its upgrade).
using FactsProgress = std::function<void(int64_t done, int64_t total)>;
void BuildFolderFacts(sqlite3* db, const FactsProgress& progress = {}, int64_t sliceRows = 100000);

// Around a scan holding the catalog exclusively: the mark stops at the rows
// there are and the insert trigger goes (even skipping a row, it cost the
// scan 1.5 µs a row), so the scan's inserts run no trigger; CatchUpFolderFacts
// takes the rows added so far (the scan's writer, between commits), and
// BuildFolderFacts puts the trigger back and takes the rest at the end (or
// at the next open, after a scan that did not end). True when complete facts
// were deferred.
bool DeferFolderFacts(sqlite3* db);
void CatchUpFolderFacts(sqlite3* db);

// Removes every object of the facts, as a unit; the next build makes them.
void DropFolderFacts(sqlite3* db);

}  // namespace kest::engine
