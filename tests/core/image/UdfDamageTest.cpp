#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "core/image/DiscImage.h"
#include "core/image/UdfFixtures.h"
#include "support/TempDir.h"

namespace kest::image {
namespace {

using test::ImageBytes;
using test::TempDir;
using ::testing::HasSubstr;

constexpr std::uint32_t kBlock = 2048;

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 13 % 241);
    return bytes;
}

// A bridge image of a small tree; the tests change its UDF structures the way
// other writers (or damage) leave them.
class UdfCrafted : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.Write("tree/a.txt", "hello\n");
        dir.Write("tree/sub/big.bin", Pattern(100000));
        dir.Write("tree/sub/deep/c.txt", "c");
        if (!test::MakeBridgeImage(dir)) GTEST_SKIP() << "genisoimage is not installed";
        image = std::make_unique<ImageBytes>(dir.File("image"));
    }

    std::map<std::string, ImageEntry> Walk() {
        image->Save();
        auto disc = OpenUdfImage(image->path);
        if (!disc) throw std::runtime_error("no UDF volume");
        return test::WalkImage(*disc);
    }
    std::string WalkError() {
        try {
            Walk();
        } catch (const ImageError& error) {
            return error.what();
        }
        return "no error";
    }

    // The entry of a name and the offset of its allocation descriptors.
    std::size_t EntryOf(const std::string& name) {
        return image->EntryOf(image->FindIdentifier(name));
    }
    std::size_t DescriptorsOf(std::size_t entry) { return entry + 176 + image->Le32(entry + 168); }

    // A short allocation descriptor: length (with its type in the top bits)
    // and block in the partition.
    void PutShort(std::size_t at, std::uint32_t length, std::uint32_t block) {
        image->PutLe32(at, length);
        image->PutLe32(at + 4, block);
    }
    // Appends an allocation extent descriptor block holding `descriptors`
    // short ones; gives its block in the partition.
    std::uint32_t AppendAllocationExtent(
        const std::vector<std::pair<std::uint32_t, std::uint32_t>>& descriptors) {
        std::size_t at = image->bytes.size();
        image->bytes.resize(at + kBlock);
        auto block = static_cast<std::uint32_t>(at / kBlock - image->partitionStart);
        image->PutLe16(at, 258);
        image->PutLe32(at + 12, block);
        image->PutLe32(at + 20, static_cast<std::uint32_t>(8 * descriptors.size()));
        for (std::size_t i = 0; i < descriptors.size(); ++i) {
            PutShort(at + 24 + 8 * i, descriptors[i].first, descriptors[i].second);
        }
        image->FixTag(at);
        return block;
    }

    TempDir dir;
    std::unique_ptr<ImageBytes> image;
};

TEST_F(UdfCrafted, HiddenAndDeletedIdentifiersAndEmbeddedData) {
    image->bytes[image->FindIdentifier("a.txt") + 18] |= 1;  // hidden
    image->bytes[image->FindIdentifier("c.txt") + 18] |= 4;  // deleted
    // big.bin's data moves into its entry.
    std::size_t entry = EntryOf("big.bin");
    image->PutLe16(entry + 34, static_cast<std::uint16_t>((image->bytes[entry + 34] & ~7) | 3));
    image->PutLe64(entry + 56, 9);
    image->PutLe32(entry + 172, 9);
    std::string embedded = "in entry!";
    std::copy(embedded.begin(), embedded.end(),
              image->bytes.begin() + static_cast<long>(DescriptorsOf(entry)));

    auto all = Walk();
    EXPECT_TRUE(all.at("a.txt").hidden);
    EXPECT_FALSE(all.at("sub").hidden);
    EXPECT_EQ(all.count("sub/deep/c.txt"), 0u);
    EXPECT_EQ(all.at("sub/big.bin").size, 9u);
    EXPECT_EQ(test::ExtentBytes(image->path, all.at("sub/big.bin")), embedded);
}

TEST_F(UdfCrafted, ExtentsInOrderThroughAnAllocationExtent) {
    std::size_t entry = EntryOf("big.bin");
    std::size_t descriptors = DescriptorsOf(entry);
    std::uint32_t start = image->Le32(descriptors + 4);
    // Blocks 10-19 first, then (through a continuation) 0-9 and 20 onwards.
    std::uint32_t next =
        AppendAllocationExtent({{10 * kBlock, start}, {100000 - 20 * kBlock, start + 20}});
    PutShort(descriptors, 10 * kBlock, start + 10);
    PutShort(descriptors + 8, 3u << 30 | kBlock, next);
    image->PutLe32(entry + 172, 16);

    const ImageEntry big = Walk().at("sub/big.bin");
    std::string data = Pattern(100000);
    EXPECT_EQ(big.extents.size(), 3u);
    EXPECT_EQ(test::ExtentBytes(image->path, big), data.substr(10 * kBlock, 10 * kBlock) +
                                                       data.substr(0, 10 * kBlock) +
                                                       data.substr(20 * kBlock));
}

TEST_F(UdfCrafted, LoopsAreReportedNotFollowed) {
    {  // allocation extents that continue into themselves
        std::size_t descriptors = DescriptorsOf(EntryOf("big.bin"));
        auto self =
            static_cast<std::uint32_t>(image->bytes.size() / kBlock - image->partitionStart);
        AppendAllocationExtent({{3u << 30 | kBlock, self}});
        PutShort(descriptors, 3u << 30 | kBlock, self);
        EXPECT_THAT(WalkError(), HasSubstr("allocation descriptors"));
    }
    SetUp();
    std::size_t sub = image->FindIdentifier("sub");
    std::size_t deep = image->FindIdentifier("deep");
    std::size_t c = image->FindIdentifier("c.txt");
    // sub/deep/c.txt made a folder that is sub again.
    image->bytes[c + 18] |= 2;
    image->PutLe32(c + 24, image->Le32(sub + 24));
    EXPECT_THAT(WalkError(), HasSubstr("loops back"));
    // sub/deep made sub itself.
    SetUp();
    image->PutLe32(deep + 24, image->Le32(sub + 24));
    EXPECT_THAT(WalkError(), HasSubstr("loops back"));
}

TEST_F(UdfCrafted, ClaimedSizesPastTheImage) {
    std::size_t big = EntryOf("big.bin");
    image->PutLe64(big + 56, std::uint64_t{1} << 60);
    image->PutLe32(DescriptorsOf(big), 0x3FFFF800);  // an extent of 1 GiB
    auto all = Walk();
    EXPECT_EQ(all.at("sub/big.bin").size, std::uint64_t{1} << 60);
    // Its extent stops where the image does.
    const Extent& extent = all.at("sub/big.bin").extents.at(0);
    EXPECT_EQ(extent.offset + extent.length, image->bytes.size());

    image->PutLe64(EntryOf("sub") + 56, std::uint64_t{1} << 60);
    EXPECT_THAT(WalkError(), HasSubstr("more than the image holds"));
}

// Damaged bytes anywhere in the volume's structures and images cut short give
// what can be read or an ImageError, never another failure.
TEST_F(UdfCrafted, SeededDamageAndTruncation) {
    const std::vector<std::uint8_t> original = image->bytes;
    std::size_t end = std::min<std::size_t>(original.size(), 400 * kBlock);
    int opened = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        image->bytes = original;
        int count = 1 + static_cast<int>(random() % 24);
        for (int i = 0; i < count; ++i) {
            image->bytes[16 * kBlock + random() % (end - 16 * kBlock)] =
                static_cast<std::uint8_t>(random());
        }
        image->Save();
        try {
            if (auto disc = OpenDiscImage(image->path)) {
                test::WalkImage(*disc);
                ++opened;
            }
        } catch (const ImageError&) {
        }
    }
    EXPECT_GT(opened, 100);  // most damage misses the structures the walk reads
    std::size_t sizes[] = {0,
                           1000,
                           16 * kBlock + 100,
                           256 * kBlock + 7,
                           original.size() / 2,
                           original.size() - kBlock};
    for (std::size_t size : sizes) {
        image->bytes.assign(original.begin(), original.begin() + static_cast<long>(size));
        image->Save();
        try {
            if (auto disc = OpenDiscImage(image->path)) test::WalkImage(*disc);
        } catch (const ImageError&) {
        }
    }
    image->bytes.assign(1 << 20, 0);
    std::mt19937 random(7);
    for (auto& byte : image->bytes) byte = static_cast<std::uint8_t>(random());
    image->Save();
    EXPECT_EQ(OpenUdfImage(image->path), nullptr);
}

}  // namespace
}  // namespace kest::image
