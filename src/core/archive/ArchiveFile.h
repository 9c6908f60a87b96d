#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

namespace kest::archive {

// Opens a path for reading only when it is a regular file: without following
// a symbolic link and without blocking on a FIFO or a device (whose open could
// wait forever). The descriptor, or -1; `size` receives the file's length.
int OpenRegularFile(const std::string& path, uint64_t& size);

// The stretch of a file an archive occupies: the whole file, or the bytes of
// an archive lying in a disc image, read in place.
struct FileWindow {
    uint64_t offset = 0;
    uint64_t length = UINT64_MAX;
    // The window's length inside a file of fileSize bytes.
    uint64_t SizeIn(uint64_t fileSize) const {
        return offset >= fileSize ? 0 : std::min(length, fileSize - offset);
    }
};

// A regular file (or a window of one) opened for reading bytes at offsets. Read errors raise the
// "Device I/O error"; reads at or past the end give fewer bytes.
class ArchiveFile {
  public:
    // nullopt when the path is not a regular file that can be opened.
    static std::optional<ArchiveFile> Open(const std::string& path, FileWindow window = {});

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
    ArchiveFile(int fd, uint64_t base, uint64_t size) : m_fd(fd), m_base(base), m_size(size) {}
    int m_fd = -1;
    uint64_t m_base = 0;  // where offset 0 lies in the file
    uint64_t m_size = 0;
};

}  // namespace kest::archive
