#include <sys/stat.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "support/RunCli.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"
#include "support/archive/ZipBuilder.h"

namespace kest::test {
namespace {

// Rows show what the recording stores, without the directory entries.
TEST(CmdListArchive, PrintsEveryEntryAsTheReaderReportsItOrAsRows) {
    TempDir dir;
    EXPECT_EQ(
        RunCli("list-archive '" + dir.Write("Sample.ZIP", BuildZip(SampleZip())) + "'").out,
        "1\t3\thello.txt\tzip\t2021-03-04 05:05:08\t12\t12\t0\t-2119958528\t\t0\t0000ABCD\t"
        "greeting\n"
        "2\t3\t\tzip\t1998-07-01 00:00:00\t0\t0\t0\t1106051088\tdocs/\t0\t00000000\t\n"
        "3\t3\tdata.bin\tzip\t1999-01-02 03:03:04\t100\t70\t8\t32\tdocs/sub/\t3\tFFFFFFFF\t\n");
    std::string path = dir.Write("sample.dat", BuildZip(SampleZip()));
    EXPECT_EQ(RunCli("list-archive --type zip --rows '" + path + "'").out,
              "<root>\thello.txt\t\tABCD\t12\t12\t00.0\t2021-03-04 05:05:08\tgreeting\t0\tStored\t"
              "False\t0\n"
              "docs/sub/\tdata.bin\tA\tFFFFFFFF\t100\t70\t30.0\t1999-01-02 03:03:04\t\t8\t"
              "Deflated:X\tTrue\t3\n");
    // Without --type the extension decides: ".dat" is no archive.
    EXPECT_EQ(RunCli("list-archive '" + path + "'").out, "");
}

// Only regular files are read: a FIFO or a link named like an archive lists
// nothing and returns at once.
TEST(CmdListArchive, FifosAndLinksListNothing) {
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.File("trap.zip").c_str(), 0644), 0);
    std::filesystem::create_symlink(dir.Write("real.zip", BuildZip(SampleZip())),
                                    dir.File("link.zip"));
    for (const char* name : {"trap.zip", "link.zip"}) {
        CliResult run = RunCli("list-archive '" + dir.File(name) + "'");
        EXPECT_EQ(run.status, 0) << name;
        EXPECT_EQ(run.out, "") << name;
    }
}

TEST(CmdListArchive, ErrorPromptsAreAnsweredFromTheCommandLine) {
    TempDir dir;
    ZipLayout layout;
    layout.entries = {{.name = "a.txt", .comment = std::string(200, 'c')}, {.name = "b.txt"}};
    layout.storedCount = 3;  // the third entry would stand where the end record is
    std::string path = dir.Write("short.zip", BuildZip(layout));
    // Global options may stand before or after the command name.
    for (const std::string& args : {"--answer Cancel list-archive '" + path + "'",
                                    "list-archive --answer Cancel '" + path + "'"}) {
        CliResult run = RunCli(args);
        std::string listed = run.out + run.err;
        EXPECT_EQ(run.status, 0) << args;
        EXPECT_THAT(listed, ::testing::HasSubstr("in cArchive.GetZip component at line 40"));
        EXPECT_THAT(listed, ::testing::HasSubstr("b.txt"));
    }
    // An answer the box has no button for is refused, not taken as Cancel.
    CliResult ignore = RunCli("--answer Ignore list-archive '" + path + "'");
    EXPECT_EQ(ignore.status, 1);
    EXPECT_THAT(ignore.err, ::testing::HasSubstr("--answer Ignore: the box \"GetZip\" has no such "
                                                 "button (RetryCancel)"));
}

// The static program reads the libarchive kinds with their compressions, and
// 7z's UTF-16 names come out as UTF-8 whatever the locale.
TEST(CmdListArchive, ListsSevenZipAndCompressedTarInAnyLocale) {
    if (!ToolsInstalled("7z zstd bzip2")) GTEST_SKIP() << "an archiving tool is missing";
    TempDir dir;
    dir.Write("t/caf\xC3\xA9.txt", "coffee\n");
    ASSERT_TRUE(RunIn(dir,
                      "cd t && TZ=UTC touch -d '2020-01-02 03:04:05' * && 7z a ../t.7z . && "
                      "tar --zstd -cf ../t.tar.zst . && tar -cjf ../t.tbz ."));
    for (const char* name : {"t.7z", "t.tar.zst", "t.tbz"}) {
        CliResult run = RunCli("list-archive '" + dir.File(name) + "'", "LC_ALL=C TZ=UTC");
        EXPECT_EQ(run.status, 0) << name;
        EXPECT_THAT(run.out, ::testing::MatchesRegex("1\t1\tcaf\xC3\xA9[.]txt\t[a-z7]+\t"
                                                     "2020-01-02 03:04:05\t7\t.*"))
            << name;
    }
    EXPECT_THAT(RunCli("list-archive --rows '" + dir.File("t.tar.zst") + "'").out,
                ::testing::HasSubstr("\t0\t100.0\t2020-01-02 03:04:05\t\t14\tZstd\tFalse\t0\n"));
}

}  // namespace
}  // namespace kest::test
