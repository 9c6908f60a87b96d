#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/discfacts/Duplicates.h"
#include "core/table/ListTable.h"

namespace kest::discfacts {

// The titles of the saved lists.
inline constexpr const char* kDuplicatesTitle = "KEST DUPLICATE FILES";
inline constexpr const char* kSingleCopyTitle = "KEST FILES ON ONE DISC ONLY";

// The lists as tables, for the window's grids and the saved files: one row
// per copy (a group's name, size, copies and waste repeated on each of its
// rows), the file's FileId in a hidden last column.
ListTable DuplicatesTable(const std::vector<DuplicateGroup>& groups);
ListTable SingleCopyTable(const std::vector<CatalogFile>& files);
// The hidden column that holds each row's FileId.
size_t FileIdColumn(const ListTable& table);
// The FileId of a row of either list; none past its end.
std::optional<int64_t> FileIdOfRow(const ListTable& table, size_t row);
// Whether the catalog still holds the file (its disc may have been deleted
// while the list was shown).
bool IsCatalogued(engine::Database& db, int64_t fileId);

// The rule from what the user typed: a disc list ("" = every disc) and the
// same-date switch. Raises KestError for a disc list that does not parse.
CopyRule RuleFromTyped(engine::Database& db, const std::string& discs, bool sameDate);

}  // namespace kest::discfacts
