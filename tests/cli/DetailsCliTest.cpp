#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/RunCli.h"
#include "support/catalog/CatalogFixture.h"
#include "support/search/SearchFixture.h"

namespace kest::details {
namespace {

using test::ShellQuote;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class DetailsCli : public ::testing::Test {
  protected:
    void SetUp() override { test::MakeSearchCatalog(home).reset(); }
    test::CliResult Run(const std::string& args) {
        return test::RunCli("--home " + ShellQuote(home.Path().string()) + " " + args);
    }
    std::string Rows(const std::string& sql) {
        auto db = engine::Database::Open(home.File("kest001.kst"), "");
        return test::QueryText(*db, sql);
    }
    test::TempDir home;
};

TEST_F(DetailsCli, FileDetailsPrintTheWindowsFields) {
    home.Write("Kest.ini", "[Search_Options]\nSizeFormat=2\nSizeNumDec=2\n");
    auto r = Run("file-details 2");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.OutLines(), ElementsAre("KestID\t1", "FileID\t2", "Directory\t<root>",
                                          "Name\tO'Brien.doc", "Attributes\tA", "Size (KB)\t2.00",
                                          "Date\t01/01/03 12:00:00 AM", "Description\tletter"));
    for (const char* id : {"99", "-4", "abc", "99999999999999999999"}) {
        r = Run(std::string("file-details ") + ShellQuote(id));
        EXPECT_EQ(r.status, 1) << id;
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_THAT(Run("file-details 99").err, HasSubstr("No record with FileID=99"));
}

TEST_F(DetailsCli, DescribeFileOneOrSeveral) {
    auto r = Run("--answer yes describe-file --text " + ShellQuote("it's\nnew") + " 1");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr("The update was successful."));
    r = Run("describe-file --text declined 1");  // the question's default is No
    EXPECT_EQ(r.status, 1);
    r = Run("--answer yes describe-file --text both 7 8 7");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr("The file description update was successful."));
    EXPECT_EQ(Rows("SELECT FileId, FileDesc FROM tblFiles WHERE FileId IN (1, 7, 8)"),
              "1|it's new\n7|both\n8|both\n");
}

TEST_F(DetailsCli, DiscDetailsDescribeAndDelete) {
    home.Write("Kest.ini", "[Discs_Options]\nShowUsedSpace=True\n");
    auto r = Run("disc-details 2");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.OutLines(), ElementsAre("Kest ID\t2", "Serial\t0000-0001", "File System\tCDFS",
                                          "Volume Label\tPHOTOS", "Description\tHoliday",
                                          "Files\t2", "US (MB) \t1.0000"));
    EXPECT_EQ(Run("disc-details 3").status, 1);  // a disc without files is not listed

    r = Run("--answer yes describe-disc --text " + ShellQuote(std::string(256, 'd')) + " 2");
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Error in updating description"));
    r = Run("--answer yes describe-disc --text " + ShellQuote("kids' games") + " 2");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Rows("SELECT DiscDesc FROM tblDiscs WHERE KestId = 2"), "kids' games\n");

    r = Run("--answer yes delete-disc 2");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr("For optimum performance please compact the database."));
    EXPECT_THAT(r.err, HasSubstr("2 discs (6 files) in kest001.kst database."));
    r = Run("--answer yes delete-disc 1 3");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr("Kest Id:\n1,3\n"));
    EXPECT_EQ(Rows("SELECT COUNT(*) FROM tblDiscs") + Rows("SELECT COUNT(*) FROM tblFiles"),
              "0\n0\n");
    EXPECT_NE(Run("--answer yes delete-disc 1 x").status, 0);
}

TEST_F(DetailsCli, OpenChecksTheDriveAndPrintsTheActionOnADryRun) {
    std::string drive = home.File("drive");
    home.Write("drive/docs/Setup.EXE", "x");
    std::string root = drive + "/";
    auto r = Run("--answer yes --answer yes open --dry-run --drive " + ShellQuote(drive) + " 4");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "open\t" + root + "docs/Setup.EXE\n");
    EXPECT_THAT(r.err, HasSubstr("Open File: " + root + "docs/Setup.EXE"));

    r = Run("--answer yes --answer yes open --explore --dry-run --drive " + ShellQuote(drive) +
            " 4");
    EXPECT_EQ(r.out, "explore\t" + root + "docs/\tSetup.EXE\n");
    r = Run("--answer yes --answer yes open --folder --dry-run --drive " + ShellQuote(drive) +
            " 4");
    EXPECT_EQ(r.out, "open-folder\t" + root + "docs/\n");

    r = Run("open --dry-run --drive " + ShellQuote(home.File("gone")) + " 4");
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Directory not found!"));
    r = Run("--answer no open --dry-run --drive " + ShellQuote(drive) + " 4");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_THAT(Run("open 99").err, HasSubstr("no records"));

    r = Run("view-log --dry-run");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "open\t" + home.File("Kest.dat") + "\n");
}

}  // namespace
}  // namespace kest::details
