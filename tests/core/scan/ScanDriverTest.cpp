#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "core/engine/Database.h"
#include "core/scan/ScanDriver.h"
#include "core/text/NameBytes.h"
#include "support/ScriptedPrompter.h"
#include "support/SmallDisk.h"
#include "support/TempDir.h"
#include "support/archive/CabBuilder.h"
#include "support/archive/ZipBuilder.h"
#include "support/catalog/CatalogFixture.h"
#include "support/engine/FullDiskVfs.h"
#include "support/platform/FakeVolumes.h"
#include "support/scan/RecordingScanView.h"
#include "support/search/SearchFixture.h"

namespace kest::scan {
namespace {

using test::FakeVolumes;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::StartsWith;
using Table = std::vector<std::vector<std::string>>;

class ScanDriverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
        catalogPath = test::MakeCatalogFile(home);
        db = engine::Database::Open(catalogPath, "");
        root = volumes.Add(
            {disc.Path().string(), platform::DriveType::Optical, "BACKUP_01", "1A2B-03CD", "CDFS"});
        options.showNonOpticalWarning = false;
        options.playSound = false;
        options.estimateBeforeScan = false;
    }

    ScanDriver MakeDriver() {
        return ScanDriver(
            {catalogPath, *db, volumes, sound, prompter, view, options, home.File("Kest.dat")});
    }
    bool Scan() { return MakeDriver().StartScan(root); }
    void ExpectDescription(std::optional<std::string> reply) {
        prompter.ExpectInput("Disc Description",
                             "You can enter a description for your Disc in this input box. "
                             "Ex:\"Game Patches and MP3's (Gold Sony CDR)\"\r\n\r\n\r\n"
                             "<255 character maximum>",
                             std::move(reply));
    }
    Table Rows(const std::string& sql) {
        Table out;
        for (const auto& row : db->Query(sql).rows) {
            out.emplace_back();
            for (const auto& v : row) out.back().push_back(engine::ValueText(v));
        }
        return out;
    }
    std::vector<std::string> LogLines() {
        std::ifstream in(home.File("Kest.dat"));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    int64_t Count(const std::string& table) {
        return std::get<int64_t>(db->Query("SELECT COUNT(*) FROM " + table).rows[0][0]);
    }
    // Scans, pressing Cancel once `files` files are handled; exactly their
    // rows stay in the catalog.
    void ScanCancelledAfter(int64_t files) {
        ExpectDescription("cancelled");
        prompter.ExpectNotice("Error while scanning Disc", "-2147220727\r\nThe scan was aborted!",
                              Icon::Critical);
        ScanDriver driver = MakeDriver();
        view.onPump = [&, pressed = false]() mutable {
            if (!pressed && driver.State().fileCounter >= files) driver.CancelScan();
            pressed = pressed || driver.State().fileCounter >= files;
        };
        EXPECT_FALSE(driver.StartScan(root));
        prompter.VerifyDone();
        EXPECT_EQ(Count("tblFiles"), files);
    }

    // Scans `files` files onto a catalog that fills up: the rows before the
    // refused one stay, the log lists exactly the rows the catalog holds and
    // the error names the first row not stored.
    void ScanOntoAFullDisk(int64_t files) {
        ExpectDescription("full");
        prompter.ExpectNotice("Error while scanning Disc", "3026\r\nNot enough space on disk.",
                              Icon::Critical);
        EXPECT_FALSE(Scan());
        prompter.VerifyDone();
        int64_t kept = Count("tblFiles");
        auto log = LogLines();
        int64_t logged = std::count_if(log.begin(), log.end(), [&](const std::string& line) {
            return line.find(": " + root) != std::string::npos && !line.starts_with("Last file");
        });
        EXPECT_GT(kept, 0);
        EXPECT_LT(kept, files);
        EXPECT_EQ(logged, kept);
        ASSERT_THAT(log.back(), StartsWith("Last file in memory: " + root + "many/"));
        std::string first = log.back().substr(log.back().rfind('/') + 1);
        EXPECT_EQ(Count("tblFiles WHERE FileName = '" + first.substr(0, first.find(' ')) + "'"), 0);
    }

    test::TempDir home, disc;
    std::string catalogPath;
    std::unique_ptr<engine::Database> db;
    FakeVolumes volumes;
    std::string root;
    test::ScriptedPrompter prompter;
    test::RecordingScanView view;
    test::FakeSound sound;
    ScanOptions options;
};

TEST_F(ScanDriverTest, StoresEveryFileWithItsFactsLogAndSummary) {
    disc.Write("plain.txt", "hello");
    chmod(disc.Write("readonly.txt", "r").c_str(), 0444);
    for (const char* name : {".hidden", "pagefile.sys", "System Volume Information/secret.dat",
                             "data/System Volume Information/inner.dat", "data/pagefile.sys",
                             "data/deeper/odd:na*me?<x>|\".txt", " top/x.txt", "bad\xFFname.txt"})
        disc.Write(name, "");
    test::ZipLayout zip;
    zip.entries = {{.name = "docs/a.txt", .size = 10}, {.name = "b.txt"}};
    disc.Write("arch.zip", test::BuildZip(zip));
    test::CabLayout cab;
    cab.folderTypes = {0};
    cab.files = {{.name = "c.txt", .size = 3}};
    disc.Write("Setup.CAB", test::BuildCab(cab));
    std::filesystem::create_directory_symlink(".", disc.Path() / "loop");
    struct timespec times[2] = {{1700000000, 0}, {1700000000, 0}};
    utimensat(AT_FDCWD, disc.File("plain.txt").c_str(), times, 0);
    options.saveSubFileContents = true;
    options.saveCab = true;
    ExpectDescription("My disc");

    ASSERT_TRUE(Scan());
    prompter.VerifyDone();

    std::map<std::string, std::vector<std::string>> files;  // "FileDir|FileName" -> att, size
    for (auto& row : Rows("SELECT FileDir, FileName, FileAtt, FileSize FROM tblFiles")) {
        files[row[0] + "|" + row[1]] = {row[2], row[3]};
    }
    std::map<std::string, std::vector<std::string>> expected = {
        {"<root>|plain.txt", {"", "5"}},
        {"<root>|readonly.txt", {"R", "1"}},
        {"<root>|.hidden", {"H", "0"}},
        {"<root>|pagefile.sys", {"?", "0"}},
        {"<root>|arch.zip", {"", files["<root>|arch.zip"].at(1)}},
        {"<root>|Setup.CAB", {"", files["<root>|Setup.CAB"].at(1)}},
        {"<root>|loop", {"", "1"}},
        {"<root>|bad\xEF\x9F\xBFname.txt", {"", "0"}},
        {"data/System Volume Information/|inner.dat", {"", "0"}},
        {"data/|pagefile.sys", {"", "0"}},
        {"data/deeper/|odd:na*me?<x>|\".txt", {"", "0"}},
        {"top/|x.txt", {"", "0"}}};
    EXPECT_EQ(files, expected);

    EXPECT_EQ(Rows("SELECT DiscLbl, DiscSer, DiscFSys, DiscDesc, DiscNumF FROM tblDiscs"),
              (Table{{"BACKUP_01", "1A2B-03CD", "CDFS", "My disc", "12"}}));
    auto subfiles = Rows("SELECT SubFileDir, SubFileName FROM tblSubFiles");
    std::sort(subfiles.begin(), subfiles.end());
    EXPECT_EQ(subfiles, (Table{{"<root>", "b.txt"}, {"<root>", "c.txt"}, {"docs/", "a.txt"}}));

    auto log = LogLines();
    ASSERT_GE(log.size(), 4u);
    EXPECT_THAT(log[0], StartsWith("This file was generated by Kest on "));
    EXPECT_EQ(log[1], "");
    auto plain = std::find_if(log.begin(), log.end(), [&](const std::string& line) {
        return line.ends_with(": " + root + "plain.txt");
    });
    ASSERT_NE(plain, log.end());
    EXPECT_THAT(*plain, MatchesRegex("[0-9]+: .*"));
    EXPECT_EQ(plain[1], "\"11/14/2023 22:13:20\",\"5\",\"\"");
    EXPECT_THAT(log, ::testing::Contains(HasSubstr("not valid UTF-8")));
    EXPECT_EQ(log[log.size() - 2], "");
    EXPECT_EQ(log.back(), "The scan was successful.");
    EXPECT_THAT(view.status1.back(),
                MatchesRegex("Added 12 files from Disc with label BACKUP_01\\. \\([01] s\\)"));
    EXPECT_THAT(view.status1, ::testing::Contains("Adding plain.txt"));
    EXPECT_THAT(view.status1, ::testing::Contains("Adding top/x.txt"));
    EXPECT_EQ(view.reloads, 1);
    EXPECT_FALSE(view.locked);
}

// Names that are not UTF-8 are stored escaped: distinct, searchable, and the
// exact bytes come back.
TEST_F(ScanDriverTest, NamesThatAreNotUtf8KeepTheirBytes) {
    for (const char* name : {"d\xFC/caf\xE9.txt", "d\xFC/caf\xE8.txt", "d\xFC/caf\xC3\xA9.txt"})
        disc.Write(name, "");
    ExpectDescription("latin");
    ASSERT_TRUE(Scan());
    db->BuildSearchIndex();
    for (bool indexed : {true, false}) {
        db->UseSearchIndex(indexed);
        auto rows = Rows(
            "SELECT FileDir, FileName FROM tblFiles WHERE FileName LIKE 'caf*.txt' "
            "AND FileDir LIKE 'd*' ORDER BY FileName");
        ASSERT_EQ(rows.size(), 3u);
        std::set<std::string> onDisc;
        for (const auto& row : rows) {
            std::string path = disc.File(text::NameBytes(row[0]) + text::NameBytes(row[1]));
            EXPECT_TRUE(std::filesystem::exists(path)) << text::ShownName(row[1]);
            onDisc.insert(path);
        }
        EXPECT_EQ(onDisc.size(), 3u);
    }
    EXPECT_EQ(Rows("SELECT FileName FROM tblFiles WHERE FileName LIKE '*\xEF\x9F\xA9*'"),
              (Table{{"caf\xEF\x9F\xA9.txt"}}));
    EXPECT_THAT(LogLines(), ::testing::Contains(HasSubstr("d\xEF\x9F\xBC/caf\xEF\x9F\xA9.txt")));
}

// Only regular files are opened as archives: a FIFO would block the scan
// forever and a link would list what lies elsewhere (even off the disc).
TEST_F(ScanDriverTest, FifosAndLinksNamedLikeArchivesAreStoredAsPlainFiles) {
    test::ZipLayout zip;
    zip.entries = {{.name = "elsewhere.txt"}};
    std::string outside = home.Write("outside.zip", test::BuildZip(zip));
    ASSERT_EQ(mkfifo(disc.File("trap.zip").c_str(), 0644), 0);
    std::filesystem::create_symlink(outside, disc.Path() / "link.zip");
    std::filesystem::create_symlink("/dev/zero", disc.Path() / "device.cab");
    options.saveSubFileContents = true;
    options.saveCab = true;
    ExpectDescription("traps");
    ASSERT_TRUE(Scan());
    auto files = Rows("SELECT FileName FROM tblFiles ORDER BY FileName");
    EXPECT_EQ(files, (Table{{"device.cab"}, {"link.zip"}, {"trap.zip"}}));
    EXPECT_EQ(Count("tblSubFiles"), 0);
}

// Every log line has one line ending, and a name holding a line break or a
// tab stays on its record's line; the catalog keeps the real names.
TEST_F(ScanDriverTest, NamesWithControlCharactersKeepTheirLogLine) {
    disc.Write("line\nbreak.txt", "");
    disc.Write("tab\there\r.txt", "");
    test::ZipLayout zip;
    zip.entries = {{.name = "in\nside.txt"}};
    disc.Write("arch.zip", test::BuildZip(zip));
    options.saveSubFileContents = true;
    ExpectDescription("controls");
    ASSERT_TRUE(Scan());
    std::ifstream in(home.File("Kest.dat"), std::ios::binary);
    std::string raw{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(raw.find('\r'), std::string::npos);
    EXPECT_EQ(raw.find('\t'), std::string::npos);
    auto log = LogLines();
    for (const char* name : {"line?break.txt", "tab?here?.txt"}) {
        EXPECT_THAT(log, ::testing::Contains(::testing::EndsWith(": " + root + name)));
    }
    EXPECT_THAT(log, ::testing::Contains(HasSubstr(":: \"<root>\",\"in?side.txt\",0")));
    auto names = Rows("SELECT FileName FROM tblFiles ORDER BY FileName");
    EXPECT_EQ(names, (Table{{"arch.zip"}, {"line\nbreak.txt"}, {"tab\there\r.txt"}}));
    EXPECT_EQ(Rows("SELECT SubFileName FROM tblSubFiles"), (Table{{"in\nside.txt"}}));
}

TEST_F(ScanDriverTest, OwnFilesComeBeforeSubfoldersDepthFirst) {
    for (const char* name : {"r1", "r2", "a/f1", "a/b/f2", "a/b/c/f3", "a/f4", "d/f5", "d/e/f6"}) {
        disc.Write(name, "");
    }
    ExpectDescription("tree");
    ASSERT_TRUE(Scan());
    std::vector<std::string> dirs;
    for (auto& row : Rows("SELECT FileDir FROM tblFiles ORDER BY FileId")) {
        if (dirs.empty() || dirs.back() != row[0]) dirs.push_back(row[0]);
    }
    // Each folder's files are together, after its parent's, and a subtree is
    // finished before the walk leaves it.
    ASSERT_EQ(dirs.size(), 6u);
    EXPECT_EQ(dirs[0], "<root>");
    for (size_t i = 1; i < dirs.size(); ++i) {
        for (size_t j = i + 1; j < dirs.size(); ++j) {
            EXPECT_FALSE(dirs[i].starts_with(dirs[j])) << dirs[j] << " after " << dirs[i];
            if (j > i + 1 && dirs[j].starts_with(dirs[i])) {
                EXPECT_TRUE(dirs[j - 1].starts_with(dirs[i])) << dirs[i] << " left and re-entered";
            }
        }
    }
}

// Rows reach the catalog in groups; whatever the grouping, every row keeps
// its place and an archive's entries point at the archive's own row.
TEST_F(ScanDriverTest, RowsWrittenInGroupsKeepOrderAndArchiveIds) {
    constexpr int kFiles = 60;  // more than two groups, with an archive inside one
    test::ZipLayout zip;
    zip.entries = {{.name = "in.txt"}};
    for (int i = 0; i < kFiles; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%02d%s", i, i == 37 ? ".zip" : "");
        disc.Write(name, i == 37 ? test::BuildZip(zip) : "");
    }
    options.saveSubFileContents = true;
    ExpectDescription("groups");
    ASSERT_TRUE(Scan());
    auto rows = Rows("SELECT FileId, FileName FROM tblFiles ORDER BY FileId");
    ASSERT_EQ(rows.size(), size_t{kFiles});
    std::vector<std::string> stored, walked;  // in FileId order and in the log's order
    for (auto& row : rows) stored.push_back(row[1]);
    for (const std::string& line : LogLines()) {
        auto at = line.find(": " + root);
        if (at != std::string::npos) walked.push_back(line.substr(at + 2 + root.size()));
    }
    EXPECT_EQ(stored, walked);
    EXPECT_EQ(Rows("SELECT f.FileName FROM tblSubFiles s INNER JOIN tblFiles f ON "
                   "s.FileId = f.FileId"),
              (Table{{"f37.zip"}}));

    // A cancel in the middle of a later group keeps exactly the rows handled.
    db->Execute("DELETE * FROM tblFiles");
    db->Execute("DELETE * FROM tblDiscs");
    ScanCancelledAfter(33);
}

TEST_F(ScanDriverTest, DuplicateSerialsAskThenDeleteKeepOrGiveUp) {
    struct Case {
        std::vector<Answer> answers;
        bool added;
        bool oldKept;
    };
    for (const Case& c : {Case{{Answer::Yes, Answer::Yes}, true, false},
                          Case{{Answer::Yes, Answer::No}, false, true},
                          Case{{Answer::No}, true, true}, Case{{Answer::Cancel}, false, true}}) {
        db->Execute("DELETE * FROM tblDiscs;");
        db->Execute("DELETE * FROM tblFiles;");
        db->Execute("INSERT INTO tblDiscs (DiscSer, DiscLbl) VALUES ('1a2b-03cd', 'old one');");
        int64_t first = db->LastInsertId();
        db->Execute("INSERT INTO tblDiscs (DiscSer) VALUES ('FFFF-0000');");
        db->Execute("INSERT INTO tblDiscs (DiscSer) VALUES ('1A2B-03CD');");
        int64_t second = db->LastInsertId();
        db->Execute("INSERT INTO tblFiles (KestId, FileDir, FileName) VALUES (" +
                    std::to_string(first) + ", '<root>', 'old.txt');");
        disc.Write("f.txt", "");
        std::string ids = std::to_string(first) + "," + std::to_string(second);
        prompter.ExpectMessage("Delete 2 Duplicate Disc(s)?",
                               "2 duplicate Disc(s) with serial # 1A2B-03CD found in collection!"
                               "\r\n \r\nWould you like to delete 2 Disc(s) before adding the new "
                               "Disc?\r\n  <-> Choose Yes to delete ALL duplicate Disc(s) and add "
                               "the new Disc\r\n  <-> Choose No to just add the new Disc\r\n  <-> "
                               "Choose Cancel to abort the scan.",
                               Icon::Question, Buttons::YesNoCancel, 3, c.answers[0]);
        if (c.answers.size() > 1) {
            prompter.ExpectMessage("Disc(s) Deletion",
                                   "This will delete the Disc(s) with Kest Id:\r\n" + ids +
                                       "\r\nand ALL of the corresponding files from the "
                                       "database!\r\n \r\nAre you sure you want to do this?",
                                   Icon::Exclamation, Buttons::YesNo, 2, c.answers[1]);
        }
        if (c.added) ExpectDescription("new");
        EXPECT_TRUE(Scan());
        prompter.VerifyDone();
        EXPECT_EQ(Count("tblDiscs"), 1 + (c.added ? 1 : 0) + (c.oldKept ? 2 : 0));
        EXPECT_EQ(Count("tblFiles"), (c.added ? 1 : 0) + (c.oldKept ? 1 : 0));
        EXPECT_EQ(LogLines().back(), "The scan was successful.");
    }
}

TEST_F(ScanDriverTest, EmptyDescriptionGivesUpAndLongOneIsCut) {
    disc.Write("f.txt", "");
    ExpectDescription("   ");
    EXPECT_TRUE(Scan());
    ExpectDescription(std::nullopt);
    EXPECT_TRUE(Scan());
    EXPECT_EQ(Count("tblDiscs"), 0);
    EXPECT_EQ(LogLines().back(), "The scan was successful.");

    std::string longText(299, 'x');
    volumes.At(root).serial = "0000-0002";
    ExpectDescription("\xC3\xA9" + longText);  // 300 characters, the first of two bytes
    EXPECT_TRUE(Scan());
    EXPECT_EQ(Rows("SELECT DiscDesc FROM tblDiscs")[0][0], "\xC3\xA9" + std::string(254, 'x'));
}

TEST_F(ScanDriverTest, CancelKeepsTheRowsStoredSoFar) {
    for (const char* name : {"1", "2", "3", "4", "5"}) disc.Write(name, "");
    ScanCancelledAfter(2);  // still in the first group
    EXPECT_EQ(Rows("SELECT DiscNumF FROM tblDiscs")[0][0], "0");
    auto log = LogLines();
    EXPECT_EQ(log[log.size() - 2], "-2147220727 on line 0 - The scan was aborted!");
    EXPECT_THAT(log.back(), StartsWith("Last file in memory: " + root));
    EXPECT_EQ(view.status1.back(), "Error (-2147220727) in scanning Disc! See Help>Content>Errors");
}

TEST_F(ScanDriverTest, EmptyDiscWithEstimateIsError803) {
    options.estimateBeforeScan = true;
    ExpectDescription("empty");
    prompter.ExpectNotice("Error while scanning Disc",
                          "803\r\nError in counting files on Disc. Zero files.\r\n \r\nTry "
                          "setting the 'Estimate File Count Before Scan' option to\r\n'No' in "
                          "the Misc tab in Options.",
                          Icon::Critical);
    EXPECT_FALSE(Scan());
    EXPECT_EQ(Rows("SELECT DiscNumF FROM tblDiscs"), (Table{{"0"}}));
    // The description's line breaks end log lines like every other.
    auto log = LogLines();
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(log.end() - 5, log.end() - 1),
              (std::vector<std::string>{
                  "803 on line 0 - Error in counting files on Disc. Zero files.", " ",
                  "Try setting the 'Estimate File Count Before Scan' option to",
                  "'No' in the Misc tab in Options."}));

    options.estimateBeforeScan = false;
    volumes.At(root).serial = "0000-0002";
    ExpectDescription("empty");
    EXPECT_TRUE(Scan());
    EXPECT_THAT(view.status1.back(), StartsWith("Added 0 files from Disc with label BACKUP_01."));

    // A label of blanks only is no label.
    volumes.At(root).serial = "0000-0003";
    volumes.At(root).label = "    ";
    ExpectDescription("blank");
    EXPECT_TRUE(Scan());
    EXPECT_THAT(view.status1.back(), StartsWith("Added 0 files from Disc with no label. ("));
}

TEST_F(ScanDriverTest, EstimateDrivesTheTotalBarAndTheEndSoundPlaysOrBeeps) {
    for (const char* name : {"a", "b", "c", "d"}) disc.Write(name, "");
    options.estimateBeforeScan = true;
    options.playSound = true;
    options.endScanSound = "/snd/oyeah.wav";
    ExpectDescription("bars");
    ASSERT_TRUE(Scan());
    EXPECT_EQ(view.totalLabels, (std::vector<std::string>{"0%", "25%", "50%", "75%", "100%"}));
    EXPECT_EQ(view.captions, (std::vector<std::string>{"Total File Progress:", "<Estimating...>",
                                                       "Total File Progress:"}));
    EXPECT_EQ(sound.played, (std::vector<std::string>{"/snd/oyeah.wav"}));
    EXPECT_EQ(sound.beeps, 0);

    sound.waveOutput = false;  // no player: a beep instead
    volumes.At(root).serial = "0000-0002";
    ExpectDescription("two");
    ASSERT_TRUE(Scan());
    EXPECT_EQ(sound.played.size(), 1u);
    EXPECT_EQ(sound.beeps, 1);
}

TEST_F(ScanDriverTest, ChecksBeforeTheCatalogIsTouched) {
    // "Select Drive" starts nothing.
    EXPECT_TRUE(MakeDriver().StartScan("Select Drive"));
    auto log = LogLines();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[2], "");
    EXPECT_EQ(log[3], "The scan was successful.");

    // A drive that is not optical, refused.
    options.showNonOpticalWarning = true;
    std::string fixed = volumes.Add({.folder = home.Path().string(), .label = ""});
    prompter.ExpectMessage("Non-optical drive",
                           fixed + " Is not an optical drive.\r\nDo you want to continue?",
                           Icon::Question, Buttons::YesNo, 2, Answer::No);
    EXPECT_TRUE(MakeDriver().StartScan(fixed));

    // A removable drive without its medium.
    options.showNonOpticalWarning = false;
    test::TempDir stick;
    std::string removable = volumes.Add({.folder = stick.Path().string(),
                                         .type = platform::DriveType::Removable,
                                         .label = "",
                                         .present = false});
    prompter.ExpectNotice("Error in reading Disc", "There is no Disc in drive " + removable,
                          Icon::Critical);
    EXPECT_TRUE(MakeDriver().StartScan(removable));

    // The catalog deleted before the scan.
    std::filesystem::remove(catalogPath);
    prompter.ExpectNotice("Database error", "Database " + catalogPath + " was not found!",
                          Icon::Critical);
    EXPECT_TRUE(Scan());
    prompter.VerifyDone();
}

// An error while storing a row stops the scan at that file, with every row
// before it kept, however the rows are grouped on their way to the catalog.
TEST_F(ScanDriverTest, RowErrorsStopAtTheirFileKeepingEarlierRows) {
    for (const char* name : {"r1", "r2", "r3"}) disc.Write(name, "");
    std::string longDir = std::string(200, 'd') + "/" + std::string(100, 'e') + "/";
    disc.Write(longDir + "deep.txt", "");
    ExpectDescription("long");
    prompter.ExpectNotice("Error while scanning Disc", ::testing::_, Icon::Critical);
    EXPECT_FALSE(Scan());
    EXPECT_EQ(Count("tblFiles"), 3);
    EXPECT_THAT(LogLines().back(),
                StartsWith("Last file in memory: " + root + longDir + "deep.txt"));

    // A catalog that cannot grow (a full disk) fails in the middle of a group.
    for (int i = 0; i < 3000; ++i) disc.Write("many/f" + std::to_string(i), "");
    std::filesystem::remove_all(disc.File(std::string(200, 'd')));
    db->Execute("DELETE * FROM tblFiles");
    db->Execute("DELETE * FROM tblDiscs");
    int64_t pages = std::get<int64_t>(db->Query("PRAGMA page_count").rows[0][0]);
    db->Query("PRAGMA max_page_count = " + std::to_string(pages + 20));
    ScanOntoAFullDisk(3003);
    int64_t kept = Count("tblFiles");
    EXPECT_GT(kept, 3);
    // The rows kept are exactly the first files walked.
    EXPECT_EQ(Rows("SELECT MAX(FileId) - MIN(FileId) + 1 FROM tblFiles")[0][0],
              std::to_string(kept));
}

// A disk that fills under the catalog (a small tmpfs), where the commits
// fail and roll back whole batches.
TEST_F(ScanDriverTest, FullDiskLeavesTheLogTrueToTheCatalog) {
    test::SmallDisk small("256k");
    if (!small.Mounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
    db.reset();
    std::filesystem::copy_file(catalogPath, small.File("kest001.kst"));
    catalogPath = small.File("kest001.kst");
    db = engine::Database::Open(catalogPath, "");
    for (int i = 0; i < 4000; ++i) disc.Write("many/f" + std::to_string(i), "");
    ScanOntoAFullDisk(4000);
}

// A disk that fills while an archive's entries are stored (writes refused
// at the engine's file layer once 5,500 of 15,000 entries are saved): the
// failed commit takes back its whole batch.
class ArchiveOnAFullDiskTest : public ScanDriverTest {
  protected:
    static constexpr int kEntries = 15000;
    static constexpr int kFillAt = 5500;

    void SetUp() override {
        ScanDriverTest::SetUp();
        test::ZipLayout zip;
        for (int i = 0; i < kEntries; ++i) zip.entries.push_back({.name = "f" + std::to_string(i)});
        disc.Write("big.zip", test::BuildZip(zip));
        options.saveSubFileContents = true;
        db.reset();
        vfs = std::make_unique<test::FullDiskVfs>();
        db = engine::Database::Open(catalogPath, "");
    }
    void TearDown() override {
        db.reset();
        vfs.reset();
    }
    // Scans, filling the disk at the kFillAt-th entry; the error box is
    // answered after the disk was freed.
    bool ScanFillingUp(Answer answer) {
        ExpectDescription("full");
        prompter.ExpectMessage(
            "frmKestArchive_FileFound",
            ::testing::AllOf(StartsWith("Error: 3026. Not enough space on disk."),
                             ::testing::Truly([this](const std::string&) {
                                 vfs->Free();
                                 return true;
                             })),
            Icon::Critical, Buttons::AbortRetryIgnore, 1, answer);
        if (answer == Answer::Abort) {
            prompter.ExpectNotice("Error while scanning Disc",
                                  "-2147220727\r\nThe scan was aborted!", Icon::Critical);
        }
        int pumps = 0;
        view.onPump = [&] {
            if (++pumps == kFillAt) vfs->FillAfter(0);
        };
        bool done = Scan();
        view.onPump = nullptr;
        EXPECT_GT(vfs->Refused(), 0);
        return done;
    }
    // The entries' log lines, by name.
    std::map<std::string, int> LoggedEntries() {
        std::map<std::string, int> names;
        for (const std::string& line : LogLines()) {
            auto at = line.find(":: \"<root>\",\"");
            if (at != std::string::npos)
                ++names[line.substr(at + 13, line.find('"', at + 13) - at - 13)];
        }
        return names;
    }
    std::set<std::string> StoredEntries() {
        std::set<std::string> names;
        for (const auto& row : Rows("SELECT SubFileName FROM tblSubFiles")) names.insert(row[0]);
        return names;
    }

    std::unique_ptr<test::FullDiskVfs> vfs;
};

TEST_F(ArchiveOnAFullDiskTest, RetrySavesTheWholeBatchAgain) {
    ASSERT_TRUE(ScanFillingUp(Answer::Retry));
    prompter.VerifyDone();
    EXPECT_EQ(Count("tblSubFiles"), kEntries);
    EXPECT_EQ(StoredEntries().size(), static_cast<size_t>(kEntries));
    auto logged = LoggedEntries();
    EXPECT_EQ(logged.size(), static_cast<size_t>(kEntries));
    for (const auto& [name, times] : logged) EXPECT_EQ(times, 1) << name;
    EXPECT_EQ(LogLines().back(), "The scan was successful.");
}

TEST_F(ArchiveOnAFullDiskTest, IgnoreSkipsExactlyTheEntryItNamed) {
    ASSERT_TRUE(ScanFillingUp(Answer::Ignore));
    prompter.VerifyDone();
    EXPECT_EQ(Count("tblSubFiles"), kEntries - 1);
    auto stored = StoredEntries();
    auto log = LogLines();
    auto ignored = std::find_if(log.begin(), log.end(), [](const std::string& line) {
        return line.ends_with("~~ This file was ignored.");
    });
    ASSERT_NE(ignored, log.end());
    ASSERT_NE(ignored, log.begin());
    // The line before names the entry that is missing, and only it.
    std::string named = ignored[-1].substr(ignored[-1].find(":: \"<root>\",\"") + 13);
    named = named.substr(0, named.find('"'));
    EXPECT_EQ(stored.count(named), 0u);
    EXPECT_EQ(stored.size(), static_cast<size_t>(kEntries - 1));
    EXPECT_EQ(LoggedEntries().size(), static_cast<size_t>(kEntries));
    EXPECT_EQ(log.back(), "The scan was successful.");
}

TEST_F(ArchiveOnAFullDiskTest, AbortLeavesTheLogEqualToTheCatalog) {
    EXPECT_FALSE(ScanFillingUp(Answer::Abort));
    prompter.VerifyDone();
    auto stored = StoredEntries();
    EXPECT_GT(stored.size(), 0u);
    EXPECT_LT(stored.size(), static_cast<size_t>(kFillAt));
    auto logged = LoggedEntries();
    std::set<std::string> loggedNames;
    for (const auto& [name, times] : logged) {
        EXPECT_EQ(times, 1) << name;
        loggedNames.insert(name);
    }
    EXPECT_EQ(loggedNames, stored);
}

TEST_F(ScanDriverTest, PathBeyondTheSystemLimitEndsTheScanWithAnError) {
    disc.Write("top.txt", "");
    // 2,100 nested folders "a": their path is longer than 4,096 bytes.
    int fd = open(disc.Path().c_str(), O_RDONLY | O_DIRECTORY);
    for (int depth = 0; depth < 2100 && fd >= 0; ++depth) {
        ASSERT_EQ(mkdirat(fd, "a", 0755), 0);
        int next = openat(fd, "a", O_RDONLY | O_DIRECTORY);
        close(fd);
        fd = next;
    }
    close(fd);
    ExpectDescription("deep");
    prompter.ExpectNotice("Error while scanning Disc", "76\r\nPath not found", Icon::Critical);
    EXPECT_FALSE(Scan());
    EXPECT_EQ(Count("tblFiles"), 1);
    std::system(("rm -rf " + disc.File("a")).c_str());
}

TEST_F(ScanDriverTest, FoldersThatCannotBeReadAreSkippedAndNoted) {
    disc.Write("open.txt", "");
    disc.Write("gone/inner.txt", "");
    // A folder listed with its parent but gone when the walk comes to it.
    ExpectDescription("gone");
    ScanDriver driver = MakeDriver();
    view.onPump = [&] {
        if (driver.State().fileCounter >= 1) std::filesystem::remove_all(disc.File("gone"));
    };
    EXPECT_TRUE(driver.StartScan(root));
    EXPECT_EQ(Rows("SELECT FileName FROM tblFiles"), Table{{"open.txt"}});
    EXPECT_THAT(LogLines(), ::testing::Contains(
                                MatchesRegex("Directory not read \\(.*\\): " + root + "gone/")));

    if (geteuid() == 0) GTEST_SKIP() << "root reads every folder";
    disc.Write("closed/secret.txt", "");
    chmod(disc.File("closed").c_str(), 0);
    view.onPump = nullptr;
    db->Execute("DELETE * FROM tblFiles");
    db->Execute("DELETE * FROM tblDiscs");
    ExpectDescription("closed");
    EXPECT_TRUE(Scan());
    EXPECT_EQ(Count("tblFiles"), 1);
    EXPECT_THAT(LogLines(),
                ::testing::Contains(HasSubstr("Directory not read (Permission denied)")));
}

// The search index waits during the walk and takes the new rows at the end,
// after a cancel as after a whole scan.
// The search index takes the rows at the end, and the disc tree stores the
// disc's folders (not after a cancel: the first exploring does).
TEST_F(ScanDriverTest, TheSearchIndexTakesTheScannedRowsAtTheEnd) {
    db->BuildSearchIndex();
    ASSERT_TRUE(db->SearchIndexComplete());
    test::ZipLayout zip;
    zip.entries = {{.name = "inner_report.txt"}};
    for (int i = 0; i < 40; ++i) disc.Write("Report" + std::to_string(i) + ".txt", "");
    disc.Write("bundle.zip", test::BuildZip(zip));
    options.saveSubFileContents = true;
    const std::string search =
        "SELECT tblFiles.FileName, tblSubFiles.SubFileName FROM tblFiles LEFT JOIN tblSubFiles ON "
        "tblFiles.FileId = tblSubFiles.FileId WHERE (tblFiles.FileName LIKE '*report1*') OR "
        "(tblSubFiles.SubFileName LIKE '*REPORT*') ORDER BY tblFiles.FileName";
    auto expectSameRows = [&] {
        EXPECT_TRUE(db->SearchIndexComplete());
        db->UseSearchIndex(false);
        Table plain = Rows(search);
        db->UseSearchIndex(true);
        EXPECT_EQ(Rows(search), plain);
        return plain.size();
    };
    auto storedFolders = [&] {
        return std::get<int64_t>(db->Query("SELECT count(*) FROM _kest_tree_nodes").rows[0][0]);
    };
    ExpectDescription("indexed");
    ASSERT_TRUE(Scan());
    EXPECT_EQ(expectSameRows(), size_t{12});
    EXPECT_EQ(storedFolders(), 1);  // the root holding every file
    db->Execute("DELETE * FROM tblSubFiles");
    db->Execute("DELETE * FROM tblFiles");
    db->Execute("DELETE * FROM tblDiscs");
    EXPECT_EQ(storedFolders(), 0);
    ScanCancelledAfter(20);
    expectSameRows();
    EXPECT_EQ(storedFolders(), 0);
}

// Cancel during the indexing at the end stops it at once: every row is
// stored, the index is left for the next open to finish.
TEST_F(ScanDriverTest, CancelInTheFinalIndexingEndsItAtOnce) {
    db->BuildSearchIndex();
    for (int i = 0; i < 3000; ++i) disc.Write("f" + std::to_string(i) + ".txt", "");
    ExpectDescription("stopped late");
    ScanDriver driver = MakeDriver();
    // The disc list is reloaded once the walk is over.
    view.onPump = [&] {
        if (view.reloads > 0) driver.CancelScan();
    };
    EXPECT_TRUE(driver.StartScan(root));
    prompter.VerifyDone();
    EXPECT_EQ(Count("tblFiles"), 3000);
    EXPECT_FALSE(db->SearchIndexComplete());
    db->BuildSearchIndex();
    EXPECT_TRUE(db->SearchIndexComplete());
}

// A program folder that fills up stops the log, not the scan: the catalog
// gets every row and the user hears of it once.
TEST_F(ScanDriverTest, ALogThatCannotBeWrittenIsReportedOnce) {
    test::SmallDisk small("64k");
    if (!small.Mounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
    small.Fill();
    for (int i = 0; i < 2000; ++i) disc.Write("f" + std::to_string(i) + ".txt", "");
    ExpectDescription("log on a full disk");
    std::string log = small.File("Kest.dat");
    prompter.ExpectNotice(
        "Error in writing the troubleshooting file",
        "61\r\nDisk full\r\n" + log + " misses lines from the first that could not be written.",
        Icon::Critical);
    EXPECT_FALSE(ScanDriver({catalogPath, *db, volumes, sound, prompter, view, options, log})
                     .StartScan(root));
    prompter.VerifyDone();
    EXPECT_EQ(Count("tblFiles"), 2000);
}

// The log is created private and never written through a link at its name.
TEST_F(ScanDriverTest, TheLogIsPrivateAndRefusesALink) {
    disc.Write("a.txt", "");
    ExpectDescription("private");
    ASSERT_TRUE(Scan());
    struct stat st {};
    ASSERT_EQ(stat(home.File("Kest.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u);
    std::string victim = home.Write("victim", "untouched");
    std::filesystem::remove(home.File("Kest.dat"));
    std::filesystem::create_symlink(victim, home.File("Kest.dat"));
    prompter.ExpectNotice("Error while scanning Disc", StartsWith("75\r\n"), Icon::Critical);
    EXPECT_FALSE(Scan());
    prompter.VerifyDone();
    EXPECT_EQ(test::ReadWholeFile(victim), "untouched");
}

}  // namespace
}  // namespace kest::scan
