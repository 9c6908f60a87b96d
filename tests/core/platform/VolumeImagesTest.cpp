// Label, serial and file system read from real file-system images, made here
// with the system's formatting tools, through the code that reads a device.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/linux/VolumeProbe.h"
#include "platform/linux/VolumeSerial.h"
#include "support/TempDir.h"

namespace kest::platform::os {
namespace {

namespace fs = std::filesystem;

// Formatting tools live in sbin, which a normal user's PATH may lack.
std::string FindTool(const std::string& name) {
    std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    path += ":/usr/sbin:/sbin";
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(':', start);
        if (end == std::string::npos) end = path.size();
        fs::path candidate = fs::path(path.substr(start, end - start)) / name;
        if (end > start && access(candidate.c_str(), X_OK) == 0) return candidate.string();
        start = end + 1;
    }
    return {};
}

struct ImageCase {
    const char* name;
    std::vector<std::string> tools;
    // Run in the image folder; {tool0} etc. are replaced by the tools' paths.
    std::string commands;
    VolumeInfo expected;
};

void PrintTo(const ImageCase& c, std::ostream* os) {
    *os << c.name;
}

class VolumeImages : public ::testing::TestWithParam<ImageCase> {};

TEST_P(VolumeImages, ReadsLabelSerialAndFileSystem) {
    const ImageCase& c = GetParam();
    std::string commands = c.commands;
    for (size_t i = 0; i < c.tools.size(); ++i) {
        std::string tool = FindTool(c.tools[i]);
        if (tool.empty()) GTEST_SKIP() << c.tools[i] << " is not installed";
        std::string mark = "{" + std::to_string(i) + "}";
        for (size_t at; (at = commands.find(mark)) != std::string::npos;) {
            commands.replace(at, mark.size(), tool);
        }
    }
    test::TempDir dir;
    dir.Write("content/readme.txt", "a file on the disc\n");
    std::string script = "cd '" + dir.Path().string() +
                         "' && export SOURCE_DATE_EPOCH=1700000000 && (" + commands +
                         ") >/dev/null 2>&1";
    ASSERT_EQ(std::system(script.c_str()), 0) << commands;

    std::optional<VolumeInfo> info = ProbeVolume(dir.File("image"));
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->ok);
    EXPECT_EQ(info->label, c.expected.label);
    EXPECT_EQ(info->serial, c.expected.serial);
    EXPECT_EQ(info->fileSystem, c.expected.fileSystem);
}

INSTANTIATE_TEST_SUITE_P(
    Tools, VolumeImages,
    ::testing::Values(
        ImageCase{"Fat12",
                  {"mkfs.vfat"},
                  "truncate -s 2M image && {0} -i 1A2B03CD -n BACKUP_01 image",
                  {true, "BACKUP_01", "1A2B-03CD", "FAT"}},
        ImageCase{"Fat32NoLabel",
                  {"mkfs.vfat"},
                  "truncate -s 40M image && {0} -F 32 -i 00000ABC image",
                  {true, "", "0000-0ABC", "FAT32"}},
        ImageCase{"ExFat",
                  {"mkfs.exfat", "tune.exfat"},
                  "truncate -s 8M image && {0} -L 'My Stick' image && {1} -I 0xFFFFFFFF image",
                  {true, "My Stick", "FFFF-FFFF", "exFAT"}},
        ImageCase{"Ntfs",
                  {"mkntfs", "ntfslabel"},
                  "truncate -s 8M image && {0} -q -F -f -L Archive image && "
                  "{1} --new-serial=1122334455667788 image",
                  {true, "Archive", "5566-7788", "NTFS"}},
        ImageCase{"Ext4",
                  {"mkfs.ext4"},
                  "truncate -s 4M image && {0} -q -L linuxdata "
                  "-U 0a1b2c3d-0000-4000-8000-000000000000 image",
                  {true, "linuxdata", "0A1B-2C3D", "EXT4"}}),
    [](const auto& info) { return std::string(info.param.name); });

// ISO 9660 and UDF serials are checksums of one descriptor: the tests check
// that the right descriptor is summed, and compare UDF with udfinfo.
bool MakeIso(const test::TempDir& dir, const std::string& options) {
    std::string xorriso = FindTool("xorriso");
    dir.Write("content/a.txt", "x");
    std::string script = "cd '" + dir.Path().string() + "' && SOURCE_DATE_EPOCH=1700000000 " +
                         xorriso + " -as mkisofs " + options + " -o image content >/dev/null 2>&1";
    return !xorriso.empty() && std::system(script.c_str()) == 0;
}

TEST(VolumeImages, PlainIsoSerialIsTheChecksumOfThePrimaryDescriptor) {
    test::TempDir dir;
    if (!MakeIso(dir, "-V PLAIN_DISC_LABEL_LONGER_THAN_16")) GTEST_SKIP() << "no xorriso";
    std::vector<std::uint8_t> primary(2048);
    std::ifstream(dir.File("image"), std::ios::binary)
        .seekg(16 * 2048)
        .read(reinterpret_cast<char*>(primary.data()), 2048);

    std::optional<VolumeInfo> info = ProbeVolume(dir.File("image"));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->label, "PLAIN_DISC_LABEL_LONGER_THAN_16");
    EXPECT_EQ(info->serial, FormatSerial(IsoDescriptorSerial(primary)));
    EXPECT_EQ(info->fileSystem, "CDFS");
}

TEST(VolumeImages, JolietLabelAndSerialComeFromTheJolietDescriptor) {
    test::TempDir dir;
    if (!MakeIso(dir, "-J -V BACKUP_01_PRIMARY_LONG")) GTEST_SKIP() << "no xorriso";

    std::optional<VolumeInfo> before = ProbeVolume(dir.File("image"));
    ASSERT_TRUE(before);
    EXPECT_EQ(before->label, "BACKUP_01_PRIMAR");  // Joliet keeps 16 characters
    EXPECT_EQ(before->fileSystem, "CDFS");

    // Primary descriptor at sector 16, Joliet descriptor at sector 17.
    auto poke = [&](long offset) {
        std::fstream image(dir.File("image"), std::ios::in | std::ios::out | std::ios::binary);
        image.seekp(offset);
        image.put('\x5A');
    };
    poke(16 * 2048 + 1000);  // application-use bytes of the primary descriptor
    EXPECT_EQ(ProbeVolume(dir.File("image"))->serial, before->serial);
    poke(17 * 2048 + 1000);  // the same bytes of the Joliet descriptor
    EXPECT_NE(ProbeVolume(dir.File("image"))->serial, before->serial);
}

TEST(VolumeImages, UdfSerialMatchesUdfinfo) {
    std::string mkudffs = FindTool("mkudffs"), udfinfo = FindTool("udfinfo");
    if (mkudffs.empty() || udfinfo.empty()) GTEST_SKIP() << "udftools are not installed";
    for (const char* blockSize : {"512", "2048"}) {
        test::TempDir dir;
        std::string script = "cd '" + dir.Path().string() + "' && truncate -s 8M image && " +
                             mkudffs + " --blocksize=" + blockSize +
                             " --label=Photos image >/dev/null 2>&1 && " + udfinfo +
                             " image 2>/dev/null | sed -n 's/^winserialnum=0x//p' > serial";
        ASSERT_EQ(std::system(script.c_str()), 0);
        std::string hex;
        std::ifstream(dir.File("serial")) >> hex;
        ASSERT_EQ(hex.size(), 8u) << blockSize;
        for (char& c : hex) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

        std::optional<VolumeInfo> info = ProbeVolume(dir.File("image"));
        ASSERT_TRUE(info) << blockSize;
        EXPECT_EQ(info->serial, hex.substr(0, 4) + "-" + hex.substr(4)) << blockSize;
        EXPECT_EQ(info->label, "Photos");
        EXPECT_EQ(info->fileSystem, "UDF");
    }
}

TEST(VolumeImages, UnreadableOrUnknownContentGivesNothing) {
    test::TempDir dir;
    EXPECT_FALSE(ProbeVolume(dir.File("missing")));
    EXPECT_FALSE(ProbeVolume(dir.Write("zeros", std::string(1 << 20, '\0'))));
}

}  // namespace
}  // namespace kest::platform::os
