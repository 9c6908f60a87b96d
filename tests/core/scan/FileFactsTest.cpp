#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/scan/DisplayName.h"
#include "core/scan/FileFacts.h"
#include "core/scan/colFiles.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace kest::scan {
namespace {

class FileFactsReaderTest : public ::testing::Test {
  protected:
    FileFacts Read(const std::string& path) {
        return reader.Read(path, disc.Path().string() + "/");
    }

    test::TempDir disc;
    test::ScriptedPrompter prompter;
    FileFactsReader reader{prompter, nullptr};
};

TEST_F(FileFactsReaderTest, DateSizeAndLettersOfOrdinaryFiles) {
    setenv("TZ", "UTC", 1);
    tzset();
    std::string plain = disc.Write("plain.txt", "hello");
    struct timespec times[2] = {{1700000000, 0}, {1700000000, 0}};  // 2023-11-14 22:13:20 UTC
    ASSERT_EQ(utimensat(AT_FDCWD, plain.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
    std::string readOnly = disc.Write("docs/readme.txt", "x");
    chmod(readOnly.c_str(), 0444);

    FileFacts facts = Read(plain);
    EXPECT_EQ(facts.dateText, "11/14/2023 22:13:20");
    EXPECT_EQ(facts.isoDate, "2023-11-14 22:13:20");
    EXPECT_EQ(facts.sizeText, "5");
    EXPECT_EQ(facts.attributes, "");
    EXPECT_EQ(Read(readOnly).attributes, "R");
    EXPECT_EQ(Read(disc.Write(".profile", "")).attributes, "H");
    EXPECT_EQ(Read(disc.Write("PageFile.SYS", "")).attributes, "?");  // only at the root
    EXPECT_EQ(Read(disc.Write("docs/pagefile.sys", "")).attributes, "");
}

TEST_F(FileFactsReaderTest, LargeSparseFileKeepsItsRealSize) {
    std::string big = disc.File("big.bin");
    int fd = open(big.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 5368709120LL), 0);
    close(fd);
    FileFacts facts = Read(big);
    EXPECT_EQ(facts.size, 5368709120LL);
    EXPECT_EQ(facts.sizeText, "5368709120");
}

TEST_F(FileFactsReaderTest, UnreadableFactIsReportedWithThePath) {
    std::string gone = disc.File("gone.txt");
    prompter.ExpectNotice("Error in file info", "53\r\nFile not found\r\n'" + gone + "'",
                          Icon::Critical);
    FileFacts facts = Read(gone);
    EXPECT_EQ(facts.dateText, "");
    EXPECT_EQ(facts.size, 0);
}

TEST(AttributeLetters, KeepTheirOrder) {
    EXPECT_EQ(AttributeLetters(0x01 | 0x20), "RA");
    EXPECT_EQ(AttributeLetters(0x02 | 0x04 | 0x20), "HSA");
    EXPECT_EQ(AttributeLetters(0x27), "RHSA");
    EXPECT_EQ(AttributeLetters(0x10), "");
}

TEST(DisplayName, TrimsSpacesOnly) {
    EXPECT_EQ(TrimSpaces("  top/ "), "top/");
    EXPECT_EQ(TrimSpaces(" \ta "), "\ta");
}

TEST(Estimate, CountsHiddenFilesLinksAndSystemFoldersWithConstantMemory) {
    test::TempDir disc;
    for (const char* name : {"a", "b", "sub/c", ".h1", "sub/.h2"}) disc.Write(name, "");
    std::filesystem::create_directory_symlink(".", disc.Path() / "loop");
    colFiles files;
    EXPECT_EQ(files.FindFiles(disc.Path().string(), true), 6);  // the link counts as a file
    files.Clear();
    EXPECT_EQ(files.FindFiles(disc.Path().string(), false), 4);

    test::TempDir systemOnly;
    systemOnly.Write("System Volume Information/tracking.log", "");
    files.Clear();
    EXPECT_GT(files.FindFiles(systemOnly.Path().string(), true), 0);
}

}  // namespace
}  // namespace kest::scan
