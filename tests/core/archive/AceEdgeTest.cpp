#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "support/archive/AceBuilder.h"
#include "support/archive/RarAceOracle.h"
#include "support/archive/RarBuilder.h"

namespace kest::test {
namespace {

using namespace archive::acelib;

class AceEdgeTest : public ::testing::Test {
  protected:
    AceListing List(const std::string& bytes) { return ListAce(m_dir.Write("t.ace", bytes)); }

    TempDir m_dir;
};

AceEntry File(const std::string& name, uint16_t flags = 0x8001) {
    AceEntry e;
    e.name = name;
    e.flags = flags;
    e.packSize = 3;
    e.origSize = 9;
    e.dosTime = 0x485C9B96;
    e.crc = 0x00A29FED;
    e.data = "abc";
    return e;
}

std::string Sample(uint8_t version) {
    AceEntry dir = File("docs", 0x0001);
    dir.packSize = 0;
    dir.origSize = 0;
    dir.data.clear();
    dir.attr = 0x10;
    dir.crc = 0;  // stored as 0xFFFFFFFF
    AceEntry wide = File("docs\\big.bin", 0x8005);
    wide.wide = true;
    wide.origSize = 0x1'0000'0005ULL;
    wide.compType = 2;
    AceEntry locked = File("locked.txt", 0xC001);
    locked.compType = 0;
    return AceBuilder()
        .Main(version)
        .Entry(dir)
        .Entry(File("docs\\a.txt"))
        .Recovery("recovery data")
        .Entry(wide)
        .Entry(locked)
        .Bytes();
}

TEST_F(AceEdgeTest, ListsEveryFileHeaderOfBothVersions) {
    for (uint8_t version : {10, 20}) {
        SCOPED_TRACE(version);
        AceListing listing = List(Sample(version));
        ASSERT_EQ(listing.openResult, 0u);
        ASSERT_EQ(listing.entries.size(), 4u);
        const auto& dir = listing.entries[0];
        EXPECT_EQ(dir.FileName, "docs");
        EXPECT_EQ(dir.FileCRC, 0u);
        EXPECT_EQ(dir.FileAttr, 0x10u);
        EXPECT_EQ(dir.Flags, 0x0001u << 16);

        const auto& a = listing.entries[1];
        EXPECT_EQ(a.FileName, "docs\\a.txt");
        EXPECT_EQ(a.Flags, 0x8001u << 16);
        EXPECT_EQ(a.PackSize, 3u);
        EXPECT_EQ(a.UnpSize, 9u);
        EXPECT_EQ(a.FileCRC, 0x00A29FEDu);
        EXPECT_EQ(a.FileTime, 0x485C9B96u);
        EXPECT_EQ(a.Method, 1u);
        EXPECT_EQ(a.FileAttr, 0x20u);
        EXPECT_TRUE(a.Comment.empty());

        EXPECT_EQ(listing.entries[2].UnpSize, 0x1'0000'0005ULL);
        EXPECT_EQ(listing.entries[2].Method, 2u);
        EXPECT_EQ(listing.entries[3].Flags, 0xC001u << 16 | kEncrypted);
        EXPECT_EQ(listing.entries[3].Method, 0u);
    }
}

TEST_F(AceEdgeTest, CompressedCommentsAreSkippedAndLeftEmpty) {
    AceEntry e = File("c.txt", 0x8003);
    e.afterName = LittleEndian(4, 2) + "\x01\x02\x03\x04";
    AceListing listing = List(AceBuilder().Main().Entry(e).Entry(File("d.txt")).Bytes());
    ASSERT_EQ(listing.openResult, 0u);
    ASSERT_EQ(listing.entries.size(), 2u);
    EXPECT_TRUE(listing.entries[0].Comment.empty());
    EXPECT_EQ(listing.entries[1].FileName, "d.txt");
}

// A stub may hold the magic text itself; the main header is the one whose
// checksum holds.
TEST_F(AceEdgeTest, SelfExtractingStubIsSkipped) {
    std::string stub = "MZ" + std::string(3000, '\x90') + "**ACE**" + std::string(100, 'x');
    AceListing listing = List(stub + Sample(20));
    EXPECT_EQ(listing.openResult, 0u);
    EXPECT_EQ(listing.entries.size(), 4u);
}

TEST_F(AceEdgeTest, BrokenArchivesOpenWithAnErrorAndListNothing) {
    std::string badCrc = Sample(20);
    badCrc[badCrc.size() - 5] ^= 0x01;  // inside the last file header
    AceEntry longComment = File("c.txt", 0x8003);
    longComment.afterName = LittleEndian(500, 2) + "xx";
    AceEntry pastEnd = File("p.txt");
    pastEnd.packSize = 4000;
    std::string cutName = AceBuilder().Main().Bytes() +
                          AceBuilder::Block(std::string("\x01\x01\x00", 3) + std::string(26, '\0') +
                                            LittleEndian(40, 2) + "abc");
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty file", ""},
        {"no magic", std::string(200, 'a')},
        {"magic without a valid header", std::string(7, '\0') + "**ACE**" + std::string(40, 'z')},
        {"late header CRC", badCrc},
        {"comment past the header", AceBuilder().Main().Entry(longComment).Bytes()},
        {"data past the end", AceBuilder().Main().Entry(pastEnd).Bytes()},
        {"name past the header", cutName},
        {"header size below 3",
         AceBuilder().Main().Raw(std::string("\0\0\x02\0\x01\0", 6)).Bytes()},
        {"unknown block type", AceBuilder().Main().Raw(AceBuilder::Block("\x09\0\0")).Bytes()},
        {"a second main header", AceBuilder().Main().Main().Bytes()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AceListing listing = List(c.bytes);
        EXPECT_TRUE(listing.opened);
        EXPECT_EQ(listing.openResult, static_cast<unsigned>(kBadArchive));
        EXPECT_TRUE(listing.entries.empty());
    }
}

TEST_F(AceEdgeTest, MissingFileGivesNoHandle) {
    EXPECT_FALSE(ListAce(m_dir.File("absent.ace")).opened);
}

TEST_F(AceEdgeTest, EveryTruncationListsAPrefixOrFails) {
    ExpectEveryTruncationListsAPrefixOrFails(
        Sample(20), [this](const std::string& bytes) { return List(bytes); });
}

}  // namespace
}  // namespace kest::test
