#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/catalog/CatalogHost.h"

namespace kest::test {

// Records what the catalog commands ask of the main window.
struct RecordingHost : CatalogHost {
    std::string folder;
    int saves = 0, replaced = 0, enabledControls = 0;
    bool windowEnabled = true;
    bool busy = false;
    // Every call but the enabling, the pointer and the message pumping, in order.
    std::vector<std::string> calls;
    std::vector<std::pair<int64_t, int64_t>> progress;  // of the search index's build
    std::vector<std::string> problems;                  // the index could not be built
    std::vector<std::pair<int64_t, int64_t>> salvage;   // of a salvage
    int64_t cancelSalvageAt = -1;  // the call that answers Cancel (0: the first)

    void SetMainWindowEnabled(bool enabled) override { windowEnabled = enabled; }
    void SetBusyPointer(bool isBusy) override { busy = isBusy; }
    void ProcessMessages() override {}
    void CatalogReplaced() override {
        ++replaced;
        calls.push_back("replaced");
    }
    void EnableCatalogControls() override {
        ++enabledControls;
        calls.push_back("enable controls");
    }
    void SaveSettings() override {
        ++saves;
        calls.push_back("save settings");
    }
    void UpdateViewCaptions() override { calls.push_back("captions"); }
    void ClearResults() override { calls.push_back("clear results"); }
    void KeepUsedSpaceWidth() override { calls.push_back("keep used space"); }
    void ReleaseBindings() override { calls.push_back("release"); }
    void ClearGrids() override { calls.push_back("clear grids"); }
    void DisableCatalogControls() override { calls.push_back("disable controls"); }
    void ShowNoCatalog(const std::string& counter, const std::string& caption) override {
        calls.push_back(counter + " | " + caption);
    }
    void ReinstallTrayIcon() override { calls.push_back("tray"); }
    void ShowIndexProgress(int64_t done, int64_t total) override {
        progress.emplace_back(done, total);
    }
    void ShowIndexProblem(const std::string& text) override { problems.push_back(text); }
    bool ShowSalvageProgress(int64_t done, int64_t total) override {
        salvage.emplace_back(done, total);
        return static_cast<int64_t>(salvage.size()) - 1 != cancelSalvageAt;
    }
    std::string ProgramFolder() const override { return folder; }
};

}  // namespace kest::test
