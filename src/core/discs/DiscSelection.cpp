#include "core/discs/DiscSelection.h"

#include <algorithm>
#include <cmath>

#include "core/text/DateParse.h"

namespace kest::discs {

std::vector<int64_t> DeleteKeyIds(const ListTable& table, search::GridSelection selection) {
    std::vector<int64_t> ids;
    size_t first = std::max<size_t>(1, std::min(selection.row, selection.rowSel));
    size_t last = std::min(table.RowCount(), std::max(selection.row, selection.rowSel));
    for (size_t row = first; row <= last; ++row) {
        auto value = text::ParseNumberText(table.Cell(row - 1, 0));
        if (value) ids.push_back(static_cast<int64_t>(std::nearbyint(*value)));
    }
    return ids;
}

DiscMenu RightClickDiscs(const ListTable& table, search::GridSelection selection,
                         size_t clickedRow) {
    DiscMenu menu;
    menu.click = search::RightClickRow(table, selection, clickedRow);
    menu.details = menu.contents = menu.deleteDisc = menu.click.single;
    menu.multipleDelete = !menu.click.single;
    return menu;
}

bool IsCatalogDrop(const std::string& path) {
    size_t dot = path.rfind('.');
    if (dot == std::string::npos) return false;
    size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > dot) return false;
    std::string extension = path.substr(dot + 1);
    for (char& c : extension)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return extension == "KST";
}

}  // namespace kest::discs
