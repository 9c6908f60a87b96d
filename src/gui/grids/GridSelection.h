#pragma once

#include <functional>
#include <utility>

#include "core/search/ListSelection.h"

class QPoint;

namespace kest::gui {

class ListGrid;

// The grid's selection as the list commands count it (grid rows, the header
// being row 0): rowSel the current row, row the other end of the selected
// block; rowSel is 0 when nothing is selected.
search::GridSelection SelectionOf(const ListGrid* grid);
// Selects the grid rows of a selection.
void Select(ListGrid& grid, search::GridSelection selection);

// The selection a right click at a viewport point acts on, and the clicked
// grid row (0 off the rows or without a catalog): without a selection the
// clicked row stands for it, as the grid's current row would.
std::pair<search::GridSelection, size_t> RightClicked(const ListGrid& grid, const QPoint& at,
                                                      bool catalogOpen);

// A click on a column header: sorts the list by the table column under it
// (the sort marks the header "^" or "v"); the widths the user gave the
// columns stay.
void SortByHeader(ListGrid& grid, int section, const std::function<void(size_t column)>& sort);

}  // namespace kest::gui
