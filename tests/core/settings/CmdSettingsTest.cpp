#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "core/settings/IniFile.h"
#include "support/TempDir.h"

namespace kest {
namespace {

namespace fs = std::filesystem;

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

struct CliResult {
    int status = -1;
    std::vector<std::string> lines;
};

// Runs kest-cli (or `program`) with `args`, after the environment settings in `env`.
CliResult RunCli(const std::string& args, const std::string& env = "",
                 const std::string& program = KEST_CLI_PATH) {
    CliResult result;
    std::string command = "env " + env + " '" + program + "' " + args + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    std::string output;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) result.lines.push_back(line);
    return result;
}

TEST(CmdSettingsTest, FirstSaveWritesEveryKeyThatLoadsBackTheSame) {
    test::TempDir home;
    std::string homeArg = "--home '" + home.Path().string() + "' settings";
    CliResult shown = RunCli(homeArg);
    ASSERT_EQ(shown.status, 0);
    EXPECT_THAT(shown.lines, Contains("Main/DatabaseName=kest001.kst"));
    EXPECT_THAT(shown.lines, Contains("Search_Items/Current=*.exe"));

    ASSERT_EQ(RunCli(homeArg + " --save").status, 0);
    std::string ini = home.File("Kest.ini");
    // Every shown key is in the file, except the empty default drive, which an
    // empty value deletes.
    for (const std::string& line : shown.lines) {
        size_t slash = line.find('/'), equals = line.find('=');
        std::string section = line.substr(0, slash);
        std::string key = line.substr(slash + 1, equals - slash - 1);
        std::string value = line.substr(equals + 1);
        EXPECT_EQ(ReadIni(section, key, "<missing>", ini), value.empty() ? "<missing>" : value)
            << line;
    }
    EXPECT_EQ(RunCli(homeArg).lines, shown.lines);
}

TEST(CmdSettingsTest, ConversionErrorShowsTheValuesLoadedSoFar) {
    test::TempDir home;
    home.Write("Kest.ini", "[SubFile_Options]\nResSub2Width=99999\n");
    CliResult late = RunCli("--home '" + home.Path().string() + "' settings");
    EXPECT_EQ(late.lines.at(0), "error 6: Overflow");
    EXPECT_THAT(late.lines, Contains("SubFile_Options/ResSub1Width=960"));
    EXPECT_THAT(late.lines, Not(Contains(HasSubstr("ResSub2Width"))));

    home.Write("Kest.ini", "[Drives]\nOnly_Optical=maybe\n[Search_Items]\n0=*.txt\n");
    CliResult result = RunCli("--home '" + home.Path().string() + "' settings --save");
    EXPECT_EQ(result.status, 1);
    ASSERT_FALSE(result.lines.empty());
    EXPECT_EQ(result.lines[0], "error 13: Type mismatch");
    EXPECT_THAT(result.lines, Contains("Results_Columns/ShowCol11=0"));
    EXPECT_THAT(result.lines, Not(Contains(HasSubstr("Drives/"))));
    EXPECT_THAT(result.lines, Not(Contains(HasSubstr("Search_Items/"))));
    // Nothing is saved after a failed load.
    EXPECT_EQ(ReadIni("Drives", "Only_Optical", "", home.File("Kest.ini")), "maybe");
}

TEST(CmdSettingsTest, ProgramFolderWithoutHome) {
    test::TempDir dir;
    auto folderLine = [](const fs::path& folder) { return "Main/DatabaseDir=" + folder.string(); };
    fs::path data = dir.Path() / "data";
    CliResult xdg = RunCli("settings", "XDG_DATA_HOME='" + data.string() + "'");
    EXPECT_THAT(xdg.lines, Contains(folderLine(data / "kest")));
    EXPECT_TRUE(fs::is_directory(data / "kest"));

    CliResult home = RunCli("settings", "-u XDG_DATA_HOME HOME='" + dir.Path().string() + "'");
    EXPECT_THAT(home.lines, Contains(folderLine(dir.Path() / ".local/share/kest")));

    // A Kest.ini beside the executable makes its folder the program folder,
    // whatever the executable is called.
    fs::path app = dir.Path() / "app";
    fs::create_directories(app);
    fs::copy_file(KEST_CLI_PATH, app / "kest");
    dir.Write("app/Kest.ini", "[Main]\nBack_Color=255\n");
    CliResult portable =
        RunCli("settings", "XDG_DATA_HOME='" + data.string() + "'", (app / "kest").string());
    EXPECT_THAT(portable.lines, Contains(folderLine(app)));
    EXPECT_THAT(portable.lines, Contains("Main/Back_Color=255"));
}

}  // namespace
}  // namespace kest
