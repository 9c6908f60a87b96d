// What the main window takes from the options: its title and the disc
// list's used-space column.
#include <gtest/gtest.h>

#include "core/app/OptionsEffects.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace kest::app {
namespace {

TEST(OptionsEffects, TheTitleNamesTheCatalogAsChosenAndOnlyWhenOneIsOpen) {
    struct Case {
        int16_t caption;
        const char* name;
        const char* path;
        const char* title;
    };
    const Case cases[] = {
        {kCaptionTitleOnly, "a.kst", "/d/a.kst", "Kest"},
        {kCaptionFileName, "a.kst", "/d/a.kst", "Kest - a.kst"},
        {kCaptionFullPath, "a.kst", "/d/a.kst", "Kest - /d/a.kst"},
        {kCaptionFullPath, "", "", "Kest"},
        {kCaptionFileName, "a.kst", "", "Kest"},
        {kCaptionFullPath, "", "/d/a.kst", "Kest"},
    };
    for (const Case& c : cases) {
        AppSettings settings;
        settings.Program_Caption = c.caption;
        CurrentCatalog current;
        current.name = c.name;
        current.path = c.path;
        EXPECT_EQ(ProgramTitle(settings, current), c.title) << c.caption << " " << c.path;
    }
}

TEST(OptionsEffects, SwitchingTheUsedSpaceOnGivesTheDiscListItsSeventhWidth) {
    test::TempDir home;
    test::ScriptedPrompter prompter;
    Session session(AppPaths(home.Path()), prompter);
    session.window.discGridWidth = 8930;
    session.window.discColumnWidths = {930, 2000, 2000, 2000, 2000, 2000};

    FitDiscColumns(session);
    EXPECT_EQ(session.window.discColumnWidths.size(), 6u) << "used space off";

    session.settings.ShowUsedSpace = true;
    FitDiscColumns(session);
    ASSERT_EQ(session.window.discColumnWidths.size(), 7u);
    EXPECT_EQ(session.window.discColumnWidths[6], 2000) << "(8930 - 930) / 4";

    FitDiscColumns(session);
    EXPECT_EQ(session.window.discColumnWidths.size(), 7u) << "already there";

    // A remembered width wins; one beyond any number gives the default.
    for (auto [stored, width] : {std::pair{"1234", 1234}, std::pair{"9e99", 2000}}) {
        home.Write("Kest.ini", std::string("[Discs_Columns]\nCol6Width=") + stored + "\n");
        session.window.discColumnWidths.resize(6);
        FitDiscColumns(session);
        ASSERT_EQ(session.window.discColumnWidths.size(), 7u);
        EXPECT_EQ(session.window.discColumnWidths[6], width) << stored;
    }
}

}  // namespace
}  // namespace kest::app
