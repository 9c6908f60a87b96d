#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/archive/SubFileRecorder.h"
#include "support/archive/ArchiveTestHost.h"
#include "support/archive/ZipBuilder.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::test {
namespace {

using archive::FileFound;
using ::testing::ElementsAre;
using ::testing::StartsWith;

class SubFileRecorderTest : public ReaderTest {
  protected:
    std::string Rows() {
        return QueryText(*db,
                         "SELECT KestId, FileId, SubFileDir, SubFileName, SubFileAtt, SubFileCRC, "
                         "SubFileSize, SubFileCSize, SubFileRatio, SubFileDate, SubFileComm, "
                         "SubFileMeth, SubFileSMeth, SubFileEncr, SubFileFlags FROM tblSubFiles "
                         "ORDER BY SubFileId");
    }
    void ExpectSaveError(Answer answer) {
        prompter.ExpectMessage(
            "frmKestArchive_FileFound",
            ::testing::AllOf(
                StartsWith("Error: 3163. "),
                ::testing::EndsWith("\r\n\r\nSelect the following: \r\n"
                                    "  <-> Choose Abort to completely cancel the scan\r\n"
                                    "  <-> Choose Retry to attempt to save the file again\r\n"
                                    "  <-> Choose Ignore to skip the file")),
            Icon::Critical, Buttons::AbortRetryIgnore, 1, answer);
    }

    std::unique_ptr<engine::Database> db = engine::Database::Open(MakeCatalogFile(dir), "");
    archive::SubFileRecorder recorder{*db, host, prompter};
};

// One of four entries of a ZIP: a file of 1000 bytes deflated to 365 (method
// 8, flags 3), read-only and archived (0x21), with a CRC and a comment.
FileFound Entry(int32_t index, const std::string& directory, const std::string& name) {
    return {index,     4,   name,       "zip",      {2021, 3, 4, 5, 6, 8}, 1000, 365, 8, 0x21,
            directory, 0x3, 0x0000ABCD, "a comment"};
}

TEST_F(SubFileRecorderTest, WritesTheRowTheLogLineAndTheStatus) {
    recorder.Record(Entry(2, "docs/", "a.txt"));
    EXPECT_EQ(
        Rows(),
        "7|42|docs/|a.txt|RA|ABCD|1000|365|63.5|2021-03-04 05:06:08|a comment|8|Deflated:X|1|3\n");
    EXPECT_THAT(host.log, ElementsAre("    2 :: \"docs/\",\"a.txt\",1000"));
    EXPECT_THAT(host.status, ElementsAre("::a.txt"));
    EXPECT_TRUE(host.progress.empty());
    EXPECT_EQ(host.pumps, 1);
}

TEST_F(SubFileRecorderTest, DirectoryEntriesAreSkippedAndTopEntriesGoToRoot) {
    recorder.Record(Entry(1, "docs/", ""));
    recorder.Record(Entry(2, "docs/", "  "));
    recorder.Record(Entry(3, " ", "top.txt"));
    EXPECT_EQ(Rows(),
              "7|42|<root>|top.txt|RA|ABCD|1000|365|63.5|2021-03-04 05:06:08|a comment|8|"
              "Deflated:X|1|3\n");
    EXPECT_THAT(host.log, ElementsAre("    3 :: \"<root>\",\"top.txt\",1000"));
}

TEST_F(SubFileRecorderTest, ProgressIsShownOnlyAfterAnEstimate) {
    host.estimate = true;
    recorder.Record(Entry(1, "", "a"));
    recorder.Record(Entry(4, "", "b"));
    EXPECT_THAT(host.progress, ElementsAre(25.0f, 0.0f));
}

TEST_F(SubFileRecorderTest, IgnoreAfterASaveErrorSkipsTheEntry) {
    ExpectSaveError(Answer::Retry);
    ExpectSaveError(Answer::Ignore);
    recorder.Record(Entry(5, "", std::string(300, 'n')));
    EXPECT_EQ(Rows(), "");
    // The entry's line once, however often it is tried, then the ignore line.
    ASSERT_EQ(host.log.size(), 2u);
    EXPECT_EQ(host.log[1], "       5 ~~ This file was ignored.");
    EXPECT_FALSE(host.cancel);
    recorder.Record(Entry(6, "", "next.txt"));
    EXPECT_THAT(Rows(), StartsWith("7|42|<root>|next.txt|"));
}

TEST_F(SubFileRecorderTest, AbortSetsTheCancelFlag) {
    ExpectSaveError(Answer::Abort);
    recorder.Record(Entry(1, std::string(300, 'd'), "x"));
    EXPECT_TRUE(host.cancel);
    EXPECT_EQ(Rows(), "");
}

TEST_F(SubFileRecorderTest, RecordsWhatAReaderFinds) {
    ZipLayout layout;
    layout.entries = {
        {.name = "dir/"}, {.name = "dir/a.bin", .size = 3'000'000'000ull}, {.name = "b.txt"}};
    layout.zip64 = true;
    for (const FileFound& e : List(BuildZip(layout), "zip")) recorder.Record(e);
    EXPECT_EQ(Rows(),
              "7|42|dir/|a.bin||0|3000000000|0|100|1980-01-01 00:00:00||0|Stored|0|0\n"
              "7|42|<root>|b.txt||0|0|0|0|1980-01-01 00:00:00||0|Stored|0|0\n");
}

}  // namespace
}  // namespace kest::test
