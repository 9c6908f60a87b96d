#include <gtest/gtest.h>

#include "core/filefunc/FileFunction.h"
#include "core/text/NameBytes.h"
#include "support/ScriptedPrompter.h"
#include "support/platform/FakeShell.h"
#include "support/platform/FakeVolumes.h"
#include "support/search/SearchFixture.h"

namespace kest::filefunc {
namespace {

using platform::ShellStatus;
using ::testing::_;

using RecordingShell = test::FakeShell;

class FileFunctionTest : public ::testing::Test {
  protected:
    FileFunctionTest() : db(test::MakeSearchCatalog(dir)) {
        other = volumes.Add(
            {dir.File("other"), platform::DriveType::Optical, "PHOTOS", "0000-0001", "CDFS"});
        backup = volumes.Add(
            {dir.File("backup"), platform::DriveType::Optical, "BACKUP_01", "1A2B-3C4D", "CDFS"});
        dir.Write("backup/docs/Setup.EXE", "x");
        dir.Write("backup/readme.txt", "x");
    }
    FileTarget Target(const std::string& fileId) {
        return *LookUpFileTarget(*db, "", fileId, kOpenFile, prompter);
    }
    FileFuncDialog Dialog(const std::string& fileId, int function) {
        return FileFuncDialog(Target(fileId), function, volumes, shell, drives);
    }

    test::TempDir dir;
    std::unique_ptr<engine::Database> db;
    test::FakeVolumes volumes;
    std::string other, backup;
    RecordingShell shell;
    DriveSettings drives;
    test::ScriptedPrompter prompter;
};

TEST_F(FileFunctionTest, LookUpGivesDiscAndFileOrNoRecords) {
    FileTarget target = Target("4");
    EXPECT_EQ(target.kestId, "1");
    EXPECT_EQ(target.serial, "1A2B-3C4D");
    EXPECT_EQ(target.label, "BACKUP_01");
    EXPECT_EQ(target.dir, "docs/");
    EXPECT_EQ(target.name, "Setup.EXE");

    for (auto [kestId, fileId] : {std::pair{"", "99"}, {"7", "1"}, {"1", "99"}, {"", "-1"}}) {
        prompter.ExpectNotice("Kest", "no records", Icon::None);
        EXPECT_FALSE(LookUpFileTarget(*db, kestId, fileId, kOpenFile, prompter));
    }
    for (auto [function, title] : {std::pair{1, "Error in opening file"},
                                   {2, "Error in opening folder"},
                                   {3, "Error in exploring folder"},
                                   {4, "Unknown index"}}) {
        prompter.ExpectNotice(title, "3061\r\nToo few parameters. Expected 1.", Icon::Critical);
        EXPECT_FALSE(LookUpFileTarget(*db, "1", "x'y", function, prompter));
    }

    auto results = test::MakeTable({{"Kest ID ", 0}, {"FileId", -1}}, {"2", "7", " ", ""});
    EXPECT_EQ(LookUpResultsRow(*db, results, 1, kOpenFile, prompter)->name, "beach.jpg");
    EXPECT_FALSE(LookUpResultsRow(*db, results, 0, kOpenFile, prompter));
    EXPECT_FALSE(LookUpResultsRow(*db, results, 2, kOpenFile, prompter));
}

TEST_F(FileFunctionTest, CaptionsTargetsAndTheDefaultDrive) {
    struct Case {
        int function;
        const char *caption, *target;
    };
    for (const Case& c : {Case{1, "Open File", "docs/Setup.EXE"}, Case{2, "Open Folder", "docs/"},
                          Case{3, "Explore Folder", "docs/"}}) {
        FileFuncDialog dialog = Dialog("4", c.function);
        EXPECT_EQ(dialog.Caption(), c.caption);
        EXPECT_TRUE(dialog.OkEnabled());
        dialog.SelectDrive(1);
        EXPECT_EQ(dialog.Target(), backup + c.target);
    }
    FileFuncDialog root = Dialog("1", kOpenFile);
    root.SelectDrive(1);
    EXPECT_EQ(root.Target(), backup + "readme.txt");

    FileFuncDialog wrong = Dialog("4", 5);
    EXPECT_EQ(wrong.Caption(), "File Function Error");
    EXPECT_FALSE(wrong.OkEnabled());
    EXPECT_EQ(wrong.Target(), "Error");

    drives = {false, backup};
    EXPECT_FALSE(Dialog("4", 1).ShowsDefaultDrive());
    drives = {true, backup};
    FileFuncDialog preset = Dialog("4", 1);
    EXPECT_TRUE(preset.ShowsDefaultDrive());
    EXPECT_EQ(preset.Selected(), 1u);
    EXPECT_EQ(preset.DefaultDriveCaption(), backup);
    preset.SelectDrive(0);
    preset.SetDefaultDrive();
    EXPECT_EQ(drives.defaultDrive, other);
    EXPECT_EQ(preset.DefaultDriveCaption(), other);

    drives = {true, "/no/such/mount"};
    FileFuncDialog missing = Dialog("4", 1);
    EXPECT_EQ(missing.DefaultDriveCaption(), "");
    EXPECT_TRUE(missing.Selected());  // where the drive list starts
}

TEST_F(FileFunctionTest, OkOpensTheFileTheFolderOrExploresIt) {
    for (int function : {kOpenFile, kOpenFolder, kExploreFolder}) {
        FileFuncDialog dialog = Dialog("4", function);
        ASSERT_TRUE(dialog.UseRoot(backup));
        EXPECT_TRUE(dialog.Ok(prompter));
        EXPECT_TRUE(dialog.Closed());
    }
    FileFuncDialog root = Dialog("1", kOpenFile);
    root.SelectDrive(1);
    EXPECT_TRUE(root.Ok(prompter));
    EXPECT_EQ(shell.requests, (std::vector<std::string>{
                                  "default " + backup + "docs/Setup.EXE",
                                  "open " + backup + "docs/",
                                  "explore " + backup + "docs/ [Setup.EXE]",
                                  "default " + backup + "readme.txt",
                              }));
}

TEST_F(FileFunctionTest, OkChecksTheFolderAndTheDiscInTheDrive) {
    FileFuncDialog dialog = Dialog("4", kOpenFile);
    dialog.SelectDrive(0);  // the PHOTOS disc has no docs/ folder
    prompter.ExpectNotice("Error in directory", "Directory not found!", Icon::Critical);
    EXPECT_FALSE(dialog.Ok(prompter));
    EXPECT_FALSE(dialog.Closed());

    // The right folder on a disc with another serial and label.
    dir.Write("other/docs/Setup.EXE", "x");
    const char* serialText =
        "The Disc serial number does not match \r\nthe serial number of the database "
        "file.\r\nDo you want to continue?";
    const char* labelText =
        "The Disc volume name does not match\r\nthe volume name of the database "
        "file.\r\nDo you want to continue?";
    prompter.ExpectMessage("Serial number mismatch", serialText, Icon::Exclamation, Buttons::YesNo,
                           1, Answer::No);
    EXPECT_FALSE(dialog.Ok(prompter));
    prompter
        .ExpectMessage("Serial number mismatch", serialText, Icon::Exclamation, Buttons::YesNo, 1,
                       Answer::Yes)
        .ExpectMessage("Volume name mismatch", labelText, Icon::Exclamation, Buttons::YesNo, 1,
                       Answer::No);
    EXPECT_FALSE(dialog.Ok(prompter));
    EXPECT_TRUE(shell.requests.empty());
    prompter
        .ExpectMessage("Serial number mismatch", _, Icon::Exclamation, Buttons::YesNo, 1,
                       Answer::Yes)
        .ExpectMessage("Volume name mismatch", _, Icon::Exclamation, Buttons::YesNo, 1,
                       Answer::Yes);
    EXPECT_TRUE(dialog.Ok(prompter));
    EXPECT_EQ(shell.requests, (std::vector<std::string>{"default " + other + "docs/Setup.EXE"}));
}

TEST_F(FileFunctionTest, AVanishedDriveOrAFailedOpenKeepsTheDialog) {
    FileFuncDialog dialog = Dialog("4", kOpenFile);
    dialog.SelectDrive(1);
    std::filesystem::remove_all(dir.File("backup"));
    prompter.ExpectNotice("Error in directory", "Directory not found!", Icon::Critical);
    EXPECT_FALSE(dialog.Ok(prompter));

    dir.Write("backup/docs/other.txt", "x");  // the file itself is gone
    shell.status = ShellStatus::FileNotFound;
    prompter.ExpectNotice("Shell execute failed...",
                          backup + "docs/Setup.EXE\r\nError: File not found.  Couldn't Execute!",
                          Icon::Critical);
    EXPECT_FALSE(dialog.Ok(prompter));
    EXPECT_FALSE(dialog.Closed());
    dialog.Cancel();
    EXPECT_TRUE(dialog.Closed());
}

// A shared catalog may name any path: nothing that leaves the disc is handed
// to the desktop.
TEST_F(FileFunctionTest, APathThatLeavesTheDiscIsRefused) {
    dir.Write("backup/etc/passwd", "x");
    struct Case {
        const char *dir, *name;
    };
    for (const Case& c :
         {Case{"../../../../etc/", "passwd"}, Case{"docs/../../", "passwd"}, Case{"..", "passwd"},
          Case{"docs/", "../../etc/passwd"}, Case{"docs/", "sub/x"}, Case{"docs/", ".."}}) {
        SCOPED_TRACE(std::string(c.dir) + c.name);
        db->Execute(std::string("UPDATE tblFiles SET FileDir = '") + c.dir + "', FileName = '" +
                    c.name + "' WHERE FileId = 4");
        for (int function : {kOpenFile, kOpenFolder, kExploreFolder}) {
            FileFuncDialog dialog = Dialog("4", function);
            ASSERT_TRUE(dialog.UseRoot(backup));
            prompter.ExpectNotice(
                function == kOpenFile     ? "Error in opening file"
                : function == kOpenFolder ? "Error in opening folder"
                                          : "Error in exploring folder",
                std::string("The catalog gives this file a path that leaves its Disc:\r\n") +
                    c.dir + c.name + "\r\nNothing was opened.",
                Icon::Critical);
            EXPECT_FALSE(dialog.Ok(prompter));
        }
    }
    EXPECT_TRUE(shell.requests.empty());
    // Dots inside names and folders are names like any other.
    db->Execute("UPDATE tblFiles SET FileDir = 'a..b/.../', FileName = '..x' WHERE FileId = 4");
    dir.Write("backup/a..b/.../..x", "x");
    FileFuncDialog dots = Dialog("4", kOpenFile);
    ASSERT_TRUE(dots.UseRoot(backup));
    EXPECT_TRUE(dots.Ok(prompter));
    EXPECT_EQ(shell.opened, std::vector<std::string>{backup + "a..b/.../..x"});
}

// Names stored with escaped bytes (not valid UTF-8 on the disc) are opened by
// their exact bytes.
TEST_F(FileFunctionTest, EscapedNamesOpenTheirExactBytes) {
    std::string folder, name;
    text::EscapeNameBytes("d\xFC/", folder);
    text::EscapeNameBytes("caf\xE9.txt", name);
    db->Execute("UPDATE tblFiles SET FileDir = '" + folder + "', FileName = '" + name +
                "' WHERE FileId = 4");
    dir.Write("backup/d\xFC/caf\xE9.txt", "x");
    for (int function : {kOpenFile, kExploreFolder}) {
        FileFuncDialog dialog = Dialog("4", function);
        ASSERT_TRUE(dialog.UseRoot(backup));
        EXPECT_TRUE(dialog.Ok(prompter));
    }
    EXPECT_EQ(shell.requests, (std::vector<std::string>{
                                  "default " + backup + "d\xFC/caf\xE9.txt",
                                  "explore " + backup + "d\xFC/ [caf\xE9.txt]",
                              }));
}

TEST(FileFuncLoad, AnErrorWhileLoadingIsShownUnderItsOwnTitle) {
    struct UnreadableVolumes : test::FakeVolumes {
        std::vector<platform::Drive> ListDrives() const override {
            throw std::runtime_error("the mount table cannot be read");
        }
    } volumes;
    RecordingShell shell;
    DriveSettings settings;
    test::ScriptedPrompter prompter;
    prompter.ExpectNotice("Error in loading FileFunc Form", "51\r\nthe mount table cannot be read",
                          Icon::Critical);
    EXPECT_FALSE(LoadFileFuncDialog(FileTarget{}, kOpenFile, volumes, shell, settings, prompter));
    prompter.VerifyDone();
    EXPECT_TRUE(LoadFileFuncDialog(FileTarget{}, kOpenFile, test::FakeVolumes{}, shell, settings,
                                   prompter));
}

}  // namespace
}  // namespace kest::filefunc
