#pragma once

#include <string>
#include <vector>

#include "core/search/SearchPanel.h"
#include "support/ScriptedPrompter.h"

namespace kest::test {

// Records what the search commands ask of the window, in order. Given the
// panel and the prompter, each "show" names the count and first status line
// it shows and how many prompts had come before it.
struct RecordingSearchView : search::SearchViewHooks {
    std::vector<std::string> calls;
    const search::SearchPanel* panel = nullptr;
    const ScriptedPrompter* prompter = nullptr;

    void SetBusy(bool busy) override { calls.push_back(busy ? "busy" : "idle"); }
    void SetBusyPointer(bool busy) override { calls.push_back(busy ? "hourglass" : "pointer"); }
    void ShowPanel() override {
        std::string shown = "show";
        if (panel) shown += " " + panel->resultCount + " | " + panel->status1;
        if (prompter) shown += " after " + std::to_string(prompter->Seen().size()) + " prompts";
        calls.push_back(shown);
    }
    void ShowSearchView() override { calls.push_back("search view"); }
    // Counts the checks while results fill, and stops the fill at the first
    // one that finds at least stopOnceRows rows (0: never), noting them.
    size_t stopOnceRows = 0;
    int arrivals = 0;
    size_t rowsAtStop = 0;
    bool RowsArriving(const ListTable& results) override {
        ++arrivals;
        if (stopOnceRows == 0 || results.AddedRowCount() < stopOnceRows) return false;
        rowsAtStop = results.AddedRowCount();
        return true;
    }
};

}  // namespace kest::test
