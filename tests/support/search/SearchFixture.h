#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/engine/Database.h"
#include "core/table/ListTable.h"
#include "support/TempDir.h"

namespace kest::test {

// A catalog for list tests: disc 1 "BACKUP_01" with five files and a ZIP
// holding two entries, disc 2 "PHOTOS" with two files, disc 3 "EMPTY" without
// files. Dates and sizes differ so that every sort has one right order.
std::unique_ptr<engine::Database> MakeSearchCatalog(const TempDir& dir,
                                                    const std::string& name = "kest001.kst");

using Texts = std::vector<std::string>;

// A table with these columns and cells, row after row.
ListTable MakeTable(std::vector<ListColumn> columns, const Texts& cells);
// The cells of one column from top to bottom, and the headers of every column.
Texts ColumnCells(const ListTable& table, size_t column);
Texts Headers(const ListTable& table);

// The whole content of a file ("" when it cannot be read).
std::string ReadWholeFile(const std::string& path);

}  // namespace kest::test
