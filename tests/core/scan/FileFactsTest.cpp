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

using test::ScriptedPrompter;
using test::TempDir;

void SetMtime(const std::string& path, time_t when) {
    struct timespec times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

TEST(FileFacts, DateSizeAndLettersOfOrdinaryFiles) {
    setenv("TZ", "UTC", 1);
    tzset();
    TempDir disc;
    std::string root = disc.Path().string() + "/";
    std::string plain = disc.Write("plain.txt", "hello");
    std::string readOnly = disc.Write("docs/readme.txt", "x");
    chmod(readOnly.c_str(), 0444);
    std::string hidden = disc.Write(".profile", "");
    std::string rootPagefile = disc.Write("PageFile.SYS", "");
    std::string deepPagefile = disc.Write("docs/pagefile.sys", "");
    SetMtime(plain, 1700000000);  // 2023-11-14 22:13:20 UTC

    ScriptedPrompter prompter;
    FileFactsReader reader(prompter, nullptr);
    FileFacts facts = reader.Read(plain, root);
    EXPECT_EQ(facts.dateText, "11/14/2023 22:13:20");
    EXPECT_EQ(facts.isoDate, "2023-11-14 22:13:20");
    EXPECT_EQ(facts.sizeText, "5");
    EXPECT_EQ(facts.attributes, "");
    EXPECT_EQ(reader.Read(readOnly, root).attributes, "R");
    EXPECT_EQ(reader.Read(hidden, root).attributes, "H");
    EXPECT_EQ(reader.Read(rootPagefile, root).attributes, "?");
    EXPECT_EQ(reader.Read(deepPagefile, root).attributes, "");
}

TEST(FileFacts, LargeSparseFileKeepsItsRealSize) {
    TempDir disc;
    std::string big = disc.File("big.bin");
    int fd = open(big.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 5368709120LL), 0);
    close(fd);
    ScriptedPrompter prompter;
    FileFacts facts = FileFactsReader(prompter, nullptr).Read(big, disc.Path().string() + "/");
    EXPECT_EQ(facts.size, 5368709120LL);
    EXPECT_EQ(facts.sizeText, "5368709120");
}

TEST(FileFacts, UnreadableFactIsReportedWithThePath) {
    TempDir disc;
    std::string gone = disc.File("gone.txt");
    ScriptedPrompter prompter;
    prompter.ExpectNotice("Error in file info", "53\r\nFile not found\r\n'" + gone + "'",
                          Icon::Critical);
    FileFacts facts = FileFactsReader(prompter, nullptr).Read(gone, disc.Path().string() + "/");
    EXPECT_EQ(facts.dateText, "");
    EXPECT_EQ(facts.size, 0);
}

TEST(FileFacts, AttributeLettersKeepTheirOrder) {
    EXPECT_EQ(AttributeLetters(0x01 | 0x20), "RA");
    EXPECT_EQ(AttributeLetters(0x02 | 0x04 | 0x20), "HSA");
    EXPECT_EQ(AttributeLetters(0x27), "RHSA");
    EXPECT_EQ(AttributeLetters(0x10), "");
}

TEST(DisplayName, InvalidBytesBecomeReplacementCharacters) {
    std::string out;
    EXPECT_FALSE(ToValidUtf8("caf\xC3\xA9.txt", out));
    EXPECT_EQ(out, "caf\xC3\xA9.txt");
    EXPECT_TRUE(
        ToValidUtf8("a\xFF\xFE"
                    "b",
                    out));
    EXPECT_EQ(out,
              "a\xEF\xBF\xBD\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(TrimSpaces("  top/ "), "top/");
}

TEST(Estimate, CountsHiddenFilesLinksAndSystemFoldersWithConstantMemory) {
    TempDir disc;
    for (const char* name : {"a", "b", "sub/c", ".h1", "sub/.h2"}) disc.Write(name, "");
    std::filesystem::create_directory_symlink(".", disc.Path() / "loop");
    colFiles files;
    EXPECT_EQ(files.FindFiles(disc.Path().string(), true), 6);  // the link counts as a file
    files.Clear();
    EXPECT_EQ(files.FindFiles(disc.Path().string(), false), 4);

    TempDir systemOnly;
    systemOnly.Write("System Volume Information/tracking.log", "");
    files.Clear();
    EXPECT_GT(files.FindFiles(systemOnly.Path().string(), true), 0);
}

}  // namespace
}  // namespace kest::scan
