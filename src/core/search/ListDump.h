#pragma once

#include <array>
#include <string>

#include "core/search/SearchBounds.h"
#include "core/search/SearchOptions.h"
#include "core/table/ListTable.h"
#include "core/text/VbFormat.h"
#include "core/ui/Prompter.h"

namespace kest::search {

enum class ListFormat { PlainText = 1, Csv = 2 };

// What a saved list prints: the list itself and the texts of the window around it.
struct DumpSource {
    bool results = true;  // the search results, else the disc list
    // Another list (duplicates, files on one disc only): printed as the
    // results are, under this title, without the search lines.
    std::string title;
    const ListTable* table = nullptr;
    std::string discSummary;  // the disc list's summary line
    std::string catalogPath;
    text::DateTime now;
    // Results only: the criteria, the count line and the shown file columns.
    std::string searchText;
    SearchBounds bounds;
    std::string resultCount;
    std::array<int, kFileColumns> showCol = {};
    std::array<std::string, kFileColumns> fileCaptions = kFileCaptions;
    // Discs only: whether the used-space column is shown.
    bool usedSpaceShown = false;
};

// The whole file as text, lines ended by CRLF.
std::string FormatList(const DumpSource& source, ListFormat format);

// Writes the list to the file (UTF-8). A write error is shown with the title
// "Error in dump-to-text" and gives false.
bool DumpList(const DumpSource& source, ListFormat format, const std::string& fileName,
              Prompter& prompter);

}  // namespace kest::search
