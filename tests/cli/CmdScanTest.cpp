#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "support/RunCli.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"
#include "support/archive/ZipBuilder.h"

namespace kest {
namespace {

using test::ShellQuote;

class CmdScanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"a.txt", "b.txt", "sub/c.txt", "sub/d.txt"}) disc.Write(name, "x");
        ASSERT_EQ(Cli("create " + ShellQuote(home.File("kest001.kst"))).status, 0);
    }
    test::CliResult Cli(const std::string& args) {
        return test::RunCli("--home " + ShellQuote(home.Path().string()) + " " + args);
    }
    test::CliResult Scan(const std::string& extra, const std::string& scanExtra = "") {
        return Cli(extra + " scan " + ShellQuote(disc.Path().string()) +
                   " --drive-type optical --volume-label CLI_DISC --volume-serial 0000-0ABC" +
                   scanExtra);
    }
    std::string ScanArgs(const std::string& serial) {
        return "--home " + ShellQuote(home.Path().string()) + " --input killed scan " +
               ShellQuote(disc.Path().string()) +
               " --drive-type optical --volume-label K --volume-serial " + serial;
    }
    // Starts a scan and stops it with `signal` once its log has reached
    // `logBytes` and `later` has passed (or lets it end first).
    test::CliResult ScanStoppedAt(const std::string& serial, uintmax_t logBytes, int signal,
                                  std::chrono::milliseconds later = {}) {
        std::string log = home.File("Kest.dat");
        std::filesystem::remove(log);
        test::CliProcess scan(ScanArgs(serial));
        for (int i = 0; i < 20000; ++i) {
            std::error_code error;
            uintmax_t size = std::filesystem::file_size(log, error);
            if (!error && size >= logBytes) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::this_thread::sleep_for(later);
        scan.Signal(signal);
        return scan.Wait();
    }
    int64_t LastDiscCount(const std::string& table) {
        auto out = Cli("sql " + ShellQuote(home.File("kest001.kst")) + " 'SELECT COUNT(*) FROM " +
                       table + " WHERE KestId = (SELECT MAX(KestId) FROM tblDiscs)'")
                       .out;
        return std::stoll(out.substr(out.find_first_of("0123456789")));
    }
    // The file and entry lines of the log ("N: path", "   N :: ...").
    // Only whole lines count: a kill may cut the last one.
    std::pair<int64_t, int64_t> LoggedRows() {
        std::ifstream file(home.File("Kest.dat"), std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        std::istringstream in(text.substr(0, text.rfind('\n') + 1));
        int64_t files = 0, entries = 0;
        for (std::string line; std::getline(in, line);) {
            if (line.find(":: ") != std::string::npos) {
                ++entries;
            } else if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0]))) {
                ++files;
            }
        }
        return {files, entries};
    }
    test::TempDir home, disc;
};

TEST_F(CmdScanTest, ScansIntoTheStartupCatalogAndPrintsTheSummaryLast) {
    auto result = Scan("--input 'From the CLI'");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.out, ::testing::MatchesRegex(
                                "Added 4 files from Disc with label CLI_DISC\\. \\([0-9]+ s\\)\n"));
    auto discs = Cli("sql " + ShellQuote(home.File("kest001.kst")) +
                     " 'SELECT DiscSer, DiscLbl, DiscDesc, DiscNumF FROM tblDiscs'");
    EXPECT_THAT(discs.out, ::testing::HasSubstr("0000-0ABC\tCLI_DISC\tFrom the CLI\t4"));
}

TEST_F(CmdScanTest, CancelAfterStopsWithTheAbortError) {
    auto result = Scan("--input cancelled", " --cancel-after 2");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "Error (-2147220727) in scanning Disc! See Help>Content>Errors\n");
    EXPECT_THAT(result.err, ::testing::HasSubstr("The scan was aborted!"));
}

// The 7z, TAR and ISO kinds are listed by default once subfiles are saved; a
// kind switched off in Kest.ini is stored as a file only.
TEST_F(CmdScanTest, ListsTheLibarchiveKindsTheSettingsChoose) {
    if (!test::ToolsInstalled("7z zstd xorriso")) GTEST_SKIP() << "an archiving tool is missing";
    disc.Write("pack/in.txt", "inside");
    ASSERT_TRUE(test::RunIn(disc,
                            "cd pack && 7z a ../s.7z in.txt && tar --zstd -cf ../s.tar.zst "
                            "in.txt && xorriso -as mkisofs -R -o ../s.iso . && cd .. && "
                            "rm -r pack"));
    const std::string catalog = ShellQuote(home.File("kest001.kst"));
    const std::string query =
        " 'SELECT f.FileName, s.SubFileName, s.SubFileSMeth FROM tblSubFiles s "
        "JOIN tblFiles f ON f.FileId = s.FileId "
        "WHERE s.KestId = (SELECT MAX(KestId) FROM tblDiscs) ORDER BY 1'";
    home.Write("Kest.ini", "[SubFile_Options]\nSaveSubFileCont=True\n");
    ASSERT_EQ(Scan("--input one").status, 0);
    EXPECT_EQ(Cli("sql " + catalog + query).out,
              "FileName\tSubFileName\tSubFileSMeth\ns.7z\tin.txt\t\ns.iso\tin.txt\tStored\n"
              "s.tar.zst\tin.txt\tZstd\n");
    home.Write("Kest.ini", "[SubFile_Options]\nSaveSubFileCont=True\nSave7Z=0\nSaveISO=0\n");
    ASSERT_EQ(Cli("--input two scan " + ShellQuote(disc.Path().string()) +
                  " --drive-type optical --volume-label TWO --volume-serial 0000-0ABD")
                  .status,
              0);
    EXPECT_EQ(Cli("sql " + catalog + query).out,
              "FileName\tSubFileName\tSubFileSMeth\ns.tar.zst\tin.txt\tZstd\n");
}

// A scan killed while it lists a large archive keeps the archive's row and
// every file before it, and its entries up to the last batch committed.
TEST_F(CmdScanTest, KilledInALargeArchiveKeepsTheRowsCommittedInBatches) {
    home.Write("Kest.ini", "[SubFile_Options]\nSaveSubFileCont=True\nSaveZIP=1\n");
    for (int i = 0; i < 300; ++i) disc.Write("f" + std::to_string(i), "");
    test::ZipLayout zip;
    for (int i = 0; i < 60000; ++i) zip.entries.push_back({.name = "d/e" + std::to_string(i)});
    disc.Write("z/big.zip", test::BuildZip(zip));
    int serial = 0;
    for (uintmax_t logBytes : {100u << 10, 500u << 10, 1200u << 10}) {
        SCOPED_TRACE(logBytes);
        ScanStoppedAt("0000-000" + std::to_string(++serial), logBytes, SIGKILL);
        auto [loggedFiles, loggedEntries] = LoggedRows();
        int64_t entries = LastDiscCount("tblSubFiles");
        if (loggedEntries > 0) {
            EXPECT_EQ(LastDiscCount("tblFiles"), 305);
        }
        EXPECT_GE(entries, loggedEntries - 1000);
        EXPECT_LE(entries, 60000);
        EXPECT_GT(loggedFiles, 0);
    }
}

// A row's log line reaches the file before the row's commit: killed at any
// point, the indexing at the end included, the log lists every row the
// catalog holds.
TEST_F(CmdScanTest, KilledAnywhereTheLogListsEveryCommittedRow) {
    const int files = 20000;
    for (int i = 0; i < files; ++i)
        disc.Write("d" + std::to_string(i % 40) + "/f" + std::to_string(i), "");
    int serial = 0;
    auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(test::RunCli(ScanArgs("0000-000" + std::to_string(++serial))).status, 0);
    auto whole = std::chrono::steady_clock::now() - started;
    ASSERT_EQ(LoggedRows().first, files + 4);
    // Kills spread over the scan's time, most of them near its end, where
    // the last commit and the indexing run.
    for (int percent : {30, 60, 80, 88, 94, 100}) {
        SCOPED_TRACE(std::to_string(percent) + "% of the time of a whole scan");
        auto later = std::chrono::duration_cast<std::chrono::milliseconds>(whole * percent / 100);
        ScanStoppedAt("0000-00" + std::to_string(10 + ++serial), 0, SIGKILL, later);
        EXPECT_LE(LastDiscCount("tblFiles"), LoggedRows().first);
    }
}

// SIGTERM and Ctrl-C are the Cancel button: what the log lists is committed,
// the log has its ending and the scan reports the abort.
TEST_F(CmdScanTest, StopSignalsCancelTheScan) {
    home.Write("Kest.ini", "[SubFile_Options]\nSaveSubFileCont=True\nSaveZIP=1\n");
    test::ZipLayout zip;
    for (int i = 0; i < 60000; ++i) zip.entries.push_back({.name = "e" + std::to_string(i)});
    disc.Write("z/big.zip", test::BuildZip(zip));
    int serial = 0;
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        auto result = ScanStoppedAt("0000-000" + std::to_string(++serial), 200u << 10, signal);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "Error (-2147220727) in scanning Disc! See Help>Content>Errors\n");
        auto [loggedFiles, loggedEntries] = LoggedRows();
        EXPECT_EQ(LastDiscCount("tblFiles"), loggedFiles);
        EXPECT_EQ(LastDiscCount("tblSubFiles"), loggedEntries);
        EXPECT_GT(loggedEntries, 0);
        std::ifstream in(home.File("Kest.dat"));
        std::vector<std::string> log;
        for (std::string line; std::getline(in, line);) log.push_back(line);
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(log[log.size() - 2], "-2147220727 on line 0 - The scan was aborted!");
        EXPECT_THAT(log.back(), ::testing::StartsWith("Last file in memory: "));
    }
}

}  // namespace
}  // namespace kest
