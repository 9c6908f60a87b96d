#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/catalog/CatalogCheck.h"
#include "core/catalog/CatalogSchema.h"
#include "core/common/KestError.h"
#include "support/ScriptedPrompter.h"
#include "support/catalog/CatalogFixture.h"

namespace kest {
namespace {

using test::ScriptedPrompter;
using test::TempDir;
using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr const char* kUpgradeText =
    "This version of Kest requires a new database format.\r\n\r\n"
    "The required modifications will be as follows:\r\n"
    "1. New tables will be added as well as modifications to\r\n"
    "the exisiting tables.\r\n"
    "2. All records with a folder name of \"[root]\" will be\r\n"
    "changed to \"<root>\".\r\n"
    "3. New methodology for storing the file size.\r\n\r\n"
    "A backup will be made with the extension \".old\"\r\n"
    "before updating.\r\n\r\n"
    "Would you like to update the database format now?\r\n"
    "(This might take a few minutes and will be done only once.)";

void ExpectUpgradeQuestion(ScriptedPrompter& p, Answer answer) {
    p.ExpectMessage("New DB format", kUpgradeText, Icon::Exclamation, Buttons::YesNo, 1, answer);
}

TEST(CheckCatalog, CodesForMissingForeignAndIncompleteFiles) {
    TempDir dir;
    ScriptedPrompter prompter;
    EXPECT_EQ(CheckCatalog(dir.File("none.kst"), prompter).code, kCheckMissing);

    CheckResult text = CheckCatalog(dir.Write("notes.kst", "just text"), prompter);
    EXPECT_FALSE(text.valid);
    EXPECT_EQ(text.code, kCheckEngineError);
    EXPECT_EQ(text.errorNumber, err::kUnrecognizedFormat);

    auto bare = engine::Database::Create(dir.File("bare.kst"));
    bare->CreateTable(DiscsTableDef());
    bare.reset();
    EXPECT_EQ(CheckCatalog(dir.File("bare.kst"), prompter).code, kCheckWrongFormat);

    // A tblFiles that lacks FileDate is no catalog.
    auto partial = engine::Database::Create(dir.File("partial.kst"));
    partial->CreateTable(DiscsTableDef());
    engine::TableDef files = FilesTableDef();
    files.fields.erase(files.fields.begin() + 6);
    partial->CreateTable(files);
    partial.reset();
    EXPECT_EQ(CheckCatalog(dir.File("partial.kst"), prompter).code, kCheckWrongFormat);
}

TEST(CheckCatalog, AcceptsOtherLetterCasesAndAMissingSubfileTable) {
    TempDir dir;
    auto db = engine::Database::Create(dir.File("cases.kst"));
    engine::TableDef discs = DiscsTableDef();
    discs.name = "TBLDISCS";
    discs.fields[1].name = "DISCSER";
    engine::TableDef files = FilesTableDef();
    files.fields[3].name = "filename";
    files.fields[7].name = "FILEDESC";
    db->CreateTable(discs);
    db->CreateTable(files);
    db.reset();
    ScriptedPrompter prompter;
    CheckResult result = CheckCatalog(dir.File("cases.kst"), prompter);
    EXPECT_TRUE(result.valid);
    EXPECT_FALSE(engine::Database::Open(dir.File("cases.kst"), "")->HasTable("tblSubFiles"));
}

TEST(CheckCatalog, PasswordPromptRepeatsUntilRightOrCancelled) {
    TempDir dir;
    std::string path = test::MakeCatalogFile(dir);
    engine::Database::Open(path, "")->SetPassword("", "Pw1");
    {
        ScriptedPrompter prompter;
        prompter.ExpectPassword("pw1").ExpectPassword("wrong").ExpectPassword("Pw1");
        CheckResult result = CheckCatalog(path, prompter);
        EXPECT_TRUE(result.valid);
        EXPECT_EQ(result.password, "Pw1");
    }
    {
        ScriptedPrompter prompter;
        prompter.ExpectPassword("nope").ExpectPassword(std::nullopt);
        CheckResult result = CheckCatalog(path, prompter);
        EXPECT_FALSE(result.valid);
        EXPECT_EQ(result.code, kCheckPasswordCancelled);
        EXPECT_EQ(result.password, "");
    }
}

TEST(CheckCatalog, CatalogInUseIsAnEngineError) {
    TempDir dir;
    std::string path = test::MakeCatalogFile(dir);
    auto holder = engine::Database::Open(path, "");
    ScriptedPrompter prompter;
    CheckResult result = CheckCatalog(path, prompter);
    EXPECT_EQ(result.code, kCheckEngineError);
    EXPECT_EQ(result.errorNumber, err::kFileInUse);
}

TEST(CheckCatalog, OlderFormatDeclinedKeepsTheFile) {
    TempDir dir;
    std::string path = test::MakeOldFormatCatalog(dir);
    ScriptedPrompter prompter;
    ExpectUpgradeQuestion(prompter, Answer::No);
    CheckResult result = CheckCatalog(path, prompter);
    EXPECT_EQ(result.code, kCheckWrongFormat);
    EXPECT_FALSE(std::filesystem::exists(path + ".old"));
    EXPECT_FALSE(engine::Database::Open(path, "")->Table("tblFiles").Field("FileDesc"));
}

TEST(CheckCatalog, ExistingBackupIsReplacedOnlyWhenAgreed) {
    TempDir dir;
    std::string path = test::MakeOldFormatCatalog(dir);
    dir.Write("old.kst.old", "previous backup");
    {
        ScriptedPrompter prompter;
        ExpectUpgradeQuestion(prompter, Answer::Yes);
        prompter.ExpectMessage(
            "Backup file exists",
            path + ".old\r\n\r\nThe file already exists.\r\nDo you want to overwrite it?",
            Icon::Question, Buttons::YesNo, 2, Answer::No);
        EXPECT_EQ(CheckCatalog(path, prompter).code, kCheckWrongFormat);
        EXPECT_EQ(std::filesystem::file_size(path + ".old"), 15u);
    }
    ScriptedPrompter prompter;
    ExpectUpgradeQuestion(prompter, Answer::Yes);
    prompter.ExpectMessage("Backup file exists", StartsWith(path + ".old\r\n"), Icon::Question,
                           Buttons::YesNo, 2, Answer::Yes);
    prompter.ExpectNotice(
        "DB update success",
        "Success in updating the database format!\r\n\r\nFor optimum performance, please compact "
        "the database.",
        Icon::Information);
    EXPECT_TRUE(CheckCatalog(path, prompter).valid);
    // The backup holds the catalog as it was.
    EXPECT_FALSE(engine::Database::Open(path + ".old", "")->Table("tblFiles").Field("FileDesc"));
}

TEST(UpgradeCatalog, ConvertsEveryTableToTheCurrentFormat) {
    TempDir dir;
    std::string path = test::MakeOldFormatCatalog(dir);
    ScriptedPrompter prompter;
    ExpectUpgradeQuestion(prompter, Answer::Yes);
    prompter.ExpectNotice("DB update success", HasSubstr("compact"), Icon::Information);
    ASSERT_TRUE(CheckCatalog(path, prompter).valid);

    auto db = engine::Database::Open(path, "");
    std::vector<std::string> names;
    for (const auto& f : db->Table("tblFiles").fields) names.push_back(f.name);
    EXPECT_EQ(names, (std::vector<std::string>{"FileId", "KestId", "FileDir", "FileName", "FileAtt",
                                               "FileSize", "FileDate", "FileDesc"}));
    names.clear();
    for (const auto& f : db->Table("tblDiscs").fields) names.push_back(f.name);
    EXPECT_EQ(names, (std::vector<std::string>{"KestId", "DiscSer", "DiscFSys", "DiscLbl",
                                               "DiscDesc", "DiscNumF"}));
    auto files = db->Query(
        "SELECT FileId, FileDir, FileSize, FileAtt, FileDate FROM tblFiles ORDER BY FileId");
    ASSERT_EQ(files.rows.size(), 2u);
    EXPECT_EQ(engine::ValueText(files.rows[0][0]), "1");
    EXPECT_EQ(engine::ValueText(files.rows[0][1]), "<root>");
    EXPECT_EQ(engine::ValueText(files.rows[0][2]), "2000000");
    EXPECT_EQ(engine::ValueText(files.rows[0][3]), "32");
    EXPECT_EQ(engine::ValueText(files.rows[0][4]), "1998-01-02 03:04:05");
    EXPECT_EQ(engine::ValueText(files.rows[1][1]), "\\docs\\");
    EXPECT_EQ(engine::ValueText(files.rows[1][2]), "500000");
    auto disc = db->Query("SELECT DiscSer, DiscFSys, DiscLbl, DiscDesc FROM tblDiscs");
    EXPECT_EQ(engine::ValueText(disc.rows[0][0]), "305419896");
    EXPECT_EQ(engine::ValueText(disc.rows[0][2]), "OLDDISC");
    EXPECT_TRUE(db->HasTable("tblSubFiles"));
    EXPECT_TRUE(db->Query("SELECT * FROM tblSubFiles").rows.empty());
    EXPECT_EQ(db->Table("tblSubFiles").indexes.size(), 4u);
    EXPECT_TRUE(db->Table("tblFiles").Field("FileId")->IsCounter());
    // New rows get fresh file ids, and the upgraded catalog passes without a prompt.
    db->Execute("INSERT INTO tblFiles (KestId, FileDir, FileName) VALUES (1, '<root>', 'c')");
    EXPECT_EQ(db->LastInsertId(), 3);
    db.reset();
    ScriptedPrompter quiet;
    EXPECT_TRUE(CheckCatalog(path, quiet).valid);
}

TEST(ShowOpenWarning, TextsForEachCodeAndMode) {
    ScriptedPrompter prompter;
    prompter.ExpectMessage(
        "Load Database Warning...",
        "Default database was not found.\r\nWould you like to create a new database?",
        Icon::Exclamation, Buttons::YesNo, 1, Answer::Yes);
    prompter.ExpectNotice("Open Database Warning...", "The database was in the wrong format.",
                          Icon::Critical);
    prompter.ExpectNotice("Open Database Warning...", "The database password was incorrect.",
                          Icon::Critical);
    prompter.ExpectNotice(
        "Open Database Warning...",
        "There was an error in opening the database.\r\n \r\n3343\r\nUnrecognized database format "
        "'x'.",
        Icon::Critical);
    EXPECT_EQ(ShowOpenWarning(prompter, 1, 1, 0, ""), Answer::Yes);
    ShowOpenWarning(prompter, 2, 2, 0, "");
    ShowOpenWarning(prompter, 3, 0, 0, "");
    ShowOpenWarning(prompter, 0, 2, 3343, "Unrecognized database format 'x'.");
}

}  // namespace
}  // namespace kest
