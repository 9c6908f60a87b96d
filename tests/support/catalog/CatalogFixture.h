#pragma once

#include <memory>
#include <string>

#include "core/engine/Database.h"
#include "support/TempDir.h"

namespace kest::test {

// A new, empty catalog file in a temporary folder, built as the create
// command builds it.
std::string MakeCatalogFile(const TempDir& dir, const std::string& name = "kest001.kst");

// A catalog of the older format: no FileId, FileDesc or tblSubFiles, the root
// stored as "[root]" and sizes in millions of bytes.
std::string MakeOldFormatCatalog(const TempDir& dir, const std::string& name = "old.kst");

// A catalog with two discs, a few files and subfiles, for statement tests.
std::unique_ptr<engine::Database> OpenSampleCatalog(const TempDir& dir);

// Sets the file's modification time a minute back, as if written long ago (a
// file written in the last seconds is never noted as having its index whole).
void SetWrittenLongAgo(const std::string& path);

// Whether files in the folder can carry extended attributes (where the note
// of an index found whole is kept).
bool KeepsAttributes(const TempDir& dir);

// Every row of a query: its values as ValueText gives them, "|" between
// them and "\n" after each row.
std::string QueryText(engine::Database& db, const std::string& sql);

}  // namespace kest::test
