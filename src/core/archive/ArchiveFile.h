#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kest::archive {

// Opens a path for reading only when it is a regular file: without following
// a symbolic link and without blocking on a FIFO or a device (whose open could
// wait forever). The descriptor, or -1; `size` receives the file's length.
int OpenRegularFile(const std::string& path, uint64_t& size);

// A regular file opened for reading bytes at offsets. Read errors raise the
// "Device I/O error"; reads at or past the end give fewer bytes.
class ArchiveFile {
  public:
    // nullopt when the path is not a regular file that can be opened.
    static std::optional<ArchiveFile> Open(const std::string& path);

    ArchiveFile(ArchiveFile&& other) noexcept;
    ArchiveFile& operator=(ArchiveFile&& other) noexcept;
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;
    ~ArchiveFile();

    uint64_t Size() const { return m_size; }
    // Up to count bytes from offset.
    std::string ReadAt(uint64_t offset, size_t count) const;
    // The same into a buffer of the caller's; gives the number of bytes read.
    size_t ReadInto(uint64_t offset, char* buffer, size_t count) const;
    void Close();

  private:
    ArchiveFile(int fd, uint64_t size) : m_fd(fd), m_size(size) {}
    int m_fd = -1;
    uint64_t m_size = 0;
};

}  // namespace kest::archive
