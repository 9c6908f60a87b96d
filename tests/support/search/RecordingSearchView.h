#pragma once

#include <string>
#include <vector>

#include "core/search/SearchPanel.h"

namespace kest::test {

// Records what the search commands ask of the window, in order.
struct RecordingSearchView : search::SearchViewHooks {
    std::vector<std::string> calls;

    void SetBusy(bool busy) override { calls.push_back(busy ? "busy" : "idle"); }
    void Repaint() override { calls.push_back("repaint"); }
    void ShowSearchView() override { calls.push_back("search view"); }
};

}  // namespace kest::test
