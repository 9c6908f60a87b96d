#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/RunCli.h"
#include "support/TempDir.h"
#include "support/archive/ZipBuilder.h"

namespace kest::test {
namespace {

using ::testing::ElementsAre;

// kest-cli's standard output for the arguments.
std::string ListArchiveOutput(const std::string& args) {
    return RunCli(args).out;
}

std::string SampleZip(const TempDir& dir, const std::string& name) {
    ZipSpec layout;
    layout.entries = {
        {.name = "top.txt",
         .method = 8,
         .flags = 0x3,
         .dosTime = 0x28A4,
         .dosDate = 0x5264,
         .crc = 0xABCD,
         .packedSize = 40,
         .size = 100,
         .externalAttributes = 0x21,
         .comment = "note"},
        {.name = "sub/", .externalAttributes = 0x10},
        {.name = "sub/inner.bin", .crc = 0xFFFFFFFF, .packedSize = 7, .size = 7},
    };
    return dir.Write(name, BuildZip(layout));
}

TEST(CmdListArchive, PrintsEveryEntryAsTheReaderReportsIt) {
    TempDir dir;
    std::string path = SampleZip(dir, "Sample.ZIP");
    EXPECT_EQ(ListArchiveOutput("list-archive '" + path + "'"),
              "1\t3\ttop.txt\tzip\t2021-03-04 05:05:08\t100\t40\t8\t33\t\t3\t0000ABCD\tnote\n"
              "2\t3\t\tzip\t1980-01-01 00:00:00\t0\t0\t0\t16\tsub/\t0\t00000000\t\n"
              "3\t3\tinner.bin\tzip\t1980-01-01 00:00:00\t7\t7\t0\t0\tsub/\t0\tFFFFFFFF\t\n");
}

TEST(CmdListArchive, RowsShowWhatTheRecordingStoresAndSkipsDirectories) {
    TempDir dir;
    std::string path = SampleZip(dir, "sample.dat");
    EXPECT_EQ(
        ListArchiveOutput("list-archive --type zip --rows '" + path + "'"),
        "<root>\ttop.txt\tRA\tABCD\t100\t40\t60.0\t2021-03-04 05:05:08\tnote\t8\t"
        "Deflated:X\tTrue\t3\n"
        "sub/\tinner.bin\t\tFFFFFFFF\t7\t7\t00.0\t1980-01-01 00:00:00\t\t0\tStored\tFalse\t0\n");
    // Without --type the extension decides: ".dat" is no archive.
    EXPECT_EQ(ListArchiveOutput("list-archive '" + path + "'"), "");
}

TEST(CmdListArchive, ErrorPromptsAreAnsweredFromTheCommandLine) {
    TempDir dir;
    ZipSpec layout;
    layout.entries = {{.name = "a.txt", .comment = std::string(200, 'c')}, {.name = "b.txt"}};
    layout.storedCount = 3;  // the third entry would stand where the end record is
    std::string path = dir.Write("short.zip", BuildZip(layout));
    CliResult run = RunCli("--answer Cancel list-archive '" + path + "'");
    std::string listed = run.out + run.err;
    EXPECT_THAT(listed, ::testing::HasSubstr("in cArchive.GetZip component at line 40"));
    EXPECT_THAT(listed, ::testing::HasSubstr("b.txt"));
}

}  // namespace
}  // namespace kest::test
