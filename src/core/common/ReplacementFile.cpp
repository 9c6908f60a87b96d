#include "core/common/ReplacementFile.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/common/Errors.h"
#include "core/common/FileSystemError.h"
#include "core/common/KeptAccess.h"

namespace kest {
namespace {

namespace fs = std::filesystem;

constexpr int kMostLinks = 40;  // the kernel's own limit on a chain of links
constexpr size_t kLongestKeptName = 200;

std::string RandomHex() {
    unsigned char bytes[8] = {};
    if (getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes))
        throw FileSystemError(errno);
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char b : bytes) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex;
}

// ".NAME.<random>.kest-new" in the target's folder; a long name is cut so
// that the whole stays within the file system's limit.
std::string TemporaryName(const std::string& target) {
    fs::path path(target);
    std::string name = path.filename().string().substr(0, kLongestKeptName);
    return (path.parent_path() / ("." + name + "." + RandomHex() + ".kest-new")).string();
}

void SyncDescriptor(int fd) {
    if (fsync(fd) != 0) throw FileSystemError(errno);
}

void SyncFolderOf(const std::string& path) {
    std::string folder = fs::path(path).parent_path().string();
    int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw FileSystemError(errno);
    int rc = fsync(fd);
    int error = errno;
    close(fd);
    if (rc != 0) throw FileSystemError(error);
}

void WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        // A write that takes nothing has run out of room.
        if (n <= 0) throw FileSystemError(n == 0 ? ENOSPC : errno);
        data += n;
        size -= static_cast<size_t>(n);
    }
}

// Copies by read and write, where the kernel cannot copy between the two.
void CopyByHand(int in, int out) {
    char buffer[1 << 16];
    for (;;) {
        ssize_t got = read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw FileSystemError(errno);
        if (got == 0) return;
        WriteAll(out, buffer, static_cast<size_t>(got));
    }
}

// O_EXCL refuses any name that is taken, a link (even a dangling one) included.
int OpenNew(const std::string& path) {
    return open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
}

}  // namespace

std::string WriteTarget(const std::string& path) {
    fs::path current(path);
    for (int hop = 0; hop < kMostLinks; ++hop) {
        struct stat st {};
        if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current.string();
        std::error_code ec;
        fs::path next = fs::read_symlink(current, ec);
        if (ec) throw FileSystemError(ec.value());
        current = next.is_absolute() ? next : (current.parent_path() / next).lexically_normal();
    }
    throw FileSystemError(ELOOP);
}

int CreateExclusively(const std::string& path) {
    int fd = OpenNew(path);
    if (fd < 0) throw FileSystemError(errno);
    return fd;
}

int OpenLogForWriting(const std::string& path) {
    // Not blocking: a FIFO planted at the name is refused below, not waited on.
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == ELOOP) throw err::PathFileAccess(std::strerror(ELOOP));
        throw FileSystemError(errno);
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        throw err::PathFileAccess();
    }
    if ((st.st_mode & 077) != 0) (void)fchmod(fd, st.st_mode & 0700);
    if (ftruncate(fd, 0) != 0 || fcntl(fd, F_SETFL, 0) != 0) {
        int error = errno;
        close(fd);
        throw FileSystemError(error);
    }
    return fd;
}

void WriteLog(const std::string& path, std::string_view bytes) {
    int fd = OpenLogForWriting(path);
    try {
        WriteAll(fd, bytes.data(), bytes.size());
    } catch (...) {
        close(fd);
        throw;
    }
    if (close(fd) != 0) throw FileSystemError(errno);
}

ReplacementFile::ReplacementFile(const std::string& path) : m_target(WriteTarget(path)) {
    CheckTargetReplaceable();
    for (int attempt = 0;; ++attempt) {
        m_temporary = TemporaryName(m_target);
        m_fd = OpenNew(m_temporary);
        if (m_fd >= 0) {
            m_pending.emplace(m_temporary);
            return;
        }
        // A missing folder is a path that cannot be found; a name someone
        // holds already gets another random one.
        if (errno == ENOENT) throw FileSystemError(ENOTDIR);
        if (errno != EEXIST || attempt == 8) throw FileSystemError(errno);
    }
}

ReplacementFile::~ReplacementFile() {
    if (m_fd >= 0) close(m_fd);
    if (m_pending) unlink(m_temporary.c_str());
}

void ReplacementFile::Write(std::string_view bytes) {
    WriteAll(m_fd, bytes.data(), bytes.size());
}

void ReplacementFile::CopyFrom(const std::string& source) {
    int in = open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) throw FileSystemError(errno);
    try {
        for (;;) {
            ssize_t n = copy_file_range(in, nullptr, m_fd, nullptr, size_t{1} << 30, 0);
            if (n > 0) continue;
            if (n == 0) break;
            if (errno == EINTR) continue;
            if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
                throw FileSystemError(errno);
            CopyByHand(in, m_fd);
            break;
        }
    } catch (...) {
        close(in);
        throw;
    }
    close(in);
}

void ReplacementFile::Empty() {
    if (ftruncate(m_fd, 0) != 0 || lseek(m_fd, 0, SEEK_SET) != 0) throw FileSystemError(errno);
}

void ReplacementFile::CheckStillOurs() const {
    struct stat ours {
    }, named{};
    if (fstat(m_fd, &ours) != 0) throw FileSystemError(errno);
    if (lstat(m_temporary.c_str(), &named) != 0 || named.st_dev != ours.st_dev ||
        named.st_ino != ours.st_ino) {
        throw err::PathFileAccess(m_temporary + " was replaced while it was written");
    }
}

void ReplacementFile::CheckTargetReplaceable() const {
    // Only a regular file is replaced: never a device, a FIFO or a folder.
    struct stat st {};
    if (lstat(m_target.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) throw err::PathFileAccess();
}

void ReplacementFile::Replace() {
    CheckStillOurs();
    CheckTargetReplaceable();
    SyncDescriptor(m_fd);
    struct stat st {};
    if (lstat(m_target.c_str(), &st) == 0) KeepAccess(m_target, m_fd);
    if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0) throw FileSystemError(errno);
    m_pending.reset();
    SyncFolderOf(m_target);
}

bool ReplacementFile::PlaceIfAbsent() {
    CheckStillOurs();
    SyncDescriptor(m_fd);
    if (renameat2(AT_FDCWD, m_temporary.c_str(), AT_FDCWD, m_target.c_str(), RENAME_NOREPLACE) !=
        0) {
        if (errno == EEXIST) return false;
        if (errno != EINVAL && errno != ENOSYS) throw FileSystemError(errno);
        // A file system without the exclusive rename: a second name, then
        // the first goes.
        if (link(m_temporary.c_str(), m_target.c_str()) != 0) {
            if (errno == EEXIST) return false;
            throw FileSystemError(errno);
        }
        unlink(m_temporary.c_str());
    }
    m_pending.reset();
    SyncFolderOf(m_target);
    return true;
}

}  // namespace kest
