#include "core/search/SearchSettings.h"

namespace kest::search {

SearchOptions SearchOptionsFrom(const AppSettings& s) {
    SearchOptions o;
    o.logicalOp = s.ME_Logical_Op;
    o.autoAsterisks = s.AutoAsterisks;
    o.inFileName = s.InFileName;
    o.inDirectory = s.InDirectory;
    o.inFileDescription = s.InFileDescription;
    o.advanced = s.Advanced;
    o.sizeFormat = s.SizeFormat;
    o.sizeNumDec = s.SizeNumDec;
    o.dateFormat = s.DateFormat;
    o.searchSub = s.SearchSub;
    o.refreshImmediately = s.RefResultsImm;
    o.inSubFileName = s.InSubFileName;
    o.inSubDirectory = s.InSubDirectory;
    o.inSubComment = s.InSubComment;
    for (size_t i = 0; i < kFileColumns; ++i) o.showCol[i] = s.ShowCol[i];
    for (size_t j = 0; j < kSubFileColumns; ++j) o.showSubCol[j] = s.ShowSubCol[j];
    return o;
}

ColumnWidths ColumnWidthsFrom(const WindowState& window) {
    ColumnWidths widths;
    for (size_t i = 0; i < kFileColumns; ++i) widths.file[i] = window.resultWidths[i];
    for (size_t j = 0; j < kSubFileColumns; ++j) widths.sub[j] = window.subFileWidths[j];
    return widths;
}

std::vector<ResultColumnWidth> ResultColumnsOf(const ListTable& table) {
    std::vector<ResultColumnWidth> columns;
    for (const auto& column : table.Columns()) columns.push_back({column.tag, column.width});
    return columns;
}

}  // namespace kest::search
