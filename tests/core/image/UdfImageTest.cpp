#include <gtest/gtest.h>

#include <fstream>

#include "core/image/DiscImage.h"
#include "core/image/UdfFixtures.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace kest::image {
namespace {

using test::RunIn;
using test::TempDir;

// The serial udfinfo computes the way Windows does, as 8 hex digits.
std::uint32_t UdfinfoSerial(const TempDir& dir) {
    if (!RunIn(dir, "udfinfo image | sed -n 's/^winserialnum=0x//p' > serial")) return 0;
    std::string hex;
    std::ifstream(dir.File("serial")) >> hex;
    return hex.empty() ? 0 : static_cast<std::uint32_t>(std::stoul(hex, nullptr, 16));
}

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 % 251);
    return bytes;
}

TEST(UdfImage, BridgeImageIsReadThroughItsUdfStructures) {
    TempDir dir;
    // genisoimage takes UDF names from Joliet ones: 16-bit characters of the
    // basic plane, up to 103 of them.
    const std::string wide = "Ünïcödé ✓ 日本.txt";
    const std::string longName = std::string(99, 'n') + ".dat";
    dir.Write("tree/a.txt", "hello\n");
    dir.Write("tree/sub/big.bin", Pattern(300000));
    dir.Write("tree/sub/deep/" + wide, "x");
    dir.Write("tree/sub/deep/" + longName, "");
    if (!RunIn(dir, "touch -d @1600000000 tree/a.txt && touch -d @1500000000 tree/sub/deep") ||
        !MakeBridgeImage(dir, "-joliet-long -V Holiday_2020")) {
        GTEST_SKIP() << "genisoimage is not installed";
    }
    auto disc = OpenDiscImage(dir.File("image"));
    ASSERT_TRUE(disc);
    EXPECT_EQ(disc->FileSystem(), "UDF");
    EXPECT_EQ(disc->Label(), "Holiday_2020");
    if (test::ToolsInstalled("udfinfo")) {
        EXPECT_EQ(disc->Serial(), UdfinfoSerial(dir));
    }

    auto all = test::WalkImage(*disc);
    ASSERT_EQ(all.size(), 6u);
    const ImageEntry& a = all.at("a.txt");
    EXPECT_FALSE(a.isDirectory);
    EXPECT_EQ(a.size, 6u);
    EXPECT_EQ(a.modified, 1600000000);
    EXPECT_EQ(test::ExtentBytes(dir.File("image"), a), "hello\n");
    EXPECT_EQ(test::ExtentBytes(dir.File("image"), all.at("sub/big.bin")), Pattern(300000));
    EXPECT_TRUE(all.at("sub").isDirectory);
    EXPECT_EQ(all.at("sub/deep").modified, 1500000000);
    EXPECT_EQ(all.at("sub/deep/" + wide).size, 1u);
    const ImageEntry& empty = all.at("sub/deep/" + longName);
    EXPECT_EQ(empty.size, 0u);
    EXPECT_TRUE(empty.extents.empty());
    EXPECT_FALSE(a.hidden);
}

// mkudffs writes every revision and the kinds of partition DVDs and Blu-ray
// discs use: an image of each opens empty with udfinfo's label and serial.
TEST(UdfImage, EachRevisionAndPartitionKindOpensWithItsLabelAndSerial) {
    if (!test::ToolsInstalled("mkudffs udfinfo")) GTEST_SKIP() << "udftools are not installed";
    const char* kinds[] = {
        "--blocksize=512",
        "--udfrev=0x0102",
        "--udfrev=0x0150",
        "--udfrev=0x0201 --blocksize=4096",
        "--media-type=cdr",                  // a virtual partition (allocation table)
        "--media-type=bdr --udfrev=0x0250",  // a metadata partition in a virtual one
        "--media-type=bdr --udfrev=0x0260",
    };
    for (const char* kind : kinds) {
        TempDir dir;
        // A written-once disc ends with its allocation table: the image is
        // cut there, as a copy of the disc would be.
        ASSERT_TRUE(
            RunIn(dir, std::string("truncate -s 30M image && mkudffs --label=Disc") + " " + kind +
                           " image > made && v=$(sed -n 's/^vatblock=//p' made)"
                           " && { [ -z \"$v\" ] || truncate -s $(( (v + 1) * 2048 )) image; }"))
            << kind;
        auto disc = OpenUdfImage(dir.File("image"));
        ASSERT_TRUE(disc) << kind;
        EXPECT_EQ(disc->Label(), "Disc") << kind;
        EXPECT_EQ(disc->Serial(), UdfinfoSerial(dir)) << kind;
        EXPECT_TRUE(disc->Root().isDirectory);
        EXPECT_TRUE(disc->ReadDirectory(disc->Root()).empty()) << kind;
    }
}

// A volume the system writes, where it may mount one: small files kept in
// their entries, 16-bit names, a sparse file in hundreds of pieces (more than
// its entry holds, so they continue in allocation extents).
TEST(UdfImage, VolumeWrittenByTheSystem) {
    if (!test::ToolsInstalled("mkudffs")) GTEST_SKIP() << "udftools are not installed";
    TempDir dir;
    ASSERT_TRUE(RunIn(dir, "truncate -s 20M image && mkudffs --label=Written image && mkdir m"));
    if (!RunIn(dir, "mount -o loop,utf8 image m")) GTEST_SKIP() << "UDF cannot be mounted here";
    bool written = RunIn(dir,
                         "echo tiny > m/tiny.txt && touch -d @1600000000 m/tiny.txt && "
                         "mkdir m/日本 && printf x > m/日本/ファイル.txt && "
                         "for i in $(seq 0 2 600); do dd if=/dev/urandom of=m/sparse bs=2048 "
                         "count=1 seek=$i conv=notrunc status=none; done");
    RunIn(dir, "umount m");
    ASSERT_TRUE(written);

    auto disc = OpenDiscImage(dir.File("image"));
    ASSERT_TRUE(disc);
    EXPECT_EQ(disc->Label(), "Written");
    auto all = test::WalkImage(*disc);
    EXPECT_EQ(test::ExtentBytes(dir.File("image"), all.at("tiny.txt")), "tiny\n");
    EXPECT_EQ(all.at("tiny.txt").modified, 1600000000);
    EXPECT_EQ(all.at("日本/ファイル.txt").size, 1u);
    const ImageEntry& sparse = all.at("sparse");
    EXPECT_EQ(sparse.size, 601u * 2048);
    std::uint64_t recorded = 0;
    for (const Extent& extent : sparse.extents) recorded += extent.length;
    EXPECT_EQ(recorded, 301u * 2048);
}

}  // namespace
}  // namespace kest::image
