// Volumes and the drive list: the drive box over drives made of folders, the
// drives of a made-up machine, and the small rules behind volume facts.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/linux/LinuxVolumes.h"
#include "platform/linux/MountTable.h"
#include "platform/linux/VolumeProbe.h"
#include "platform/linux/VolumeSerial.h"
#include "support/TempDir.h"
#include "support/platform/FakeVolumes.h"

namespace kest::platform::os {
namespace {

namespace fs = std::filesystem;
using test::DescribeDrives;
using test::DescribeRoot;
using test::FakeVolumes;

// The drive box, over drives made of folders.
class DriveBox : public ::testing::Test {
  protected:
    std::string Add(const char* name, FakeVolumes::FakeDrive drive) {
        fs::create_directories(dir.File(name));
        drive.folder = dir.File(name);
        return volumes.Add(drive);
    }

    // Each item as "<root>: <text> <type> <icon>".
    std::vector<std::string> Items(bool onlyOptical) {
        std::vector<std::string> lines;
        for (const Drive& i : DriveBoxItems(volumes, onlyOptical)) {
            lines.push_back(i.root + ": " + i.text + " " + DriveTypeName(i.type) + " " +
                            std::to_string(i.iconIndex));
        }
        return lines;
    }

    test::TempDir dir;
    FakeVolumes volumes;
    std::string fixed = Add("c", {"", DriveType::Fixed, "SYSTEM", "1234-5678", "NTFS"});
    std::string floppy = Add("a", {"", DriveType::Removable, "", "0000-0000", "FAT", true});
    std::string empty = Add("d", {"", DriveType::Optical, "", "0000-0000", "CDFS", false, false});
    std::string disc = Add("e", {"", DriveType::Optical, "BACKUP_01", "0000-0ABC", "CDFS"});
    std::string blank = Add("f", {"", DriveType::Optical, "", "1111-2222", "UDF"});
    std::string network = Add("z", {"", DriveType::Network, "share", "ABCD-EF01", "NTFS"});
    std::string odd = Add("r", {"", DriveType::Unknown, "ram", "0000-0000", "TMPFS"});
};

TEST_F(DriveBox, CdDrivesShowTheirLabelsOthersTheirOwnTextUnknownTypesNothing) {
    // No disc: the root alone; a disc read fine with an empty label: "[]".
    std::vector<std::string> items = {empty + ": " + empty + "  optical 4",
                                      disc + ": " + disc + " [BACKUP_01] optical 4",
                                      blank + ": " + blank + " [] optical 4"};
    EXPECT_EQ(Items(true), items);
    items.insert(items.begin(), {fixed + ": " + fixed + " [SYSTEM] fixed 3",
                                 floppy + ": " + floppy + " removable 1"});
    items.push_back(network + ": " + network + " [share] network 5");
    EXPECT_EQ(Items(false), items);
    EXPECT_EQ(DescribeDrives(volumes).back(), odd + " unknown 0 " + odd + " [ram]");
}

TEST_F(DriveBox, WithoutOpticalDrivesTheOtherVolumesAreOfferedMarkedAndNoneSaysWhy) {
    test::TempDir other;
    FakeVolumes noCd;
    for (const char* name : {"c", "z", "r"}) fs::create_directories(other.File(name));
    std::string c = noCd.Add({other.File("c"), DriveType::Fixed, "SYSTEM"});
    std::string z = noCd.Add({other.File("z"), DriveType::Network, "share"});
    noCd.Add({other.File("r"), DriveType::Unknown, "ram"});
    std::vector<std::string> marked;
    for (const Drive& i : DriveBoxItems(noCd, true)) marked.push_back(i.root + ": " + i.text);
    EXPECT_EQ(marked, (std::vector<std::string>{c + ": " + c + " [SYSTEM] (not optical)",
                                                z + ": " + z + " [share] (not optical)"}));
    // All drives shown: their own texts, unmarked.
    EXPECT_EQ(DriveBoxItems(noCd, false)[0].text, c + " [SYSTEM]");
    EXPECT_EQ(EmptyDriveBoxNote(marked.size(), true), "");

    FakeVolumes none;
    EXPECT_TRUE(DriveBoxItems(none, true).empty());
    EXPECT_EQ(EmptyDriveBoxNote(0, true),
              "Nothing to scan: no optical drive and no other volume is mounted.");
    EXPECT_EQ(EmptyDriveBoxNote(0, false), "Nothing to scan: no volume is mounted.");
}

TEST_F(DriveBox, FakeDrivesAnswerLikeRealOnes) {
    EXPECT_EQ(DescribeRoot(volumes, disc + "sub/dir"),
              "optical present ok [BACKUP_01] 0000-0ABC CDFS");
    EXPECT_EQ(DescribeRoot(volumes, empty), "optical missing not ok [[error]] 0000-0000 [error]");
    EXPECT_EQ(DescribeRoot(volumes, fixed), "fixed unchecked ok [SYSTEM] 1234-5678 NTFS");
    EXPECT_EQ(DescribeRoot(volumes, network), "network unchecked ok [share] ABCD-EF01 NTFS");
    EXPECT_EQ(DescribeRoot(volumes, floppy), "removable present ok [] 0000-0000 FAT");

    // The floppy taken out: its folder is gone.
    fs::remove_all(dir.File("a"));
    EXPECT_EQ(volumes.CheckDiscPresent(floppy), DiscPresence::Missing);
    // A disc put into the empty drive.
    volumes.At(empty).present = true;
    volumes.At(empty).label = "NEW";
    EXPECT_EQ(DriveBoxItems(volumes, true)[0].text, empty + " [NEW]");
    EXPECT_THROW(volumes.At("/elsewhere"), std::invalid_argument);
}

// A minimal ISO 9660 image: a primary descriptor and the terminator.
std::string IsoImage(const std::string& label) {
    std::string image(18 * 2048, '\0');
    image.replace(16 * 2048, 7, "\1CD001\1").replace(16 * 2048 + 8, 64, std::string(64, ' '));
    return image.replace(16 * 2048 + 40, label.size(), label).replace(17 * 2048, 7, "\377CD001\1");
}

// The serial of IsoImage(label).
std::string IsoSerial(const std::string& label) {
    std::string image = IsoImage(label);
    auto bytes = reinterpret_cast<const std::uint8_t*>(image.data()) + 16 * 2048;
    return FormatSerial(IsoDescriptorSerial({bytes, 2048}));
}

// A made-up machine in a temporary folder; helpers take paths inside it.
class LinuxVolumesTest : public ::testing::Test {
  protected:
    SystemPaths Paths() const {
        return {File("mountinfo"), File("sys"), File("udev"), File("dev")};
    }
    std::string File(const std::string& name) const { return m_dir.File(name); }
    std::string Write(const std::string& name, const std::string& content) const {
        return m_dir.Write(name, content);
    }

    // A disk (and, when partition is given, its first partition, numbered
    // minor + 1) in sysfs.
    void AddDisk(const std::string& disk, unsigned major, unsigned minor, bool removable,
                 const std::string& partition = "") {
        std::string diskDir = "sys/devices/" + disk, name = partition.empty() ? disk : partition;
        std::string deviceDir = partition.empty() ? diskDir : diskDir + "/" + partition;
        Write(diskDir + "/removable", removable ? "1\n" : "0\n");
        if (!partition.empty()) Write(deviceDir + "/partition", "1\n");
        std::string numbers =
            std::to_string(major) + ":" + std::to_string(minor + !partition.empty());
        Write(deviceDir + "/uevent", "MAJOR=" + std::to_string(major) + "\nDEVNAME=" + name + "\n");
        Write(deviceDir + "/dev", numbers + "\n");
        for (const auto& [target, link] : {std::pair{diskDir, "sys/block/" + disk},
                                           {deviceDir, "sys/dev/block/" + numbers},
                                           {deviceDir, "sys/class/block/" + name}}) {
            fs::create_directories(fs::path(File(link)).parent_path());
            fs::create_symlink(File(target), File(link));
        }
    }

    // A folder to mount on, as the mount table would name it.
    std::string MountPoint(const std::string& name) {
        fs::create_directories(File("mnt/" + name));
        return fs::canonical(File("mnt/" + name)).string();
    }

    void AddMount(unsigned major, unsigned minor, const std::string& root,
                  const std::string& mountPoint, const std::string& fsType,
                  const std::string& source) {
        std::string escaped;
        for (char c : mountPoint) escaped += c == ' ' ? std::string("\\040") : std::string(1, c);
        m_mountInfo += std::to_string(++m_mountId) + " 1 " + std::to_string(major) + ":" +
                       std::to_string(minor) + " " + root + " " + escaped +
                       " rw,relatime shared:1 - " + fsType + " " + source + " rw\n";
        Write("mountinfo", m_mountInfo);
    }

    void SetUp() override {
        fs::create_directories(File("sys/block"));
        fs::create_directories(File("dev"));
        AddDisk("sda", 8, 0, false, "sda1");
        AddMount(8, 1, "/", "/", "ext4", "/dev/sda1");
        Write("udev/b8:1",
              "E:ID_FS_TYPE=ext4\nE:ID_FS_UUID=0a1b2c3d-0000-4000-8000-000000000000\n");

        stick = MountPoint("My Stick");
        AddDisk("sdb", 8, 16, true, "sdb1");
        AddMount(8, 17, "/", stick, "vfat", "/dev/sdb1");
        bound = MountPoint("bound");
        AddMount(8, 17, "/photos", bound, "vfat", "/dev/sdb1");
        // The same folder mounted again is the same drive.
        AddMount(8, 17, "/photos", MountPoint("bound again"), "vfat", "/dev/sdb1");
        Write("udev/b8:17",
              "S:disk/by-label/My\\x20Stick\nE:ID_FS_TYPE=vfat\nE:ID_FS_VERSION=FAT32\n"
              "E:ID_FS_LABEL=My_Stick\nE:ID_FS_LABEL_ENC=My\\x20Stick\n"
              "E:ID_FS_UUID=1A2B-03CD\n");

        share = MountPoint("share");
        AddMount(0, 60, "/", share, "cifs", "//server/photos");

        iso = MountPoint("iso");
        AddDisk("loop0", 7, 0, false);
        Write("sys/devices/loop0/loop/backing_file",
              Write("images/disc.iso", IsoImage("HOLIDAY")) + "\n");
        AddMount(7, 0, "/", iso, "iso9660", "/dev/loop0");

        cdrom = MountPoint("cdrom");
        AddDisk("sr1", 11, 1, true);
        Write("dev/sr1", IsoImage("BACKUP_01"));
        AddMount(11, 1, "/", cdrom, "iso9660", "/dev/sr1");

        AddDisk("sr0", 11, 0, true);
        sr0 = Write("dev/sr0", "");

        AddMount(0, 20, "/", "/proc", "proc", "proc");
        ram = MountPoint("ram");
        AddMount(0, 22, "/", ram, "tmpfs", "tmpfs");
        AddMount(0, 23, "/", "/run/user/1000", "tmpfs", "tmpfs");
        AddMount(8, 2, "/", "/boot/efi", "vfat", "/dev/sda2");
        AddDisk("sdc", 8, 32, false, "sdc1");
        AddMount(8, 33, "/etc/hosts",
                 fs::canonical(Write("hosts", "a file bound over another\n")).string(), "ext4",
                 "/dev/sdc1");
    }

    test::TempDir m_dir;
    std::string m_mountInfo;
    int m_mountId = 20;
    std::string stick, bound, share, iso, cdrom, sr0, ram;
};

TEST_F(LinuxVolumesTest, ListsTheUsersVolumesOnceEachAndEmptyOpticalDrives) {
    LinuxVolumes volumes(Paths());
    EXPECT_EQ(
        DescribeDrives(volumes),
        (std::vector<std::string>{
            "/ fixed 3 /", stick + "/ removable 2 " + stick + "/ [My Stick]",
            bound + "/ removable 2 " + bound + "/ [My Stick]",
            cdrom + "/ optical 4 " + cdrom + "/ [BACKUP_01]",
            iso + "/ optical 4 " + iso + "/ [HOLIDAY]", ram + "/ fixed 3 " + ram + "/",
            share + "/ network 5 " + share + "/ [//server/photos]", sr0 + " optical 4 " + sr0}));
}

TEST_F(LinuxVolumesTest, EachRootTellsItsDriveTypeDiscAndVolume) {
    LinuxVolumes volumes(Paths());
    std::string shareSerial = volumes.GetVolumeInfo(share).serial;
    EXPECT_NE(shareSerial, "0000-0000");
    fs::create_directories(stick + "/some/folder");
    const std::string stickFacts = "removable present ok [My Stick] 1A2B-03CD FAT32";
    const std::string holiday = "optical present ok [HOLIDAY] " + IsoSerial("HOLIDAY") + " CDFS";
    const std::string backup = "optical present ok [BACKUP_01] " + IsoSerial("BACKUP_01") + " CDFS";
    const std::string none = " not ok [[error]] 0000-0000 [error]";
    EXPECT_EQ(DescribeRoot(volumes, "/"), "fixed unchecked ok [] 0A1B-2C3D EXT4");
    EXPECT_EQ(DescribeRoot(volumes, stick + "/"), stickFacts);
    EXPECT_EQ(DescribeRoot(volumes, stick + "/some/folder/.."), stickFacts);
    EXPECT_EQ(DescribeRoot(volumes, share), "network unchecked ok [] " + shareSerial + " CIFS");
    EXPECT_EQ(DescribeRoot(volumes, share + "/"), DescribeRoot(volumes, share));  // a stable serial
    EXPECT_EQ(DescribeRoot(volumes, iso), holiday);
    EXPECT_EQ(DescribeRoot(volumes, iso + "/"), holiday);
    EXPECT_EQ(DescribeRoot(volumes, cdrom), backup);
    EXPECT_EQ(DescribeRoot(volumes, cdrom + "/"), backup);
    EXPECT_EQ(DescribeRoot(volumes, sr0), "optical missing" + none);
    EXPECT_EQ(DescribeRoot(volumes, File("mnt/ram")), "fixed unchecked ok [] 0000-0000 TMPFS");
    EXPECT_EQ(DescribeRoot(volumes, File("mnt/nowhere")), "unknown missing" + none);  // no folder

    // A disc put into the empty drive; the stick taken out and unmounted.
    Write("dev/sr0", IsoImage("NEW_DISC"));
    EXPECT_EQ(DescribeRoot(volumes, sr0),
              "optical present ok [NEW_DISC] " + IsoSerial("NEW_DISC") + " CDFS");
    fs::remove_all(stick);
    EXPECT_EQ(volumes.CheckDiscPresent(stick + "/"), DiscPresence::Missing);
}

TEST(LinuxVolumes, NoMountTableMeansNoDrivesAndNoVolumes) {
    test::TempDir dir;
    LinuxVolumes volumes({dir.File("missing"), dir.File("sys"), dir.File("udev"), dir.File("dev")});
    EXPECT_TRUE(volumes.ListDrives().empty());
    EXPECT_EQ(DescribeRoot(volumes, dir.Path().string()),
              "unknown missing not ok [[error]] 0000-0000 [error]");
}

TEST(LinuxVolumes, TheRealMachineAnswersWithoutFailing) {
    std::unique_ptr<Volumes> volumes = MakeSystemVolumes();
    for (const Drive& drive : volumes->ListDrives()) {
        EXPECT_FALSE(drive.root.empty());
        EXPECT_NE(drive.type, DriveType::Unknown) << drive.root;
        VolumeInfo info = volumes->GetVolumeInfo(drive.root);
        EXPECT_EQ(info.serial.size(), 9u) << drive.root;
    }
    EXPECT_EQ(volumes->GetDriveType("/no/such/folder/anywhere"), DriveType::Unknown);
}

// The small rules behind volume facts; drive icons are checked with the lists.
TEST(VolumeTexts, SerialsComeFromUuidsAndShowAsEightUpperCaseDigitsInTwoGroups) {
    EXPECT_EQ(FormatSerial(0), "0000-0000");
    EXPECT_EQ(FormatSerial(0x00000ABC), "0000-0ABC");
    EXPECT_EQ(FormatSerial(0x1A2B03CD), "1A2B-03CD");
    EXPECT_EQ(FormatSerial(0xFFFFFFFF), "FFFF-FFFF");
    EXPECT_EQ(SerialFromUuid("vfat", "1A2B-03CD"), 0x1A2B03CDu);
    EXPECT_EQ(SerialFromUuid("exfat", "0000-0ABC"), 0x00000ABCu);
    EXPECT_EQ(SerialFromUuid("ntfs", "1122334455667788"), 0x55667788u);
    EXPECT_EQ(SerialFromUuid("ext4", "0a1b2c3d-1111-4000-8000-000000000000"), 0x0A1B2C3Du);
    EXPECT_EQ(SerialFromUuid("btrfs", ""), 0u);
    EXPECT_EQ(SerialFromUuid("xfs", "12ab"), 0x12ABu);
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

TEST(VolumeTexts, FileSystemNames) {
    // clang-format off
    const char* names[][3] = {
        {"vfat", "FAT12", "FAT"}, {"vfat", "FAT16", "FAT"}, {"vfat", "FAT32", "FAT32"},
        {"exfat", "1.0", "exFAT"}, {"ntfs", "", "NTFS"}, {"ntfs3", "", "NTFS"},
        {"iso9660", "Joliet Extension", "CDFS"}, {"udf", "2.01", "UDF"}, {"ext4", "1.0", "EXT4"}};
    // clang-format on
    for (auto [type, version, name] : names) EXPECT_EQ(FileSystemName(type, version), name);
}

TEST(MountTable, ParsesFieldsUndoesEscapesAndSkipsLinesOfAnotherShape) {
    std::vector<std::string> mounts;
    for (const MountEntry& m : ParseMountInfo(
             "26 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
             "90 26 8:17 / /media/ann/My\\040Disk rw shared:5 master:2 - vfat /dev/sdb1 rw\n"
             "91 26 0:50 /sub /srv/back\\134slash\\011tab/ rw - nfs4 host:/export\\040x rw\n"
             "\n"
             "garbage\n"
             "1 2 3:4 / /no/separator rw a b c d\n"
             "1 2 x:y / /bad/numbers rw - ext4 /dev/sda1 rw\n"
             "1 2 8:1 / relative rw - ext4 /dev/sda1 rw\n"
             "1 2 8:1 / /short rw -\n"
             "1 2 8:1 / /trailing\\04 rw - ext4 /dev/sda1 rw\n"
             "1 2 8:2 / /ok rw - ext4 /dev/sda2 rw")) {
        mounts.push_back(std::to_string(m.major) + ":" + std::to_string(m.minor) + "|" + m.root +
                         "|" + m.mountPoint + "|" + m.fsType + "|" + m.source);
    }
    // The file system type comes after the optional fields; an incomplete
    // escape stays as it is.
    EXPECT_EQ(mounts, (std::vector<std::string>{
                          "254:0|/|/|ext4|/dev/vda", "8:17|/|/media/ann/My Disk|vfat|/dev/sdb1",
                          "0:50|/sub|/srv/back\\slash\ttab|nfs4|host:/export x",
                          "8:1|/|/trailing\\04|ext4|/dev/sda1", "8:2|/|/ok|ext4|/dev/sda2"}));
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
