#include "core/archive/FileCursor.h"

#include <algorithm>

#include "core/common/Errors.h"

namespace kest::archive {

FileCursor::FileCursor(const ArchiveFile& file, uint64_t start)
    : m_file(file), m_bufferStart(start) {}

void FileCursor::Seek(uint64_t pos) {
    if (pos >= m_bufferStart && pos <= m_bufferStart + m_buffer.size()) {
        m_offset = static_cast<size_t>(pos - m_bufferStart);
        return;
    }
    m_buffer.clear();
    m_bufferStart = pos;
    m_offset = 0;
}

std::string_view FileCursor::Peek(size_t count) {
    if (m_buffer.size() - m_offset < count) {
        uint64_t pos = Pos();
        m_buffer = m_file.ReadAt(pos, std::max(count, kChunk));
        m_bufferStart = pos;
        m_offset = 0;
    }
    return std::string_view(m_buffer).substr(m_offset, count);
}

std::string_view FileCursor::Take(size_t count) {
    std::string_view bytes = Peek(count);
    if (bytes.size() < count) throw err::InputPastEnd();
    m_offset += count;
    return bytes;
}

}  // namespace kest::archive
