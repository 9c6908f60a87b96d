// The catalog file: its tables, the check that opens it and the upgrade of
// the older format.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/catalog/CatalogCheck.h"
#include "core/catalog/CatalogPaths.h"
#include "core/catalog/CatalogSchema.h"
#include "core/common/KestError.h"
#include "support/ScriptedPrompter.h"
#include "support/catalog/CatalogFixture.h"

namespace kest {
namespace {

using test::QueryText;
using test::ScriptedPrompter;
using test::TempDir;
using ::testing::HasSubstr;

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

// A table definition as text, a line a field and a line an index.
std::string Describe(const engine::TableDef& t) {
    std::string out = t.name + "\n";
    for (const auto& f : t.fields) {
        out += std::to_string(f.ordinalPosition) + " " + f.name + " " +
               engine::FieldTypeName(f.type) + " " + std::to_string(f.size) +
               " req=" + std::to_string(f.required) + " zls=" + std::to_string(f.allowZeroLength) +
               " def=" + f.defaultValue + " attr=" + std::to_string(f.attributes) + "\n";
    }
    for (const auto& i : t.indexes) {
        out += "index " + i.name + " " + std::to_string(i.primary) + std::to_string(i.unique) +
               " " + i.fields[0] + "\n";
    }
    return out;
}

// The catalog file `name` with the tables given.
std::string MakeTables(const TempDir& dir, const std::string& name,
                       const std::vector<engine::TableDef>& tables) {
    auto db = engine::Database::Create(dir.File(name));
    for (const auto& table : tables) db->CreateTable(table);
    return dir.File(name);
}

// A check's outcome as "code=<code> valid=<0|1> error=<number> password=<password>";
// codes: 0 engine error, 1 missing, 2 wrong format, 3 password cancelled.
std::string Checked(const std::string& path, Prompter& prompter) {
    CheckResult r = CheckCatalog(path, prompter);
    return "code=" + std::to_string(static_cast<int>(r.code)) +
           " valid=" + std::to_string(r.valid) + " error=" + std::to_string(r.errorNumber) +
           " password=" + r.password;
}

TEST(CheckCatalog, OutcomesForMissingForeignIncompleteOddlyCasedAndBusyFiles) {
    TempDir dir;
    ScriptedPrompter prompter;
    EXPECT_EQ(Checked(dir.File("none.kst"), prompter), "code=1 valid=0 error=0 password=");
    EXPECT_EQ(Checked(dir.Write("notes.kst", "just text"), prompter),
              "code=0 valid=0 error=3343 password=");
    EXPECT_EQ(Checked(MakeTables(dir, "bare.kst", {DiscsTableDef()}), prompter),
              "code=2 valid=0 error=0 password=");
    // A tblFiles that lacks FileDate is no catalog.
    engine::TableDef noFileDate = FilesTableDef();
    noFileDate.fields.erase(noFileDate.fields.begin() + 6);
    EXPECT_EQ(Checked(MakeTables(dir, "partial.kst", {DiscsTableDef(), noFileDate}), prompter),
              "code=2 valid=0 error=0 password=");
    // Other letter cases pass, and so does a missing subfile table.
    engine::TableDef discs = DiscsTableDef(), files = FilesTableDef();
    discs.name = "TBLDISCS";
    discs.fields[1].name = "DISCSER";
    files.fields[3].name = "filename";
    files.fields[7].name = "FILEDESC";
    std::string cases = MakeTables(dir, "cases.kst", {discs, files});
    EXPECT_EQ(Checked(cases, prompter), "code=0 valid=1 error=0 password=");
    {
        auto opened = engine::Database::Open(cases, "");
        EXPECT_FALSE(opened->HasTable("tblSubFiles"));
        // The check reads the field names alone: the definition's, in order.
        std::vector<std::string> names;
        for (const auto& f : opened->Table("tblDiscs").fields) names.push_back(f.name);
        EXPECT_EQ(opened->FieldNames("tblDiscs"), names);
        EXPECT_EQ(names.at(1), "DISCSER");
    }
    auto holder = engine::Database::Open(test::MakeCatalogFile(dir), "");
    EXPECT_EQ(Checked(dir.File("kest001.kst"), prompter), "code=0 valid=0 error=3045 password=");
}

TEST(CheckCatalog, PasswordPromptRepeatsUntilRightOrCancelled) {
    TempDir dir;
    std::string path = test::MakeCatalogFile(dir);
    engine::Database::Open(path, "")->SetPassword("", "Pw1");
    ScriptedPrompter prompter;
    prompter.ExpectPassword("pw1").ExpectPassword("wrong").ExpectPassword("Pw1");
    EXPECT_EQ(Checked(path, prompter), "code=0 valid=1 error=0 password=Pw1");
    prompter.ExpectPassword("nope").ExpectPassword(std::nullopt);
    EXPECT_EQ(Checked(path, prompter), "code=3 valid=0 error=0 password=");
}

TEST(UpgradeCatalog, RunsOnlyWhenAgreedConvertsEveryTableAndKeepsABackup) {
    TempDir dir;
    std::string path = test::MakeOldFormatCatalog(dir);
    ScriptedPrompter prompter;
    ExpectUpgradeQuestion(prompter, Answer::No);
    EXPECT_EQ(Checked(path, prompter), "code=2 valid=0 error=0 password=");
    EXPECT_FALSE(std::filesystem::exists(path + ".old"));
    EXPECT_FALSE(engine::Database::Open(path, "")->Table("tblFiles").Field("FileDesc"));
    prompter.VerifyDone();

    ExpectUpgradeQuestion(prompter, Answer::Yes);
    prompter.ExpectNotice(
        "DB update success",
        "Success in updating the database format!\r\n\r\nFor optimum performance, please compact "
        "the database.",
        Icon::Information);
    EXPECT_EQ(Checked(path, prompter), "code=0 valid=1 error=0 password=");
    // The backup holds the catalog as it was.
    EXPECT_FALSE(engine::Database::Open(path + ".old", "")->Table("tblFiles").Field("FileDesc"));

    auto db = engine::Database::Open(path, "");
    auto fieldNames = [&](const char* table) {
        std::string names;
        for (const auto& f : db->Table(table).fields) names += f.name + " ";
        return names;
    };
    EXPECT_EQ(fieldNames("tblFiles"),
              "FileId KestId FileDir FileName FileAtt FileSize FileDate FileDesc ");
    EXPECT_EQ(fieldNames("tblDiscs"), "KestId DiscSer DiscFSys DiscLbl DiscDesc DiscNumF ");
    // "[root]" becomes "<root>", sizes in millions of bytes become bytes.
    EXPECT_EQ(QueryText(*db,
                        "SELECT FileId, FileDir, FileSize, FileAtt, FileDate FROM tblFiles "
                        "ORDER BY FileId"),
              "1|<root>|2000000|32|1998-01-02 03:04:05\n2|\\docs\\|500000|1|1998-01-02 03:04:05\n");
    EXPECT_EQ(QueryText(*db, "SELECT DiscSer, DiscFSys, DiscLbl, DiscDesc FROM tblDiscs"),
              "305419896|7|OLDDISC|old one\n");
    EXPECT_EQ(QueryText(*db, "SELECT * FROM tblSubFiles"), "");
    EXPECT_EQ(db->Table("tblSubFiles").indexes.size(), 4u);
    EXPECT_TRUE(db->Table("tblFiles").Field("FileId")->IsCounter());
    // New rows get fresh file ids, and the upgraded catalog passes without a prompt.
    db->Execute("INSERT INTO tblFiles (KestId, FileDir, FileName) VALUES (1, '<root>', 'c')");
    EXPECT_EQ(db->LastInsertId(), 3);
    db.reset();
    prompter.VerifyDone();
    EXPECT_EQ(Checked(path, prompter), "code=0 valid=1 error=0 password=");

    // An existing backup is replaced only when the user agrees.
    path = test::MakeOldFormatCatalog(dir, "second.kst");
    dir.Write("second.kst.old", "previous backup");
    ExpectUpgradeQuestion(prompter, Answer::Yes);
    prompter.ExpectMessage(
        "Backup file exists",
        path + ".old\r\n\r\nThe file already exists.\r\nDo you want to overwrite it?",
        Icon::Question, Buttons::YesNo, 2, Answer::No);
    EXPECT_EQ(Checked(path, prompter), "code=2 valid=0 error=0 password=");
    EXPECT_EQ(std::filesystem::file_size(path + ".old"), 15u);
    prompter.VerifyDone();
    ExpectUpgradeQuestion(prompter, Answer::Yes);
    prompter.ExpectMessage("Backup file exists", HasSubstr("The file already exists."),
                           Icon::Question, Buttons::YesNo, 2, Answer::Yes);
    prompter.ExpectNotice("DB update success", HasSubstr("compact"), Icon::Information);
    EXPECT_EQ(Checked(path, prompter), "code=0 valid=1 error=0 password=");
    EXPECT_FALSE(engine::Database::Open(path + ".old", "")->Table("tblFiles").Field("FileDesc"));
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
    EXPECT_EQ(ShowOpenWarning(prompter, CheckCode::Missing, OpenWarning::StartUp, 0, ""),
              Answer::Yes);
    ShowOpenWarning(prompter, CheckCode::WrongFormat, OpenWarning::OpenCommand, 0, "");
    ShowOpenWarning(prompter, CheckCode::PasswordCancelled, OpenWarning::OpenCommand, 0, "");
    ShowOpenWarning(prompter, CheckCode::EngineError, OpenWarning::OpenCommand, 3343,
                    "Unrecognized database format 'x'.");
}

TEST(CatalogSchema, NewCatalogHoldsExactlyTheThreeTablesAsDefined) {
    TempDir dir;
    auto db = engine::Database::Open(test::MakeCatalogFile(dir), "");
    EXPECT_EQ(db->TableNames(), (std::vector<std::string>{"tblDiscs", "tblFiles", "tblSubFiles"}));
    EXPECT_EQ(Describe(db->Table("tblDiscs")), Describe(DiscsTableDef()));
    EXPECT_EQ(Describe(db->Table("TBLFILES")), Describe(FilesTableDef()));
    EXPECT_EQ(Describe(db->Table("tblSubFiles")), Describe(SubFilesTableDef()));
    EXPECT_EQ(Describe(db->Table("tblFiles")),
              "tblFiles\n"
              "0 FileId Long 4 req=0 zls=0 def= attr=17\n"
              "1 KestId Long 4 req=1 zls=0 def=1 attr=1\n"
              "2 FileDir Text 255 req=1 zls=0 def= attr=2\n"
              "3 FileName Text 255 req=1 zls=0 def= attr=2\n"
              "4 FileAtt Text 255 req=0 zls=1 def= attr=2\n"
              "5 FileSize Long 4 req=0 zls=0 def=0 attr=1\n"
              "6 FileDate Date 8 req=0 zls=0 def= attr=1\n"
              "7 FileDesc Text 255 req=0 zls=1 def= attr=2\n"
              "index FileId 00 KestId\n"
              "index PrimaryKey 11 FileId\n"
              "index KestId 00 KestId\n");
    auto sub = db->Table("tblSubFiles");
    EXPECT_EQ(sub.indexes[2].name, "KestId");
    EXPECT_EQ(sub.indexes[2].fields[0], "FileId");
    EXPECT_EQ(sub.Field("SubFileEncr")->defaultValue, "False");
}

TEST(CatalogSchema, BuilderFailureShowsItsMessageAndReturnsFalse) {
    TempDir dir;
    auto db = engine::Database::Open(test::MakeCatalogFile(dir), "");
    test::ScriptedPrompter prompter;
    prompter.ExpectNotice(
        "Kest", "Error Creating Database Table: tblFiles\r3010\rTable 'tblFiles' already exists.",
        Icon::None);
    EXPECT_FALSE(BuildFilesTable(*db, prompter));
}

TEST(CatalogPaths, SplitAndDirectory) {
    using Split = std::pair<std::string, std::string>;
    EXPECT_EQ(SplitPath("/home/u/kest001.kst"), Split("/home/u/", "kest001.kst"));
    EXPECT_EQ(SplitPath("C:\\data\\a.kst"), Split("C:\\data\\", "a.kst"));
    EXPECT_EQ(SplitPath("a.kst"), Split("", "a.kst"));
    EXPECT_EQ(SplitPath("/x/"), Split("/x/", ""));
    EXPECT_EQ(GetDirectory("  /home/u/kest001.kst "), "/home/u");
    EXPECT_EQ(GetDirectory("/kest.kst"), "");
    EXPECT_THROW(GetDirectory("kest.kst"), KestError);
}

}  // namespace
}  // namespace kest
