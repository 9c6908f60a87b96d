#pragma once

#include <string>

#include "core/discs/DiscList.h"
#include "core/search/SearchOptions.h"
#include "core/search/SearchPanel.h"
#include "core/ui/Prompter.h"

namespace kest::engine {
class Database;
}

namespace kest::discs {

// The open catalog and the main window's two lists that show it (the disc
// list and the results), with the settings they are drawn with: what the disc
// and file commands change and refresh.
struct CatalogViews {
    engine::Database& db;
    DiscList& list;
    DiscListOptions listOptions;
    std::string catalogName;
    std::string catalogPath;
    search::SearchPanel& results;
    search::SearchOptions searchOptions;
};

// After discs changed: the disc list reloads and the results are emptied to
// their headers over one blank row, with no match count and status panel 1
// (and panel 2 when asked) cleared.
void ReloadAfterDiscChange(CatalogViews& views, Prompter& prompter, bool clearStatus2);

}  // namespace kest::discs
