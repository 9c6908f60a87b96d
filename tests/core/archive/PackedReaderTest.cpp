// The 7z, TAR and ISO kinds, listed through libarchive from archives the real
// tools make here (each case skips when its tool is missing).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "core/archive/ArchiveKinds.h"
#include "core/archive/SubFileRow.h"
#include "support/ToolRun.h"
#include "support/archive/ArchiveTestHost.h"
#include "support/archive/TarBomb.h"

namespace kest::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

class PackedReaderTest : public ReaderTest {
  protected:
    // A small tree in "src": a plain file, a read-only one with a non-ASCII
    // name, a hidden one and a ZIP (listed as one file: one level only).
    bool MakeTree() {
        dir.Write("src/a.txt", "hello\n");
        dir.Write("src/d/\xC3\xA9.txt", "h\xC3\xA9llo\n");
        dir.Write("src/d/.hidden", "x");
        return ToolsInstalled("zip") &&
               RunIn(dir,
                     "cd src && zip -q inner.zip a.txt && chmod 444 d/*.txt && "
                     "TZ=UTC touch -d '2021-03-04 05:06:08' a.txt inner.zip d/*.txt d/.hidden");
    }
    std::vector<archive::FileFound> ListFile(const std::string& name, const std::string& type) {
        return ListArchive(prompter, host, dir.File(name), type);
    }
    // "dir|name size/packed attributes method encrypted date" of every row.
    static std::vector<std::string> Rows(const std::vector<archive::FileFound>& found) {
        std::vector<std::string> rows;
        for (const auto& entry : found) {
            auto row = archive::SubFileRowFor(entry);
            if (!row) continue;
            rows.push_back(row->SubFileDir + "|" + row->SubFileName + " " +
                           std::to_string(row->SubFileSize) + "/" +
                           std::to_string(row->SubFileCSize) + " " + row->SubFileAtt + " " +
                           row->SubFileSMeth + " " + (row->SubFileEncr ? "E" : "-") + " " +
                           text::ToIso(row->SubFileDate));
        }
        return rows;
    }
};

TEST(ArchiveKinds, TypesFollowTheWholeExtension) {
    const std::pair<const char*, const char*> names[] = {
        {"a.7z", "7z"},        {"A.TAR", "tar"},   {"a.tar.gz", "tgz"}, {"a.TGZ", "tgz"},
        {"a.tar.bz2", "tbz"},  {"a.tbz2", "tbz"},  {"a.tar.xz", "txz"}, {"a.txz", "txz"},
        {"a.tar.zst", "tzst"}, {"a.tzst", "tzst"}, {"disc.iso", "iso"}, {"a.gz", "gz"},
        {"a.7z.001", "001"},   {"tar.gz", "gz"},   {"a.zip", "zip"},    {"noext", ""}};
    for (const auto& [name, type] : names) EXPECT_EQ(archive::ArchiveTypeOf(name), type) << name;
    EXPECT_TRUE(archive::IsLibArchiveType("tzst"));
    EXPECT_FALSE(archive::IsLibArchiveType("zip"));
}

// Every kind gives the same rows for the same tree; the method names the
// compression, and the packed size is known where the data is stored as is.
TEST_F(PackedReaderTest, EveryKindGivesTheRowsOfTheTree) {
    if (!MakeTree() || !ToolsInstalled("tar gzip bzip2 xz zstd 7z xorriso")) {
        GTEST_SKIP() << "an archiving tool is missing";
    }
    ASSERT_TRUE(RunIn(dir,
                      "tar -C src -cf t.tar . && tar -C src -czf t.tar.gz . && "
                      "tar -C src -cjf t.tbz2 . && tar -C src -cJf t.tar.xz . && "
                      "tar -C src --zstd -cf t.tar.zst . && (cd src && 7z a ../t.7z .) && "
                      "xorriso -as mkisofs -R -J -o t.iso src"));
    const std::pair<const char*, const char*> kinds[] = {
        {"t.tar", "Stored"},   {"t.tar.gz", "Gzip"}, {"t.tbz2", "Bzip2"}, {"t.tar.xz", "Xz"},
        {"t.tar.zst", "Zstd"}, {"t.7z", ""},         {"t.iso", "Stored"}};
    for (const auto& [name, method] : kinds) {
        const std::string type = archive::ArchiveTypeOf(name);
        const bool asItIs = type == "tar" || type == "iso";
        auto packed = [&](int size) { return std::to_string(asItIs ? size : 0); };
        const std::string tail = std::string(" ") + method + " - 2021-03-04 05:06:08";
        auto found = ListFile(name, type);
        EXPECT_THAT(Rows(found),
                    UnorderedElementsAre("<root>|a.txt 6/" + packed(6) + " " + tail,
                                         "d/|\xC3\xA9.txt 7/" + packed(7) + " R" + tail,
                                         "d/|.hidden 1/" + packed(1) + " H" + tail,
                                         "<root>|inner.zip 166/" + packed(166) + " " + tail))
            << name;
        ASSERT_EQ(found.size(), 4u) << name;
        EXPECT_EQ(found.back().EntryIndex, 4);
        EXPECT_GE(found.back().EntryCount, 4);
        EXPECT_EQ(found.back().ArchiveType, type);
    }
    EXPECT_THAT(host.log, IsEmpty());
}

// Encrypted headers give one row that says so, without a password prompt;
// with only the data encrypted every entry is listed and flagged.
TEST_F(PackedReaderTest, EncryptedSevenZipSaysSo) {
    if (!MakeTree() || !ToolsInstalled("7z")) GTEST_SKIP() << "no 7z";
    ASSERT_TRUE(RunIn(dir,
                      "cd src && 7z a -mhe=on -psecret ../headers.7z . && "
                      "7z a -psecret ../data.7z a.txt"));
    auto headers = ListFile("headers.7z", "7z");
    ASSERT_EQ(headers.size(), 1u);
    EXPECT_EQ(headers[0].FileName, "(encrypted headers)");
    EXPECT_EQ(headers[0].Comment, "The names of the entries are encrypted.");
    EXPECT_EQ(headers[0].PackedSize, static_cast<int64_t>(fs::file_size(dir.File("headers.7z"))));
    EXPECT_TRUE(archive::SubFileRowFor(headers[0])->SubFileEncr);
    EXPECT_THAT(Rows(ListFile("data.7z", "7z")),
                ElementsAre("<root>|a.txt 6/0   E 2021-03-04 05:06:08"));
}

// What is not an archive of its kind lists nothing and asks nothing, as a
// ZIP without an end record does.
TEST_F(PackedReaderTest, NotAnArchiveListsNothingQuietly) {
    std::mt19937 random(28);
    std::string noise(4096, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    for (const std::string type : {"7z", "tar", "tgz", "txz", "tzst", "iso"}) {
        EXPECT_THAT(List("", type), IsEmpty()) << type;
        EXPECT_THAT(List(noise, type), IsEmpty()) << type;
        EXPECT_THAT(List("this .tar.gz is only text\n", type), IsEmpty()) << type;
    }
    // A folder or a missing file named like an archive.
    fs::create_directory(dir.File("folder.7z"));
    EXPECT_THAT(ListFile("folder.7z", "7z"), IsEmpty());
    EXPECT_THAT(ListFile("missing.tar", "tar"), IsEmpty());
}

// A cut archive gives the entries before the cut, then the error box of the
// existing kinds; Retry cannot read past a fatal error, so it ends the
// listing instead of asking again.
TEST_F(PackedReaderTest, TruncatedArchivesAskOnceAndKeepWhatWasRead) {
    if (!MakeTree() || !ToolsInstalled("tar xz 7z head")) GTEST_SKIP() << "a tool is missing";
    ASSERT_TRUE(RunIn(dir,
                      "head -c 400000 /dev/urandom > src/noise && "
                      "TZ=UTC touch -d '2021-03-04 05:06:08' src/noise && "
                      "tar -C src -cJf whole.tar.xz a.txt noise d && "
                      "head -c 200000 whole.tar.xz > cut.tar.xz && (cd src && 7z a ../w.7z .) && "
                      "head -c $(( $(stat -c %s w.7z) - 40 )) w.7z > cut.7z"));
    for (Answer answer : {Answer::Cancel, Answer::Retry}) {
        ExpectPastEndPrompt("GetTar", 20, answer);
        // The header of the cut file was read before its data ran out.
        EXPECT_THAT(Rows(ListFile("cut.tar.xz", "txz")),
                    ElementsAre("<root>|a.txt 6/0  Xz - 2021-03-04 05:06:08",
                                "<root>|noise 400000/0  Xz - 2021-03-04 05:06:08"));
        prompter.VerifyDone();
    }
    ExpectPastEndPrompt("Get7z", 20, Answer::Retry);
    EXPECT_THAT(ListFile("cut.7z", "7z"), IsEmpty());
    EXPECT_THAT(
        host.log,
        ElementsAre("Error: 62 Input past end of file", "in cArchive.GetTar component at line 20",
                    "Error: 62 Input past end of file", "in cArchive.GetTar component at line 20",
                    "Error: 62 Input past end of file", "in cArchive.Get7z component at line 20"));
}

// The volumes of a split 7z are not taken for archives by their names; the
// first volume listed as a 7z is a cut archive.
TEST_F(PackedReaderTest, MultiVolumeSevenZip) {
    if (!MakeTree() || !ToolsInstalled("7z head")) GTEST_SKIP() << "no 7z";
    ASSERT_TRUE(RunIn(dir,
                      "head -c 50000 /dev/urandom > src/noise && "
                      "(cd src && 7z a -v20k ../vol.7z .)"));
    ASSERT_TRUE(fs::exists(dir.File("vol.7z.002")));
    EXPECT_EQ(archive::ArchiveTypeOf("vol.7z.001"), "001");
    ExpectPastEndPrompt("Get7z", 20, Answer::Cancel);
    EXPECT_THAT(ListFile("vol.7z.001", "7z"), IsEmpty());
}

// A TAR of many empty files: every entry is listed in one pass, and Cancel
// stops the listing at the entry it is asked on.
TEST_F(PackedReaderTest, TarBombListsInOnePassAndStopsOnCancel) {
    constexpr int kEntries = 20'000;
    ASSERT_TRUE(WriteTarBomb(dir.File("bomb.tar"), kEntries));
    auto all = ListFile("bomb.tar", "tar");
    ASSERT_EQ(all.size(), static_cast<size_t>(kEntries));
    EXPECT_EQ(all.back().FileName, "0019999");
    EXPECT_EQ(all.back().Directory, "f/");
    // The count is judged from the bytes read: close to the truth at the end.
    EXPECT_LE(all.front().EntryCount, kEntries);
    EXPECT_GE(all.back().EntryCount, kEntries);
    EXPECT_LE(all.back().EntryCount, kEntries + 10);
    auto stopped = ListArchive(prompter, host, dir.File("bomb.tar"), "tar", 1000);
    EXPECT_EQ(stopped.size(), 1000u);
}

// A crafted image (found by fuzzing) whose relocated folders are read again
// for every folder that points at them: 72 KB that list 10,789,985 entries.
// The listing stops at the room the image has for entries, with the reader's
// error box, so the memory libarchive holds for them stays small.
TEST_F(PackedReaderTest, ImageListingMoreEntriesThanItHoldsStopsAtItsRoom) {
    const std::string image = KEST_SOURCE_DIR "/fuzz/seeds/iso/relocated-directories.iso";
    ExpectErrorPrompt("GetIso", 20, "51 The image lists more entries than it has room for",
                      Answer::Retry);
    auto listed = ListArchive(prompter, host, image, "iso");
    prompter.VerifyDone();
    EXPECT_GT(listed.size(), 1000u);
    EXPECT_LE(listed.size(), fs::file_size(image) / 34);
}

}  // namespace
}  // namespace kest::test
