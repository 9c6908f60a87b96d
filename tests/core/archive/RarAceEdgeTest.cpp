#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

#include "support/TempDir.h"
#include "support/archive/AceBuilder.h"
#include "support/archive/RarAceListing.h"
#include "support/archive/RarBuilder.h"

// The RAR and ACE libraries on archives built byte by byte.
namespace kest::test {
namespace {

namespace rar = archive::rarlib;
namespace ace = archive::acelib;
using ::testing::ElementsAre;

class LibraryTest : public ::testing::Test {
  protected:
    RarListing Rar(const std::string& bytes) { return ListRar(m_dir.Write("t.rar", bytes)); }
    AceListing Ace(const std::string& bytes) { return ListAce(m_dir.Write("t.ace", bytes)); }

    TempDir m_dir;
    ScopedUtc m_utc;
};
class RarEdgeTest : public LibraryTest {};
class AceEdgeTest : public LibraryTest {};

// The Unicode name after the NUL: high byte 0x04, flag byte 01 00 ..., that
// is U+0416 from the high byte, then a plain 'x'. Without the NUL there is
// only the OEM name; a cut encoding ends early.
std::string SampleRar4() {
    Rar4Entry dir("docs", 0x80E0);
    dir.packSize = 0;
    dir.data.clear();
    dir.attr = 0x10;
    Rar4Entry cmt("CMT");
    cmt.type = 0x7A;
    cmt.method = 0x30;
    cmt.packSize = 7;
    cmt.data = "a note!";
    Rar4Entry big("big", 0x8100);
    big.unpSize = 0x123456789ULL;
    return Rar4Builder()
        .Main()
        .Entry(dir)
        .Entry(Rar4Entry("docs\\a.txt", 0x8010))
        .Entry(cmt)
        .Entry(big)
        .Entry(Rar4Entry(std::string("Zx\0\x04\x40\x16x", 7), 0x8200))
        .Entry(Rar4Entry("plain", 0x8200))
        .Entry(Rar4Entry(std::string("Zx\0\x04\x80\x16", 6), 0x8200))
        .Entry(Rar4Entry("b.txt", 0x8004))
        .End()
        .Bytes();
}

// A self-extractor's code before the archive is skipped. The 3.x comment
// block after a.txt is stored, so its text is read.
TEST_F(RarEdgeTest, Rar4ListsFilesDirectoriesServiceBlocksLargeSizesAndUnicodeNames) {
    std::string stub = "MZ" + std::string(5000, '\x90') + "Rar!\x1A\x07\x02";
    for (const std::string& bytes : {SampleRar4(), stub + SampleRar4()}) {
        RarListing listing = Rar(bytes);
        ASSERT_EQ(listing.openResult, 0u);
        // flags: kNotAFile | kDictionaryMask, kSolid | kComment, kNotAFile, ..., kEncrypted
        EXPECT_THAT(HeaderTexts(listing.entries),
                    ElementsAre("docs f10E0 0/5 E27F07A9 3D639E30 m33 a10 ",
                                "docs\\a.txt f18 3/5 E27F07A9 3D639E30 m33 a20 a note!",
                                "CMT f1000 7/5 E27F07A9 3D639E30 m30 a20 ",
                                "big f0 3/4886718345 E27F07A9 3D639E30 m33 a20 ",  // 0x123456789
                                "\xD0\x96x f0 3/5 E27F07A9 3D639E30 m33 a20 ",
                                "plain f0 3/5 E27F07A9 3D639E30 m33 a20 ",
                                "Zx f0 3/5 E27F07A9 3D639E30 m33 a20 ",
                                "b.txt f4 3/5 E27F07A9 3D639E30 m33 a20 "));
    }
}

// RAR 1.5/2.x checks a header with an embedded comment only up to the name.
TEST_F(RarEdgeTest, Rar15EmbeddedCommentsAndTheirPartialChecksum) {
    for (const auto& [method, partialCrc, comment] :
         {std::tuple{0x30, true, "stored note"}, {0x33, true, ""}, {0x30, false, "stored note"}}) {
        Rar4Entry e("c.txt", 0x8008);
        e.afterName = Rar4EmbeddedComment("stored note", static_cast<uint8_t>(method));
        e.crcToNameOnly = partialCrc;
        RarListing listing = Rar(Rar4Builder().Main().Entry(e).Bytes());
        ASSERT_EQ(listing.openResult, 0u);
        ASSERT_EQ(listing.entries.size(), 1u);
        EXPECT_EQ(listing.entries[0].Flags, rar::kComment);
        EXPECT_EQ(listing.entries[0].CmtBuf, comment);
    }
}

std::string SampleRar5() {
    Rar5Entry cmt("CMT");
    cmt.type = 3;
    cmt.data = "archive note";
    Rar5Entry dir("docs");
    dir.directory = true;
    dir.crc.reset();
    dir.data.clear();
    dir.attr = 0x10;
    Rar5Entry solid("docs/solid.bin");
    solid.compression |= 0x40 | (12 << 10);
    solid.headerFlags = 0x10;
    Rar5Entry locked("locked.txt");
    locked.extra = Rar5EncryptionRecord(true) + Rar5FileTimeRecord(129332896000000000ULL);
    Rar5Entry quick("quick.txt");
    quick.extra.clear();
    quick.mtime = 1288813772;
    return Rar5Builder()
        .Main()
        .Entry(cmt)
        .Entry(dir)
        .Entry(Rar5Entry("docs/a.txt"))
        .Entry(solid)
        .Entry(locked)
        .Entry(quick)
        .End()
        .Bytes();
}

TEST_F(RarEdgeTest, Rar5ListsFilesDirectoriesAndServiceHeadersInLocalTime) {
    RarListing listing = Rar(SampleRar5());
    ASSERT_EQ(listing.openResult, 0u);
    // A service header's dictionary bits are not all set, as a directory's are
    // (kNotAFile | kDictionaryMask); 0x60 is 512 KB; 128 KB << 14 is beyond
    // the largest 1.5-4.x code: kSplitAfter | kSolid | 6 << 5. The CRC field of
    // an entry with a MAC holds no CRC (kEncrypted). 0x3D639E30 is 2010-11-03
    // 19:49:32 (the Unix time field or record), 0x3D63A354 20:26:40 (a file time).
    EXPECT_THAT(HeaderTexts(listing.entries),
                ElementsAre("CMT f1060 12/5 CAFEF00D 3D639E30 m33 a20 ",
                            "docs f10E0 0/5 00000000 3D639E30 m33 a10 ",
                            "docs/a.txt f60 3/5 CAFEF00D 3D639E30 m33 a20 ",
                            "docs/solid.bin fD2 3/5 CAFEF00D 3D639E30 m33 a20 ",
                            "locked.txt f64 3/5 00000000 3D63A354 m33 a20 ",
                            "quick.txt f60 3/5 CAFEF00D 3D639E30 m33 a20 "));

    setenv("TZ", "UTC-2", 1);  // two hours east of UTC: RAR 5 times are shown in local time
    tzset();
    EXPECT_EQ(DosTimeText(Rar(SampleRar5()).entries.at(2).FileTime), "2010-11-03 21:49:32");
}

std::string SampleAce(uint8_t version) {
    AceEntry dir("docs", 0x0001);
    dir.packSize = 0;
    dir.origSize = 0;
    dir.data.clear();
    dir.attr = 0x10;
    dir.crc = 0;  // stored as 0xFFFFFFFF
    AceEntry wide("docs\\big.bin", 0x8005);
    wide.wide = true;
    wide.origSize = 0x1'0000'0005ULL;
    wide.compType = 2;
    AceEntry locked("locked.txt", 0xC001);
    locked.compType = 0;
    AceEntry commented("c.txt", 0x8003);
    commented.afterName = LittleEndian(4, 2) + "\x01\x02\x03\x04";  // compressed
    return AceBuilder()
        .Main(version)
        .Entry(dir)
        .Entry(AceEntry("docs\\a.txt"))
        .Entry(commented)
        .Recovery("recovery data")
        .Entry(wide)
        .Entry(locked)
        .Bytes();
}

// A self-extractor's stub may hold the magic text itself; the main header is
// the one whose checksum holds. A compressed comment is skipped and left
// empty. The header flags are kept in the upper half
// of Flags, beside kEncrypted (4) for 0x4000.
TEST_F(AceEdgeTest, ListsEveryFileHeaderOfBothVersionsBehindAStub) {
    std::string stub = "MZ" + std::string(3000, '\x90') + "**ACE**" + std::string(100, 'x');
    for (const std::string& bytes : {SampleAce(10), SampleAce(20), stub + SampleAce(20)}) {
        AceListing listing = Ace(bytes);
        ASSERT_EQ(listing.openResult, 0u);
        EXPECT_THAT(HeaderTexts(listing.entries),
                    ElementsAre("docs f10000 0/0 00000000 485C9B96 m1 a10 ",
                                "docs\\a.txt f80010000 3/9 00A29FED 485C9B96 m1 a20 ",
                                "c.txt f80030000 3/9 00A29FED 485C9B96 m1 a20 ",
                                "docs\\big.bin f80050000 3/4294967301 00A29FED 485C9B96 m2 a20 ",
                                "locked.txt fC0010004 3/9 00A29FED 485C9B96 m0 a20 "));
    }
}

template <typename Listing>
void ExpectBroken(const char* what, const Listing& listing, int result) {
    SCOPED_TRACE(what);
    EXPECT_TRUE(listing.opened);
    EXPECT_EQ(listing.openResult, static_cast<unsigned>(result));
    EXPECT_TRUE(listing.entries.empty());
}

TEST_F(LibraryTest, BrokenArchivesOpenWithAnErrorAndListNothing) {
    ExpectBroken("encrypted headers",
                 Rar(Rar4Builder().Main(0x80).Raw(std::string(64, '\x11')).Bytes()),
                 rar::kMissingPassword);
    ExpectBroken("RAR 5 encrypted headers",
                 Rar(Rar5Builder().ArchiveEncryption().Raw(std::string(64, '\x22')).Bytes()),
                 rar::kMissingPassword);

    auto rar4 = [](const std::string& raw) { return Rar4Builder().Main().Raw(raw).Bytes(); };
    auto rar5 = [](const std::string& raw) { return Rar5Builder().Main().Raw(raw).Bytes(); };
    std::string badCrc = SampleRar4();
    badCrc[7] ^= 0x01;  // main header CRC
    std::string badEntryCrc = SampleRar4();
    badEntryCrc[badEntryCrc.size() - 20] ^= 0x01;  // inside b.txt's header
    Rar4Entry pastEnd("x");
    pastEnd.packSize = 1000;
    // Without the comment flag the checksum must cover the whole header.
    Rar4Entry partialCrc("c.txt");
    partialCrc.afterName = Rar4EmbeddedComment("x", 0x30);
    partialCrc.crcToNameOnly = true;
    std::string bad5Crc = SampleRar5();
    bad5Crc[30] ^= 0x01;
    std::string cut5Data = Rar5Builder().Main().Entry(Rar5Entry("x")).Bytes();
    cut5Data.pop_back();
    const std::pair<const char*, std::string> rarCases[] = {
        {"empty file", ""},
        {"not an archive", std::string(100, 'x')},
        {"main header CRC", badCrc},
        {"late header CRC", badEntryCrc},
        {"data past the end", Rar4Builder().Main().Entry(pastEnd).Bytes()},
        {"partial checksum without a comment", Rar4Builder().Main().Entry(partialCrc).Bytes()},
        {"block size below 7", rar4(std::string("\0\0\x74\0\x80\x03\0", 7))},
        {"unknown block type", rar4(std::string("\0\0\x20\0\0\x07\0", 7))},
        {"file block before the main block", Rar4Builder().Entry(Rar4Entry("x")).Bytes()},
        {"RAR 5 header CRC", bad5Crc},
        {"RAR 5 data past the end", cut5Data},
        {"RAR 5 size field of eleven bytes", rar5("\0\0\0\0" + std::string(10, '\x80') + "\x01")},
        {"RAR 5 header size zero", rar5(std::string(5, '\0'))},
        {"RAR 5 header size beyond the file", rar5(std::string("\0\0\0\0\xFF\x7F", 6))},
        {"RAR 5 file header before the main header", Rar5Builder().Entry(Rar5Entry("x")).Bytes()},
        {"RAR 5 extra area larger than the header",
         rar5(Rar5Builder::Header(2, 0x01, Rar5VarInt(50), "", 0))},
        {"RAR 5 name longer than the header",
         rar5(Rar5Builder::Header(2, 0, std::string(5, '\0') + Rar5VarInt(90), "", 0))},
        {"RAR 5 extra record longer than its area",
         rar5(Rar5Builder::Header(2, 0, std::string(6, '\0'), Rar5VarInt(9) + "\x03", 0))},
    };
    for (const auto& [what, bytes] : rarCases) ExpectBroken(what, Rar(bytes), rar::kBadArchive);

    std::string badAceCrc = SampleAce(20);
    badAceCrc[badAceCrc.size() - 5] ^= 0x01;  // inside the last file header
    AceEntry longComment("c.txt", 0x8003);
    longComment.afterName = LittleEndian(500, 2) + "xx";
    AceEntry acePastEnd("p.txt");
    acePastEnd.packSize = 4000;
    auto aceMain = [](const std::string& raw) { return AceBuilder().Main().Raw(raw).Bytes(); };
    const std::pair<const char*, std::string> aceCases[] = {
        {"empty file", ""},
        {"no magic", std::string(200, 'a')},
        {"magic without a valid header", std::string(7, '\0') + "**ACE**" + std::string(40, 'z')},
        {"late header CRC", badAceCrc},
        {"comment past the header", AceBuilder().Main().Entry(longComment).Bytes()},
        {"data past the end", AceBuilder().Main().Entry(acePastEnd).Bytes()},
        {"name past the header",
         aceMain(AceBuilder::Block(std::string("\x01\x01\x00", 3) + std::string(26, '\0') +
                                   LittleEndian(40, 2) + "abc"))},
        {"header size below 3", aceMain(std::string("\0\0\x02\0\x01\0", 6))},
        {"unknown block type", aceMain(AceBuilder::Block("\x09\0\0"))},
        {"a second main header", AceBuilder().Main().Main().Bytes()},
    };
    for (const auto& [what, bytes] : aceCases) ExpectBroken(what, Ace(bytes), ace::kBadArchive);
}

TEST_F(LibraryTest, MissingFileGivesNoHandle) {
    RarListing listing = ListRar(m_dir.File("absent.rar"));
    EXPECT_FALSE(listing.opened);
    EXPECT_EQ(listing.openResult, static_cast<unsigned>(rar::kEOpen));
    EXPECT_FALSE(ListAce(m_dir.File("absent.ace")).opened);
}

TEST_F(RarEdgeTest, ReadingTwiceWithoutSkippingMovesOn) {
    rar::RAROpenArchiveData data;
    data.ArcName = m_dir.Write("t.rar", SampleRar4());
    rar::RarHandle handle = rar::RAROpenArchive(&data);
    ASSERT_NE(handle, nullptr);
    rar::RARHeaderData header;
    ASSERT_EQ(rar::RARReadHeader(handle, &header), rar::kSuccess);
    ASSERT_EQ(rar::RARReadHeader(handle, &header), rar::kSuccess);
    EXPECT_EQ(header.FileName, "docs\\a.txt");
    rar::RARProcessFile(handle, rar::kSkip, nullptr, nullptr);
    rar::RARProcessFile(handle, rar::kSkip, nullptr, nullptr);  // no header read: stays
    ASSERT_EQ(rar::RARReadHeader(handle, &header), rar::kSuccess);
    EXPECT_EQ(header.FileName, "CMT");
    rar::RARCloseArchive(handle);
}

// Every cut of a valid archive either lists a leading part of it (a cut
// between blocks, as with archives that have no end block) or fails and
// lists nothing.
template <typename List>
void ExpectEveryTruncationListsAPrefixOrFails(const std::string& full, List list) {
    auto whole = list(full);
    ASSERT_EQ(whole.openResult, 0u);
    for (size_t length = 0; length < full.size(); ++length) {
        SCOPED_TRACE(length);
        auto cut = list(full.substr(0, length));
        if (cut.openResult != 0) {
            EXPECT_TRUE(cut.entries.empty());
            continue;
        }
        ASSERT_LE(cut.entries.size(), whole.entries.size());
        for (size_t i = 0; i < cut.entries.size(); ++i)
            EXPECT_EQ(cut.entries[i].FileName, whole.entries[i].FileName);
    }
}

TEST_F(LibraryTest, EveryTruncationListsAPrefixOrFails) {
    auto rar = [this](const std::string& bytes) { return Rar(bytes); };
    ExpectEveryTruncationListsAPrefixOrFails(SampleRar4(), rar);
    ExpectEveryTruncationListsAPrefixOrFails(SampleRar5(), rar);
    ExpectEveryTruncationListsAPrefixOrFails(
        SampleAce(20), [this](const std::string& bytes) { return Ace(bytes); });
}

}  // namespace
}  // namespace kest::test
