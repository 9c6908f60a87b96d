#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/RunCli.h"
#include "support/search/SearchFixture.h"

namespace kest::search {
namespace {

using test::ShellQuote;
using ::testing::EndsWith;
using ::testing::HasSubstr;

class SearchCli : public ::testing::Test {
  protected:
    void SetUp() override {
        test::MakeSearchCatalog(home).reset();
        home.Write("Kest.ini", "[Save_List]\nOpenAfterSaving=False\n");
    }
    test::CliResult Run(const std::string& args) {
        return test::RunCli("--home " + ShellQuote(home.Path().string()) + " " + args);
    }
    test::TempDir home;
};

TEST_F(SearchCli, PrintsTheShownColumnsAndCounts) {
    auto r = Run("search --show-sql --sort 'File Name:desc' readme");
    ASSERT_EQ(r.status, 0) << r.err;
    auto lines = r.OutLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_THAT(lines[0], ::testing::StartsWith("SELECT tblFiles.KestId AS [Kest ID ]"));
    EXPECT_EQ(lines[1], "Kest ID \tFile Directory \tFile Name v\tFile Size (MB) ");
    EXPECT_EQ(lines[2], "1\t<root>\treadme.txt\t0.0015");
    EXPECT_EQ(lines[3], "2\t<root>\tREADME.TXT\t0.0000");
    EXPECT_THAT(r.err, HasSubstr("Matches Found: 2\nSearch time: "));
    EXPECT_THAT(test::ReadWholeFile(home.File("Kest.ini")), HasSubstr("Current=readme"));
}

TEST_F(SearchCli, BoundsAndValidation) {
    auto r = Run("search --disc-from 2 --size-to 0.001 '*'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.OutLines().size(), 2u);  // header and README.TXT
    r = Run("search --date-from 'not a date' x");
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Date - Lower Bound Error"));
    EXPECT_THAT(r.err, HasSubstr("Valid date is required!"));
}

TEST_F(SearchCli, ContentsDiscsAndSaving) {
    auto r = Run("contents 2");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.OutLines().size(), 3u);
    r = Run("contents");
    EXPECT_THAT(r.err, HasSubstr("Matches Found: 8"));

    std::string file = home.File("discs.csv");
    r = Run("discs --save-csv " + ShellQuote(file));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.OutLines().size(), 4u);
    EXPECT_THAT(r.err, HasSubstr("3 discs (8 files) in kest001.kst database."));
    std::string csv = test::ReadWholeFile(file);
    EXPECT_THAT(csv, HasSubstr("\"3\",\"0000-0002\",\"CDFS\",\"EMPTY\",\"\",\"0\",\r\n"));
    EXPECT_THAT(csv, EndsWith("\r\n"));
}

// Lists longer than one hand-over, printed as they come.
class LongListCli : public SearchCli {
  protected:
    void SetUp() override {
        auto db = test::MakeSearchCatalog(home);
        db->Begin();
        auto insert = db->Prepare(
            "INSERT INTO tblFiles (KestId, FileDir, FileName, FileSize) VALUES (?, ?, ?, ?)");
        for (int i = 0; i < kExtraFiles; ++i) {
            insert.Bind(1, int64_t{i % 2 + 1});
            insert.Bind(2, "dir" + std::to_string(i % 37) + "/");
            insert.Bind(3, "file" + std::to_string(i * 7919 % 100003) + ".dat");
            insert.Bind(4, int64_t{i} * 1000);
            insert.Run();
            insert.Reset();
        }
        db->Commit();
        db.reset();
        home.Write("Kest.ini", "[Save_List]\nOpenAfterSaving=False\n");
    }
    static constexpr int kExtraFiles = 10000;
};

TEST_F(LongListCli, StreamedListsEqualTheHeldOnes) {
    // A sort by the first key of the statement's own order changes nothing,
    // but makes the command hold every row before printing.
    auto held = Run("search '*' --sort 'Kest ID'");
    auto streamed = Run("search --show-sql '*'");
    ASSERT_EQ(streamed.status, 0) << streamed.err;
    auto lines = streamed.OutLines();
    ASSERT_EQ(lines.size(), kExtraFiles + 8u + 2u);
    lines.erase(lines.begin());  // the statement
    std::string heldText = held.out;
    heldText.replace(heldText.find("Kest ID ^"), 9, "Kest ID ");
    std::string streamedText;
    for (const auto& line : lines) streamedText += line + "\n";
    EXPECT_EQ(streamedText, heldText);
    EXPECT_THAT(streamed.err, HasSubstr("Matches Found: 10008\n"));

    auto contents = Run("contents");
    ASSERT_EQ(contents.status, 0) << contents.err;
    EXPECT_EQ(contents.out, streamedText);
    EXPECT_THAT(contents.err, HasSubstr("Matches Found: 10008\n"));
}

TEST_F(LongListCli, AReaderThatGoesAwayEndsTheListQuietly) {
    std::string err = home.File("err"), status = home.File("status");
    for (const char* command : {"search '*'", "contents"}) {
        std::string line = ShellQuote(KEST_CLI_PATH) + " --home " + ShellQuote(home.Path()) + " " +
                           command + " 2>" + ShellQuote(err) + "; echo $? >" + ShellQuote(status);
        std::FILE* pipe = popen(line.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        char first[256] = {};
        ASSERT_NE(std::fgets(first, sizeof first, pipe), nullptr);
        EXPECT_EQ(std::string(first), "Kest ID \tFile Directory \tFile Name \tFile Size (MB) \n");
        pclose(pipe);  // the rest is never read
        EXPECT_EQ(test::ReadWholeFile(status), "0\n") << command;
        EXPECT_EQ(test::ReadWholeFile(err), "") << command;
    }
    // The search still went into the history.
    EXPECT_THAT(test::ReadWholeFile(home.File("Kest.ini")), HasSubstr("Current=*"));
}

bool HoldsNewContent(const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".kest-new") return true;
    return false;
}

// Ended by a signal while it writes a long list, the command leaves no
// half-written file in the list's folder. The folder is watched without a
// pause and the command stopped the moment its new file shows; a run that
// was past the writing by then is tried again.
TEST_F(LongListCli, AKillWhileSavingLeavesNoHalfWrittenFile) {
    bool caughtWriting = false;
    for (int run = 0; run < 20 && !caughtWriting; ++run) {
        test::TempDir lists;
        test::CliProcess cli("--home " + ShellQuote(home.Path().string()) +
                             " search '*' --save-text " + ShellQuote(lists.File("list.txt")));
        auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!HoldsNewContent(lists.Path()) && !std::filesystem::exists(lists.File("list.txt")) &&
               std::chrono::steady_clock::now() < giveUp) {
        }
        cli.Pause();
        caughtWriting = HoldsNewContent(lists.Path());
        cli.Signal(SIGTERM);
        cli.Signal(SIGCONT);
        auto ended = cli.Wait();
        if (!caughtWriting) continue;
        EXPECT_EQ(ended.status, -1);  // ended by the signal
        EXPECT_FALSE(HoldsNewContent(lists.Path()));
        EXPECT_FALSE(std::filesystem::exists(lists.File("list.txt")));
    }
    EXPECT_TRUE(caughtWriting);
}

}  // namespace
}  // namespace kest::search
