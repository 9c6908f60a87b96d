#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/archive/SubFileRecorder.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "support/archive/ArchiveTestHost.h"
#include "support/archive/ZipBuilder.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::test {
namespace {

using archive::FileFound;
using ::testing::ElementsAre;
using ::testing::StartsWith;

class SubFileRecorderTest : public ::testing::Test {
  protected:
    std::vector<std::vector<std::string>> Rows() {
        auto rows = db->Query(
            "SELECT KestId, FileId, SubFileDir, SubFileName, SubFileAtt, SubFileCRC, SubFileSize, "
            "SubFileCSize, SubFileRatio, SubFileDate, SubFileComm, SubFileMeth, SubFileSMeth, "
            "SubFileEncr, SubFileFlags FROM tblSubFiles ORDER BY SubFileId");
        std::vector<std::vector<std::string>> texts;
        for (const auto& row : rows.rows) {
            texts.emplace_back();
            for (const auto& value : row) texts.back().push_back(engine::ValueText(value));
        }
        return texts;
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

    TempDir dir;
    std::unique_ptr<engine::Database> db = engine::Database::Open(MakeCatalogFile(dir), "");
    ScriptedPrompter prompter;
    ArchiveTestHost host;
    archive::SubFileRecorder recorder{*db, host, prompter};
};

FileFound Entry(int32_t index, const std::string& directory, const std::string& name) {
    FileFound e;
    e.EntryIndex = index;
    e.EntryCount = 4;
    e.FileName = name;
    e.Directory = directory;
    e.ArchiveType = "zip";
    e.FileDate = {2021, 3, 4, 5, 6, 8};
    e.FileSize = 1000;
    e.PackedSize = 365;
    e.Method = 8;
    e.Attributes = 0x21;
    e.Flags = 0x3;
    e.Crc = 0x0000ABCD;
    e.Comment = "a comment";
    return e;
}

TEST_F(SubFileRecorderTest, WritesTheRowTheLogLineAndTheStatus) {
    recorder.Record(Entry(2, "docs/", "a.txt"));
    EXPECT_THAT(Rows(), ElementsAre(ElementsAre("7", "42", "docs/", "a.txt", "RA", "ABCD", "1000",
                                                "365", "63.5", "2021-03-04 05:06:08", "a comment",
                                                "8", "Deflated:X", "1", "3")));
    EXPECT_THAT(host.log, ElementsAre("    2 :: \"docs/\",\"a.txt\",1000"));
    EXPECT_THAT(host.status, ElementsAre("::a.txt"));
    EXPECT_TRUE(host.progress.empty());
    EXPECT_EQ(host.pumps, 1);
}

TEST_F(SubFileRecorderTest, DirectoryEntriesAreSkippedAndTopEntriesGoToRoot) {
    recorder.Record(Entry(1, "docs/", ""));
    recorder.Record(Entry(2, "docs/", "  "));
    recorder.Record(Entry(3, " ", "top.txt"));
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][2], "<root>");
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
    EXPECT_TRUE(Rows().empty());
    ASSERT_EQ(host.log.size(), 3u);  // the entry's line for each try, then the ignore line
    EXPECT_EQ(host.log[2], "       5 ~~ This file was ignored.");
    EXPECT_FALSE(host.cancel);
    recorder.Record(Entry(6, "", "next.txt"));
    EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(SubFileRecorderTest, AbortSetsTheCancelFlag) {
    ExpectSaveError(Answer::Abort);
    recorder.Record(Entry(1, std::string(300, 'd'), "x"));
    EXPECT_TRUE(host.cancel);
    EXPECT_TRUE(Rows().empty());
}

TEST_F(SubFileRecorderTest, RecordsWhatAReaderFinds) {
    ZipSpec layout;
    layout.entries = {
        {.name = "dir/"}, {.name = "dir/a.bin", .size = 3'000'000'000ull}, {.name = "b.txt"}};
    layout.zip64 = true;
    archive::cArchive reader(prompter, host);
    reader.SetArchivePath(dir.Write("t.zip", BuildZip(layout)));
    reader.SetArchiveType("zip");
    reader.OnFileFound([&](const FileFound& e) { recorder.Record(e); });
    reader.GetInfo();
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][3], "a.bin");
    EXPECT_EQ(rows[0][6], "3000000000");
    EXPECT_EQ(rows[1][2], "<root>");
}

}  // namespace
}  // namespace kest::test
