#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/engine/Database.h"
#include "support/TempDir.h"

namespace kest::test {

// A catalog for list tests: disc 1 "BACKUP_01" with five files and a ZIP
// holding two entries, disc 2 "PHOTOS" with two files, disc 3 "EMPTY" without
// files. Dates and sizes differ so that every sort has one right order.
std::unique_ptr<engine::Database> MakeSearchCatalog(const TempDir& dir,
                                                    const std::string& name = "kest001.kst");

// Adds a disc with `files` generated file rows in one transaction; gives its id.
int64_t AddGeneratedDisc(engine::Database& db, int64_t files, const std::string& label);

}  // namespace kest::test
