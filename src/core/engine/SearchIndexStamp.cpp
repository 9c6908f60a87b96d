#include "core/engine/SearchIndexStamp.h"

#include <sys/stat.h>
#include <sys/xattr.h>

#include <charconv>
#include <ctime>
#include <optional>
#include <string_view>

namespace kest::engine {

namespace {

constexpr const char* kAttribute = "user.kest.search-index";
// How long ago the file must have been written for its state to be noted:
// longer than any file system's timestamp granularity (two seconds on FAT).
constexpr time_t kSettledSeconds = 3;

// The file's identity, size and modification time, or none when the file
// cannot be read or a write is still held in its -wal file.
std::optional<std::string> FileState(const std::string& path, struct stat& info) {
    if (path.empty() || stat(path.c_str(), &info) != 0) return std::nullopt;
    struct stat wal {};
    if (stat((path + "-wal").c_str(), &wal) == 0 && wal.st_size > 0) return std::nullopt;
    return "1 " + std::to_string(info.st_dev) + " " + std::to_string(info.st_ino) + " " +
           std::to_string(info.st_size) + " " + std::to_string(info.st_mtim.tv_sec) + "." +
           std::to_string(info.st_mtim.tv_nsec);
}

// The note of a build that ran out of room: the file's identity, then the
// room.
std::optional<std::string> OutOfRoomPrefix(const std::string& path) {
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0) return std::nullopt;
    return "F " + std::to_string(info.st_dev) + " " + std::to_string(info.st_ino) + " ";
}

}  // namespace

void NoteSearchIndexOutOfRoom(const std::string& path, uint64_t room) {
    auto prefix = OutOfRoomPrefix(path);
    if (!prefix) return;
    const std::string note = *prefix + std::to_string(room);
    // Kept in the inode (it replaces the stamp's value), so even a full disk
    // takes it; where it cannot be kept, every open tries again.
    (void)setxattr(path.c_str(), kAttribute, note.data(), note.size(), 0);
}

bool SearchIndexOutOfRoom(const std::string& path, uint64_t room) {
    auto prefix = OutOfRoomPrefix(path);
    char noted[128];
    ssize_t size = prefix ? getxattr(path.c_str(), kAttribute, noted, sizeof noted - 1) : -1;
    if (size <= 0) return false;
    std::string_view note(noted, static_cast<size_t>(size));
    if (!note.starts_with(*prefix)) return false;
    uint64_t then = 0;
    note.remove_prefix(prefix->size());
    if (std::from_chars(note.data(), note.data() + note.size(), then).ec != std::errc())
        return false;
    return room <= then + kRoomToRetry;
}

bool SearchIndexStamped(const std::string& path) {
    struct stat info {};
    auto state = FileState(path, info);
    if (!state) return false;
    char noted[128];
    ssize_t size = getxattr(path.c_str(), kAttribute, noted, sizeof noted);
    return size > 0 && state->compare(0, std::string::npos, noted, static_cast<size_t>(size)) == 0;
}

void StampSearchIndex(const std::string& path) {
    struct stat info {};
    auto state = FileState(path, info);
    if (!state || info.st_mtim.tv_sec > std::time(nullptr) - kSettledSeconds) return;
    // A file system without such attributes, or a read-only file, keeps none:
    // the probes then run at every open, as they would anyway.
    (void)setxattr(path.c_str(), kAttribute, state->data(), state->size(), 0);
}

void ClearSearchIndexStamp(const std::string& path) {
    if (!path.empty()) (void)removexattr(path.c_str(), kAttribute);
}

}  // namespace kest::engine
