// What a scan adds to the disc facts: the date and the volume's space, what a
// replaced disc of the same serial kept, and content hashes when asked.
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/discfacts/DiscFactsChange.h"
#include "core/discfacts/DiscListFacts.h"
#include "core/engine/DiscFactsTables.h"
#include "core/scan/ScanDriver.h"
#include "support/ScriptedPrompter.h"
#include "support/catalog/CatalogFixture.h"
#include "support/platform/FakeVolumes.h"
#include "support/scan/RecordingScanView.h"

namespace kest::scan {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

class ScanFactsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        catalogPath = test::MakeCatalogFile(home);
        db = engine::Database::Open(catalogPath, "");
        test::FakeVolumes::FakeDrive drive{disc.Path().string(), platform::DriveType::Optical,
                                           "PHOTOS", "1234-ABCD", "CDFS"};
        drive.capacity = 700 * 1048576LL;
        drive.freeSpace = 1048576;
        root = volumes.Add(drive);
        options.showNonOpticalWarning = false;
        options.playSound = false;
        options.estimateBeforeScan = false;
    }
    // Scans after the prompts before the description, answering it.
    bool Scan(const std::string& description) {
        prompter.ExpectInput("Disc Description", ::testing::_, description);
        bool ok = ScanDriver({catalogPath, *db, volumes, sound, prompter, view, options,
                              home.File("Kest.dat")})
                      .StartScan(root);
        prompter.VerifyDone();
        return ok;
    }
    std::string Rows(const std::string& sql) { return test::QueryText(*db, sql); }
    std::string Log() {
        std::ifstream in(home.File("Kest.dat"));
        return {std::istreambuf_iterator<char>(in), {}};
    }

    test::TempDir home, disc;
    std::string catalogPath;
    std::unique_ptr<engine::Database> db;
    test::FakeVolumes volumes;
    std::string root;
    test::ScriptedPrompter prompter;
    test::RecordingScanView view;
    test::FakeSound sound;
    ScanOptions options;
};

TEST_F(ScanFactsTest, AScanRecordsItsDateAndSpaceAndARescanKeepsWhatTheUserSet) {
    disc.Write("a.txt", "a");
    ASSERT_TRUE(Scan("first"));
    discfacts::DiscFacts first = discfacts::LoadDiscFacts(*db, 1);
    EXPECT_EQ(discfacts::DayText(first.catalogued), discfacts::DayText(discfacts::Now()));
    EXPECT_FALSE(first.recatalogued);
    EXPECT_EQ(first.capacity, 700 * 1048576LL);
    EXPECT_EQ(first.freeSpace, 1048576);
    discfacts::DiscFactsChange change;
    change.location = "Shelf B";
    change.addTags = {"keep"};
    discfacts::ChangeDiscFacts(*db, 1, change);
    db->Execute("UPDATE _kest_disc_facts SET catalogued = '2020-01-02 03:04:05'");

    // Scanned again, replacing the old disc: the user's facts move over.
    prompter.ExpectMessage("Delete 1 Duplicate Disc(s)?", ::testing::_, Icon::Question,
                           Buttons::YesNoCancel, 3, Answer::Yes);
    prompter.ExpectMessage("Disc(s) Deletion", ::testing::_, Icon::Exclamation, Buttons::YesNo, 2,
                           Answer::Yes);
    ASSERT_TRUE(Scan("again"));
    discfacts::DiscFacts again = discfacts::LoadDiscFacts(*db, 2);
    EXPECT_EQ(again.location, "Shelf B");
    EXPECT_EQ(again.tags, std::vector<std::string>{"keep"});
    EXPECT_EQ(discfacts::DayText(again.catalogued), "2020-01-02");
    EXPECT_EQ(discfacts::DayText(again.recatalogued), discfacts::DayText(discfacts::Now()));
    EXPECT_EQ(Rows("SELECT KestId FROM _kest_disc_facts"), "2\n");

    // Added beside it instead: a disc of its own, with no facts carried.
    prompter.ExpectMessage("Delete 1 Duplicate Disc(s)?", ::testing::_, Icon::Question,
                           Buttons::YesNoCancel, 3, Answer::No);
    ASSERT_TRUE(Scan("beside"));
    EXPECT_EQ(discfacts::LoadDiscFacts(*db, 3).location, "");
}

TEST_F(ScanFactsTest, WithoutTheOptionNothingIsReadForHashes) {
    disc.Write("a.txt", "a");
    ASSERT_TRUE(Scan("plain"));
    EXPECT_EQ(Rows("SELECT COUNT(*) FROM _kest_file_hashes"), "0\n");
}

TEST_F(ScanFactsTest, HashesMatchXxhsumAndOddFilesAreLeftWithoutOne) {
    std::string big(3 * 1048576 + 17, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7919 % 251);
    disc.Write("big.bin", big);
    disc.Write("sub/empty", "");
    disc.Write("sub/é.txt", "accent");
    std::filesystem::create_symlink("big.bin", disc.Path() / "link");
    ASSERT_EQ(mkfifo(disc.File("pipe").c_str(), 0644), 0);
    options.hashContents = true;
    ASSERT_TRUE(Scan("hashed"));
    EXPECT_EQ(Rows("SELECT COUNT(*) FROM tblFiles"), "5\n");  // the link and the pipe too
    std::string stored = Rows(
        "SELECT f.FileName, h.xxh3 FROM tblFiles f JOIN _kest_file_hashes h ON h.FileId = "
        "f.FileId ORDER BY f.FileName");
    EXPECT_EQ(std::count(stored.begin(), stored.end(), '\n'), 3) << stored;
    EXPECT_THAT(Log(), ::testing::Not(HasSubstr("Content not read")));

    // The reference: xxhsum's own 128-bit hashes of the same files.
    if (std::system("command -v xxhsum >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xxhsum";
    std::string command = "cd '" + disc.Path().string() +
                          "' && xxhsum -H2 big.bin sub/empty sub/é.txt > '" + home.File("sums") +
                          "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream sums(home.File("sums"));
    for (std::string hash, file; sums >> hash >> file;) {
        std::string name = file.substr(file.rfind('/') + 1);
        EXPECT_THAT(stored, HasSubstr(name + "|" + hash.substr(hash.find('_') + 1) + "\n")) << hash;
    }
}

TEST_F(ScanFactsTest, AFileThatCannotBeReadIsLoggedAndTheScanGoesOn) {
    // A file whose reads fail: a kernel file without a read operation, bound
    // over an ordinary one (root reads past permissions, so those won't do).
    disc.Write("ok.txt", "fine");
    std::string bad = disc.Write("bad.bin", "");
    if (mount("/proc/self/clear_refs", bad.c_str(), nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "no bind mount here";
    struct Unmount {
        std::string path;
        ~Unmount() { umount2(path.c_str(), MNT_DETACH); }
    } unmount{bad};
    options.hashContents = true;
    ASSERT_TRUE(Scan("partly"));
    EXPECT_EQ(Rows("SELECT COUNT(*) FROM tblFiles"), "2\n");
    EXPECT_EQ(Rows("SELECT f.FileName FROM tblFiles f JOIN _kest_file_hashes h ON h.FileId = "
                   "f.FileId"),
              "ok.txt\n");
    EXPECT_THAT(Log(), HasSubstr("Content not read for its hash ("));
    EXPECT_THAT(Log(), HasSubstr("): bad.bin"));
}

}  // namespace
}  // namespace kest::scan
