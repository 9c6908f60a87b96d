#pragma once

#include <cstdint>
#include <string>

#include "core/search/ResultsGrid.h"
#include "core/search/SearchBounds.h"
#include "core/search/SearchHistory.h"
#include "core/table/ListTable.h"

namespace kest::search {

inline constexpr const char* kNoMatchCount = "Matches Found: ---";

// The display settings a list was made with; the export prints it.
struct DisplaySnapshot {
    int sizeFormat = 1;
    int sizeNumDec = 4;
    std::string dateFormat;
};

enum class SearchFocus { SearchBox, Results, Bound };

// What the window shows while a search or a contents list runs, in the order
// the commands call it: the busy pointer, the controls disabled, the panel
// redrawn at each step, and the count, time or error line shown before any
// message box that reports it. A front end without a window says so in its
// own implementation.
class SearchViewHooks {
  public:
    virtual ~SearchViewHooks() = default;
    // Search buttons and bound boxes disabled and grey (true) or enabled and white.
    virtual void SetBusy(bool busy) = 0;
    // The hourglass pointer (true) or the normal one.
    virtual void SetBusyPointer(bool busy) = 0;
    // Shows the panel as it stands now (the count line, both status panels
    // and the results) and lets the window repaint.
    virtual void ShowPanel() = 0;
    // Switches the main window to the Search view.
    virtual void ShowSearchView() = 0;
    // Called every few engine steps while the results fill, from inside the
    // engine (so it must not use the catalog): the view may show the rows so
    // far and let the user stop. true stops the fill; the rows read so far
    // stay and the count says "(aborted)".
    virtual bool RowsArriving(const ListTable& results) = 0;
};

// The state of the Search view that the search commands read and write.
struct SearchPanel {
    std::string searchText;  // the search box's text
    SearchHistory history;   // its drop-down list
    SearchBounds bounds;     // the advanced panel's boxes
    std::string resultCount = kNoMatchCount;
    std::string status1, status2;  // the status bar's two panels
    ListTable results;
    std::string statement;  // the statement of the last search or contents list
    int64_t matchCount = 0;
    DisplaySnapshot snapshot;
    ColumnWidths widths;
    bool detailsOpen = false;  // the file details window is showing
    SearchFocus focus = SearchFocus::SearchBox;
    BoundBox focusBox = BoundBox::SizeFrom;  // with SearchFocus::Bound
};

}  // namespace kest::search
