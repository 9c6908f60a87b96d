// What compact, repair and save-as do to the file they replace: its access
// and owner stay, a link stays a link, a planted link is never followed, a
// full disk says so and every damaged original is kept.
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "core/catalog/CompactCatalog.h"
#include "core/catalog/RepairCatalog.h"
#include "core/catalog/SaveCatalogAs.h"
#include "core/common/KestError.h"
#include "support/ScriptedPrompter.h"
#include "support/SmallDisk.h"
#include "support/catalog/CatalogFixture.h"
#include "support/catalog/MaintenanceFixture.h"
#include "support/catalog/RecordingHost.h"
#include "support/search/SearchFixture.h"

namespace kest {
namespace {

namespace fs = std::filesystem;
using test::ScriptedPrompter;
using test::TempDir;
using ::testing::_;
using ::testing::HasSubstr;

// Mode and owner of a file as "600 4321:4322".
std::string Access(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return "missing";
    char mode[8];
    std::snprintf(mode, sizeof mode, "%o", st.st_mode & 07777);
    return std::string(mode) + " " + std::to_string(st.st_uid) + ":" + std::to_string(st.st_gid);
}

class CatalogFilePlacement : public ::testing::Test {
  protected:
    // A catalog in real/ reached through the link `name`, mode 0600 and owned
    // by another user where the test may give it one.
    std::string LinkedPrivateCatalog(const std::string& name) {
        fs::create_directories(dir.Path() / "real");
        std::string target = test::MakeFilledCatalog(dir, "real/" + name, 2000);
        EXPECT_EQ(chmod(target.c_str(), 0600), 0);
        if (geteuid() == 0) {
            EXPECT_EQ(chown(target.c_str(), 4321, 4322), 0);
        }
        fs::create_symlink("real/" + name, dir.File(name));
        return target;
    }
    void ExpectKept(const std::string& target, const std::string& access) {
        EXPECT_TRUE(fs::is_symlink(dir.File(fs::path(target).filename().string())));
        EXPECT_EQ(Access(target), access);
        EXPECT_TRUE(engine::Database::Open(target, "")->IntegrityProblems().empty());
    }

    TempDir dir;
    test::RecordingHost host;
    CurrentCatalog current;
    ScriptedPrompter prompter;
};

TEST_F(CatalogFilePlacement, CompactRepairAndSaveAsOverKeepAccessOwnerAndLink) {
    // Compact.
    std::string compacted = LinkedPrivateCatalog("c.kst");
    std::string access = Access(compacted);
    prompter.ExpectNotice("Compact/Repair successful", _, Icon::Information);
    CompactCatalog(host, prompter, dir.File("c.kst"), "");
    ExpectKept(compacted, access);
    // Repair of a damaged catalog: the original is kept beside the target.
    std::string repaired = LinkedPrivateCatalog("r.kst");
    test::DamageFirstLeafPage(repaired, "tblFiles");
    prompter.ExpectNotice(
        "Repair successful",
        HasSubstr("\r\nThe damaged original was kept as " + repaired + ".damaged."),
        Icon::Information);
    EXPECT_TRUE(RepairCatalog(host, prompter, dir.File("r.kst"), ""));
    ExpectKept(repaired, access);
    EXPECT_EQ(Access(repaired + ".damaged"), access);
    // Save-as over it: the copy takes the replaced file's access.
    std::string saved = LinkedPrivateCatalog("s.kst");
    std::string source = test::MakeFilledCatalog(dir, "source.kst", 30);
    test::OpenAsCurrent(current, source);
    prompter.ExpectSaveFile("Save database As...", dir.File("s.kst"));
    prompter.ExpectMessage("Over-write file?", _, Icon::Exclamation, Buttons::YesNo, 2,
                           Answer::Yes);
    SaveCatalogAs(current, host, prompter);
    prompter.VerifyDone();
    EXPECT_EQ(current.path, dir.File("s.kst"));
    current.database.reset();
    ExpectKept(saved, access);
    EXPECT_EQ(test::CatalogSnapshot(saved), test::CatalogSnapshot(source));
}

TEST_F(CatalogFilePlacement, LinksPlantedAtTheOldTemporaryNamesAreLeftAlone) {
    std::string victim = dir.Write("victim", "untouched");
    std::string path = test::MakeFilledCatalog(dir, "a.kst", 2000);
    for (const char* name : {"a.kst.bdb", "a.kst.salvage", ".b.kst.kest-part"})
        fs::create_symlink(victim, dir.File(name));
    fs::create_symlink("nowhere", dir.File("b.kst"));
    prompter.ExpectNotice("Compact/Repair successful", _, Icon::Information);
    CompactCatalog(host, prompter, path, "");
    test::DamageFirstLeafPage(path, "tblFiles");
    prompter.ExpectNotice("Repair successful", _, Icon::Information);
    RepairCatalog(host, prompter, path, "");
    // Save-as onto a dangling link is refused before the catalog closes.
    test::OpenAsCurrent(current, path);
    prompter.ExpectSaveFile("Save database As...", dir.File("b.kst"));
    prompter.ExpectNotice("Error in saving database", "75\r\nPath/File access error",
                          Icon::Critical);
    SaveCatalogAs(current, host, prompter);
    prompter.VerifyDone();
    EXPECT_EQ(current.path, path);
    EXPECT_EQ(test::ReadWholeFile(victim), "untouched");
    EXPECT_FALSE(fs::exists(dir.File("nowhere")));
    for (const char* name : {"a.kst.bdb", "a.kst.salvage", ".b.kst.kest-part", "b.kst"})
        EXPECT_TRUE(fs::is_symlink(dir.File(name))) << name;
}

TEST_F(CatalogFilePlacement, SaveAsOntoAFullDiskSaysDiskFullAndReopensTheCatalog) {
    test::SmallDisk disk("64k");
    if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
    std::string path = test::MakeFilledCatalog(dir, "a.kst", 2000, "pw1234");
    test::OpenAsCurrent(current, path, "pw1234");
    prompter.ExpectSaveFile("Save database As...", disk.File("b.kst"));
    prompter.ExpectNotice("Error in saving database", "61\r\nDisk full", Icon::Critical);
    SaveCatalogAs(current, host, prompter);
    prompter.VerifyDone();
    // Open again with its password, and recorded as the start-up catalog.
    ASSERT_TRUE(current.HasDatabase());
    EXPECT_EQ(current.path + "|" + current.password, path + "|pw1234");
    EXPECT_EQ(host.calls.back(), "captions");
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "save settings"), 2);
    EXPECT_TRUE(fs::is_empty(disk.Path()));
}

TEST_F(CatalogFilePlacement, EveryRepairKeepsItsOwnDamagedOriginal) {
    std::string path = test::MakeFilledCatalog(dir, "a.kst", 2000);
    for (const std::string& kept : {path + ".damaged", path + ".damaged.2"}) {
        test::DamageFirstLeafPage(path, "tblFiles");
        std::string damaged = test::ReadWholeFile(path);
        prompter.ExpectNotice("Repair successful",
                              HasSubstr("The damaged original was kept as " + kept + "."),
                              Icon::Information);
        EXPECT_TRUE(RepairCatalog(host, prompter, path, ""));
        prompter.VerifyDone();
        EXPECT_TRUE(test::ReadWholeFile(kept) == damaged);
    }
    EXPECT_NE(test::ReadWholeFile(path + ".damaged"), test::ReadWholeFile(path + ".damaged.2"));
}

}  // namespace
}  // namespace kest
