// What the drive box offers, over drives made of folders.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Volumes.h"
#include "support/TempDir.h"
#include "support/platform/FakeVolumes.h"

namespace kest::platform {
namespace {

using test::FakeVolumes;

class DriveBox : public ::testing::Test {
  protected:
    void SetUp() override {
        fixed = volumes.Add({dir.File("c"), DriveType::Fixed, "SYSTEM", "1234-5678", "NTFS"});
        floppy = volumes.Add({dir.File("a"), DriveType::Removable, "", "0000-0000", "FAT", true});
        empty =
            volumes.Add({dir.File("d"), DriveType::Optical, "", "0000-0000", "CDFS", false, false});
        disc = volumes.Add({dir.File("e"), DriveType::Optical, "BACKUP_01", "0000-0ABC", "CDFS"});
        blank = volumes.Add({dir.File("f"), DriveType::Optical, "", "1111-2222", "UDF"});
        network = volumes.Add({dir.File("z"), DriveType::Network, "share", "ABCD-EF01", "NTFS"});
        odd = volumes.Add({dir.File("r"), DriveType::Unknown, "ram", "0000-0000", "TMPFS"});
        for (const char* name : {"c", "a", "d", "e", "f", "z", "r"}) {
            std::filesystem::create_directories(dir.File(name));
        }
    }

    test::TempDir dir;
    FakeVolumes volumes;
    std::string fixed, floppy, empty, disc, blank, network, odd;
};

TEST_F(DriveBox, OnlyOpticalShowsCdDrivesWithTheirLabels) {
    auto items = DriveBoxItems(volumes, true);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].text, empty + " ");  // no disc: the root alone
    EXPECT_EQ(items[1].text, disc + " [BACKUP_01]");
    EXPECT_EQ(items[2].text, blank + " []");  // read fine, empty label
    for (const auto& item : items) {
        EXPECT_EQ(item.iconIndex, 4);
        EXPECT_EQ(item.type, DriveType::Optical);
    }
}

TEST_F(DriveBox, AllDrivesKeepTheirOwnTextAndSkipUnknownTypes) {
    auto items = DriveBoxItems(volumes, false);
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[0].root, fixed);
    EXPECT_EQ(items[0].text, fixed + " [SYSTEM]");
    EXPECT_EQ(items[0].iconIndex, 3);
    EXPECT_EQ(items[1].text, floppy);
    EXPECT_EQ(items[1].iconIndex, 1);
    EXPECT_EQ(items[2].text, empty + " ");
    EXPECT_EQ(items[5].root, network);
    EXPECT_EQ(items[5].iconIndex, 5);

    FakeVolumes none;
    EXPECT_TRUE(DriveBoxItems(none, true).empty());
}

TEST_F(DriveBox, FakeDrivesAnswerLikeRealOnes) {
    EXPECT_EQ(volumes.GetVolumeInfo(disc + "sub/dir").serial, "0000-0ABC");
    EXPECT_FALSE(volumes.GetVolumeInfo(empty).ok);
    EXPECT_EQ(volumes.GetVolumeInfo(empty).label, "[error]");
    EXPECT_EQ(volumes.CheckDiscPresent(empty), DiscPresence::Missing);
    EXPECT_EQ(volumes.CheckDiscPresent(disc), DiscPresence::Present);
    EXPECT_EQ(volumes.CheckDiscPresent(fixed), DiscPresence::NotChecked);
    EXPECT_EQ(volumes.CheckDiscPresent(network), DiscPresence::NotChecked);
    EXPECT_TRUE(volumes.IsOptical(disc));
    EXPECT_FALSE(volumes.IsOptical(floppy));

    // The floppy taken out: its folder is gone.
    std::filesystem::remove_all(dir.File("a"));
    EXPECT_EQ(volumes.CheckDiscPresent(floppy), DiscPresence::Missing);
    // A disc put into the empty drive.
    volumes.At(empty).present = true;
    volumes.At(empty).label = "NEW";
    EXPECT_EQ(DriveBoxItems(volumes, true)[0].text, empty + " [NEW]");
    EXPECT_THROW(volumes.At("/elsewhere"), std::invalid_argument);
}

}  // namespace
}  // namespace kest::platform
