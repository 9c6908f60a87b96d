// kest-cli compact, repair, reindex, save-as, close, properties and password.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/engine/Database.h"
#include "core/engine/EngineError.h"
#include "core/engine/SearchIndex.h"
#include "support/RunCli.h"
#include "support/TempDir.h"
#include "support/search/SearchFixture.h"

namespace kest {
namespace {

using test::RunCli;
using test::ShellQuote;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::Not;

class MaintenanceCli : public ::testing::Test {
  protected:
    void SetUp() override {
        home = " --home " + ShellQuote(dir.Path().string()) + " ";
        ASSERT_EQ(RunCli(home + "create " + ShellQuote(dir.File("kest001.kst"))).status, 0);
    }
    test::CliResult Run(const std::string& args) { return RunCli(home + args); }
    std::string Ini() const { return test::ReadWholeFile(dir.File("Kest.ini")); }

    test::TempDir dir;
    std::string home;
};

TEST_F(MaintenanceCli, CompactPrintsBothSizes) {
    auto result = Run("compact");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.out, MatchesRegex("Size before compact/repair:\t[0-9.]+ KB\n"
                                         "Size after compact/repair:\t[0-9.]+ KB\n"));
    EXPECT_THAT(result.err, HasSubstr("--- message: Compact/Repair successful\n"));
}

TEST_F(MaintenanceCli, ReindexRebuildsADamagedIndex) {
    {
        auto db = engine::Database::Open(dir.File("kest001.kst"), "");
        db->Execute("INSERT INTO tblDiscs (DiscSer) VALUES ('1')");
        for (int i = 0; i < 50; ++i)
            db->Execute("INSERT INTO tblFiles (KestId, FileDir, FileName) VALUES (1, 'd/', 'n" +
                        std::to_string(i) + ".txt')");
        engine::ExecOrThrow(db->Handle(),
                            "INSERT INTO _kest_fx_files (_kest_fx_files, rowid, FileName) "
                            "VALUES ('delete', 20, 'n19.txt')");
        EXPECT_NE(engine::CompleteSearchIndexes(db->Handle()), engine::AllSearchIndexes());
    }
    auto result = Run("reindex");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.err,
                HasSubstr("--- message: Rebuild Search Index\nThe search index was rebuilt.\n"));
    auto db = engine::Database::Open(dir.File("kest001.kst"), "");
    EXPECT_EQ(engine::CompleteSearchIndexes(db->Handle()), engine::AllSearchIndexes());
}

TEST_F(MaintenanceCli, PasswordSetChangeAndRemoveFollowTheWindowsRules) {
    auto set = Run("password set 'my pass' 'my pass'");
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_THAT(set.err, HasSubstr("Password success\nThe password has been set successfully!"));
    // From now on every command needs it, and compaction keeps it.
    EXPECT_EQ(Run("compact").status, 1);
    EXPECT_EQ(Run("compact --password 'my pass'").status, 0);
    auto wrongOld = Run("--password 'my pass' password change 'My pass' abcd abcd");
    EXPECT_EQ(wrongOld.status, 1);
    EXPECT_THAT(wrongOld.err, HasSubstr("Old password error\nThe old password was entered "
                                        "incorrectly!\nPlease try again."));
    auto tooShort = Run("--password 'my pass' password change 'my pass' abc abc");
    EXPECT_EQ(tooShort.status, 1);
    EXPECT_THAT(tooShort.err, HasSubstr("New password error\nThe new password must be between 4 "
                                        "and 16 characters!"));
    EXPECT_EQ(Run("--password 'my pass' password change 'my pass' Neu4 Neu4").status, 0);
    EXPECT_EQ(Run("password remove --password Neu4").status, 0);
    EXPECT_EQ(Run("compact").status, 0);
    EXPECT_THAT(Ini(), Not(HasSubstr("Neu4")));
    EXPECT_THAT(RunCli("password --help").out, HasSubstr("it does not encrypt the file"));
}

TEST_F(MaintenanceCli, SaveAsMakesTheCopyTheStartupCatalogAndCloseForgetsIt) {
    std::filesystem::create_directory(dir.File("cats"));
    auto saved = Run("save-as " + ShellQuote(dir.File("cats/copy.kst")));
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_THAT(Ini(), HasSubstr("DatabaseName=copy.kst"));
    EXPECT_TRUE(std::filesystem::exists(dir.File("kest001.kst")));
    auto again = Run("save-as " + ShellQuote(dir.File("kest001.kst")));
    EXPECT_EQ(again.status, 1);
    EXPECT_THAT(again.err, HasSubstr("Over-write file?\n" + dir.File("kest001.kst") +
                                     "\nThe file already exists!"));
    EXPECT_EQ(Run("close").status, 0);
    EXPECT_THAT(Ini(), HasSubstr("DatabaseName=?null?"));
    // The catalog's folder stays, for the next file dialog.
    EXPECT_THAT(Ini(), HasSubstr("DatabaseDir=" + dir.File("cats")));
}

TEST_F(MaintenanceCli, SqlSaysWhenThePasswordIsRefused) {
    ASSERT_EQ(Run("password set Secret1 Secret1").status, 0);
    auto refused = Run("sql " + ShellQuote(dir.File("kest001.kst")) + " 'SELECT 1'");
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.out, HasSubstr("error 3031: Not a valid password."));
    auto given =
        Run("--password Secret1 sql " + ShellQuote(dir.File("kest001.kst")) + " 'SELECT 1'");
    EXPECT_EQ(given.status, 0) << given.err;
}

TEST_F(MaintenanceCli, PropertiesPrintTheReportAndWriteKestLogOnYes) {
    auto no = Run("properties");
    EXPECT_EQ(no.status, 0) << no.err;
    EXPECT_THAT(no.out, HasSubstr("Database File Properties:\n"));
    EXPECT_THAT(no.out, HasSubstr("Pwd: \tNo\n\nDatabase Contents:\n"));
    EXPECT_THAT(no.err, HasSubstr("[buttons=YesNo icon=Information default=No] -> No"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("Kest.log")));
    EXPECT_EQ(Run("properties --answer Yes").status, 0);
    EXPECT_THAT(test::ReadWholeFile(dir.File("Kest.log")),
                HasSubstr("Database File Properties:\r\n"));
}

TEST_F(MaintenanceCli, RepairTellsWhatIsNoCatalog) {
    auto repaired = Run("repair " + ShellQuote(dir.File("kest001.kst")));
    EXPECT_EQ(repaired.status, 0) << repaired.err;
    EXPECT_THAT(repaired.err, HasSubstr(" repaired successfully.\n \nIt is recommended"));
    std::string text = dir.Write("notes.kst", "not a catalog");
    auto refused = Run("repair " + ShellQuote(text));
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, HasSubstr("--- message: Error in repairing database\n3343\n"));
}

}  // namespace
}  // namespace kest
