#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/RunCli.h"
#include "support/search/SearchFixture.h"

namespace kest::search {
namespace {

using test::ShellQuote;
using ::testing::EndsWith;
using ::testing::HasSubstr;

class SearchCli : public ::testing::Test {
  protected:
    void SetUp() override {
        test::MakeSearchCatalog(home).reset();
        home.Write("Kest.ini", "[Save_List]\nOpenAfterSaving=False\n");
    }
    test::CliResult Run(const std::string& args) {
        return test::RunCli("--home " + ShellQuote(home.Path().string()) + " " + args);
    }
    test::TempDir home;
};

TEST_F(SearchCli, PrintsTheShownColumnsAndCounts) {
    auto r = Run("search --show-sql --sort 'File Name:desc' readme");
    ASSERT_EQ(r.status, 0) << r.err;
    auto lines = r.OutLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_THAT(lines[0], ::testing::StartsWith("SELECT tblFiles.KestId AS [Kest ID ]"));
    EXPECT_EQ(lines[1], "Kest ID \tFile Directory \tFile Name v\tFile Size (MB) ");
    EXPECT_EQ(lines[2], "1\t<root>\treadme.txt\t0.0015");
    EXPECT_EQ(lines[3], "2\t<root>\tREADME.TXT\t0.0000");
    EXPECT_THAT(r.err, HasSubstr("Matches Found: 2\nSearch time: "));
    EXPECT_THAT(test::ReadWholeFile(home.File("Kest.ini")), HasSubstr("Current=readme"));
}

TEST_F(SearchCli, BoundsAndValidation) {
    auto r = Run("search --disc-from 2 --size-to 0.001 '*'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.OutLines().size(), 2u);  // header and README.TXT
    r = Run("search --date-from 'not a date' x");
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Date - Lower Bound Error"));
    EXPECT_THAT(r.err, HasSubstr("Valid date is required!"));
}

TEST_F(SearchCli, ContentsDiscsAndSaving) {
    auto r = Run("contents 2");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.OutLines().size(), 3u);
    r = Run("contents");
    EXPECT_THAT(r.err, HasSubstr("Matches Found: 8"));

    std::string file = home.File("discs.csv");
    r = Run("discs --save-csv " + ShellQuote(file));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.OutLines().size(), 4u);
    EXPECT_THAT(r.err, HasSubstr("3 discs (8 files) in kest001.kst database."));
    std::string csv = test::ReadWholeFile(file);
    EXPECT_THAT(csv, HasSubstr("\"3\",\"0000-0002\",\"CDFS\",\"EMPTY\",\"\",\"0\",\r\n"));
    EXPECT_THAT(csv, EndsWith("\r\n"));
}

}  // namespace
}  // namespace kest::search
