#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/catalog/CatalogCommands.h"
#include "support/ScriptedPrompter.h"
#include "support/catalog/CatalogFixture.h"

namespace kest {
namespace {

using test::ScriptedPrompter;
using test::TempDir;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// Records what the commands ask of the main window.
struct RecordingHost : CatalogHost {
    std::string folder;
    int saves = 0, replaced = 0, enabledControls = 0;
    bool windowEnabled = true;
    void SetMainWindowEnabled(bool enabled) override { windowEnabled = enabled; }
    void CatalogReplaced() override { ++replaced; }
    void EnableCatalogControls() override { ++enabledControls; }
    void SaveSettings() override { ++saves; }
    std::string ProgramFolder() const override { return folder; }
};

TEST(CreateCommand, CancelledDialogChangesNothing) {
    TempDir dir;
    RecordingHost host;
    host.folder = dir.Path().string();
    CurrentCatalog current;
    ScriptedPrompter prompter;
    prompter.ExpectSaveFile("Create a new database...", std::nullopt);
    CreateCatalogCommand(current, host, prompter);
    EXPECT_FALSE(current.loaded);
    EXPECT_FALSE(current.HasDatabase());
    EXPECT_TRUE(host.windowEnabled);
    EXPECT_EQ(prompter.LastFileDialog().filter, "Kest Database (*.kst)|*.kst");
    EXPECT_EQ(prompter.LastFileDialog().initialDir, host.folder);
    EXPECT_EQ(prompter.LastFileDialog().flags, 4);
}

TEST(CreateCommand, NewFileBecomesTheCurrentEmptyCatalog) {
    TempDir dir;
    RecordingHost host;
    CurrentCatalog current;
    ScriptedPrompter prompter;
    std::string path = dir.File("new.kst");
    prompter.ExpectSaveFile("Create a new database...", path);
    prompter.ExpectNotice("Create New Database", "The new database was created.",
                          Icon::Information);
    CreateCatalogCommand(current, host, prompter);
    EXPECT_TRUE(current.loaded);
    ASSERT_TRUE(current.HasDatabase());
    EXPECT_EQ(current.path, path);
    EXPECT_EQ(current.folder, dir.Path().string());
    EXPECT_EQ(current.name, "new.kst");
    EXPECT_EQ(current.password, "");
    EXPECT_TRUE(current.Db().Query("SELECT * FROM tblDiscs").rows.empty());
    EXPECT_EQ(host.replaced, 1);
    EXPECT_EQ(host.enabledControls, 1);
    EXPECT_EQ(host.saves, 1);
    EXPECT_TRUE(host.windowEnabled);
}

TEST(CreateCommand, ExistingFileIsReplacedOnlyOnYes) {
    TempDir dir;
    RecordingHost host;
    CurrentCatalog current;
    std::string path = dir.Write("exists.kst", "keep me");
    const char* question = "The database already exists.\r\nDo you want to overwrite it?";
    {
        ScriptedPrompter prompter;
        prompter.ExpectSaveFile("Create a new database...", path);
        prompter.ExpectMessage("Database Exists", question, Icon::Critical, Buttons::YesNo, 2,
                               Answer::No);
        prompter.ExpectNotice("Create New Database", "The create database process was canceled.",
                              Icon::Information);
        CreateCatalogCommand(current, host, prompter);
        EXPECT_EQ(std::filesystem::file_size(path), 7u);
        EXPECT_FALSE(current.loaded);
    }
    ScriptedPrompter prompter;
    prompter.ExpectSaveFile("Create a new database...", path);
    prompter.ExpectMessage("Database Exists", question, Icon::Critical, Buttons::YesNo, 2,
                           Answer::Yes);
    prompter.ExpectNotice("Create New Database", "The new database was created.",
                          Icon::Information);
    CreateCatalogCommand(current, host, prompter);
    EXPECT_TRUE(current.loaded);
    EXPECT_TRUE(current.Db().HasTable("tblSubFiles"));
}

TEST(CreateCommand, UnwritableFolderFailsWithItsMessagesAndKeepsTheCurrentCatalog) {
    TempDir dir;
    RecordingHost host;
    CurrentCatalog current;
    current.database = engine::Database::Open(test::MakeCatalogFile(dir), "");
    current.path = dir.File("kest001.kst");
    ScriptedPrompter prompter;
    prompter.ExpectSaveFile("Create a new database...", dir.File("no/such/folder/x.kst"));
    prompter.ExpectNotice("Kest", StartsWith("Error Creating Copy Database.\r3051\r"), Icon::None);
    prompter.ExpectNotice("Database Error", "Failed to create database!", Icon::None);
    CreateCatalogCommand(current, host, prompter);
    EXPECT_FALSE(current.loaded);
    EXPECT_TRUE(current.HasDatabase());
    EXPECT_EQ(current.path, dir.File("kest001.kst"));
}

TEST(OpenCommand, DialogOpensAValidCatalogWithItsPassword) {
    TempDir dir;
    std::string path = test::MakeCatalogFile(dir, "locked.kst");
    engine::Database::Open(path, "")->SetPassword("", "pw");
    RecordingHost host;
    host.folder = "/prog";
    CurrentCatalog current;
    ScriptedPrompter prompter;
    prompter.ExpectOpenFile("Open a database...", path);
    prompter.ExpectPassword("pw");
    OpenCatalog(current, host, prompter, 1);
    ASSERT_TRUE(current.HasDatabase());
    EXPECT_EQ(current.password, "pw");
    EXPECT_EQ(current.name, "locked.kst");
    EXPECT_EQ(
        prompter.LastFileDialog().filter,
        "Kest Database (*.kst)|*.kst|MS Access 97 Database (*.mdb)|*.mdb|All Files (*.*)|*.*");
    EXPECT_EQ(prompter.LastFileDialog().flags, 36868);
    EXPECT_EQ(prompter.LastFileDialog().initialDir, "/prog");
    EXPECT_EQ(host.saves, 1);
}

TEST(OpenCommand, FailedCheckWarnsAndKeepsThePreviousCatalog) {
    TempDir dir;
    RecordingHost host;
    CurrentCatalog current;
    ScriptedPrompter prompter;
    OpenCatalog(current, host, prompter, 2, test::MakeCatalogFile(dir, "first.kst"));
    ASSERT_EQ(current.name, "first.kst");
    prompter.ExpectNotice("Open Database Warning...", "Default database was not found.",
                          Icon::Critical);
    OpenCatalog(current, host, prompter, 2, dir.File("gone.kst"));
    prompter.ExpectNotice("Open Database Warning...", HasSubstr("\r\n \r\n3343\r\n"),
                          Icon::Critical);
    OpenCatalog(current, host, prompter, 2, dir.Write("text.kst", "not a catalog"));
    EXPECT_EQ(current.name, "first.kst");
    EXPECT_TRUE(current.HasDatabase());
    EXPECT_TRUE(host.windowEnabled);
    // A cancelled dialog ends quietly.
    prompter.ExpectOpenFile("Open a database...", std::nullopt);
    OpenCatalog(current, host, prompter, 1);
    EXPECT_EQ(current.name, "first.kst");
}

}  // namespace
}  // namespace kest
