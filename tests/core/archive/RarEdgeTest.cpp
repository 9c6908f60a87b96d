#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "support/archive/RarAceOracle.h"
#include "support/archive/RarBuilder.h"

namespace kest::test {
namespace {

using namespace archive::rarlib;

constexpr uint32_t kDosTime = 0x3D639E30;  // 2010-11-03 19:49:32

class RarEdgeTest : public ::testing::Test {
  protected:
    RarListing List(const std::string& bytes) { return ListRar(m_dir.Write("t.rar", bytes)); }

    TempDir m_dir;
    ScopedUtc m_utc;
};

Rar4Entry File4(const std::string& name, uint16_t flags = 0x8000) {
    Rar4Entry e;
    e.name = name;
    e.flags = flags;
    e.packSize = 3;
    e.unpSize = 5;
    e.crc = 0xE27F07A9;
    e.dosTime = kDosTime;
    e.method = 0x33;
    e.data = "abc";
    return e;
}

std::string SampleRar4() {
    Rar4Entry dir = File4("docs", 0x80E0);
    dir.packSize = 0;
    dir.data.clear();
    dir.attr = 0x10;
    Rar4Entry cmt = File4("CMT");
    cmt.type = 0x7A;
    cmt.method = 0x30;
    cmt.packSize = 7;
    cmt.data = "a note!";
    return Rar4Builder()
        .Main()
        .Entry(dir)
        .Entry(File4("docs\\a.txt", 0x8010))
        .Entry(cmt)
        .Entry(File4("b.txt", 0x8004))
        .End()
        .Bytes();
}

TEST_F(RarEdgeTest, Rar4ListsFilesDirectoriesAndServiceBlocks) {
    RarListing listing = List(SampleRar4());
    ASSERT_EQ(listing.openResult, 0u);
    ASSERT_EQ(listing.entries.size(), 4u);
    const auto& dir = listing.entries[0];
    EXPECT_EQ(dir.FileName, "docs");
    EXPECT_EQ(dir.Flags, kNotAFile | kDictionaryMask);
    const auto& a = listing.entries[1];
    EXPECT_EQ(a.FileName, "docs\\a.txt");
    // The 3.x comment block after the file is stored, so its text is read.
    EXPECT_EQ(a.Flags, kSolid | kComment);
    EXPECT_EQ(a.CmtBuf, "a note!");
    EXPECT_EQ(a.PackSize, 3u);
    EXPECT_EQ(a.UnpSize, 5u);
    EXPECT_EQ(a.FileCRC, 0xE27F07A9u);
    EXPECT_EQ(a.FileTime, kDosTime);
    EXPECT_EQ(a.Method, 0x33u);
    EXPECT_EQ(a.FileAttr, 0x20u);
    EXPECT_EQ(listing.entries[2].Flags & kNotAFile, kNotAFile);
    EXPECT_EQ(listing.entries[3].Flags, kEncrypted);
}

TEST_F(RarEdgeTest, Rar4LargeSizesAndUnicodeNames) {
    Rar4Entry big = File4("big", 0x8100);
    big.packSize = 3;
    big.unpSize = 0x123456789ULL;
    // OEM "Zx", NUL, then the encoding: high byte 0x04, flag byte 01 00 ...:
    // U+0416 from the high byte, then a plain 'x'.
    Rar4Entry unicode = File4(std::string("Zx\0\x04\x40\x16x", 7), 0x8200);
    // Without the NUL there is only the OEM name; a cut encoding ends early.
    Rar4Entry noNul = File4("plain", 0x8200);
    Rar4Entry cutEncoding = File4(std::string("Zx\0\x04\x80\x16", 6), 0x8200);
    RarListing listing = List(Rar4Builder()
                                  .Main()
                                  .Entry(big)
                                  .Entry(unicode)
                                  .Entry(noNul)
                                  .Entry(cutEncoding)
                                  .End()
                                  .Bytes());
    ASSERT_EQ(listing.openResult, 0u);
    ASSERT_EQ(listing.entries.size(), 4u);
    EXPECT_EQ(listing.entries[0].UnpSize, 0x123456789ULL);
    EXPECT_EQ(listing.entries[1].FileName, "\xD0\x96x");
    EXPECT_EQ(listing.entries[2].FileName, "plain");
    EXPECT_EQ(listing.entries[3].FileName, "Zx");
}

// RAR 1.5/2.x checks a header with an embedded comment only up to the name.
TEST_F(RarEdgeTest, Rar15EmbeddedCommentsAndTheirPartialChecksum) {
    struct Case {
        uint8_t method;
        bool partialCrc;
        unsigned result;
        std::string comment;
    };
    for (const Case& c : {Case{0x30, true, 0, "stored note"}, Case{0x33, true, 0, ""},
                          Case{0x30, false, 0, "stored note"}}) {
        Rar4Entry e = File4("c.txt", 0x8008);
        e.afterName = Rar4EmbeddedComment("stored note", c.method);
        e.crcToNameOnly = c.partialCrc;
        RarListing listing = List(Rar4Builder().Main().Entry(e).Bytes());
        ASSERT_EQ(listing.openResult, c.result);
        ASSERT_EQ(listing.entries.size(), 1u);
        EXPECT_EQ(listing.entries[0].Flags, kComment);
        EXPECT_EQ(listing.entries[0].CmtBuf, c.comment);
    }
    // Without the comment flag the checksum must cover the whole header.
    Rar4Entry e = File4("c.txt");
    e.afterName = Rar4EmbeddedComment("x", 0x30);
    e.crcToNameOnly = true;
    EXPECT_EQ(List(Rar4Builder().Main().Entry(e).Bytes()).openResult,
              static_cast<unsigned>(kBadArchive));
}

TEST_F(RarEdgeTest, SelfExtractingStubIsSkipped) {
    std::string stub = "MZ" + std::string(5000, '\x90') + "Rar!\x1A\x07\x02";
    RarListing listing = List(stub + SampleRar4());
    EXPECT_EQ(listing.openResult, 0u);
    EXPECT_EQ(listing.entries.size(), 4u);
}

TEST_F(RarEdgeTest, BrokenArchivesOpenWithAnErrorAndListNothing) {
    std::string good = SampleRar4();
    std::string badCrc = good;
    badCrc[7] ^= 0x01;  // main header CRC
    std::string badEntryCrc = good;
    badEntryCrc[good.size() - 20] ^= 0x01;  // inside b.txt's header
    Rar4Entry pastEnd = File4("x");
    pastEnd.packSize = 1000;
    struct Case {
        const char* what;
        std::string bytes;
        unsigned result;
    };
    const Case cases[] = {
        {"empty file", "", kBadArchive},
        {"not an archive", std::string(100, 'x'), kBadArchive},
        {"encrypted headers", Rar4Builder().Main(0x80).Raw(std::string(64, '\x11')).Bytes(),
         kMissingPassword},
        {"main header CRC", badCrc, kBadArchive},
        {"late header CRC", badEntryCrc, kBadArchive},
        {"data past the end", Rar4Builder().Main().Entry(pastEnd).Bytes(), kBadArchive},
        {"block size below 7",
         Rar4Builder().Main().Raw(std::string("\0\0\x74\0\x80\x03\0", 7)).Bytes(), kBadArchive},
        {"unknown block type",
         Rar4Builder().Main().Raw(std::string("\0\0\x20\0\0\x07\0", 7)).Bytes(), kBadArchive},
        {"file block before the main block", Rar4Builder().Entry(File4("x")).Bytes(), kBadArchive},
        {"RAR 5 encrypted headers",
         Rar5Builder().ArchiveEncryption().Raw(std::string(64, '\x22')).Bytes(), kMissingPassword},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RarListing listing = List(c.bytes);
        EXPECT_TRUE(listing.opened);
        EXPECT_EQ(listing.openResult, c.result);
        EXPECT_TRUE(listing.entries.empty());
    }
}

TEST_F(RarEdgeTest, MissingFileGivesNoHandle) {
    RarListing listing = ListRar(m_dir.File("absent.rar"));
    EXPECT_FALSE(listing.opened);
    EXPECT_EQ(listing.openResult, static_cast<unsigned>(kEOpen));
}

TEST_F(RarEdgeTest, ReadingTwiceWithoutSkippingMovesOn) {
    RAROpenArchiveData data;
    data.ArcName = m_dir.Write("t.rar", SampleRar4());
    RarHandle handle = RAROpenArchive(&data);
    ASSERT_NE(handle, nullptr);
    RARHeaderData header;
    ASSERT_EQ(RARReadHeader(handle, &header), kSuccess);
    ASSERT_EQ(RARReadHeader(handle, &header), kSuccess);
    EXPECT_EQ(header.FileName, "docs\\a.txt");
    RARProcessFile(handle, kSkip, nullptr, nullptr);
    RARProcessFile(handle, kSkip, nullptr, nullptr);  // no header read: stays
    ASSERT_EQ(RARReadHeader(handle, &header), kSuccess);
    EXPECT_EQ(header.FileName, "CMT");
    RARCloseArchive(handle);
}

Rar5Entry File5(const std::string& name) {
    Rar5Entry e;
    e.name = name;
    e.unpSize = 5;
    e.crc = 0xCAFEF00D;
    e.compression = (3 << 7) | (2 << 10);      // method 3, 512 KB dictionary
    e.extra = Rar5UnixTimeRecord(1288813772);  // 2010-11-03 19:49:32 UTC
    e.data = "abc";
    return e;
}

std::string SampleRar5() {
    Rar5Entry cmt;
    cmt.type = 3;
    cmt.name = "CMT";
    cmt.data = "archive note";
    Rar5Entry dir = File5("docs");
    dir.directory = true;
    dir.crc.reset();
    dir.data.clear();
    dir.attr = 0x10;
    Rar5Entry solid = File5("docs/solid.bin");
    solid.compression |= 0x40 | (12 << 10);
    solid.headerFlags = 0x10;
    Rar5Entry locked = File5("locked.txt");
    locked.extra = Rar5EncryptionRecord(true) + Rar5FileTimeRecord(129332896000000000ULL);
    Rar5Entry quick = File5("quick.txt");
    quick.extra.clear();
    quick.mtime = 1288813772;
    return Rar5Builder()
        .Main()
        .Entry(cmt)
        .Entry(dir)
        .Entry(File5("docs/a.txt"))
        .Entry(solid)
        .Entry(locked)
        .Entry(quick)
        .End()
        .Bytes();
}

TEST_F(RarEdgeTest, Rar5ListsFilesDirectoriesAndServiceHeaders) {
    RarListing listing = List(SampleRar5());
    ASSERT_EQ(listing.openResult, 0u);
    ASSERT_EQ(listing.entries.size(), 6u);
    EXPECT_EQ(listing.entries[0].FileName, "CMT");
    EXPECT_EQ(listing.entries[0].Flags & kNotAFile, kNotAFile);
    EXPECT_NE(listing.entries[0].Flags & kDictionaryMask, kDictionaryMask);
    EXPECT_EQ(listing.entries[1].Flags, kNotAFile | kDictionaryMask);

    const auto& a = listing.entries[2];
    EXPECT_EQ(a.FileName, "docs/a.txt");
    EXPECT_EQ(a.Flags, 3u << 5);  // 512 KB
    EXPECT_EQ(a.Method, 0x33u);
    EXPECT_EQ(a.PackSize, 3u);
    EXPECT_EQ(a.UnpSize, 5u);
    EXPECT_EQ(a.FileCRC, 0xCAFEF00Du);
    EXPECT_EQ(DosTimeText(a.FileTime), "2010-11-03 19:49:32");
    EXPECT_EQ(a.FileAttr, 0x20u);

    // 128 KB << 14 is beyond the largest 1.5-4.x code.
    EXPECT_EQ(listing.entries[3].Flags, kSplitAfter | kSolid | 6u << 5);
    // The CRC field of an entry with a MAC holds no CRC.
    const auto& locked = listing.entries[4];
    EXPECT_EQ(locked.Flags & kEncrypted, kEncrypted);
    EXPECT_EQ(locked.FileCRC, 0u);
    EXPECT_EQ(DosTimeText(locked.FileTime), "2010-11-03 20:26:40");
    EXPECT_EQ(DosTimeText(listing.entries[5].FileTime), "2010-11-03 19:49:32");
}

TEST_F(RarEdgeTest, Rar5TimesAreShownInLocalTime) {
    setenv("TZ", "UTC-2", 1);  // two hours east of UTC
    tzset();
    RarListing listing = List(SampleRar5());
    ASSERT_EQ(listing.entries.size(), 6u);
    EXPECT_EQ(DosTimeText(listing.entries[2].FileTime), "2010-11-03 21:49:32");
}

TEST_F(RarEdgeTest, Rar5BrokenHeadersOpenWithAnError) {
    std::string good = SampleRar5();
    std::string badCrc = good;
    badCrc[30] ^= 0x01;
    Rar5Entry pastEnd = File5("x");
    pastEnd.data = "abc";
    std::string truncatedData = Rar5Builder().Main().Entry(pastEnd).Bytes();
    truncatedData.pop_back();
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"header CRC", badCrc},
        {"data past the end", truncatedData},
        {"size field of eleven bytes",
         Rar5Builder().Main().Raw("\0\0\0\0" + std::string(10, '\x80') + "\x01").Bytes()},
        {"header size zero", Rar5Builder().Main().Raw(std::string(5, '\0')).Bytes()},
        {"header size beyond the file",
         Rar5Builder().Main().Raw(std::string("\0\0\0\0\xFF\x7F", 6)).Bytes()},
        {"file header before the main header", Rar5Builder().Entry(File5("x")).Bytes()},
        {"extra area larger than the header",
         Rar5Builder().Main().Raw(Rar5Builder::Header(2, 0x01, Rar5VarInt(50), "", 0)).Bytes()},
        {"name longer than the header",
         Rar5Builder()
             .Main()
             .Raw(Rar5Builder::Header(2, 0,
                                      Rar5VarInt(0) + Rar5VarInt(0) + Rar5VarInt(0) +
                                          Rar5VarInt(0) + Rar5VarInt(0) + Rar5VarInt(90),
                                      "", 0))
             .Bytes()},
        {"extra record longer than its area",
         Rar5Builder()
             .Main()
             .Raw(Rar5Builder::Header(2, 0, std::string(6, '\0'), Rar5VarInt(9) + "\x03", 0))
             .Bytes()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RarListing listing = List(c.bytes);
        EXPECT_EQ(listing.openResult, static_cast<unsigned>(kBadArchive));
        EXPECT_TRUE(listing.entries.empty());
    }
}

TEST_F(RarEdgeTest, EveryTruncationListsAPrefixOrFails) {
    auto list = [this](const std::string& bytes) { return List(bytes); };
    ExpectEveryTruncationListsAPrefixOrFails(SampleRar4(), list);
    ExpectEveryTruncationListsAPrefixOrFails(SampleRar5(), list);
}

}  // namespace
}  // namespace kest::test
