#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/engine/Database.h"
#include "support/RunCli.h"
#include "support/TempDir.h"
#include "support/catalog/CatalogFixture.h"

namespace kest {
namespace {

using test::RunCli;
using test::ShellQuote;
using test::TempDir;
using ::testing::HasSubstr;

TEST(CatalogCli, CreateCheckSchemaAndSql) {
    TempDir dir;
    std::string home = " --home " + ShellQuote(dir.Path().string());
    std::string path = ShellQuote(dir.File("cli.kst"));
    auto created = RunCli("create " + path + home);
    EXPECT_EQ(created.status, 0) << created.err;
    EXPECT_THAT(created.err,
                HasSubstr("--- message: Create New Database\nThe new database was created.\n"
                          "[buttons=OKOnly icon=Information default=OK] -> OK"));
    // A second create asks before overwriting; the default answer is No.
    auto again = RunCli(home + " create " + path);
    EXPECT_EQ(again.status, 1);
    EXPECT_THAT(
        again.err,
        HasSubstr("--- message: Database Exists\nThe database already exists.\n"
                  "Do you want to overwrite it?\n[buttons=YesNo icon=Critical default=No] -> No"));

    auto check = RunCli("check " + path);
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.out, "code=0 valid=true error=0\n");
    auto missing = RunCli("check " + ShellQuote(dir.File("none.kst")));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "code=1 valid=false error=0\nDefault database was not found.\n");

    auto schema = RunCli("schema " + path);
    EXPECT_THAT(schema.out, HasSubstr("TABLE\ttblFiles\nFIELD\t0\tFileId\tLong\t4\tno\tno\t\t17\n"
                                      "FIELD\t1\tKestId\tLong\t4\tyes\tno\t1\t1\n"));
    EXPECT_THAT(schema.out, HasSubstr("INDEX\tKestId1\tno\tno\tKestId\n"));

    EXPECT_EQ(
        RunCli("sql " + path + " " + ShellQuote("INSERT INTO tblDiscs (DiscLbl) VALUES ('A')")).out,
        "rows=1\n");
    EXPECT_EQ(RunCli("sql " + path + " " +
                     ShellQuote("SELECT KestId AS [Kest ID ], DiscLbl, DiscDesc FROM tblDiscs"))
                  .out,
              "Kest ID \tDiscLbl\tDiscDesc\n1\tA\t\n");
    auto bad = RunCli("sql " + path + " " + ShellQuote("SELECT FROM"));
    EXPECT_EQ(bad.status, 1);
    EXPECT_THAT(bad.out, HasSubstr("error 3075: "));
}

TEST(CatalogCli, PasswordsComeFromTheQueueThenCancel) {
    TempDir dir;
    std::string path = test::MakeCatalogFile(dir);
    engine::Database::Open(path, "")->SetPassword("", "pw");
    auto cancelled = RunCli("check " + ShellQuote(path) + " --password wrong");
    EXPECT_EQ(cancelled.out, "code=3 valid=false error=0\nThe database password was incorrect.\n");
    EXPECT_EQ(RunCli("--password bad --password pw check " + ShellQuote(path)).status, 0);
}

}  // namespace
}  // namespace kest
