// Label, serial and file system read from real file-system images, made here
// with the system's formatting tools, through the code that reads a device.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/linux/VolumeProbe.h"
#include "platform/linux/VolumeSerial.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace kest::platform::os {
namespace {

namespace fs = std::filesystem;
using test::RunIn;
using ::testing::AllOf;
using ::testing::MatchesRegex;
using ::testing::Ne;

// "<label>|<serial>|<file system>" read from dir's "image", or "nothing".
std::string Probe(const test::TempDir& dir) {
    std::optional<VolumeInfo> info = ProbeVolume(dir.File("image"));
    if (!info) return "nothing";
    return (info->ok ? "" : "not ok: ") + info->label + "|" + info->serial + "|" + info->fileSystem;
}

struct ImageCase {
    const char* name;
    const char* tools;
    const char* commands;  // run in the image folder
    const char* expected;  // as Probe gives it
};

class VolumeImages : public ::testing::TestWithParam<ImageCase> {};

TEST_P(VolumeImages, ReadsLabelSerialAndFileSystem) {
    const ImageCase& c = GetParam();
    if (!test::ToolsInstalled(c.tools)) GTEST_SKIP() << c.tools << ": not installed";
    test::TempDir dir;
    dir.Write("content/readme.txt", "a file on the disc\n");
    ASSERT_TRUE(RunIn(dir, c.commands)) << c.commands;
    EXPECT_EQ(Probe(dir), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tools, VolumeImages,
    ::testing::Values(ImageCase{"Fat12", "mkfs.vfat",
                                "truncate -s 2M image && mkfs.vfat -i 1A2B03CD -n BACKUP_01 image",
                                "BACKUP_01|1A2B-03CD|FAT"},
                      ImageCase{"Fat32NoLabel", "mkfs.vfat",
                                "truncate -s 40M image && mkfs.vfat -F 32 -i 00000ABC image",
                                "|0000-0ABC|FAT32"},
                      ImageCase{"ExFat", "mkfs.exfat tune.exfat",
                                "truncate -s 8M image && mkfs.exfat -L 'My Stick' image && "
                                "tune.exfat -I 0xFFFFFFFF image",
                                "My Stick|FFFF-FFFF|exFAT"},
                      ImageCase{"Ntfs", "mkntfs ntfslabel",
                                "truncate -s 8M image && mkntfs -q -F -f -L Archive image && "
                                "ntfslabel --new-serial=1122334455667788 image",
                                "Archive|5566-7788|NTFS"},
                      ImageCase{"Ext4", "mkfs.ext4",
                                "truncate -s 4M image && mkfs.ext4 -q -L linuxdata "
                                "-U 0a1b2c3d-0000-4000-8000-000000000000 image",
                                "linuxdata|0A1B-2C3D|EXT4"}),
    [](const auto& image) { return std::string(image.param.name); });

// ISO 9660 and UDF serials are checksums of one descriptor: the tests check
// that the right descriptor is summed, and compare UDF with udfinfo.
bool MakeIso(const test::TempDir& dir, const std::string& options) {
    dir.Write("content/a.txt", "x");
    return test::ToolsInstalled("xorriso") &&
           RunIn(dir, "xorriso -as mkisofs " + options + " -o image content");
}

TEST(VolumeImages, IsoSerialIsTheChecksumOfTheDescriptorThatGivesTheLabel) {
    test::TempDir plain, joliet;
    if (!MakeIso(plain, "-V PLAIN_DISC_LABEL_LONGER_THAN_16") ||
        !MakeIso(joliet, "-J -V BACKUP_01_PRIMARY_LONG")) {
        GTEST_SKIP() << "no xorriso";
    }
    std::vector<std::uint8_t> primary(2048);
    std::ifstream(plain.File("image"), std::ios::binary)
        .seekg(16 * 2048)
        .read(reinterpret_cast<char*>(primary.data()), 2048);
    EXPECT_EQ(Probe(plain), "PLAIN_DISC_LABEL_LONGER_THAN_16|" +
                                FormatSerial(IsoDescriptorSerial(primary)) + "|CDFS");

    // Joliet keeps 16 characters of the label, and its descriptor (sector 17,
    // after the primary one) gives the serial.
    const auto jolietFacts = MatchesRegex("BACKUP_01_PRIMAR\\|[0-9A-F]{4}-[0-9A-F]{4}\\|CDFS");
    std::string before = Probe(joliet);
    EXPECT_THAT(before, jolietFacts);
    auto poke = [&](long offset) {
        std::fstream image(joliet.File("image"), std::ios::in | std::ios::out | std::ios::binary);
        image.seekp(offset);
        image.put('\x5A');
    };
    poke(16 * 2048 + 1000);  // application-use bytes of the primary descriptor
    EXPECT_EQ(Probe(joliet), before);
    poke(17 * 2048 + 1000);  // the same bytes of the Joliet descriptor
    EXPECT_THAT(Probe(joliet), AllOf(jolietFacts, Ne(before)));  // only the serial changed
}

TEST(VolumeImages, UdfSerialMatchesUdfinfo) {
    if (!test::ToolsInstalled("mkudffs udfinfo")) GTEST_SKIP() << "udftools are not installed";
    for (std::string blockSize : {"512", "2048"}) {
        test::TempDir dir;
        ASSERT_TRUE(RunIn(dir, "truncate -s 8M image && mkudffs --blocksize=" + blockSize +
                                   " --label=Photos image && udfinfo image | "
                                   "sed -n 's/^winserialnum=0x//p' | tr a-f A-F > serial"));
        std::string hex;
        std::ifstream(dir.File("serial")) >> hex;
        ASSERT_EQ(hex.size(), 8u) << blockSize;

        EXPECT_EQ(Probe(dir), "Photos|" + hex.substr(0, 4) + "-" + hex.substr(4) + "|UDF")
            << blockSize;
    }
}

TEST(VolumeImages, UnreadableOrUnknownContentGivesNothing) {
    test::TempDir dir;
    EXPECT_EQ(Probe(dir), "nothing");  // no file
    dir.Write("image", std::string(1 << 20, '\0'));
    EXPECT_EQ(Probe(dir), "nothing");
}

}  // namespace
}  // namespace kest::platform::os
