#include "core/discs/DiscList.h"

#include <cmath>

#include "core/common/KestError.h"
#include "core/engine/Database.h"
#include "core/search/ResultsGrid.h"
#include "core/search/SearchCommand.h"
#include "core/search/SearchOptions.h"
#include "core/search/SearchPanel.h"
#include "core/search/SortGrid.h"
#include "core/text/DateParse.h"

namespace kest::discs {
namespace {

constexpr const char* kDiscColumns =
    "tblDiscs.DiscSer AS [Disc Serial # ], "
    "tblDiscs.DiscFSys AS [Disc File System ], tblDiscs.DiscLbl AS [Disc Vol Label ], "
    "tblDiscs.DiscDesc AS [Disc Description ], tblDiscs.DiscNumF AS [# of Files ]";
const char* const kHeaders[] = {"Kest ID ",        "Disc Serial # ",    "Disc File System ",
                                "Disc Vol Label ", "Disc Description ", "# of Files "};

std::string UsedSpaceExpression(const DiscListOptions& options) {
    std::string pattern = search::SizeNumberPattern(options.sizeNumDec);
    if (options.sizeFormat == search::kSizeBytes)
        return "SUM(tblFiles.FileSize) AS [Used Space ( B) ] ";
    if (options.sizeFormat == search::kSizeKilobytes)
        return "FORMAT((SUM(tblFiles.FileSize))/1024,'" + pattern + "') AS [Used Space (KB) ] ";
    return "FORMAT((SUM(tblFiles.FileSize))/1048576,'" + pattern + "') AS [Used Space (MB) ] ";
}

// Tags, widths and alignment of the disc list's columns.
void LayColumns(ListTable& table, const DiscListOptions& options) {
    for (size_t c = 0; c < table.ColumnCount(); ++c) {
        auto& column = table.Column(c);
        column.tag = static_cast<int>(c);
        if (c < options.columnWidths.size()) column.width = options.columnWidths[c];
        column.alignment = c == 6 && options.showUsedSpace ? Alignment::Right : Alignment::Left;
    }
}

}  // namespace

std::string DiscListStatement(const DiscListOptions& options) {
    if (options.showUsedSpace)
        return std::string("SELECT tblDiscs.KestId AS [Kest ID ], ") + kDiscColumns + ", " +
               UsedSpaceExpression(options) +
               "FROM tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = tblFiles.KestId "
               "GROUP BY tblDiscs.KestId, tblDiscs.DiscSer, tblDiscs.DiscFSys, tblDiscs.DiscLbl, "
               "tblDiscs.DiscDesc, tblDiscs.DiscNumF;";
    return std::string("SELECT tblDiscs.KestID AS [Kest ID ], ") + kDiscColumns + " FROM tblDiscs";
}

void SetDiscHeaders(ListTable& table, const DiscListOptions& options) {
    std::vector<ListColumn> columns;
    for (const char* header : kHeaders) columns.push_back(ListColumn{header});
    if (options.showUsedSpace) columns.push_back(ListColumn{"Used Space "});
    table.Reset(std::move(columns));
    LayColumns(table, options);
}

std::string DiscSummary(int64_t discCount, int64_t fileTotal, const std::string& catalogName) {
    return std::to_string(discCount) + (discCount == 1 ? " disc" : " discs") + " (" +
           std::to_string(fileTotal) + (fileTotal == 1 ? " file" : " files") + ") in " +
           catalogName + " database.";
}

std::string WindowTitle(int programCaption, const std::string& catalogName,
                        const std::string& catalogPath) {
    if (programCaption == kCaptionTitleOnly) return "Kest";
    if (programCaption == kCaptionFileName) return "Kest - " + catalogName;
    return "Kest - " + catalogPath;
}

int64_t DiscCount(engine::Database& db) {
    engine::Statement count = db.Prepare("SELECT COUNT(*) FROM tblDiscs");
    return count.Step() ? count.Int(0) : 0;
}

bool ReloadDiscList(engine::Database& db, DiscList& list, const DiscListOptions& options,
                    const std::string& catalogName, const std::string& catalogPath,
                    Prompter& prompter, search::SearchPanel* results,
                    const search::SearchOptions* searchOptions) {
    try {
        ListTable table;
        search::FillFromStatement(db, DiscListStatement(options), table);
        LayColumns(table, options);
        if (options.factColumns != 0 || !list.filter.Empty())
            discfacts::AddFactsToDiscList(table, discfacts::LoadAllDiscFacts(db),
                                          options.factColumns, list.filter);
        const int64_t discCount = DiscCount(db);
        int64_t fileTotal = 0;
        for (size_t r = 0; r < table.RowCount() && table.ColumnCount() > 5; ++r)
            fileTotal += static_cast<int64_t>(
                std::nearbyint(text::ParseNumberText(table.Cell(r, 5)).value_or(0)));

        list.table = std::move(table);
        list.discCount = discCount;
        list.fileTotal = fileTotal;
        list.summary = DiscSummary(discCount, fileTotal, catalogName);
        list.windowTitle = WindowTitle(options.programCaption, catalogName, catalogPath);
        if (discCount == 0 && results && searchOptions)
            search::ResetResultsGrid(results->results, *searchOptions, results->widths);
        return true;
    } catch (const KestError& e) {
        prompter.ShowError("Error in updating Discs", e.Number(), e.Description());
        return false;
    }
}

bool HasUsedSpaceColumn(const ListTable& table) {
    return table.ColumnCount() > 6 && table.Column(6).header.starts_with("Used Space");
}

void ClickDiscHeader(ListTable& table, size_t column) {
    if (column >= table.ColumnCount()) return;
    int tag = table.Column(column).tag;
    auto kind = tag >= 1 && tag <= 4 ? SortKind::Text : SortKind::Numeric;
    search::SortGrid(table, column, column, kind);
}

}  // namespace kest::discs
