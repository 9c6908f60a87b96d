#include "core/discs/SelectedDisc.h"

#include "core/discs/DiscList.h"
#include "core/search/SearchText.h"

namespace kest::discs {

SelectedDisc SelectedDiscOfRow(const ListTable& list, size_t row) {
    auto cell = [&](size_t column) {
        return column < list.ColumnCount() ? std::string(list.Cell(row, column)) : std::string();
    };
    return SelectedDisc{cell(0),
                        cell(1),
                        cell(2),
                        cell(3),
                        cell(4),
                        cell(5),
                        HasUsedSpaceColumn(list) ? cell(6) : std::string()};
}

std::optional<size_t> FindDiscRow(const ListTable& list, const std::string& kestId) {
    if (list.ColumnCount() == 0) return std::nullopt;
    for (size_t row = 0; row < list.RowCount(); ++row)
        if (search::TrimBlanks(list.Cell(row, 0)) == kestId) return row;
    return std::nullopt;
}

}  // namespace kest::discs
