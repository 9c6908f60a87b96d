#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/catalog/CurrentCatalog.h"
#include "support/TempDir.h"

namespace kest::test {

// A catalog of two discs, `files` files of the first disc and two subfiles,
// with the last disc deleted again (so the counter stands past the rows) and
// protected by password when one is given.
std::string MakeFilledCatalog(const TempDir& dir, const std::string& name, int files,
                              const std::string& password = "");

// Makes the file the current catalog (letting go of the one before), as
// opening it in the window does.
void OpenAsCurrent(CurrentCatalog& current, const std::string& path,
                   const std::string& password = "");

// Every row of the three tables, the counters, the field order and whether a
// password lock is kept, as text to compare before and after.
std::string CatalogSnapshot(const std::string& path, const std::string& password = "");

// The file's journal mode as the engine reports it ("wal", "delete").
std::string JournalModeOf(const std::string& path, const std::string& password = "");

// Overwrites the first leaf page of a table that spans several pages with
// random bytes, as a bad sector would; gives the number of that page.
int DamageFirstLeafPage(const std::string& path, const std::string& table,
                        const std::string& password = "");

// The leaf pages of a table whose root is its only interior page, in rowid
// order, and the file's page size.
std::vector<int> TableLeaves(const std::string& path, const std::string& table,
                             const std::string& password = "");
int PageSizeOf(const std::string& path);

// Writes bytes into the file at offset, as damage does.
void PatchFile(const std::string& path, int64_t offset, const std::string& bytes);

}  // namespace kest::test
