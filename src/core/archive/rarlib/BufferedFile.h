#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/archive/ArchiveFile.h"

// Random-access reads from a file through one window buffer, so that parsing
// small headers does not cost a system call per field.
namespace kest::archive {

class BufferedFile {
  public:
    BufferedFile() = default;
    ~BufferedFile();
    BufferedFile(const BufferedFile&) = delete;
    BufferedFile& operator=(const BufferedFile&) = delete;

    // False when the file cannot be opened or is not a regular file.
    bool Open(const std::string& path, FileWindow window = {});
    uint64_t Size() const { return m_size; }

    // The count bytes at offset, valid until the next call; empty when they
    // do not all lie inside the file or cannot be read.
    std::span<const uint8_t> Read(uint64_t offset, size_t count);

    // The first offset in [from, limit) where needle starts.
    std::optional<uint64_t> Find(std::span<const uint8_t> needle, uint64_t from, uint64_t limit);

  private:
    bool Fill(uint64_t offset, size_t count);

    int m_fd = -1;
    uint64_t m_base = 0;  // where offset 0 lies in the file
    uint64_t m_size = 0;
    std::vector<uint8_t> m_buffer;
    uint64_t m_bufferStart = 0;
    size_t m_bufferLength = 0;
};

}  // namespace kest::archive
