#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/discfacts/DiscListFacts.h"
#include "core/settings/AppSettings.h"
#include "core/table/ListTable.h"
#include "core/ui/Prompter.h"

namespace kest::engine {
class Database;
}
namespace kest::search {
struct SearchOptions;
struct SearchPanel;
}  // namespace kest::search

namespace kest::discs {

// The settings the disc list reads.
struct DiscListOptions {
    bool showUsedSpace = false;
    int sizeFormat = 1;
    int sizeNumDec = 4;
    int programCaption = kCaptionFullPath;
    std::vector<int> columnWidths;  // twips per column; the used-space column's is Col6Width
    unsigned factColumns = 0;       // the optional columns after the list's own (FactColumn bits)
};

// The disc list and what is shown around it.
struct DiscList {
    ListTable table;
    int64_t discCount = 0;  // rows of tblDiscs at the last reload
    int64_t fileTotal = 0;  // sum of the "# of Files" column
    std::string summary;    // "12 discs (3456 files) in kest001.kst database."
    std::string windowTitle;
    // The filter box over the list: only the discs it keeps are listed (the
    // disc count stays the catalog's, the file total is the listed discs').
    discfacts::DiscFilter filter;
};

// The statement that fills the list (with the used-space column when asked).
std::string DiscListStatement(const DiscListOptions& options);

// The header texts and tags of an empty disc list.
void SetDiscHeaders(ListTable& table, const DiscListOptions& options);

// The rows of tblDiscs (raises the engine's error).
int64_t DiscCount(engine::Database& db);

// Re-queries the list, its count, summary and the window title. With no disc
// at all the results (when given) are emptied as well. An error is shown with
// the title "Error in updating Discs" and gives false; the list keeps what it
// showed.
bool ReloadDiscList(engine::Database& db, DiscList& list, const DiscListOptions& options,
                    const std::string& catalogName, const std::string& catalogPath,
                    Prompter& prompter, search::SearchPanel* results = nullptr,
                    const search::SearchOptions* searchOptions = nullptr);

std::string DiscSummary(int64_t discCount, int64_t fileTotal, const std::string& catalogName);
std::string WindowTitle(int programCaption, const std::string& catalogName,
                        const std::string& catalogPath);

// Whether the list's seventh column is the used space (fact columns may
// follow the list's own).
bool HasUsedSpaceColumn(const ListTable& table);

// A click on a header of the disc list: text sort for the serial, file system,
// label and description, numeric for the rest.
void ClickDiscHeader(ListTable& table, size_t column);

}  // namespace kest::discs
