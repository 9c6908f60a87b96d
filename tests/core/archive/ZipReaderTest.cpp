#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "support/archive/ArchiveTestHost.h"
#include "support/archive/ZipBuilder.h"

namespace kest::test {
namespace {

using archive::FileFound;
using ::testing::HasSubstr;

class ZipReaderTest : public ::testing::Test {
  protected:
    std::vector<FileFound> List(const std::string& bytes, int cancelAfter = -1) {
        return ListArchive(prompter, host, dir.Write("t.zip", bytes), "zip", cancelAfter);
    }
    void ExpectErrorPrompt(int line, Answer answer) {
        prompter.ExpectMessage("GetZip",
                               "Error: 62 Input past end of file\r\n"
                               "in cArchive.GetZip component at line " +
                                   std::to_string(line) +
                                   "\r\nSelect the following: \r\n"
                                   "  <-> Choose Retry to attempt further processing\r\n"
                                   "  <-> Choose Cancel to skip the rest of the subfiles",
                               Icon::Critical, Buttons::RetryCancel, 1, answer);
    }

    TempDir dir;
    ScriptedPrompter prompter;
    ArchiveTestHost host;
};

ZipSpec ThreeEntries() {
    ZipSpec layout;
    layout.entries = {
        {.name = "hello.txt",
         .dosTime = 0x28A4,
         .dosDate = 0x5264,
         .crc = 0xAF083B2D,
         .packedSize = 12,
         .size = 12,
         .externalAttributes = 0x81A40000,
         .comment = "greeting"},
        {.name = "docs/", .dosDate = 0x24E1, .externalAttributes = 0x41ED0010},
        {.name = "docs/sub/data.bin",
         .method = 8,
         .flags = 3,
         .dosTime = 0x1862,
         .dosDate = 0x2622,
         .crc = 0xFFFFFFFF,
         .packedSize = 70,
         .size = 100,
         .externalAttributes = 0x20},
    };
    return layout;
}

TEST_F(ZipReaderTest, ReportsEveryCentralEntryWithItsRawValues) {
    auto found = List(BuildZip(ThreeEntries()));
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].EntryIndex, 1);
    EXPECT_EQ(found[0].EntryCount, 3);
    EXPECT_EQ(found[0].FileName, "hello.txt");
    EXPECT_EQ(found[0].Directory, "");
    EXPECT_EQ(found[0].ArchiveType, "zip");
    EXPECT_EQ(text::ToIso(found[0].FileDate), "2021-03-04 05:05:08");
    EXPECT_EQ(found[0].Crc, 0xAF083B2Du);
    EXPECT_EQ(found[0].Attributes, static_cast<int32_t>(0x81A40000));
    EXPECT_EQ(found[0].Comment, "greeting");
    // A directory entry is reported with an empty name.
    EXPECT_EQ(found[1].Directory, "docs/");
    EXPECT_EQ(found[1].FileName, "");
    EXPECT_EQ(found[2].Directory, "docs/sub/");
    EXPECT_EQ(found[2].FileName, "data.bin");
    EXPECT_EQ(found[2].Method, 8);
    EXPECT_EQ(found[2].Flags, 3);
    EXPECT_EQ(found[2].FileSize, 100);
    EXPECT_EQ(found[2].PackedSize, 70);
    EXPECT_EQ(found[2].Crc, 0xFFFFFFFFu);
    EXPECT_EQ(found[2].EntryIndex, 3);
    EXPECT_TRUE(host.log.empty());
}

TEST_F(ZipReaderTest, FindsTheEndRecordBehindALongArchiveComment) {
    ZipSpec layout = ThreeEntries();
    layout.archiveComment = std::string(60000, 'c');
    EXPECT_EQ(List(BuildZip(layout)).size(), 3u);
}

TEST_F(ZipReaderTest, TheLastEndSignatureWins) {
    ZipSpec layout = ThreeEntries();
    // A comment that ends with what looks like an empty end record.
    layout.archiveComment = std::string("PK\x05\x06", 4) + std::string(18, '\0');
    EXPECT_TRUE(List(BuildZip(layout)).empty());
}

TEST_F(ZipReaderTest, FilesWithNothingToListGiveNoEvents) {
    EXPECT_TRUE(List("").empty());
    EXPECT_TRUE(List(BuildZip({})).empty());  // only an empty end record, at offset 0
    EXPECT_TRUE(List(std::string(5000, 'x')).empty());
    EXPECT_TRUE(ListArchive(prompter, host, dir.File("missing.zip"), "zip").empty());
    EXPECT_TRUE(ListArchive(prompter, host, dir.Path().string(), "zip").empty());
}

TEST_F(ZipReaderTest, Zip64RecordsGiveCountsAndSizesBeyond32Bits) {
    ZipSpec layout = ThreeEntries();
    layout.zip64 = true;
    layout.entries[2].size = 3'000'000'000ull;
    layout.entries[2].packedSize = 5'000'000'000ull;
    auto found = List(BuildZip(layout));
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[2].FileSize, 3'000'000'000ll);
    EXPECT_EQ(found[2].PackedSize, 5'000'000'000ll);
    EXPECT_EQ(found[0].FileSize, 12);
}

TEST_F(ZipReaderTest, CountsAreUnsigned) {
    ZipSpec layout;
    for (int i = 0; i < 40000; ++i) layout.entries.push_back({.name = "f" + std::to_string(i)});
    auto found = List(BuildZip(layout));
    ASSERT_EQ(found.size(), 40000u);
    EXPECT_EQ(found.back().EntryCount, 40000);
    EXPECT_EQ(found.back().FileName, "f39999");
}

TEST_F(ZipReaderTest, ASelfExtractorsStubBeforeTheArchiveIsAllowedFor) {
    ZipSpec layout = ThreeEntries();
    layout.prefix = std::string(1024, 'S');
    auto found = List(BuildZip(layout));
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[2].FileName, "data.bin");
}

TEST_F(ZipReaderTest, TheCancelFlagStopsAfterTheCurrentEntry) {
    EXPECT_EQ(List(BuildZip(ThreeEntries()), 2).size(), 2u);
}

TEST_F(ZipReaderTest, ATruncatedDirectoryPromptsAndRetryGoesOnWithoutIt) {
    ZipSpec layout = ThreeEntries();
    layout.storedCount = 9;  // more entries than the directory holds
    ExpectErrorPrompt(40, Answer::Retry);
    auto found = List(BuildZip(layout));
    EXPECT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].EntryCount, 4);  // no more than the room after the directory allows
    EXPECT_THAT(host.log, ::testing::ElementsAre("Error: 62 Input past end of file",
                                                 "in cArchive.GetZip component at line 40"));
}

TEST_F(ZipReaderTest, CancelInTheErrorPromptEndsTheListing) {
    // An end record cut short: its fields run past the end of the file.
    std::string bytes = BuildZip(ThreeEntries());
    bytes.resize(bytes.size() - 10);
    ExpectErrorPrompt(20, Answer::Cancel);
    EXPECT_TRUE(List(bytes).empty());
}

}  // namespace
}  // namespace kest::test
