#pragma once

#include <optional>
#include <string>

#include "core/table/ListTable.h"

namespace kest::search {

// A selection in a list, in grid rows (row 0 is the header row): the row where
// it started and the row where it ends, in either order.
struct GridSelection {
    size_t row = 0;
    size_t rowSel = 0;
};

// What a right click on a grid row of a list does: which rows end up selected,
// whether that is one row or several, the identifier (first column) of the
// clicked row, and whether a pop-up menu shows at all (not on the header row,
// not without data, not without an identifier).
struct RowClick {
    bool show = false;
    GridSelection selection;
    bool single = true;
    std::string kestId;
};
RowClick RightClickRow(const ListTable& table, GridSelection selection, size_t clickedRow);

// Ctrl+A: every data row (nullopt when there is none).
std::optional<GridSelection> SelectAllRows(const ListTable& table);

}  // namespace kest::search
