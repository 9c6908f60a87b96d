#include "core/scan/ContentHashes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>

#include <algorithm>
#include <cerrno>
#include <unordered_map>

#include "core/common/FileSystemError.h"
#include "core/common/ReadAt.h"
#include "core/discfacts/FileHashes.h"
#include "core/engine/Database.h"
#include "core/scan/ScanLog.h"

namespace kest::scan {
namespace {

constexpr size_t kReadSize = size_t{1} << 20;

class Fd {
  public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

  private:
    int m_fd;
};

class HashState {
  public:
    HashState() : m_state(XXH3_createState()) { XXH3_128bits_reset(m_state); }
    ~HashState() { XXH3_freeState(m_state); }
    HashState(const HashState&) = delete;
    HashState& operator=(const HashState&) = delete;
    void Update(const char* data, size_t size) { XXH3_128bits_update(m_state, data, size); }
    std::string Hex() const {
        XXH128_canonical_t canonical;
        XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(m_state));
        static const char digits[] = "0123456789abcdef";
        std::string hex;
        for (unsigned char byte : canonical.digest) {
            hex += digits[byte >> 4];
            hex += digits[byte & 15];
        }
        return hex;
    }

  private:
    XXH3_state_t* m_state;
};

}  // namespace

FileHashResult HashFile(int dirFd, const char* name, std::vector<char>& buffer) {
    // Links, devices and pipes are never opened: a link is stored as a file
    // but never followed, and opening a device may act on it.
    struct stat st;
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return {{}, errno};
    if (!S_ISREG(st.st_mode)) return {};
    Fd fd(::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) return {{}, errno == ELOOP ? 0 : errno};
    if (::fstat(fd.get(), &st) != 0) return {{}, errno};
    if (!S_ISREG(st.st_mode)) return {};
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    if (buffer.size() < kReadSize) buffer.resize(kReadSize);
    HashState state;
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return {{}, errno};
        if (n == 0) break;
        state.Update(buffer.data(), static_cast<size_t>(n));
    }
    return {state.Hex(), 0};
}

void ContentHashes::Add(int dirFd, const char* entryName, std::string_view storedDir,
                        std::string_view storedName, ScanLog& log) {
    FileHashResult read = HashFile(dirFd, entryName, m_buffer);
    Keep(std::move(read.hash), read.error, storedDir, storedName, log);
}

void ContentHashes::Add(int fd, std::span<const image::Extent> extents, std::string_view storedDir,
                        std::string_view storedName, ScanLog& log) {
    if (m_buffer.size() < kReadSize) m_buffer.resize(kReadSize);
    HashState state;
    for (const image::Extent& extent : extents) {
        for (uint64_t done = 0; done < extent.length;) {
            size_t want =
                static_cast<size_t>(std::min<uint64_t>(m_buffer.size(), extent.length - done));
            ssize_t n = ReadAt(fd, m_buffer.data(), want, extent.offset + done);
            if (n <= 0) {
                Keep({}, n < 0 ? errno : EIO, storedDir, storedName, log);
                return;
            }
            state.Update(m_buffer.data(), static_cast<size_t>(n));
            done += static_cast<uint64_t>(n);
        }
    }
    Keep(state.Hex(), 0, storedDir, storedName, log);
}

void ContentHashes::Keep(std::string hash, int error, std::string_view storedDir,
                         std::string_view storedName, ScanLog& log) {
    if (error != 0) {
        log.WriteRecord("   Content not read for its hash (" +
                        FileSystemError(error).Description() + "): " + std::string(storedName));
    }
    if (hash.empty()) return;
    m_hashes.push_back({std::string(storedDir), std::string(storedName), std::move(hash)});
}

void ContentHashes::Store(engine::Database& db, int64_t kestId) {
    if (m_hashes.empty()) return;
    // Folder and name name a row; two files whose names became the same
    // text (invalid UTF-8 made valid) are left without a hash.
    std::unordered_map<std::string, std::string> byName;
    for (Hashed& file : m_hashes) {
        auto [at, added] = byName.try_emplace(file.dir + '\0' + file.name, std::move(file.hash));
        if (!added) at->second.clear();
    }
    m_hashes.clear();
    std::vector<discfacts::FileHash> stored;
    auto rows = db.Prepare("SELECT FileId, FileDir, FileName FROM tblFiles WHERE KestId = ?");
    rows.Bind(1, kestId);
    while (rows.Step()) {
        auto found = byName.find(rows.Text(1) + '\0' + rows.Text(2));
        if (found != byName.end() && !found->second.empty())
            stored.push_back({rows.Int(0), std::move(found->second)});
    }
    discfacts::StoreFileHashes(db, kestId, stored);
}

}  // namespace kest::scan
