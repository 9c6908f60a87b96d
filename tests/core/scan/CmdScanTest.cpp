#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/RunCli.h"
#include "support/TempDir.h"

namespace kest {
namespace {

using test::ShellQuote;

class CmdScanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"a.txt", "b.txt", "sub/c.txt", "sub/d.txt"}) disc.Write(name, "x");
        ASSERT_EQ(Cli("create " + ShellQuote(home.File("kest001.kst"))).status, 0);
    }
    test::CliResult Cli(const std::string& args) {
        return test::RunCli("--home " + ShellQuote(home.Path().string()) + " " + args);
    }
    test::CliResult Scan(const std::string& extra, const std::string& scanExtra = "") {
        return Cli(extra + " scan " + ShellQuote(disc.Path().string()) +
                   " --drive-type optical --volume-label CLI_DISC --volume-serial 0000-0ABC" +
                   scanExtra);
    }
    test::TempDir home, disc;
};

TEST_F(CmdScanTest, ScansIntoTheStartupCatalogAndPrintsTheSummaryLast) {
    auto result = Scan("--input 'From the CLI'");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.out, ::testing::MatchesRegex(
                                "Added 4 files from Disc with label CLI_DISC\\. \\([0-9]+ s\\)\n"));
    auto discs = Cli("sql " + ShellQuote(home.File("kest001.kst")) +
                     " 'SELECT DiscSer, DiscLbl, DiscDesc, DiscNumF FROM tblDiscs'");
    EXPECT_THAT(discs.out, ::testing::HasSubstr("0000-0ABC\tCLI_DISC\tFrom the CLI\t4"));
}

TEST_F(CmdScanTest, CancelAfterStopsWithTheAbortError) {
    auto result = Scan("--input cancelled", " --cancel-after 2");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "Error (-2147220727) in scanning Disc! See Help>Content>Errors\n");
    EXPECT_THAT(result.err, ::testing::HasSubstr("The scan was aborted!"));
}

}  // namespace
}  // namespace kest
