#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

#include "core/archive/rarlib/Crc32.h"
#include "support/archive/ArchiveTestHost.h"
#include "support/archive/ByteWriter.h"
#include "support/archive/CabBuilder.h"
#include "support/archive/ZipBuilder.h"

namespace kest::test {
namespace {

using ::testing::ElementsAre;

class ZipReaderTest : public ReaderTest {};
class CabReaderTest : public ReaderTest {};
class ZipCabReaderTest : public ReaderTest {};

CabLayout TwoFolders() {
    CabLayout layout;
    layout.folderTypes = {0x1203, 0x0001};
    // name, size, folder, MS-DOS date and time, attributes
    layout.files = {{"readme.txt", 1234, 0, 0x5264, 0x28A4, 0x21},
                    {"bin\\tool.exe", 33000, 1, 0x0022, 0, 0xA0}};
    return layout;
}

// Names and comments not in UTF-8 are read in the format's code page; an
// Info-ZIP Unicode field made for the stored bytes gives the name.
TEST_F(ZipCabReaderTest, NamesAreUtf8ByEachFormatsRules) {
    auto unicodeField = [](uint16_t id, const std::string& stored, const std::string& utf8) {
        uint32_t crc =
            archive::Crc32({reinterpret_cast<const uint8_t*>(stored.data()), stored.size()});
        std::string field = LittleEndian(id, 2) + LittleEndian(5 + utf8.size(), 2) + '\x01' +
                            LittleEndian(crc, 4) + utf8;
        return field;
    };
    ZipLayout zip;
    zip.entries = {
        {.name = "\x80\x81.txt", .comment = "\x9B"},        // code page 437
        {.name = "\xC3\xA9t\xC3\xA9.txt", .flags = 0x800},  // flagged UTF-8
        {.name = "caf\xC3\xA9.txt"},                        // UTF-8 unflagged
        {
            .name = "\x82.txt",
            .extra = unicodeField(0x7075, "\x82.txt", "\xE2\x82\xAC.txt"),  // Unicode path
            .comment = "\x81",
        },
        {.name = "\x83.txt", .extra = unicodeField(0x7075, "other", "x.txt")}};  // stale field
    zip.entries[3].extra += unicodeField(0x6375, "\x81", "\xC3\xBC!");
    auto found = List(BuildZip(zip), "zip");
    ASSERT_EQ(found.size(), 5u);
    EXPECT_EQ(found[0].FileName, "\u00C7\u00FC.txt");
    EXPECT_EQ(found[0].Comment, "\u00A2");
    EXPECT_EQ(found[1].FileName, "\u00E9t\u00E9.txt");
    EXPECT_EQ(found[2].FileName, "caf\u00E9.txt");
    EXPECT_EQ(found[3].FileName, "\u20AC.txt");
    EXPECT_EQ(found[3].Comment, "\u00FC!");
    EXPECT_EQ(found[4].FileName, "\u00E2.txt");

    CabLayout cab;
    cab.folderTypes = {0};
    cab.files = {{.name = "caf\xE9\x80.txt"}, {.name = "\xC3\xA9.txt", .attributes = 0xA0}};
    auto cabFound = List(BuildCab(cab), "cab");
    ASSERT_EQ(cabFound.size(), 2u);
    EXPECT_EQ(cabFound[0].FileName, "caf\u00E9\u20AC.txt");  // Windows-1252
    EXPECT_EQ(cabFound[1].FileName, "\u00E9.txt");
}

// A directory entry is reported with an empty name. A long archive comment,
// a self-extractor's code before the archive or ZIP64 records change nothing.
TEST_F(ZipReaderTest, ReportsEveryCentralEntryWithItsRawValues) {
    ZipLayout longComment = SampleZip();
    longComment.archiveComment = std::string(60000, 'c');
    ZipLayout stub = SampleZip();
    stub.prefix = std::string(1024, 'S');
    ZipLayout zip64 = SampleZip();
    zip64.zip64 = true;
    for (const ZipLayout& layout : {SampleZip(), longComment, stub, zip64}) {
        EXPECT_THAT(
            FoundTexts(List(BuildZip(layout), "zip")),
            ElementsAre(
                "1/3 |hello.txt zip 2021-03-04 05:05:08 12/12 m0 a81A40000 f0 0000ABCD greeting",
                "2/3 docs/| zip 1998-07-01 00:00:00 0/0 m0 a41ED0010 f0 00000000 ",
                "3/3 docs/sub/|data.bin zip 1999-01-02 03:03:04 100/70 m8 a20 f3 FFFFFFFF "));
    }
    EXPECT_TRUE(host.log.empty());
    // ZIP64 records give sizes beyond 32 bits.
    zip64.entries[2].size = 3'000'000'000ull;
    zip64.entries[2].packedSize = 5'000'000'000ull;
    auto found = List(BuildZip(zip64), "zip");
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[2].FileSize, 3'000'000'000ll);
    EXPECT_EQ(found[2].PackedSize, 5'000'000'000ll);
}

// Every file has the first folder's type as its method, whatever its folder.
// The reserve and the neighbours' names are skipped to reach the folders; a
// last name without its NUL ends with the file.
TEST_F(CabReaderTest, ReportsEveryFileWithTheFirstFoldersType) {
    CabLayout neighbours = TwoFolders();
    neighbours.previousCabinet = "prev.cab";
    neighbours.nextCabinet = "next.cab";
    neighbours.headerReserve = 26;
    neighbours.folderReserve = 26;
    std::string noNul = BuildCab(TwoFolders());
    noNul.pop_back();
    for (const auto& [bytes, flags] :
         {std::pair{BuildCab(TwoFolders()), std::string("f0")}, std::pair{noNul, std::string("f0")},
          std::pair{BuildCab(neighbours), std::string("f7")}}) {
        EXPECT_THAT(FoundTexts(List(bytes, "cab")),
                    ElementsAre("1/2 |readme.txt cab 2021-03-04 05:05:08 1234/0 m1203 a21 " +
                                    flags + " 00000000 ",
                                "2/2 bin\\|tool.exe cab 1980-01-02 00:00:00 33000/0 m1203 aA0 " +
                                    flags + " 00000000 "));
    }
}

TEST_F(CabReaderTest, NoFolderMeansMethodZero) {
    CabLayout layout = TwoFolders();
    layout.folderTypes.clear();
    auto found = List(BuildCab(layout), "cab");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].Method, 0);
}

TEST_F(ZipCabReaderTest, FilesWithNothingToListGiveNoEvents) {
    CabLayout noFiles = TwoFolders();
    noFiles.files.clear();
    // A comment that ends with what looks like an empty end record: the last
    // end signature wins.
    ZipLayout fakeEnd = SampleZip();
    fakeEnd.archiveComment = std::string("PK\x05\x06", 4) + std::string(18, '\0');
    const std::tuple<const char*, const char*, std::string> cases[] = {
        {"empty zip", "zip", ""},
        {"only an empty end record", "zip", BuildZip({})},
        {"no end record", "zip", std::string(5000, 'x')},
        {"end record in the comment", "zip", BuildZip(fakeEnd)},
        {"empty cab", "cab", ""},
        {"cut signature", "cab", "MSC"},
        {"wrong signature", "cab", "MSCX" + BuildCab(TwoFolders()).substr(4)},
        {"no files", "cab", BuildCab(noFiles)},
    };
    for (const auto& [what, type, bytes] : cases) EXPECT_TRUE(List(bytes, type).empty()) << what;
    for (const char* type : {"zip", "cab"}) {
        EXPECT_TRUE(ListArchive(prompter, host, dir.File("missing"), type).empty());
        EXPECT_TRUE(ListArchive(prompter, host, dir.Path().string(), type).empty());
    }
}

TEST_F(ZipCabReaderTest, CountsAreUnsignedAndTheCancelFlagStopsAfterTheCurrentEntry) {
    ZipLayout zip;
    for (int i = 0; i < 40000; ++i) zip.entries.push_back({.name = "f" + std::to_string(i)});
    CabLayout cab;
    cab.folderTypes = {0};
    for (int i = 0; i < 33000; ++i) cab.files.push_back({.name = "f" + std::to_string(i)});
    for (const auto& [type, bytes, count] :
         {std::tuple{"zip", BuildZip(zip), 40000}, std::tuple{"cab", BuildCab(cab), 33000}}) {
        SCOPED_TRACE(type);
        auto found = List(bytes, type);
        ASSERT_EQ(found.size(), static_cast<size_t>(count));
        EXPECT_EQ(found.back().EntryCount, count);
        EXPECT_EQ(found.back().FileName, "f" + std::to_string(count - 1));
        EXPECT_EQ(List(bytes, type, 5).size(), 5u);
        host.cancel = false;
    }
}

// Retry goes on with the step after the failed read: the entry is reported
// with what was read of it, and the next read may fail and ask again.
TEST_F(ZipCabReaderTest, EntriesPastTheEndPromptRetryGoesOnCancelEnds) {
    ZipLayout zip = SampleZip();
    zip.storedCount = 9;  // more entries than the directory holds
    ExpectPastEndPrompt("GetZip", 40, Answer::Retry);
    auto found = List(BuildZip(zip), "zip");
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].EntryCount, 4);  // no more than the room after the directory allows
    EXPECT_EQ(found[3].EntryIndex, 4);
    EXPECT_EQ(found[3].FileName, "");  // its name could not be read
    EXPECT_THAT(host.log, ElementsAre("Error: 62 Input past end of file",
                                      "in cArchive.GetZip component at line 40"));
    // Once a read has run past the end, no later entry can be read: one
    // error, whatever the count claims.
    CabLayout cab = TwoFolders();
    cab.storedFileCount = 500;
    ExpectPastEndPrompt("GetCab", 30, Answer::Retry);
    EXPECT_EQ(List(BuildCab(cab), "cab").size(), 3u);
    prompter.VerifyDone();
    // An end record cut short: its fields run past the end of the file.
    std::string cut = BuildZip(SampleZip());
    cut.resize(cut.size() - 10);
    ExpectPastEndPrompt("GetZip", 20, Answer::Cancel);
    EXPECT_TRUE(List(cut, "zip").empty());
}

// Crafted headers: a 36-byte cabinet claiming 65,283 entries, and a ZIP
// directory whose entries claim names longer than the file.
TEST_F(ZipCabReaderTest, ACountTheFileHasNoRoomForIsOneError) {
    std::string cab = "MSCF" + std::string(12, '\0') + LittleEndian(36, 4) + std::string(6, '\0') +
                      LittleEndian(0, 2) + LittleEndian(65283, 2) + LittleEndian(0, 2) +
                      std::string(4, '\0');
    ASSERT_EQ(cab.size(), 36u);
    for (Answer answer : {Answer::Retry, Answer::Cancel}) {
        ExpectPastEndPrompt("GetCab", 30, answer);
        EXPECT_LE(List(cab, "cab").size(), 1u);
        prompter.VerifyDone();
    }
    std::string entry =
        "PK\x01\x02" + std::string(24, '\0') + LittleEndian(0xFFFF, 2) + std::string(16, '\0');
    std::string directory;
    for (int i = 0; i < 1000; ++i) directory += entry;
    std::string zip = directory + "PK\x05\x06" + std::string(4, '\0') + LittleEndian(1000, 2) +
                      LittleEndian(1000, 2) + LittleEndian(directory.size(), 4) +
                      LittleEndian(0, 4) + LittleEndian(0, 2);
    ExpectPastEndPrompt("GetZip", 40, Answer::Retry);
    EXPECT_LE(List(zip, "zip").size(), 1u);
    prompter.VerifyDone();
}

}  // namespace
}  // namespace kest::test
