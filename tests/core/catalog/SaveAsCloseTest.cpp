// Closing the catalog and saving it under a new name.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/catalog/CloseCatalog.h"
#include "core/catalog/SaveCatalogAs.h"
#include "core/common/KestError.h"
#include "support/ScriptedPrompter.h"
#include "support/catalog/FileSizeLimit.h"
#include "support/catalog/MaintenanceFixture.h"
#include "support/catalog/RecordingHost.h"

namespace kest {
namespace {

using test::ScriptedPrompter;
using test::TempDir;
using ::testing::StartsWith;
using Calls = std::vector<std::string>;

const Calls kCloseCalls = {"release",          "clear grids",
                           "disable controls", "No active database. | Kest",
                           "captions",         "save settings"};

class MaintenanceTest : public ::testing::Test {
  protected:
    void Open(const std::string& path, const std::string& password = "") {
        test::OpenAsCurrent(current, path, password);
    }
    std::string Current() const {
        return current.path + "|" + current.name + "|" + current.folder + "|" + current.password +
               "|" + std::to_string(current.HasDatabase());
    }

    TempDir dir;
    test::RecordingHost host;
    CurrentCatalog current;
    ScriptedPrompter prompter;
};
using CloseCommand = MaintenanceTest;
using SaveAsCommand = MaintenanceTest;

TEST_F(CloseCommand, EmptiesAllButTheFolderDisablesAndSaves) {
    Open(test::MakeFilledCatalog(dir, "a.kst", 5, "pw1234"), "pw1234");
    current.open = true;
    CloseCatalog(current, host, prompter);
    EXPECT_EQ(Current(), "||" + dir.Path().string() + "||0");
    EXPECT_FALSE(current.open);
    EXPECT_EQ(host.calls, kCloseCalls);
    EXPECT_TRUE(host.windowEnabled);
    EXPECT_FALSE(host.busy);
    // The file is free again.
    EXPECT_NO_THROW(engine::Database::Open(dir.File("a.kst"), "pw1234"));
}

TEST_F(SaveAsCommand, TheCopyOfAProtectedCatalogOpensAfterItsPasswordIsGivenAgain) {
    std::string path = test::MakeFilledCatalog(dir, "a.kst", 50, "pw1234");
    std::string rows = test::CatalogSnapshot(path, "pw1234");
    Open(path, "pw1234");
    std::string copy = dir.File("b.kst");
    prompter.ExpectSaveFile("Save database As...", copy);
    prompter.ExpectPassword("pw1234");
    SaveCatalogAs(current, host, prompter);
    prompter.VerifyDone();
    const FileDialogRequest& d = prompter.LastFileDialog();
    EXPECT_EQ(d.fileName + "|" + d.initialDir + "|" + d.filter + "|" + std::to_string(d.flags),
              "a.kst|" + dir.Path().string() + "|Kest Database (*.kst)|*.kst|4");
    EXPECT_EQ(Current(), copy + "|b.kst|" + dir.Path().string() + "|pw1234|1");
    Calls expected = kCloseCalls;
    expected.insert(expected.end(),
                    {"replaced", "enable controls", "captions", "save settings", "captions"});
    EXPECT_EQ(host.calls, expected);
    current.database.reset();
    EXPECT_EQ(test::CatalogSnapshot(copy, "pw1234"), rows);
    EXPECT_EQ(test::CatalogSnapshot(path, "pw1234"), rows);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              2);
}

TEST_F(SaveAsCommand, AnExistingFileIsReplacedOnlyOnYes) {
    std::string path = test::MakeFilledCatalog(dir, "a.kst", 5);
    std::string other = dir.Write("other.kst", "someone else's file");
    for (Answer answer : {Answer::No, Answer::Yes}) {
        Open(path);
        prompter.ExpectSaveFile("Save database As...", other);
        prompter.ExpectMessage(
            "Over-write file?",
            other + "\r\nThe file already exists!\r\nDo you want to over-write it?",
            Icon::Exclamation, Buttons::YesNo, 2, answer);
        SaveCatalogAs(current, host, prompter);
        prompter.VerifyDone();
        if (answer == Answer::No) {
            EXPECT_EQ(std::filesystem::file_size(other), 19u);
            EXPECT_EQ(current.path, path);
        }
    }
    EXPECT_EQ(current.path, other);
    current.database.reset();
    EXPECT_EQ(test::CatalogSnapshot(other), test::CatalogSnapshot(path));
}

TEST_F(SaveAsCommand, RefusalsAndFailuresLoseNothing) {
    std::string path = test::MakeFilledCatalog(dir, "a.kst", 2000);
    std::string rows = test::CatalogSnapshot(path);
    // A cancelled dialog and an empty name change nothing.
    for (std::optional<std::string> reply :
         {std::optional<std::string>(), std::optional<std::string>(" ")}) {
        Open(path);
        prompter.ExpectSaveFile("Save database As...", reply);
        SaveCatalogAs(current, host, prompter);
        EXPECT_TRUE(current.HasDatabase());
    }
    // The open catalog itself: refused before anything is closed.
    prompter.ExpectSaveFile("Save database As...", path);
    prompter.ExpectMessage("Over-write file?", StartsWith(path), Icon::Exclamation, Buttons::YesNo,
                           2, Answer::Yes);
    prompter.ExpectNotice("Error in saving database", "70\r\nPermission denied", Icon::Critical);
    SaveCatalogAs(current, host, prompter);
    EXPECT_TRUE(current.HasDatabase());
    // A missing folder: the catalog is closed first, as the command goes,
    // and opened again when the copy fails.
    prompter.ExpectSaveFile("Save database As...", dir.File("no/such/b.kst"));
    prompter.ExpectNotice("Error in saving database", "76\r\nPath not found", Icon::Critical);
    SaveCatalogAs(current, host, prompter);
    EXPECT_EQ(current.path, path);
    // A full disk: nothing stands under the new name, not even in part.
    prompter.ExpectSaveFile("Save database As...", dir.File("c.kst"));
    prompter.ExpectNotice("Error in saving database", ::testing::_, Icon::Critical);
    {
        test::FileSizeLimit full(std::filesystem::file_size(path) / 2);
        SaveCatalogAs(current, host, prompter);
    }
    prompter.VerifyDone();
    EXPECT_EQ(current.path, path);
    current.database.reset();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(test::CatalogSnapshot(path), rows);
}

}  // namespace
}  // namespace kest
