#include "gui/grids/GridSelection.h"

#include <algorithm>

#include "gui/grids/ListGrid.h"
#include "gui/grids/ListTableModel.h"

namespace kest::gui {

search::GridSelection SelectionOf(const ListGrid* grid) {
    QModelIndexList rows = grid->selectionModel()->selectedRows();
    QModelIndex current = grid->currentIndex();
    if (!current.isValid() && rows.isEmpty()) return {};
    size_t low = SIZE_MAX, high = 0;
    for (const QModelIndex& index : rows) {
        low = std::min(low, size_t(index.row()) + 1);
        high = std::max(high, size_t(index.row()) + 1);
    }
    if (!current.isValid()) return {low, high};
    size_t end = size_t(current.row()) + 1;
    low = std::min(low, end);
    high = std::max(high, end);
    return {end == low ? high : low, end};
}

void Select(ListGrid& grid, search::GridSelection selection) {
    if (selection.row == 0 || selection.rowSel == 0) return;
    int first = int(std::min(selection.row, selection.rowSel)) - 1;
    int last = int(std::max(selection.row, selection.rowSel)) - 1;
    QAbstractItemModel* model = grid.model();
    QItemSelection rows(model->index(first, 0), model->index(last, model->columnCount() - 1));
    grid.selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    grid.selectionModel()->setCurrentIndex(model->index(int(selection.rowSel) - 1, 0),
                                           QItemSelectionModel::NoUpdate);
}

std::pair<search::GridSelection, size_t> RightClicked(const ListGrid& grid, const QPoint& at,
                                                      bool catalogOpen) {
    int row = grid.rowAt(at.y());
    if (row < 0 || !catalogOpen) return {};
    auto clicked = static_cast<size_t>(row) + 1;
    search::GridSelection selection = SelectionOf(&grid);
    if (selection.rowSel == 0) selection = {clicked, clicked};
    return {selection, clicked};
}

void SortByHeader(ListGrid& grid, int section, const std::function<void(size_t column)>& sort) {
    auto* model = static_cast<ListTableModel*>(grid.model());
    if (section < 0 || section >= model->columnCount() || model->rowCount() == 0) return;
    std::vector<int> widths;
    for (int c = 0; c < model->columnCount(); ++c) widths.push_back(grid.columnWidth(c));
    sort(model->TableColumn(section));
    model->Reload();
    for (int c = 0; c < model->columnCount() && c < int(widths.size()); ++c)
        grid.setColumnWidth(c, widths[size_t(c)]);
}

}  // namespace kest::gui
