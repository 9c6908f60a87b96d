#pragma once

#include <sqlite3.h>

#include <atomic>
#include <cstdint>
#include <limits>

namespace kest::test {

// SQLite's default file layer with a disk that can fill up: while an object
// lives it is the default VFS, so every catalog opened meanwhile writes
// through it. Once FillAfter(n) is called, writes past n more bytes fail as
// on a full disk (SQLITE_FULL) until Free().
class FullDiskVfs {
  public:
    FullDiskVfs();
    ~FullDiskVfs();
    FullDiskVfs(const FullDiskVfs&) = delete;
    FullDiskVfs& operator=(const FullDiskVfs&) = delete;

    void FillAfter(uint64_t bytes) { m_room = bytes; }
    void Free() { m_room = kUnlimited; }
    // Writes refused so far.
    int Refused() const { return m_refused; }

  private:
    static constexpr uint64_t kUnlimited = std::numeric_limits<uint64_t>::max();
    friend struct FullDiskFile;
    // Takes the room for a write; false when the disk is full.
    bool Take(uint64_t bytes);

    sqlite3_vfs m_vfs{};
    sqlite3_vfs* m_real = nullptr;
    std::atomic<uint64_t> m_room{kUnlimited};
    std::atomic<int> m_refused{0};
};

}  // namespace kest::test
