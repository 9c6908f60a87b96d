// The main window's rules that need no window: the advanced panel, closing
// to the tray and what "Save List" prints.
#include <gtest/gtest.h>

#include "core/app/ListSaving.h"
#include "core/app/WindowRules.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace kest::app {
namespace {

TEST(WindowRules, TheAdvancedButtonFlipsThePanelAndTheSettingTogether) {
    AppSettings settings;
    AdvancedPanel closed = AdvancedPanelOf(settings);
    EXPECT_FALSE(closed.open);
    EXPECT_EQ(closed.caption, ">> &Advanced");
    AdvancedPanel open = ToggleAdvancedPanel(settings);
    EXPECT_TRUE(settings.Advanced);
    EXPECT_TRUE(open.open);
    EXPECT_EQ(open.caption, "<< &Advanced");
    EXPECT_GT(open.minimumWidth, closed.minimumWidth);
    EXPECT_FALSE(ToggleAdvancedPanel(settings).open);
    EXPECT_FALSE(settings.Advanced);
}

TEST(WindowRules, OnlyTheCloseBoxHidesBehindTheTrayAndOnlyWithTheSetting) {
    struct Case {
        bool setting, tray, closeBox, exiting;
        CloseChoice choice;
    };
    const Case cases[] = {
        {false, true, true, false, CloseChoice::Close},
        {true, false, true, false, CloseChoice::Close},
        {true, true, true, false, CloseChoice::MinimiseToTray},
        {true, true, true, true, CloseChoice::HideThenClose},
        {true, true, false, false, CloseChoice::HideThenClose},
    };
    for (const Case& c : cases) {
        AppSettings settings;
        settings.MinToSysTray = c.setting;
        EXPECT_EQ(ChooseClose(settings, c.tray, c.closeBox, c.exiting), c.choice)
            << c.setting << c.tray << c.closeBox << c.exiting;
    }
}

// The disc list's columns, with the used-space column when asked.
std::vector<ListColumn> DiscColumns(bool usedSpace) {
    std::vector<ListColumn> columns(usedSpace ? 7 : 6);
    if (usedSpace) columns[6].header = "Used Space (MB)";
    return columns;
}

TEST(WindowRules, SaveListPrintsTheShownListWithItsSurroundings) {
    test::TempDir home;
    test::ScriptedPrompter prompter;
    Session session(AppPaths(home.Path()), prompter);
    session.current.path = "/media/cat.kst";
    discs::DiscList discs;
    discs.summary = "2 Discs";
    discs.table.Reset(DiscColumns(true));
    search::SearchPanel panel;
    panel.searchText = "*.txt";
    panel.resultCount = "Matches Found: 3";
    panel.bounds.discFrom = "2";

    session.settings.ShowUsedSpace = true;
    search::DumpSource list = SaveListSource(session, discs, nullptr);
    EXPECT_FALSE(list.results);
    EXPECT_EQ(list.table, &discs.table);
    EXPECT_EQ(list.discSummary, "2 Discs");
    EXPECT_EQ(list.catalogPath, "/media/cat.kst");
    EXPECT_TRUE(list.usedSpaceShown);
    // The used-space column prints only when the grid shows it.
    discs.table.Reset(DiscColumns(false));
    EXPECT_FALSE(SaveListSource(session, discs, nullptr).usedSpaceShown);
    session.settings.ShowUsedSpace = false;
    discs.table.Reset(DiscColumns(true));
    EXPECT_FALSE(SaveListSource(session, discs, nullptr).usedSpaceShown);

    session.settings.ShowCol[10] = 1;
    search::DumpSource results = SaveListSource(session, discs, &panel);
    EXPECT_TRUE(results.results);
    EXPECT_EQ(results.table, &panel.results);
    EXPECT_EQ(results.searchText, "*.txt");
    EXPECT_EQ(results.resultCount, "Matches Found: 3");
    EXPECT_EQ(results.bounds.discFrom, "2");
    EXPECT_EQ(results.showCol[10], 1);
    EXPECT_EQ(results.discSummary, "2 Discs");
}

}  // namespace
}  // namespace kest::app
