// The drives of a made-up machine: a mount table, a sysfs tree, udev entries
// and device nodes that are image files, all inside a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/linux/LinuxVolumes.h"
#include "platform/linux/VolumeSerial.h"
#include "support/TempDir.h"

namespace kest::platform::os {
namespace {

namespace fs = std::filesystem;

// A minimal ISO 9660 image: a primary descriptor and the terminator.
std::string IsoImage(const std::string& label) {
    std::string image(18 * 2048, '\0');
    auto put = [&](size_t at, const std::string& text) { image.replace(at, text.size(), text); };
    put(16 * 2048,
        "\x01"
        "CD001\x01");
    put(16 * 2048 + 8, std::string(64, ' '));
    put(16 * 2048 + 40, label);
    put(17 * 2048,
        "\xFF"
        "CD001\x01");
    return image;
}

std::string IsoSerial(const std::string& image) {
    auto bytes = reinterpret_cast<const std::uint8_t*>(image.data()) + 16 * 2048;
    return FormatSerial(IsoDescriptorSerial({bytes, 2048}));
}

class FakeMachine {
  public:
    FakeMachine() {
        m_paths.mountInfo = m_dir.File("mountinfo");
        m_paths.sys = m_dir.File("sys");
        m_paths.udevData = m_dir.File("udev");
        m_paths.dev = m_dir.File("dev");
        fs::create_directories(m_paths.dev);
        fs::create_directories(fs::path(m_paths.sys) / "block");
    }

    const SystemPaths& Paths() const { return m_paths; }

    // A disk (and, when partition is given, its first partition, numbered
    // minor + 1) in sysfs.
    void AddDisk(const std::string& disk, unsigned major, unsigned minor, bool removable,
                 const std::string& partition = "") {
        fs::path diskDir = fs::path(m_paths.sys) / "devices" / disk;
        Write(diskDir / "removable", removable ? "1\n" : "0\n");
        fs::create_symlink(diskDir, fs::path(m_paths.sys) / "block" / disk);
        fs::path deviceDir = diskDir;
        std::string name = disk;
        if (!partition.empty()) {
            deviceDir = diskDir / partition;
            name = partition;
            ++minor;
            Write(deviceDir / "partition", "1\n");
        }
        Write(deviceDir / "uevent", "MAJOR=" + std::to_string(major) + "\nDEVNAME=" + name + "\n");
        std::string numbers = std::to_string(major) + ":" + std::to_string(minor);
        Write(deviceDir / "dev", numbers + "\n");
        fs::create_directories(fs::path(m_paths.sys) / "dev" / "block");
        fs::create_symlink(deviceDir, fs::path(m_paths.sys) / "dev" / "block" / numbers);
        fs::create_directories(fs::path(m_paths.sys) / "class" / "block");
        fs::create_symlink(deviceDir, fs::path(m_paths.sys) / "class" / "block" / name);
    }

    void SetLoopBackingFile(const std::string& disk, const std::string& file) {
        Write(fs::path(m_paths.sys) / "devices" / disk / "loop" / "backing_file", file + "\n");
    }

    void SetUdev(unsigned major, unsigned minor, const std::string& properties) {
        Write(fs::path(m_paths.udevData) /
                  ("b" + std::to_string(major) + ":" + std::to_string(minor)),
              properties);
    }

    void SetNode(const std::string& name, const std::string& content) {
        Write(fs::path(m_paths.dev) / name, content);
    }

    // A folder to mount on, as the mount table would name it.
    std::string MountPoint(const std::string& name) {
        fs::path dir = m_dir.Path() / "mnt" / name;
        fs::create_directories(dir);
        return fs::canonical(dir).string();
    }

    void AddMount(unsigned major, unsigned minor, const std::string& root,
                  const std::string& mountPoint, const std::string& fsType,
                  const std::string& source) {
        m_mountInfo += std::to_string(++m_mountId) + " 1 " + std::to_string(major) + ":" +
                       std::to_string(minor) + " " + root + " " + Escape(mountPoint) +
                       " rw,relatime shared:1 - " + fsType + " " + source + " rw\n";
        Write(m_paths.mountInfo, m_mountInfo);
    }

    std::string File(const std::string& name) const { return m_dir.File(name); }

  private:
    static void Write(const fs::path& file, const std::string& content) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }
    static std::string Escape(const std::string& path) {
        std::string out;
        for (char c : path) out += c == ' ' ? std::string("\\040") : std::string(1, c);
        return out;
    }

    test::TempDir m_dir;
    SystemPaths m_paths;
    std::string m_mountInfo;
    int m_mountId = 20;
};

class LinuxVolumesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m.AddDisk("sda", 8, 0, false, "sda1");
        m.AddMount(8, 1, "/", "/", "ext4", "/dev/sda1");
        m.SetUdev(8, 1, "E:ID_FS_TYPE=ext4\nE:ID_FS_UUID=0a1b2c3d-0000-4000-8000-000000000000\n");

        stick = m.MountPoint("My Stick");
        m.AddDisk("sdb", 8, 16, true, "sdb1");
        m.AddMount(8, 17, "/", stick, "vfat", "/dev/sdb1");
        m.AddMount(8, 17, "/photos", m.MountPoint("bound"), "vfat", "/dev/sdb1");
        m.SetUdev(8, 17,
                  "S:disk/by-label/My\\x20Stick\nE:ID_FS_TYPE=vfat\nE:ID_FS_VERSION=FAT32\n"
                  "E:ID_FS_LABEL=My_Stick\nE:ID_FS_LABEL_ENC=My\\x20Stick\n"
                  "E:ID_FS_UUID=1A2B-03CD\n");

        share = m.MountPoint("share");
        m.AddMount(0, 60, "/", share, "cifs", "//server/photos");

        iso = m.MountPoint("iso");
        m.AddDisk("loop0", 7, 0, false);
        m.SetLoopBackingFile("loop0", m.File("images/disc.iso"));
        fs::create_directories(m.File("images"));
        std::ofstream(m.File("images/disc.iso"), std::ios::binary) << IsoImage("HOLIDAY");
        m.AddMount(7, 0, "/", iso, "iso9660", "/dev/loop0");

        cdrom = m.MountPoint("cdrom");
        m.AddDisk("sr1", 11, 1, true);
        m.SetNode("sr1", IsoImage("BACKUP_01"));
        m.AddMount(11, 1, "/", cdrom, "iso9660", "/dev/sr1");

        m.AddDisk("sr0", 11, 0, true);
        m.SetNode("sr0", "");

        m.AddMount(0, 20, "/", "/proc", "proc", "proc");
        m.AddMount(0, 22, "/", m.MountPoint("ram"), "tmpfs", "tmpfs");
        m.AddMount(0, 23, "/", "/run/user/1000", "tmpfs", "tmpfs");
        m.AddMount(8, 2, "/", "/boot/efi", "vfat", "/dev/sda2");
        m.AddDisk("sdc", 8, 32, false, "sdc1");
        std::ofstream(m.File("hosts")) << "a file bound over another\n";
        m.AddMount(8, 33, "/etc/hosts", fs::canonical(m.File("hosts")).string(), "ext4",
                   "/dev/sdc1");
    }

    FakeMachine m;
    std::string stick, share, iso, cdrom;
};

TEST_F(LinuxVolumesTest, ListsTheUsersVolumesOnceEachAndEmptyOpticalDrives) {
    LinuxVolumes volumes(m.Paths());
    struct Expected {
        std::string root, text;
        DriveType type;
        int icon;
    };
    std::vector<Expected> expected = {
        {"/", "/", DriveType::Fixed, 3},
        {stick + "/", stick + "/ [My Stick]", DriveType::Removable, 2},
        {cdrom + "/", cdrom + "/ [BACKUP_01]", DriveType::Optical, 4},
        {iso + "/", iso + "/ [HOLIDAY]", DriveType::Optical, 4},
        {share + "/", share + "/ [//server/photos]", DriveType::Network, 5},
        {m.Paths().dev + "/sr0", m.Paths().dev + "/sr0", DriveType::Optical, 4},
    };
    std::vector<Drive> drives = volumes.ListDrives();
    ASSERT_EQ(drives.size(), expected.size());
    for (size_t i = 0; i < drives.size(); ++i) {
        EXPECT_EQ(drives[i].root, expected[i].root) << i;
        EXPECT_EQ(drives[i].text, expected[i].text) << i;
        EXPECT_EQ(drives[i].type, expected[i].type) << i;
        EXPECT_EQ(drives[i].iconIndex, expected[i].icon) << i;
    }
}

TEST_F(LinuxVolumesTest, VolumeInfoFromUdevImagesAndMountSource) {
    LinuxVolumes volumes(m.Paths());
    struct Case {
        std::string root;
        VolumeInfo info;
    };
    std::vector<Case> cases = {
        {stick + "/", {true, "My Stick", "1A2B-03CD", "FAT32"}},
        {stick + "/some/folder/..", {true, "My Stick", "1A2B-03CD", "FAT32"}},
        {"/", {true, "", "0A1B-2C3D", "EXT4"}},
        {iso + "/", {true, "HOLIDAY", IsoSerial(IsoImage("HOLIDAY")), "CDFS"}},
        {cdrom, {true, "BACKUP_01", IsoSerial(IsoImage("BACKUP_01")), "CDFS"}},
        {m.Paths().dev + "/sr0", {}},
        {m.File("mnt/nowhere"), {}},
    };
    fs::create_directories(stick + "/some/folder");
    for (const Case& c : cases) {
        VolumeInfo info = volumes.GetVolumeInfo(c.root);
        EXPECT_EQ(info.ok, c.info.ok) << c.root;
        EXPECT_EQ(info.label, c.info.label) << c.root;
        EXPECT_EQ(info.serial, c.info.serial) << c.root;
        EXPECT_EQ(info.fileSystem, c.info.fileSystem) << c.root;
    }

    VolumeInfo network = volumes.GetVolumeInfo(share);
    EXPECT_TRUE(network.ok);
    EXPECT_EQ(network.label, "");
    EXPECT_EQ(network.fileSystem, "CIFS");
    EXPECT_NE(network.serial, "0000-0000");
    EXPECT_EQ(volumes.GetVolumeInfo(share + "/").serial, network.serial);  // stable
}

TEST_F(LinuxVolumesTest, DriveTypesAndDiscChecks) {
    LinuxVolumes volumes(m.Paths());
    struct Case {
        std::string root;
        DriveType type;
        DiscPresence presence;
    };
    std::string sr0 = m.Paths().dev + "/sr0";
    for (const Case& c : std::vector<Case>{
             {"/", DriveType::Fixed, DiscPresence::NotChecked},
             {share + "/", DriveType::Network, DiscPresence::NotChecked},
             {stick + "/", DriveType::Removable, DiscPresence::Present},
             {iso, DriveType::Optical, DiscPresence::Present},
             {cdrom + "/", DriveType::Optical, DiscPresence::Present},
             {sr0, DriveType::Optical, DiscPresence::Missing},
             {m.File("mnt/ram"), DriveType::Unknown, DiscPresence::NotChecked},
         }) {
        EXPECT_EQ(volumes.GetDriveType(c.root), c.type) << c.root;
        EXPECT_EQ(volumes.IsOptical(c.root), c.type == DriveType::Optical) << c.root;
        EXPECT_EQ(volumes.CheckDiscPresent(c.root), c.presence) << c.root;
    }

    // A disc put into the empty drive; the stick taken out and unmounted.
    m.SetNode("sr0", IsoImage("NEW_DISC"));
    EXPECT_EQ(volumes.CheckDiscPresent(sr0), DiscPresence::Present);
    EXPECT_EQ(volumes.GetVolumeInfo(sr0).label, "NEW_DISC");
    fs::remove_all(stick);
    EXPECT_EQ(volumes.CheckDiscPresent(stick + "/"), DiscPresence::Missing);
}

TEST(LinuxVolumes, NoMountTableMeansNoDrivesAndNoVolumes) {
    test::TempDir dir;
    SystemPaths paths{dir.File("missing"), dir.File("sys"), dir.File("udev"), dir.File("dev")};
    LinuxVolumes volumes(paths);
    EXPECT_TRUE(volumes.ListDrives().empty());
    EXPECT_EQ(volumes.GetDriveType(dir.Path().string()), DriveType::Unknown);
    EXPECT_FALSE(volumes.GetVolumeInfo(dir.Path().string()).ok);
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

}  // namespace
}  // namespace kest::platform::os
