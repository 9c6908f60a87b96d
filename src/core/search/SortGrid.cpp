#include "core/search/SortGrid.h"

#include "core/search/SearchText.h"

namespace kest::search {

void SortGrid(ListTable& table, size_t clickedColumn, size_t sortColumn, SortKind kind,
              const LongWorkRunner& runLong) {
    bool descending = false;
    for (size_t c = 0; c < table.ColumnCount(); ++c) {
        std::string& header = table.Column(c).header;
        bool hadUp = false;
        if (!header.empty() && (header.back() == '^' || header.back() == 'v')) {
            hadUp = header.back() == '^';
            header.pop_back();
        }
        if (c != clickedColumn) continue;
        descending = hadUp;
        header += descending ? 'v' : '^';
    }
    table.Sort(sortColumn, kind, descending, runLong);
}

void ClickResultsHeader(ListTable& table, size_t column, const LongWorkRunner& runLong) {
    if (column >= table.ColumnCount()) return;
    int tag = table.Column(column).tag;
    SortKind kind = SortKind::General;
    size_t sortColumn = column;
    if (tag == 0 || tag == 5 || tag == 9 || (tag >= 103 && tag <= 105)) {
        kind = SortKind::Numeric;
    } else if (tag == 10 || tag == 106) {
        kind = SortKind::Text;
        bool hasData = table.RowCount() > 0 && !TrimBlanks(table.Cell(0, 0)).empty();
        if (hasData && column + 1 < table.ColumnCount()) sortColumn = column + 1;
    }
    SortGrid(table, column, sortColumn, kind, runLong);
}

}  // namespace kest::search
