#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/search/ListSelection.h"

namespace kest::discs {

// The disc identifiers the Delete key removes: every row between the two ends
// of the selection, in row order.
std::vector<int64_t> DeleteKeyIds(const ListTable& table, search::GridSelection selection);

// The disc list's pop-up menu items after a right click: the single-disc items
// for one selected row, only "Multiple Disc Delete..." of them for several.
// "Database Contents" and "Save Disc List As..." always show.
struct DiscMenu {
    search::RowClick click;
    bool details = false, contents = false, deleteDisc = false, multipleDelete = false;
};
DiscMenu RightClickDiscs(const ListTable& table, search::GridSelection selection,
                         size_t clickedRow);

// Whether a dropped file is a catalog to open: its extension is "KST" in any
// letter case, the dot standing in the last part of the path.
bool IsCatalogDrop(const std::string& path);

}  // namespace kest::discs
