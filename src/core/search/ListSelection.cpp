#include "core/search/ListSelection.h"

#include <algorithm>

#include "core/search/SearchText.h"

namespace kest::search {

RowClick RightClickRow(const ListTable& table, GridSelection selection, size_t clickedRow) {
    RowClick click;
    click.selection = selection;
    if (clickedRow == 0 || clickedRow > table.RowCount() || selection.rowSel == 0) return click;
    size_t low = std::min(selection.row, selection.rowSel);
    size_t high = std::max(selection.row, selection.rowSel);
    if (clickedRow < low || clickedRow > high)
        click.selection = GridSelection{clickedRow, clickedRow};
    click.single = click.selection.row == click.selection.rowSel;
    click.kestId = std::string(table.Cell(clickedRow - 1, 0));
    click.show = !TrimBlanks(click.kestId).empty();
    return click;
}

std::optional<GridSelection> SelectAllRows(const ListTable& table) {
    if (table.RowCount() == 0) return std::nullopt;
    return GridSelection{1, table.RowCount()};
}

}  // namespace kest::search
