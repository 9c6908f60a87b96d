#include "core/archive/ArchiveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "core/common/Errors.h"
#include "core/common/ReadAt.h"

namespace kest::archive {

int OpenRegularFile(const std::string& path, uint64_t& size) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    size = static_cast<uint64_t>(st.st_size);
    return fd;
}

std::optional<ArchiveFile> ArchiveFile::Open(const std::string& path, FileWindow window) {
    uint64_t size = 0;
    int fd = OpenRegularFile(path, size);
    if (fd < 0) return std::nullopt;
    return ArchiveFile(fd, window.offset, window.SizeIn(size));
}

ArchiveFile::ArchiveFile(ArchiveFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_base(other.m_base), m_size(other.m_size) {}

ArchiveFile& ArchiveFile::operator=(ArchiveFile&& other) noexcept {
    if (this != &other) {
        Close();
        m_fd = std::exchange(other.m_fd, -1);
        m_base = other.m_base;
        m_size = other.m_size;
    }
    return *this;
}

ArchiveFile::~ArchiveFile() {
    Close();
}

void ArchiveFile::Close() {
    if (m_fd >= 0) ::close(std::exchange(m_fd, -1));
}

std::string ArchiveFile::ReadAt(uint64_t offset, size_t count) const {
    if (offset >= m_size) return {};
    if (count > m_size - offset) count = static_cast<size_t>(m_size - offset);
    std::string bytes(count, '\0');
    bytes.resize(ReadInto(offset, bytes.data(), count));
    return bytes;
}

size_t ArchiveFile::ReadInto(uint64_t offset, char* buffer, size_t count) const {
    if (offset >= m_size) return 0;
    if (count > m_size - offset) count = static_cast<size_t>(m_size - offset);
    // Fewer bytes than asked: the file shrank under us.
    ssize_t got = kest::ReadAt(m_fd, buffer, count, m_base + offset);
    if (got < 0) throw err::DeviceIo();
    return static_cast<size_t>(got);
}

}  // namespace kest::archive
