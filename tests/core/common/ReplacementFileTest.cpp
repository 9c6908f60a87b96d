// The one way Kest creates and replaces files: private new files, kept access,
// links written through to their target, never through a planted link.
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "core/common/KeptOriginal.h"
#include "core/common/KestError.h"
#include "core/common/PendingFiles.h"
#include "core/common/ReplacementFile.h"
#include "support/SmallDisk.h"
#include "support/TempDir.h"

namespace kest {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    lstat(path.c_str(), &st);
    return st.st_mode & 07777;
}

// The folder's names but the ones given.
std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void Replace(const std::string& path, const std::string& text) {
    ReplacementFile file(path);
    file.Write(text);
    file.Replace();
}

// An access list granting user 1234 read, in the kernel's own layout.
std::string AccessList() {
    struct Entry {
        uint16_t tag, perm;
        uint32_t id;
    };
    const Entry entries[] = {
        {0x01, 6, ~0u}, {0x02, 4, 1234}, {0x04, 4, ~0u}, {0x10, 4, ~0u}, {0x20, 0, ~0u}};
    uint32_t version = 2;
    std::string bytes(reinterpret_cast<const char*>(&version), sizeof version);
    bytes.append(reinterpret_cast<const char*>(entries), sizeof entries);
    return bytes;
}

std::string Attribute(const std::string& path, const char* name) {
    char value[256];
    ssize_t size = lgetxattr(path.c_str(), name, value, sizeof value);
    return size < 0 ? std::string() : std::string(value, static_cast<size_t>(size));
}

class Umask {
  public:
    explicit Umask(mode_t mask) : m_saved(umask(mask)) {}
    ~Umask() { umask(m_saved); }

  private:
    mode_t m_saved;
};

TEST(ReplacementFile, NewFilesArePrivateNarrowedByTheUmask) {
    TempDir dir;
    for (auto [mask, mode] : {std::pair<mode_t, mode_t>{022, 0600}, {0277, 0400}}) {
        Umask umask(mask);
        std::string path = dir.File("new" + std::to_string(mask));
        Replace(path, "text");
        EXPECT_EQ(ModeOf(path), mode) << mask;
        EXPECT_EQ(Read(path), "text");
        std::string log = dir.File("log" + std::to_string(mask));
        WriteLog(log, "line\r\n");
        EXPECT_EQ(ModeOf(log), mode) << mask;
    }
    // Nothing but the files themselves: no temporary file stays.
    EXPECT_EQ(Names(dir.Path()).size(), 4u);
}

TEST(ReplacementFile, AReplacedFileKeepsItsModeOwnerGroupAndAttributes) {
    TempDir dir;
    std::string path = dir.Write("a.kst", "old");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(path.c_str(), 4321, 4322), 0);
    }
    bool user = lsetxattr(path.c_str(), "user.note", "kept", 4, 0) == 0;
    std::string acl = AccessList();
    bool access =
        lsetxattr(path.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0;
    mode_t mode = ModeOf(path);  // the list's mask is the group bits
    Replace(path, "new");
    EXPECT_EQ(Read(path), "new");
    EXPECT_EQ(ModeOf(path), mode);
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    if (root) {
        EXPECT_EQ(std::to_string(st.st_uid) + ":" + std::to_string(st.st_gid), "4321:4322");
    }
    if (user) {
        EXPECT_EQ(Attribute(path, "user.note"), "kept");
    }
    if (access) {
        EXPECT_EQ(Attribute(path, "system.posix_acl_access"), acl);
    }
    if (!root || !user || !access) GTEST_SKIP() << "owner, attributes or ACLs not settable here";
}

TEST(ReplacementFile, ALinkStaysAndItsTargetIsWritten) {
    TempDir dir;
    std::string target = dir.Write("real/a.kst", "old");
    ASSERT_EQ(chmod(target.c_str(), 0604), 0);
    // A chain of two links, the first relative.
    fs::create_symlink("real/a.kst", dir.File("one.kst"));
    fs::create_symlink(dir.File("one.kst"), dir.File("two.kst"));
    EXPECT_EQ(WriteTarget(dir.File("two.kst")), target);
    Replace(dir.File("two.kst"), "new");
    EXPECT_TRUE(fs::is_symlink(dir.File("one.kst")));
    EXPECT_TRUE(fs::is_symlink(dir.File("two.kst")));
    EXPECT_EQ(Read(target), "new");
    EXPECT_EQ(ModeOf(target), 0604u);
    // A loop is a path that cannot be found.
    fs::create_symlink(dir.File("loop2"), dir.File("loop1"));
    fs::create_symlink(dir.File("loop1"), dir.File("loop2"));
    try {
        WriteTarget(dir.File("loop1"));
        ADD_FAILURE() << "a loop was followed";
    } catch (const KestError& e) {
        EXPECT_EQ(e.Number(), 76);
    }
}

TEST(ReplacementFile, APlantedLinkIsNeverWrittenThrough) {
    TempDir dir;
    std::string victim = dir.Write("victim", "untouched");
    // At a name being created.
    fs::create_symlink(victim, dir.File("planted"));
    EXPECT_THROW(CreateExclusively(dir.File("planted")), KestError);
    // At the new file's own name, swapped in while it is written: the file
    // is not put in place and the link's target stays as it was.
    std::string path = dir.Write("a.kst", "old");
    {
        ReplacementFile file(path);
        file.Write("new");
        ASSERT_EQ(unlink(file.TemporaryPath().c_str()), 0);
        fs::create_symlink(victim, file.TemporaryPath());
        EXPECT_THROW(file.Replace(), KestError);
    }
    EXPECT_EQ(Read(victim), "untouched");
    EXPECT_EQ(Read(path), "old");
    // A log refuses a link at its name.
    try {
        WriteLog(dir.File("planted"), "secret paths");
        ADD_FAILURE() << "the log was written through a link";
    } catch (const KestError& e) {
        EXPECT_EQ(e.Number(), 75);
    }
    EXPECT_EQ(Read(victim), "untouched");
}

TEST(ReplacementFile, AnOldLogIsMadePrivateAndEmptied) {
    TempDir dir;
    std::string log = dir.Write("Kest.dat", "a long old log");
    ASSERT_EQ(chmod(log.c_str(), 0644), 0);
    WriteLog(log, "new");
    EXPECT_EQ(Read(log), "new");
    EXPECT_EQ(ModeOf(log), 0600u);
}

TEST(ReplacementFile, AFullDiskIsDiskFullAndLeavesTheOldFile) {
    test::SmallDisk disk("64k");
    if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
    std::string path = disk.File("a.kst");
    Replace(path, "old");
    TempDir source;
    std::string big = source.Write("big", std::string(256 * 1024, 'x'));
    for (bool copy : {false, true}) {
        try {
            ReplacementFile file(path);
            if (copy) {
                file.CopyFrom(big);
            } else {
                file.Write(std::string(256 * 1024, 'y'));
            }
            ADD_FAILURE() << "the disk did not fill";
        } catch (const KestError& e) {
            EXPECT_EQ(std::to_string(e.Number()) + " " + e.Description(), "61 Disk full");
        }
        EXPECT_EQ(Read(path), "old");
        EXPECT_EQ(std::distance(fs::directory_iterator(disk.Path()), fs::directory_iterator()), 1);
    }
}

// The folder a death test works in. Its child runs the test again from the
// start, so the folder is handed to it in the environment.
class KillTestFolder {
  public:
    KillTestFolder() {
        if (const char* given = std::getenv(kName)) {
            m_path = given;
            return;
        }
        m_made.emplace();
        m_path = m_made->Path();
        setenv(kName, m_path.c_str(), 1);
    }
    ~KillTestFolder() {
        if (m_made) unsetenv(kName);
    }
    KillTestFolder(const KillTestFolder&) = delete;
    KillTestFolder& operator=(const KillTestFolder&) = delete;
    const fs::path& Path() const { return m_path; }

  private:
    static constexpr const char* kName = "KEST_KILL_TEST_FOLDER";
    std::optional<TempDir> m_made;
    fs::path m_path;
};

// A program ended by SIGTERM (or Ctrl-C) while new content is written leaves
// the old file as it was and no half-written file beside it. Files placed
// and dropped before free their slots, so the last of many is removed too.
TEST(ReplacementFileDeathTest, AKillLeavesTheOldFileAndNoHalfWrittenOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    KillTestFolder folder;
    const std::string path = (folder.Path() / "list.txt").string();
    EXPECT_EXIT(
        {
            RemovePendingFilesWhenKilled();
            Replace(path, "old");
            for (int i = 0; i < 100; ++i) {
                ReplacementFile dropped(path);
                Replace(path, "old");
            }
            // A name of another length than the dropped ones had.
            ReplacementFile file((folder.Path() / "a-list-of-a-longer-name.txt").string());
            file.Write("half");
            std::raise(SIGTERM);
        },
        testing::KilledBySignal(SIGTERM), "");
    EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"list.txt"});
    EXPECT_EQ(Read(path), "old");
}

// Content already put in place stays when the program is ended afterwards.
TEST(ReplacementFileDeathTest, AKillAfterTheReplacementKeepsTheNewFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    KillTestFolder folder;
    const std::string path = (folder.Path() / "list.txt").string();
    EXPECT_EXIT(
        {
            RemovePendingFilesWhenKilled();
            Replace(path, "new");
            std::raise(SIGINT);
        },
        testing::KilledBySignal(SIGINT), "");
    EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"list.txt"});
    EXPECT_EQ(Read(path), "new");
}

TEST(KeptOriginal, EveryKeptFileGetsANameOfItsOwn) {
    TempDir dir;
    std::string path = dir.Write("a.kst", "first");
    EXPECT_EQ(KeepOriginal(path), path + ".damaged");
    std::string victim = dir.Write("victim", "untouched");
    fs::create_symlink(victim, path + ".damaged.2");
    Replace(path, "second");
    EXPECT_EQ(KeepOriginal(path), path + ".damaged.3");
    Replace(path, "third");
    EXPECT_EQ(KeepOriginal(path), path + ".damaged.4");
    EXPECT_EQ(Read(path + ".damaged"), "first");
    EXPECT_EQ(Read(path + ".damaged.3"), "second");
    EXPECT_EQ(Read(path + ".damaged.4"), "third");
    EXPECT_EQ(Read(victim), "untouched");
}

}  // namespace
}  // namespace kest
