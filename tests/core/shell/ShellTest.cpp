#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "core/shell/ShellRun.h"
#include "platform/Shell.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "support/platform/FakeShell.h"

namespace kest::shell {
namespace {

using platform::LaunchResult;
using platform::ShellStatus;
using platform::ShellVerb;
using Argv = std::vector<std::string>;

// Records every program the shell would start and ends it as told.
class FakeLauncher : public platform::Launcher {
  public:
    LaunchResult Run(const Argv& argv) override {
        runs.push_back(argv);
        auto it = results.find(argv.at(0));
        return it == results.end() ? LaunchResult{true, 0} : it->second;
    }
    std::map<std::string, LaunchResult> results;  // by program; default: exit 0
    std::vector<Argv> runs;
};

using test::FakeShell;

TEST(ShellRunTest, SuccessIsMinusOneAndEveryFailureHasItsText) {
    struct Case {
        ShellStatus status;
        bool openWithStarts;
        int result;
        const char* text;  // nullptr: no message
    };
    for (const Case& c : {
             Case{ShellStatus::Started, false, -1, nullptr},
             Case{ShellStatus::OutOfResources, false, 0,
                  "Error: Out of Memory/Resources. Couldn't Execute!"},
             Case{ShellStatus::FileNotFound, false, 2, "Error: File not found.  Couldn't Execute!"},
             Case{ShellStatus::PathNotFound, false, 3, "Error: Path not found. Couldn't Execute!"},
             Case{ShellStatus::BadFormat, false, 11, "Error:  Bad File Format. Couldn't Execute!"},
             Case{ShellStatus::NoAssociation, true, -1, nullptr},
             // The fallback did not start: the path and an empty text.
             Case{ShellStatus::NoAssociation, false, 0, ""},
             Case{ShellStatus::Failed, false, 1, ""},
         }) {
        SCOPED_TRACE(static_cast<int>(c.status));
        FakeShell shell;
        shell.status = c.status;
        shell.openWithStarts = c.openWithStarts;
        test::ScriptedPrompter prompter;
        if (c.text)
            prompter.ExpectNotice("Shell execute failed...", std::string("/m/a b.txt\r\n") + c.text,
                                  Icon::Critical);
        EXPECT_EQ(ShellRun(shell, prompter, "/m/a b.txt", ShellVerb::None), c.result);
        EXPECT_EQ(shell.openWith.size(), c.status == ShellStatus::NoAssociation ? 1u : 0u);
    }
}

TEST(ShellRunTest, ViewLogOpensKestDatOfTheProgramFolder) {
    FakeShell shell;
    test::ScriptedPrompter prompter;
    EXPECT_EQ(ViewLog(shell, prompter, "/opt/kest"), kShellSuccess);
    EXPECT_EQ(ViewLog(shell, prompter, "/opt/kest/"), kShellSuccess);
    EXPECT_EQ(shell.requests, (std::vector<std::string>{"default /opt/kest/Kest.dat",
                                                        "default /opt/kest/Kest.dat"}));
}

TEST(ProcessLauncherTest, TellsMissingProgramsFromTheirExitStatus) {
    auto launcher = platform::MakeProcessLauncher();
    LaunchResult missing = launcher->Run({"kest-no-such-program"});
    EXPECT_FALSE(missing.started);
    LaunchResult exited = launcher->Run({"sh", "-c", "exit \"$0\"", "4"});
    EXPECT_TRUE(exited.started);
    EXPECT_EQ(exited.exitCode, 4);
    EXPECT_EQ(launcher->Run({"true"}).exitCode, 0);
}

class LinuxShellTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    FakeLauncher launcher;
    std::unique_ptr<platform::Shell> shell = platform::MakeDesktopShell(launcher);
};

TEST_F(LinuxShellTest, OpensWithXdgOpenAsOneArgumentWhateverTheName) {
    for (const char* name :
         {"a b.txt", "it's \"quoted\".txt", "$(touch x); rm *|&.txt", "-rf", "Ünïcode 日本.txt"}) {
        SCOPED_TRACE(name);
        launcher.runs.clear();
        std::string path = dir.Write(name, "x");
        EXPECT_EQ(shell->Execute(path, ShellVerb::None, ""), ShellStatus::Started);
        EXPECT_EQ(launcher.runs, (std::vector<Argv>{{"xdg-open", path}}));
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("x")));
}

TEST_F(LinuxShellTest, MapsTheOpenersOutcomes) {
    std::string path = dir.Write("100% done.txt", "x");
    struct Case {
        LaunchResult xdgOpen, gio;
        ShellStatus status;
        size_t runs;
    };
    for (const Case& c : {
             Case{{true, 0}, {}, ShellStatus::Started, 1},
             Case{{true, -1}, {}, ShellStatus::Started, 1},  // still running: it started
             Case{{true, 2}, {}, ShellStatus::FileNotFound, 1},
             Case{{true, 3}, {}, ShellStatus::NoAssociation, 1},
             Case{{true, 4}, {}, ShellStatus::NoAssociation, 1},
             Case{{true, 1}, {}, ShellStatus::Failed, 1},
             Case{{false, -1}, {true, 0}, ShellStatus::Started, 2},  // no xdg-open: gio
             Case{{false, -1}, {true, 2}, ShellStatus::NoAssociation, 2},
             Case{{false, -1}, {false, -1}, ShellStatus::NoAssociation, 2},
         }) {
        SCOPED_TRACE(std::to_string(c.xdgOpen.exitCode) + " " + std::to_string(c.gio.exitCode));
        launcher.runs.clear();
        launcher.results = {{"xdg-open", c.xdgOpen}, {"gio", c.gio}};
        EXPECT_EQ(shell->Execute(path, ShellVerb::None, ""), c.status);
        ASSERT_EQ(launcher.runs.size(), c.runs);
        if (c.runs == 2) {
            std::string uri = "file://" + dir.Path().string() + "/100%25%20done.txt";
            EXPECT_EQ(launcher.runs[1], (Argv{"gio", "open", uri}));
        }
    }
}

TEST_F(LinuxShellTest, MissingPathsAreReportedWithoutStartingAnything) {
    EXPECT_EQ(shell->Execute(dir.File("gone.txt"), ShellVerb::None, ""), ShellStatus::FileNotFound);
    EXPECT_EQ(shell->Execute(dir.File("gone/deeper/x.txt"), ShellVerb::Open, ""),
              ShellStatus::PathNotFound);
    EXPECT_TRUE(launcher.runs.empty());
}

TEST_F(LinuxShellTest, ExploreShowsTheFileInTheFileManagerElseOpensTheFolder) {
    std::string file = dir.Write("docs/it's.txt", "x");
    std::string folder = dir.File("docs/");
    std::string folderUri = "file://" + dir.Path().string() + "/docs/";
    Argv showItems = {"gdbus",
                      "call",
                      "--session",
                      "--dest",
                      "org.freedesktop.FileManager1",
                      "--object-path",
                      "/org/freedesktop/FileManager1",
                      "--method",
                      "org.freedesktop.FileManager1.ShowItems",
                      "['" + folderUri + "it%27s.txt']",
                      ""};
    EXPECT_EQ(shell->Execute(folder, ShellVerb::Explore, "it's.txt"), ShellStatus::Started);
    EXPECT_EQ(launcher.runs, (std::vector<Argv>{showItems}));

    launcher.runs.clear();
    EXPECT_EQ(shell->Execute(folder, ShellVerb::Explore, "not there.txt"), ShellStatus::Started);
    ASSERT_EQ(launcher.runs.size(), 1u);
    EXPECT_EQ(launcher.runs[0][8], "org.freedesktop.FileManager1.ShowFolders");
    EXPECT_EQ(launcher.runs[0][9], "['" + folderUri + "']");

    // No file manager on the bus: the folder opens.
    launcher.runs.clear();
    launcher.results = {{"gdbus", {true, 1}}};
    EXPECT_EQ(shell->Execute(folder, ShellVerb::Explore, "it's.txt"), ShellStatus::Started);
    ASSERT_EQ(launcher.runs.size(), 2u);
    EXPECT_EQ(launcher.runs[1], (Argv{"xdg-open", folder}));
    EXPECT_TRUE(std::filesystem::exists(file));
}

TEST_F(LinuxShellTest, OpenWithAsksThePortalToLetTheUserChoose) {
    std::string path = dir.Write("data.unknown", "x");
    EXPECT_TRUE(shell->OpenWith(path));
    ASSERT_EQ(launcher.runs.size(), 1u);
    EXPECT_THAT(launcher.runs[0],
                ::testing::ElementsAre("gdbus", "call", "--session", "--dest",
                                       "org.freedesktop.portal.Desktop", "--object-path",
                                       "/org/freedesktop/portal/desktop", "--method",
                                       "org.freedesktop.portal.OpenURI.OpenURI", "",
                                       "file://" + path, "{'ask': <true>}"));
    launcher.results = {{"gdbus", {false, -1}}};
    EXPECT_FALSE(shell->OpenWith(path));
}

}  // namespace
}  // namespace kest::shell
