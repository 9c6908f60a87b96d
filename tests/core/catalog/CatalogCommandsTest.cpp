// The create and open commands, in the core and through kest-cli.
#include <sys/stat.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/catalog/CatalogCommands.h"
#include "support/RunCli.h"
#include "support/ScriptedPrompter.h"
#include "support/catalog/CatalogFixture.h"
#include "support/catalog/RecordingHost.h"

namespace kest {
namespace {

using test::RunCli;
using test::ScriptedPrompter;
using test::ShellQuote;
using test::TempDir;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class CatalogCommandTest : public ::testing::Test {
  protected:
    // The current catalog as "<path> <name> <folder> password=<p> loaded=<0|1> open=<0|1>".
    std::string Current() const {
        return current.path + " " + current.name + " " + current.folder +
               " password=" + current.password + " loaded=" + std::to_string(current.loaded) +
               " open=" + std::to_string(current.HasDatabase());
    }
    // The last file dialog as "<filter> flags=<n> in <folder>".
    std::string Dialog() const {
        const FileDialogRequest& d = prompter.LastFileDialog();
        return d.filter + " flags=" + std::to_string(d.flags) + " in " + d.initialDir;
    }

    TempDir dir;
    test::RecordingHost host;
    CurrentCatalog current;
    ScriptedPrompter prompter;
};
class CreateCommand : public CatalogCommandTest {};
class OpenCommand : public CatalogCommandTest {};

TEST_F(CreateCommand, CancelledDialogChangesNothing) {
    host.folder = dir.Path().string();
    prompter.ExpectSaveFile("Create a new database...", std::nullopt);
    CreateCatalogCommand(current, host, prompter);
    EXPECT_EQ(Current(), "   password= loaded=0 open=0");
    EXPECT_TRUE(host.windowEnabled);
    EXPECT_EQ(Dialog(), "Kest Database (*.kst)|*.kst flags=4 in " + host.folder);
}

TEST_F(CreateCommand, NewFileBecomesTheCurrentEmptyCatalog) {
    std::string path = dir.File("new.kst");
    prompter.ExpectSaveFile("Create a new database...", path);
    prompter.ExpectNotice("Create New Database", "The new database was created.",
                          Icon::Information);
    CreateCatalogCommand(current, host, prompter);
    EXPECT_EQ(Current(), path + " new.kst " + dir.Path().string() + " password= loaded=1 open=1");
    EXPECT_TRUE(current.Db().Query("SELECT * FROM tblDiscs").rows.empty());
    EXPECT_EQ(std::tie(host.replaced, host.enabledControls, host.saves), std::tuple(1, 1, 1));
    EXPECT_TRUE(host.windowEnabled);
}

TEST_F(CreateCommand, ExistingFileIsReplacedOnlyOnYes) {
    std::string path = dir.Write("exists.kst", "keep me");
    for (Answer answer : {Answer::No, Answer::Yes}) {
        prompter.ExpectSaveFile("Create a new database...", path);
        prompter.ExpectMessage("Database Exists",
                               "The database already exists.\r\nDo you want to overwrite it?",
                               Icon::Critical, Buttons::YesNo, 2, answer);
        prompter.ExpectNotice("Create New Database",
                              answer == Answer::No ? "The create database process was canceled."
                                                   : "The new database was created.",
                              Icon::Information);
        CreateCatalogCommand(current, host, prompter);
        prompter.VerifyDone();
        if (answer == Answer::No) {
            EXPECT_EQ(std::filesystem::file_size(path), 7u);
            EXPECT_FALSE(current.loaded);
        }
    }
    EXPECT_TRUE(current.loaded);
    EXPECT_TRUE(current.Db().HasTable("tblSubFiles"));
}

TEST_F(CreateCommand, TargetsThatAreNotRegularFilesAreRefused) {
    ASSERT_EQ(mkfifo(dir.File("fifo.kst").c_str(), 0644), 0);
    std::filesystem::create_directory(dir.File("folder.kst"));
    for (const std::string& path :
         {dir.File("fifo.kst"), dir.File("folder.kst"), std::string("/dev/null")}) {
        SCOPED_TRACE(path);
        prompter.ExpectSaveFile("Create a new database...", path);
        prompter.ExpectNotice("Error in creating database", "75\r\nPath/File access error",
                              Icon::Critical);
        CreateCatalogCommand(current, host, prompter);
        prompter.VerifyDone();
        EXPECT_FALSE(current.loaded);
        EXPECT_TRUE(host.windowEnabled);
    }
    EXPECT_TRUE(std::filesystem::is_fifo(dir.File("fifo.kst")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.kst")));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

TEST_F(CreateCommand, UnwritableFolderFailsWithItsMessagesAndKeepsTheCurrentCatalog) {
    current.database = engine::Database::Open(test::MakeCatalogFile(dir), "");
    current.path = dir.File("kest001.kst");
    prompter.ExpectSaveFile("Create a new database...", dir.File("no/such/folder/x.kst"));
    prompter.ExpectNotice("Kest", StartsWith("Error Creating Copy Database.\r3051\r"), Icon::None);
    prompter.ExpectNotice("Database Error", "Failed to create database!", Icon::None);
    CreateCatalogCommand(current, host, prompter);
    EXPECT_EQ(Current(), current.path + "   password= loaded=0 open=1");
}

TEST_F(OpenCommand, DialogOpensAValidCatalogWithItsPassword) {
    std::string path = test::MakeCatalogFile(dir, "locked.kst");
    engine::Database::Open(path, "")->SetPassword("", "pw");
    host.folder = "/prog";
    prompter.ExpectOpenFile("Open a database...", path);
    prompter.ExpectPassword("pw");
    OpenCatalog(current, host, prompter, OpenSource::AskForFile);
    EXPECT_EQ(Current(),
              path + " locked.kst " + dir.Path().string() + " password=pw loaded=0 open=1");
    EXPECT_EQ(Dialog(),
              "Kest Database (*.kst)|*.kst|MS Access 97 Database (*.mdb)|*.mdb|All Files (*.*)|*.* "
              "flags=36868 in /prog");
    EXPECT_EQ(host.saves, 1);
}

TEST_F(OpenCommand, FailedCheckWarnsAndKeepsThePreviousCatalog) {
    OpenCatalog(current, host, prompter, OpenSource::GivenPath,
                test::MakeCatalogFile(dir, "first.kst"));
    std::string first = Current();
    EXPECT_EQ(current.name, "first.kst");
    prompter.ExpectNotice("Open Database Warning...", "Default database was not found.",
                          Icon::Critical);
    OpenCatalog(current, host, prompter, OpenSource::GivenPath, dir.File("gone.kst"));
    prompter.ExpectNotice("Open Database Warning...", HasSubstr("\r\n \r\n3343\r\n"),
                          Icon::Critical);
    OpenCatalog(current, host, prompter, OpenSource::GivenPath,
                dir.Write("text.kst", "not a catalog"));
    // A cancelled dialog ends quietly.
    prompter.ExpectOpenFile("Open a database...", std::nullopt);
    OpenCatalog(current, host, prompter, OpenSource::AskForFile);
    EXPECT_EQ(Current(), first);
    EXPECT_TRUE(host.windowEnabled);
}

// kest-cli's exit status and standard output, as "<status> <output>".
std::string Cli(const std::string& args) {
    test::CliResult result = RunCli(args);
    return std::to_string(result.status) + " " + result.out;
}

TEST(CatalogCli, CreateCheckSchemaAndSql) {
    TempDir dir;
    std::string home = " --home " + ShellQuote(dir.Path().string());
    std::string path = ShellQuote(dir.File("cli.kst"));
    auto sql = [&](const std::string& statement) {
        return Cli("sql " + path + " " + ShellQuote(statement));
    };
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

    EXPECT_EQ(Cli("check " + path), "0 code=0 valid=true error=0\n");
    EXPECT_EQ(Cli("check " + ShellQuote(dir.File("none.kst"))),
              "1 code=1 valid=false error=0\nDefault database was not found.\n");
    std::string schema = Cli("schema " + path);
    EXPECT_THAT(schema, HasSubstr("TABLE\ttblFiles\nFIELD\t0\tFileId\tLong\t4\tno\tno\t\t17\n"
                                  "FIELD\t1\tKestId\tLong\t4\tyes\tno\t1\t1\n"));
    EXPECT_THAT(schema, HasSubstr("INDEX\tKestId1\tno\tno\tKestId\n"));

    EXPECT_EQ(sql("INSERT INTO tblDiscs (DiscLbl) VALUES ('A')"), "0 rows=1\n");
    EXPECT_EQ(sql("SELECT KestId AS [Kest ID ], DiscLbl, DiscDesc FROM tblDiscs"),
              "0 Kest ID \tDiscLbl\tDiscDesc\n1\tA\t\n");
    EXPECT_THAT(sql("SELECT FROM"), StartsWith("1 error 3075: "));
    EXPECT_EQ(sql("INSERT INTO tblDiscs (KestId, DiscLbl) VALUES (1, 'B')"),
              "1 error 3000: UNIQUE constraint failed: tblDiscs.KestId\n");
}

TEST(CatalogCli, PasswordsComeFromTheQueueThenCancel) {
    TempDir dir;
    std::string path = ShellQuote(test::MakeCatalogFile(dir));
    engine::Database::Open(dir.File("kest001.kst"), "")->SetPassword("", "pw");
    EXPECT_EQ(Cli("check " + path + " --password wrong"),
              "1 code=3 valid=false error=0\nThe database password was incorrect.\n");
    EXPECT_EQ(RunCli("--password bad --password pw check " + path).status, 0);
}

}  // namespace
}  // namespace kest
