#include "core/search/ResultsGrid.h"

namespace kest::search {
namespace {

void Lay(ListColumn& column, int tag, const ColumnWidths& widths) {
    column.tag = tag;
    column.alignment = IsRightAligned(tag) ? Alignment::Right : Alignment::Left;
    if (tag < 0)
        column.width = 0;
    else if (tag < kSubFileTagBase)
        column.width = widths.file[static_cast<size_t>(tag)];
    else
        column.width = widths.sub[static_cast<size_t>(tag - kSubFileTagBase)];
}

}  // namespace

bool IsRightAligned(int tag) {
    return tag == 0 || tag == 9 || tag == 10 ||
           (tag >= kSubFileTagBase + 3 && tag <= kSubFileTagBase + 6);
}

void RememberWidths(const ListTable& table, ColumnWidths& widths) {
    for (const auto& column : table.Columns()) {
        if (column.tag < 0) continue;
        if (column.tag < kFileColumns)
            widths.file[static_cast<size_t>(column.tag)] = column.width;
        else if (column.tag >= kSubFileTagBase && column.tag < kSubFileTagBase + kSubFileColumns)
            widths.sub[static_cast<size_t>(column.tag - kSubFileTagBase)] = column.width;
    }
}

void FillResultsGrid(ListTable& table, const SearchOptions& options, const ColumnWidths& widths) {
    std::vector<int> tags = {0, kFileIdTag};
    for (int i = 1; i < kFileColumns; ++i) {
        if (options.showCol[static_cast<size_t>(i)] != 1) continue;
        tags.push_back(i);
        if (i == 10) tags.push_back(kSortDateTag);
    }
    if (options.searchSub) {
        for (int j = 0; j < kSubFileColumns; ++j) {
            if (options.showSubCol[static_cast<size_t>(j)] != 1) continue;
            tags.push_back(kSubFileTagBase + j);
            if (j == 6) tags.push_back(kSubSortDateTag);
        }
    }
    for (size_t c = 0; c < table.ColumnCount() && c < tags.size(); ++c)
        Lay(table.Column(c), tags[c], widths);
}

void ResetResultsGrid(ListTable& table, const SearchOptions& options, ColumnWidths& widths) {
    RememberWidths(table, widths);
    std::vector<ListColumn> columns;
    for (int i = 0; i < kFileColumns; ++i) {
        const auto at = static_cast<size_t>(i);
        if (options.showCol[at] != 1) continue;
        ListColumn column;
        column.header = i == 9 ? "File Size" + SizeUnitText(options.sizeFormat)
                               : options.fileCaptions[at] + " ";
        Lay(column, i, widths);
        columns.push_back(column);
    }
    if (options.searchSub) {
        for (int j = 0; j < kSubFileColumns; ++j) {
            const auto at = static_cast<size_t>(j);
            if (options.showSubCol[at] != 1) continue;
            ListColumn column;
            column.header = options.subFileCaptions[at] +
                            (j == 3 || j == 4 ? SizeUnitText(options.sizeFormat) : " ");
            Lay(column, kSubFileTagBase + j, widths);
            columns.push_back(column);
        }
    }
    table.Reset(std::move(columns));
    table.AddBlankRow();
}

}  // namespace kest::search
