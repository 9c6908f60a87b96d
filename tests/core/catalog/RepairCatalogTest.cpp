// Repairing a catalog file: the check, the salvage of a damaged file and the
// command that picks any file, the open catalog included.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/catalog/RepairCatalog.h"
#include "core/common/KestError.h"
#include "core/text/UnicodeCase.h"
#include "support/ScriptedPrompter.h"
#include "support/catalog/CatalogFixture.h"
#include "support/catalog/MaintenanceFixture.h"
#include "support/catalog/RecordingHost.h"
#include "support/search/SearchFixture.h"

namespace kest {
namespace {

using test::QueryText;
using test::ScriptedPrompter;
using test::TempDir;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr const char* kAdvice =
    " repaired successfully.\r\n \r\nIt is recommended that you open the database and then "
    "compact the database.";

class RepairTest : public ::testing::Test {
  protected:
    void ExpectRepaired(const std::string& path, const std::string& lostLine = "") {
        prompter.ExpectNotice("Repair successful", text::UpperCase(path) + kAdvice + lostLine,
                              Icon::Information);
    }
    void ExpectDialog(const std::string& path) {
        prompter.ExpectOpenFile("Choose Database to be Repaired...", path);
    }

    TempDir dir;
    test::RecordingHost host;
    CurrentCatalog current;
    ScriptedPrompter prompter;
};

TEST_F(RepairTest, ASoundCatalogIsLeftAsItIs) {
    std::string path = test::MakeFilledCatalog(dir, "sound.kst", 100, "pw1234");
    std::string rows = test::CatalogSnapshot(path, "pw1234");
    host.folder = "/prog";
    ExpectDialog(path);
    prompter.ExpectPassword("pw1234");
    ExpectRepaired(path);
    RepairCommand(current, host, prompter);
    prompter.VerifyDone();
    EXPECT_EQ(prompter.LastFileDialog().flags, 36868);
    EXPECT_EQ(prompter.LastFileDialog().initialDir, "/prog");
    EXPECT_EQ(host.calls, std::vector<std::string>{"tray"});
    EXPECT_FALSE(std::filesystem::exists(path + ".damaged"));
    EXPECT_EQ(test::CatalogSnapshot(path, "pw1234"), rows);
}

TEST_F(RepairTest, ADamagedTablePageIsSalvagedRowByRowAndTheRestComesBack) {
    const int files = 3000;
    std::string path = test::MakeFilledCatalog(dir, "damaged.kst", files, "pw1234");
    std::string original;
    {
        auto db = engine::Database::Open(path, "pw1234");
        original = QueryText(*db, "SELECT KestId, DiscLbl FROM tblDiscs") +
                   QueryText(*db, "SELECT SubFileName, SubFileSize FROM tblSubFiles");
    }
    test::DamageFirstLeafPage(path, "tblFiles", "pw1234");
    std::string damagedBytes = test::ReadWholeFile(path);
    ExpectDialog(path);
    prompter.ExpectPassword("pw1234");
    prompter.ExpectNotice(
        "Repair successful",
        AllOf(StartsWith(text::UpperCase(path) + kAdvice + "\r\n"),
              EndsWith("\r\nThe damaged original was kept as " + path + ".damaged.")),
        Icon::Information);
    RepairCommand(current, host, prompter);
    prompter.VerifyDone();

    // The damaged file is kept beside the repaired one.
    EXPECT_TRUE(test::ReadWholeFile(path + ".damaged") == damagedBytes);
    auto db = engine::Database::Open(path, "pw1234");
    EXPECT_EQ(db->IntegrityProblems(), std::vector<std::string>{});
    // The rows of the overwritten page are the first ones; every later row
    // came back whole.
    auto ids = db->Query("SELECT FileId, FileName, FileSize FROM tblFiles ORDER BY FileId").rows;
    ASSERT_FALSE(ids.empty());
    int64_t first = std::get<int64_t>(ids.front()[0]);
    EXPECT_GT(first, 1);
    EXPECT_EQ(static_cast<int64_t>(ids.size()), files - first + 1);
    for (const auto& row : ids) {
        int64_t id = std::get<int64_t>(row[0]);
        EXPECT_EQ(std::get<std::string>(row[1]), "file" + std::to_string(id) + ".txt");
        EXPECT_EQ(std::get<int64_t>(row[2]), id * 1000);
    }
    std::string lost = "\r\nRecovered rows: 1 in tblDiscs, " + std::to_string(ids.size()) +
                       " in tblFiles, 2 in tblSubFiles.\r\n" + std::to_string(first - 1) +
                       " damaged rows could not be recovered.\r\n";
    EXPECT_THAT(prompter.Seen().back(), HasSubstr(lost));
    // The other tables, the counters, the lock and the indexes are kept.
    EXPECT_EQ(QueryText(*db, "SELECT KestId, DiscLbl FROM tblDiscs") +
                  QueryText(*db, "SELECT SubFileName, SubFileSize FROM tblSubFiles"),
              original);
    EXPECT_EQ(QueryText(*db, "SELECT seq FROM sqlite_sequence WHERE name = 'tblDiscs'"), "2\n");
    EXPECT_EQ(db->Table("tblFiles").indexes.size(), 3u);
    db.reset();
    EXPECT_THROW(engine::Database::Open(path, ""), KestError);
    EXPECT_EQ(test::JournalModeOf(path, "pw1234"), "wal");
}

TEST_F(RepairTest, FilesThatAreNoCatalogAreReportedAndLeftAlone) {
    struct Case {
        const char* name;
        std::string content;
        long error;
    };
    const Case cases[] = {
        {"empty.kst", "", 3343},
        {"notes.kst", "just some text, not a catalog", 3343},
        {"header.kst", std::string("SQLite format 3\0", 16) + std::string(84, '\xff'), 3343}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = dir.Write(c.name, c.content);
        ExpectDialog(path);
        // The engine's repair is asked, its message shown, then its error.
        ExpectRepaired(path);
        prompter.ExpectNotice("Error in repairing database",
                              StartsWith(std::to_string(c.error) + "\r\n"), Icon::Critical);
        RepairCommand(current, host, prompter);
        prompter.VerifyDone();
        EXPECT_EQ(test::ReadWholeFile(path), c.content);
        EXPECT_FALSE(std::filesystem::exists(path + ".damaged"));
        EXPECT_FALSE(std::filesystem::exists(path + ".salvage"));
    }
}

TEST_F(RepairTest, ATruncatedCatalogKeepsWhatCanBeRead) {
    std::string path = test::MakeFilledCatalog(dir, "cut.kst", 3000);
    auto size = std::filesystem::file_size(path);
    std::filesystem::resize_file(path, size / 2);
    std::string cut = test::ReadWholeFile(path);
    ExpectDialog(path);
    prompter.ExpectNotice("Repair successful", StartsWith(text::UpperCase(path) + kAdvice),
                          Icon::Information);
    RepairCommand(current, host, prompter);
    prompter.VerifyDone();
    EXPECT_TRUE(test::ReadWholeFile(path + ".damaged") == cut);
    auto db = engine::Database::Open(path, "");
    EXPECT_EQ(db->IntegrityProblems(), std::vector<std::string>{});
    EXPECT_EQ(QueryText(*db, "SELECT DiscLbl FROM tblDiscs"), "PHOTOS\n");
}

TEST_F(RepairTest, ACancelledPasswordEndsInAWarning) {
    std::string path = test::MakeFilledCatalog(dir, "locked.kst", 5, "pw1234");
    ExpectDialog(path);
    prompter.ExpectPassword("wrong");
    prompter.ExpectPassword(std::nullopt);
    prompter.ExpectNotice("Warning in repairing database", "3031\r\nNot a valid password.",
                          Icon::Information);
    RepairCommand(current, host, prompter);
    // A cancelled dialog ends quietly.
    prompter.ExpectOpenFile("Choose Database to be Repaired...", std::nullopt);
    RepairCommand(current, host, prompter);
    prompter.VerifyDone();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"tray", "tray"}));
}

TEST_F(RepairTest, TheOpenCatalogIsClosedRepairedAndOpenedAgain) {
    std::string path = test::MakeFilledCatalog(dir, "open.kst", 3000, "pw1234");
    test::DamageFirstLeafPage(path, "tblFiles", "pw1234");
    current.path = path;
    current.password = "pw1234";
    current.database = engine::Database::Open(path, "pw1234");
    ExpectDialog(path);
    prompter.ExpectNotice("Repair successful", HasSubstr("could not be recovered."),
                          Icon::Information);
    RepairCommand(current, host, prompter);
    prompter.VerifyDone();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"release", "replaced", "tray"}));
    ASSERT_TRUE(current.HasDatabase());
    EXPECT_EQ(current.Db().IntegrityProblems(), std::vector<std::string>{});
}

}  // namespace
}  // namespace kest
