// The main window's start-up order, without a window: the view's hooks are
// recorded in the order the sequence calls them.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/app/Startup.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "support/catalog/CatalogFixture.h"
#include "support/catalog/RecordingHost.h"

namespace kest::app {
namespace {

using ::testing::HasSubstr;

// The window's start-up hooks and the catalog commands' ones, recorded in
// one list.
struct RecordingStartup : test::RecordingHost, StartupView {
    WindowState PreparedWindowState() override { return {}; }
    void HideScanProgress() override { calls.push_back("hide progress"); }
    void ApplySettings() override { calls.push_back("apply settings"); }
    void ShowWindow() override { calls.push_back("show"); }
    void PrepareGrids() override { calls.push_back("grids"); }
    void ReloadDiscList() override { calls.push_back("disc list"); }
    void SetCatalogControls(bool open) override { calls.push_back(open ? "controls on" : "off"); }
    void ShowWithoutCatalog() override { calls.push_back("no catalog"); }
};

class StartupOrder : public ::testing::Test {
  protected:
    void PutCatalog(const std::string& name) {
        test::OpenSampleCatalog(home).reset();
        std::filesystem::rename(home.File("sample.kst"), home.File(name));
    }
    void Start(const std::string& catalogPath = {}) {
        Session session(AppPaths(home.Path()), prompter);
        view.busy = true;
        view.windowEnabled = false;
        StartUp(session, view, view, catalogPath);
        open = session.current.open && session.current.HasDatabase();
    }

    test::TempDir home;
    test::ScriptedPrompter prompter;
    RecordingStartup view;
    bool open = false;
};

using Calls = std::vector<std::string>;

TEST_F(StartupOrder, TheStartupCatalogOpensAfterTheSettingsAndTheShownWindow) {
    PutCatalog("kest001.kst");
    Start();
    EXPECT_TRUE(open);
    EXPECT_EQ(view.calls, (Calls{"hide progress", "apply settings", "show", "grids", "disc list",
                                 "save settings", "controls on"}));
    EXPECT_FALSE(view.busy);
    EXPECT_TRUE(view.windowEnabled);
}

TEST_F(StartupOrder, ADeclinedMissingCatalogLeavesTheWindowWithoutOne) {
    prompter.ExpectMessage("Load Database Warning...", HasSubstr("Default database was not found."),
                           Icon::Exclamation, Buttons::YesNo, 1, Answer::No);
    Start();
    EXPECT_FALSE(open);
    EXPECT_EQ(view.calls,
              (Calls{"hide progress", "apply settings", "show", "grids", "no catalog"}));
    EXPECT_TRUE(view.windowEnabled);
}

TEST_F(StartupOrder, ACatalogGivenOnTheCommandLineOpensInsteadOfTheStartupOne) {
    PutCatalog("other.kst");
    Start(home.File("other.kst"));
    EXPECT_TRUE(open);
    EXPECT_EQ(view.calls.at(4), "replaced");
    EXPECT_EQ(view.calls.back(), "controls on");
}

TEST_F(StartupOrder, AnUnreadableSettingEndsInErrorOnLoadWithAUsableWindow) {
    PutCatalog("kest001.kst");
    home.Write("Kest.ini", "[Main]\nToolbar_Visible=perhaps\n");
    prompter.ExpectNotice("Error on load", ::testing::_, Icon::Critical);
    Start();
    EXPECT_FALSE(open);
    EXPECT_EQ(view.calls, (Calls{"hide progress", "apply settings", "show", "no catalog"}));
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_FALSE(view.busy);
}

}  // namespace
}  // namespace kest::app
