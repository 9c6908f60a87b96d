#pragma once

#include "core/search/SearchPanel.h"

namespace kest::cli {

// The search commands' view on the command line: it has no search controls
// to disable, no pointer and no window to redraw or switch; the results are
// printed when the command ends (Ctrl+C ends the process itself).
class CliSearchView : public search::SearchViewHooks {
  public:
    void SetBusy(bool) override {}
    void SetBusyPointer(bool) override {}
    void ShowPanel() override {}
    void ShowSearchView() override {}
    bool RowsArriving(const ListTable&) override { return false; }
};

}  // namespace kest::cli
