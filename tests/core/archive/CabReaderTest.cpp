#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "support/archive/ArchiveTestHost.h"
#include "support/archive/CabBuilder.h"

namespace kest::test {
namespace {

using archive::FileFound;

class CabReaderTest : public ::testing::Test {
  protected:
    std::vector<FileFound> List(const std::string& bytes, int cancelAfter = -1) {
        return ListArchive(prompter, host, dir.Write("t.cab", bytes), "cab", cancelAfter);
    }

    TempDir dir;
    ScriptedPrompter prompter;
    ArchiveTestHost host;
};

CabSpec TwoFolders() {
    CabSpec layout;
    layout.folderTypes = {0x1203, 0x0001};
    layout.files = {{.name = "readme.txt",
                   .size = 1234,
                   .dosDate = 0x5264,
                   .dosTime = 0x28A4,
                   .attributes = 0x21},
                  {.name = "bin\\tool.exe",
                   .size = 33000,
                   .folder = 1,
                   .dosDate = 0x0022,
                   .attributes = 0xA0}};
    return layout;
}

TEST_F(CabReaderTest, ReportsEveryFileWithTheFirstFoldersType) {
    auto found = List(BuildCab(TwoFolders()));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].EntryCount, 2);
    EXPECT_EQ(found[0].FileName, "readme.txt");
    EXPECT_EQ(found[0].Directory, "");
    EXPECT_EQ(found[0].FileSize, 1234);
    EXPECT_EQ(text::ToIso(found[0].FileDate), "2021-03-04 05:05:08");
    EXPECT_EQ(found[0].Attributes, 0x21);
    EXPECT_EQ(found[1].Directory, "bin\\");
    EXPECT_EQ(found[1].FileName, "tool.exe");
    EXPECT_EQ(text::ToIso(found[1].FileDate), "1980-01-02 00:00:00");
    for (const FileFound& f : found) {
        EXPECT_EQ(f.Method, 0x1203);  // the first folder's, for every file
        EXPECT_EQ(f.PackedSize, 0);
        EXPECT_EQ(f.Crc, 0u);
        EXPECT_EQ(f.Comment, "");
        EXPECT_EQ(f.Flags, 0);
        EXPECT_EQ(f.ArchiveType, "cab");
    }
}

TEST_F(CabReaderTest, TheReserveAndNeighbourNamesAreSkippedToTheFolder) {
    CabSpec layout = TwoFolders();
    layout.previousCabinet = "prev.cab";
    layout.nextCabinet = "next.cab";
    layout.headerReserve = 26;
    layout.folderReserve = 26;
    auto found = List(BuildCab(layout));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[1].Method, 0x1203);
    EXPECT_EQ(found[1].Flags, 0x7);
    EXPECT_EQ(found[1].FileName, "tool.exe");
}

TEST_F(CabReaderTest, CabinetsWithNothingToListGiveNoEvents) {
    CabSpec empty = TwoFolders();
    empty.files.clear();
    EXPECT_TRUE(List(BuildCab(empty)).empty());
    EXPECT_TRUE(List("MSCX" + BuildCab(TwoFolders()).substr(4)).empty());
    EXPECT_TRUE(List("").empty());
    EXPECT_TRUE(List("MSC").empty());
}

TEST_F(CabReaderTest, NoFolderMeansMethodZero) {
    CabSpec layout = TwoFolders();
    layout.folderTypes.clear();
    auto found = List(BuildCab(layout));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].Method, 0);
}

TEST_F(CabReaderTest, CountsAreUnsignedAndTheCancelFlagStops) {
    CabSpec layout;
    layout.folderTypes = {0};
    for (int i = 0; i < 33000; ++i) layout.files.push_back({.name = "f" + std::to_string(i)});
    EXPECT_EQ(List(BuildCab(layout)).size(), 33000u);
    EXPECT_EQ(List(BuildCab(layout), 5).size(), 5u);
}

TEST_F(CabReaderTest, ACountBeyondTheEntriesPromptsOnce) {
    CabSpec layout = TwoFolders();
    layout.storedFileCount = 500;
    prompter.ExpectMessage("GetCab",
                           "Error: 62 Input past end of file\r\n"
                           "in cArchive.GetCab component at line 30\r\n"
                           "Select the following: \r\n"
                           "  <-> Choose Retry to attempt further processing\r\n"
                           "  <-> Choose Cancel to skip the rest of the subfiles",
                           Icon::Critical, Buttons::RetryCancel, 1, Answer::Retry);
    EXPECT_EQ(List(BuildCab(layout)).size(), 2u);
}

TEST_F(CabReaderTest, ANameWithoutNulEndsWithTheFile) {
    std::string bytes = BuildCab(TwoFolders());
    bytes.pop_back();  // the last name's NUL
    auto found = List(bytes);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[1].FileName, "tool.exe");
}

}  // namespace
}  // namespace kest::test
