// The small rules behind volume facts: serial text, icons, checksums, UUIDs,
// file-system names and the mount table.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Volumes.h"
#include "platform/linux/MountTable.h"
#include "platform/linux/VolumeProbe.h"
#include "platform/linux/VolumeSerial.h"

namespace kest::platform::os {
namespace {

TEST(VolumeTexts, SerialIsEightUpperCaseDigitsInTwoGroups) {
    EXPECT_EQ(FormatSerial(0), "0000-0000");
    EXPECT_EQ(FormatSerial(0x00000ABC), "0000-0ABC");
    EXPECT_EQ(FormatSerial(0x1A2B03CD), "1A2B-03CD");
    EXPECT_EQ(FormatSerial(0xFFFFFFFF), "FFFF-FFFF");
}

TEST(VolumeTexts, IconIndexFollowsTheDriveType) {
    EXPECT_EQ(DriveIconIndex(DriveType::Removable, true), 1);
    EXPECT_EQ(DriveIconIndex(DriveType::Removable, false), 2);
    EXPECT_EQ(DriveIconIndex(DriveType::Fixed, false), 3);
    EXPECT_EQ(DriveIconIndex(DriveType::Optical, false), 4);
    EXPECT_EQ(DriveIconIndex(DriveType::Network, false), 5);
    EXPECT_EQ(DriveIconIndex(DriveType::Unknown, false), 0);
}

TEST(VolumeTexts, DescriptorChecksumsSumFourLanesInOppositeOrders) {
    std::vector<std::uint8_t> descriptor(2048, 0);
    descriptor[0] = 1;
    EXPECT_EQ(IsoDescriptorSerial(descriptor), 0x01000000u);
    EXPECT_EQ(UdfDescriptorSerial(descriptor), 0x00000001u);
    descriptor[0] = 0;
    descriptor[3] = 1;
    EXPECT_EQ(IsoDescriptorSerial(descriptor), 0x00000001u);
    EXPECT_EQ(UdfDescriptorSerial(descriptor), 0x01000000u);
    // Each lane wraps modulo 256 on its own: 0x80 + 0x80 in lane 1 gives 0.
    descriptor[1] = 0x80;
    descriptor[5] = 0x80;
    descriptor[2] = 0xFF;
    EXPECT_EQ(IsoDescriptorSerial(descriptor), 0x0000FF01u);
}

TEST(VolumeTexts, SerialFromUuid) {
    struct Case {
        const char* type;
        const char* uuid;
        std::uint32_t serial;
    };
    for (const Case& c : std::vector<Case>{
             {"vfat", "1A2B-03CD", 0x1A2B03CD},
             {"exfat", "0000-0ABC", 0x00000ABC},
             {"ntfs", "1122334455667788", 0x55667788},
             {"ext4", "0a1b2c3d-1111-4000-8000-000000000000", 0x0A1B2C3D},
             {"btrfs", "", 0},
             {"xfs", "12ab", 0x12AB},
         }) {
        EXPECT_EQ(SerialFromUuid(c.type, c.uuid), c.serial) << c.type << " " << c.uuid;
    }
}

TEST(VolumeTexts, FileSystemNames) {
    EXPECT_EQ(FileSystemName("vfat", "FAT12"), "FAT");
    EXPECT_EQ(FileSystemName("vfat", "FAT16"), "FAT");
    EXPECT_EQ(FileSystemName("vfat", "FAT32"), "FAT32");
    EXPECT_EQ(FileSystemName("exfat", "1.0"), "exFAT");
    EXPECT_EQ(FileSystemName("ntfs", ""), "NTFS");
    EXPECT_EQ(FileSystemName("ntfs3", ""), "NTFS");
    EXPECT_EQ(FileSystemName("iso9660", "Joliet Extension"), "CDFS");
    EXPECT_EQ(FileSystemName("udf", "2.01"), "UDF");
    EXPECT_EQ(FileSystemName("ext4", "1.0"), "EXT4");
}

TEST(MountTable, ParsesFieldsAndUndoesEscapes) {
    auto mounts = ParseMountInfo(
        "26 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
        "90 26 8:17 / /media/ann/My\\040Disk rw shared:5 master:2 - vfat /dev/sdb1 rw\n"
        "91 26 0:50 /sub /srv/back\\134slash\\011tab/ rw - nfs4 host:/export\\040x rw\n");
    ASSERT_EQ(mounts.size(), 3u);
    EXPECT_EQ(mounts[0].mountPoint, "/");
    EXPECT_EQ(mounts[0].fsType, "ext4");
    EXPECT_EQ(mounts[1].major, 8u);
    EXPECT_EQ(mounts[1].minor, 17u);
    EXPECT_EQ(mounts[1].mountPoint, "/media/ann/My Disk");
    EXPECT_EQ(mounts[1].fsType, "vfat");  // after the optional fields
    EXPECT_EQ(mounts[1].source, "/dev/sdb1");
    EXPECT_EQ(mounts[2].root, "/sub");
    EXPECT_EQ(mounts[2].mountPoint, "/srv/back\\slash\ttab");
    EXPECT_EQ(mounts[2].source, "host:/export x");
}

TEST(MountTable, SkipsLinesOfAnotherShape) {
    auto mounts = ParseMountInfo(
        "\n"
        "garbage\n"
        "1 2 3:4 / /no/separator rw a b c d\n"
        "1 2 x:y / /bad/numbers rw - ext4 /dev/sda1 rw\n"
        "1 2 8:1 / relative rw - ext4 /dev/sda1 rw\n"
        "1 2 8:1 / /short rw -\n"
        "1 2 8:1 / /trailing\\04 rw - ext4 /dev/sda1 rw\n"
        "1 2 8:2 / /ok rw - ext4 /dev/sda2 rw");
    ASSERT_EQ(mounts.size(), 2u);
    EXPECT_EQ(mounts[0].mountPoint, "/trailing\\04");  // an incomplete escape stays as it is
    EXPECT_EQ(mounts[1].mountPoint, "/ok");
}

TEST(MountTable, FindsTheInnermostMountHoldingAPath) {
    auto mounts = ParseMountInfo(
        "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
        "2 1 8:17 / /media/a rw - vfat /dev/sdb1 rw\n"
        "3 1 8:33 / /media/a/inner rw - vfat /dev/sdc1 rw\n");
    EXPECT_EQ(FindMountFor(mounts, "/media/a/inner/x")->source, "/dev/sdc1");
    EXPECT_EQ(FindMountFor(mounts, "/media/a")->source, "/dev/sdb1");
    EXPECT_EQ(FindMountFor(mounts, "/media/ab")->source, "/dev/sda1");  // not inside /media/a
    EXPECT_EQ(FindMountFor(mounts, "relative"), nullptr);
    EXPECT_EQ(FindMountFor({}, "/"), nullptr);
}

}  // namespace
}  // namespace kest::platform::os
