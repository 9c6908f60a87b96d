#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/archive/ArchiveFile.h"

namespace kest::archive {

// Reads a stretch of an archive file in large chunks, so a listing costs a few
// system calls however many entries it has, and memory stays bounded whatever
// sizes the file claims.
class FileCursor {
  public:
    FileCursor(const ArchiveFile& file, uint64_t start);

    uint64_t Pos() const { return m_bufferStart + m_offset; }
    void Seek(uint64_t pos);
    // Makes count bytes available at the position and gives them without
    // moving; fewer than count only when the file ends first.
    std::string_view Peek(size_t count);
    // The next count bytes, moving past them; "Input past end of file" when
    // the file ends first. The view lasts until the next call.
    std::string_view Take(size_t count);

  private:
    static constexpr size_t kChunk = 1 << 20;
    const ArchiveFile& m_file;
    std::string m_buffer;
    uint64_t m_bufferStart = 0;
    size_t m_offset = 0;
};

}  // namespace kest::archive
