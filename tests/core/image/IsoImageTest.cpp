// The ISO 9660 reader over images made here by xorriso and genisoimage.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <random>

#include "core/image/DiscImage.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace kest::image {
namespace {

namespace fs = std::filesystem;
using test::RunIn;

// Every file below the root as "path|size|mtime|RH" (R read-only, H hidden).
// Damaged images may claim sizes their extents do not hold: `checkExtents` off.
std::map<std::string, std::string> Tree(DiscImage& image, bool checkExtents = true) {
    std::map<std::string, std::string> files;
    std::function<void(const ImageEntry&, const std::string&)> walk = [&](const ImageEntry& dir,
                                                                          const std::string& at) {
        for (const ImageEntry& entry : image.ReadDirectory(dir)) {
            if (entry.isDirectory) {
                walk(entry, at + entry.name + "/");
                continue;
            }
            uint64_t extentBytes = 0;
            for (const Extent& extent : entry.extents) extentBytes += extent.length;
            if (checkExtents) {
                EXPECT_EQ(extentBytes, entry.size) << entry.name;
            }
            files[at + entry.name] = std::to_string(entry.size) + "|" +
                                     std::to_string(entry.modified) + "|" +
                                     (entry.readOnly ? "R" : "") + (entry.hidden ? "H" : "");
        }
    };
    walk(image.Root(), "");
    return files;
}

// The same facts of the source tree the image was made from.
std::map<std::string, std::string> SourceTree(const fs::path& root, bool readOnly) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_directory()) continue;
        struct stat st {};
        stat(entry.path().c_str(), &st);
        files[fs::relative(entry.path(), root).string()] = std::to_string(st.st_size) + "|" +
                                                           std::to_string(st.st_mtime) + "|" +
                                                           (readOnly ? "R" : "");
    }
    return files;
}

class IsoImageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.Write("content/readme.txt", "a file on the disc\n");
        dir.Write("content/Docs/A rather long name with spaces, commas & ümlauts.text",
                  std::string(5000, 'x'));
        dir.Write("content/Docs/deeper/still/empty.dat", "");
        dir.Write("content/.dotfile", "hidden by its name");
        dir.Write("content/" + std::string(200, 'n') + ".bin", std::string(70000, 'y'));
    }
    std::unique_ptr<DiscImage> Make(const std::string& tool, const std::string& options) {
        if (!test::ToolsInstalled(tool)) return nullptr;
        std::string command = tool == "xorriso" ? "xorriso -as mkisofs" : tool;
        EXPECT_TRUE(RunIn(dir, command + " " + options + " -V 'MY DISC' -o image content"));
        return OpenIsoImage(dir.File("image"));
    }
    test::TempDir dir;
};

// Rock Ridge gives the names, times and modes the source tree has; the
// label and file system are the disc's.
TEST_F(IsoImageTest, RockRidgeGivesTheSourceTreeItself) {
    for (const char* tool : {"xorriso", "genisoimage"}) {
        SCOPED_TRACE(tool);
        auto image = Make(tool, "-J -R");
        if (!image) continue;
        EXPECT_EQ(image->Label(), "MY DISC");
        EXPECT_EQ(image->FileSystem(), "CDFS");
        EXPECT_EQ(Tree(*image), SourceTree(dir.Path() / "content", false));
    }
}

// Without Rock Ridge (xorriso always writes it) the Joliet names are taken (up to Joliet's 64
// characters), every file read-only as a mounted disc shows it.
TEST_F(IsoImageTest, JolietNamesWithoutRockRidge) {
    auto image = Make("genisoimage", "-J -joliet-long");
    if (!image) GTEST_SKIP() << "no genisoimage";
    auto files = Tree(*image);
    EXPECT_THAT(files, ::testing::Contains(::testing::Key(
                           "Docs/A rather long name with spaces, commas & ümlauts.text")));
    EXPECT_THAT(files, ::testing::Contains(::testing::Key("readme.txt")));
    EXPECT_EQ(files.at("readme.txt").back(), 'R');
    EXPECT_EQ(files.size(), 5u);
}

// Plain ISO 9660: upper-case 8.3-ish names without their ";1".
TEST_F(IsoImageTest, PlainNamesLoseTheirVersion) {
    auto image = Make("genisoimage", "");
    if (!image) GTEST_SKIP() << "no genisoimage";
    auto files = Tree(*image);
    EXPECT_THAT(files, ::testing::Contains(::testing::Key("README.TXT")));
    EXPECT_THAT(files, ::testing::Contains(::testing::Key("DOCS/DEEPER/STILL/EMPTY.DAT")));
}

// Bytes the reader must refuse or report, never crash or hang on.
TEST_F(IsoImageTest, BadImagesGiveNothingOrAnImageError) {
    EXPECT_THROW(OpenIsoImage(dir.File("missing")), ImageError);
    dir.Write("empty", "");
    EXPECT_EQ(OpenIsoImage(dir.File("empty")), nullptr);
    std::mt19937 random(28);
    std::string noise(1 << 20, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    dir.Write("noise", noise);
    EXPECT_EQ(OpenIsoImage(dir.File("noise")), nullptr);
    // A descriptor header before noise claims a volume that is not there.
    std::string claimed = noise;
    claimed.replace(16 * 2048, 7, std::string("\1CD001\1", 7));
    claimed[16 * 2048 + 128] = 0;  // a block size of 2048
    claimed[16 * 2048 + 129] = 8;
    dir.Write("claimed", claimed);
    try {
        auto image = OpenIsoImage(dir.File("claimed"));
        if (image) Tree(*image);
        ADD_FAILURE() << "noise read as a disc";
    } catch (const ImageError&) {
    }

    auto image = Make("xorriso", "-R -J");
    if (!image) GTEST_SKIP() << "no xorriso";
    fs::resize_file(dir.File("image"), 19 * 2048);  // the root's records are gone
    EXPECT_THROW(
        {
            auto truncated = OpenIsoImage(dir.File("image"));
            if (truncated) Tree(*truncated);
        },
        ImageError);
}

// Seeded damage anywhere in the descriptors and directories: each image
// reads or raises ImageError, and reading stays bounded.
TEST_F(IsoImageTest, SeededDamageReadsOrRaises) {
    if (!Make("xorriso", "-R -J")) GTEST_SKIP() << "no xorriso";
    std::string clean;
    {
        std::ifstream in(dir.File("image"), std::ios::binary);
        clean.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::mt19937 random(9660);
    // The volume descriptors and the directories follow sector 16.
    std::uniform_int_distribution<size_t> at(16 * 2048,
                                             std::min<size_t>(clean.size(), 40 * 2048) - 1);
    int read = 0, raised = 0;
    for (int round = 0; round < 300; ++round) {
        std::string bytes = clean;
        for (int flip = 0; flip < 8; ++flip) bytes[at(random)] = static_cast<char>(random());
        dir.Write("damaged", bytes);
        try {
            auto image = OpenIsoImage(dir.File("damaged"));
            if (image) Tree(*image, false);
            ++read;
        } catch (const ImageError&) {
            ++raised;
        }
    }
    EXPECT_EQ(read + raised, 300);
    EXPECT_GT(raised, 0);
}

// A directory whose record points back at its parent is a loop, reported
// at once.
TEST_F(IsoImageTest, ADirectoryLoopIsAnError) {
    if (!test::ToolsInstalled("genisoimage")) GTEST_SKIP() << "no genisoimage";
    ASSERT_TRUE(RunIn(dir, "mkdir -p loop/OUTER/INNER && genisoimage -o image loop"));
    std::string bytes;
    {
        std::ifstream in(dir.File("image"), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    // Each directory record ends with its name: the location lies 31 bytes
    // before it. INNER is made to point at OUTER.
    auto recordOf = [&](const std::string& name) {
        size_t at = bytes.find(static_cast<char>(name.size()) + name);
        EXPECT_NE(at, std::string::npos) << name;
        return at - 32;
    };
    size_t outer = recordOf("OUTER");
    size_t inner = recordOf("INNER");
    bytes.replace(inner + 2, 8, bytes, outer + 2, 8);
    dir.Write("image", bytes);
    auto image = OpenIsoImage(dir.File("image"));
    ASSERT_NE(image, nullptr);
    try {
        Tree(*image);
        ADD_FAILURE() << "the loop was not found";
    } catch (const ImageError& e) {
        EXPECT_THAT(e.what(), ::testing::HasSubstr("loops back on itself"));
    }
}

}  // namespace
}  // namespace kest::image
