// Saving the settings where the program folder is full.
#include <sys/stat.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/app/Session.h"
#include "support/RunCli.h"
#include "support/ScriptedPrompter.h"
#include "support/SmallDisk.h"
#include "support/TempDir.h"
#include "support/search/SearchFixture.h"

namespace kest::app {
namespace {

// The search history and the rest are lost on a full disk: said once, with
// the old file kept, until a save works again; kest-cli's exit status says so.
TEST(SessionSettings, AFullProgramFolderIsReportedOnceAndFailsTheCommand) {
    test::SmallDisk home("64k");
    if (!home.Mounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
    std::string ini = home.File("Kest.ini");
    test::ScriptedPrompter prompter;
    Session session(AppPaths(home.Path()), prompter);
    ASSERT_TRUE(session.SaveSettings());
    ASSERT_EQ(chmod(ini.c_str(), 0640), 0);
    std::string saved = test::ReadWholeFile(ini);
    home.Fill();
    session.settings.Program_Caption = 2;
    prompter.ExpectNotice("Error in saving settings",
                          "61\r\nDisk full\r\n" + ini + " keeps the settings it held before.",
                          Icon::Critical);
    EXPECT_FALSE(session.SaveSettings());
    EXPECT_FALSE(session.SaveSettings());
    prompter.VerifyDone();
    EXPECT_EQ(test::ReadWholeFile(ini), saved);
    // kest-cli saves on opening the catalog and after the search: one
    // report, and the exit status says so.
    test::TempDir elsewhere;
    std::string catalog = elsewhere.File("a.kst");
    std::string elsewhereHome = "--home " + test::ShellQuote(elsewhere.Path().string());
    ASSERT_EQ(test::RunCli(elsewhereHome + " create " + test::ShellQuote(catalog)).status, 0);
    auto result = test::RunCli("--home " + test::ShellQuote(home.Path().string()) + " --catalog " +
                               test::ShellQuote(catalog) + " search x");
    EXPECT_EQ(result.status, 1);
    std::string said = result.out + result.err;
    size_t first = said.find("Disk full");
    EXPECT_NE(first, std::string::npos) << said;
    EXPECT_EQ(said.find("Disk full", first + 1), std::string::npos) << said;
    // Room again: the next save works, and keeps the file's mode.
    std::filesystem::remove(home.File("filler"));
    EXPECT_TRUE(session.SaveSettings());
    struct stat st {};
    ASSERT_EQ(stat(ini.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

}  // namespace
}  // namespace kest::app
