#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/settings/IniFile.h"
#include "support/RunCli.h"
#include "support/TempDir.h"

namespace kest {
namespace {

namespace fs = std::filesystem;

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

using test::CliResult;
using test::RunCli;

TEST(CmdSettingsTest, FirstSaveWritesEveryKeyThatLoadsBackTheSame) {
    test::TempDir home;
    std::string homeArg = "--home '" + home.Path().string() + "' settings";
    CliResult shown = RunCli(homeArg);
    ASSERT_EQ(shown.status, 0);
    EXPECT_THAT(shown.OutLines(), Contains("Main/DatabaseName=kest001.kst"));
    EXPECT_THAT(shown.OutLines(), Contains("Search_Items/Current=*.exe"));

    ASSERT_EQ(RunCli(homeArg + " --save").status, 0);
    std::string ini = home.File("Kest.ini");
    // Every shown key is in the file, except the empty default drive, which an
    // empty value deletes.
    for (const std::string& line : shown.OutLines()) {
        size_t slash = line.find('/'), equals = line.find('=');
        std::string section = line.substr(0, slash);
        std::string key = line.substr(slash + 1, equals - slash - 1);
        std::string value = line.substr(equals + 1);
        EXPECT_EQ(ReadIni(section, key, "<missing>", ini), value.empty() ? "<missing>" : value)
            << line;
    }
    EXPECT_EQ(RunCli(homeArg).OutLines(), shown.OutLines());
}

TEST(CmdSettingsTest, ConversionErrorShowsTheValuesLoadedSoFar) {
    test::TempDir home;
    home.Write("Kest.ini", "[SubFile_Options]\nResSub2Width=99999\n");
    CliResult late = RunCli("--home '" + home.Path().string() + "' settings");
    EXPECT_EQ(late.OutLines().at(0), "error 6: Overflow");
    EXPECT_THAT(late.OutLines(), Contains("SubFile_Options/ResSub1Width=960"));
    EXPECT_THAT(late.OutLines(), Not(Contains(HasSubstr("ResSub2Width"))));

    home.Write("Kest.ini", "[Drives]\nOnly_Optical=maybe\n[Search_Items]\n0=*.txt\n");
    CliResult result = RunCli("--home '" + home.Path().string() + "' settings --save");
    EXPECT_EQ(result.status, 1);
    ASSERT_FALSE(result.OutLines().empty());
    EXPECT_EQ(result.OutLines()[0], "error 13: Type mismatch");
    EXPECT_THAT(result.OutLines(), Contains("Results_Columns/ShowCol11=0"));
    EXPECT_THAT(result.OutLines(), Not(Contains(HasSubstr("Drives/"))));
    EXPECT_THAT(result.OutLines(), Not(Contains(HasSubstr("Search_Items/"))));
    // Nothing is saved after a failed load.
    EXPECT_EQ(ReadIni("Drives", "Only_Optical", "", home.File("Kest.ini")), "maybe");
}

TEST(CmdSettingsTest, ProgramFolderWithoutHome) {
    test::TempDir dir;
    auto folderLine = [](const fs::path& folder) { return "Main/DatabaseDir=" + folder.string(); };
    fs::path data = dir.Path() / "data";
    CliResult xdg = RunCli("settings", "XDG_DATA_HOME='" + data.string() + "'");
    EXPECT_THAT(xdg.OutLines(), Contains(folderLine(data / "kest")));
    EXPECT_TRUE(fs::is_directory(data / "kest"));

    CliResult home = RunCli("settings", "-u XDG_DATA_HOME HOME='" + dir.Path().string() + "'");
    EXPECT_THAT(home.OutLines(), Contains(folderLine(dir.Path() / ".local/share/kest")));

    // A Kest.ini beside the executable makes its folder the program folder,
    // whatever the executable is called.
    fs::path app = dir.Path() / "app";
    fs::create_directories(app);
    fs::copy_file(KEST_CLI_PATH, app / "kest");
    dir.Write("app/Kest.ini", "[Main]\nBack_Color=255\n");
    CliResult portable =
        RunCli("settings", "XDG_DATA_HOME='" + data.string() + "'", (app / "kest").string());
    EXPECT_THAT(portable.OutLines(), Contains(folderLine(app)));
    EXPECT_THAT(portable.OutLines(), Contains("Main/Back_Color=255"));
}

}  // namespace
}  // namespace kest
