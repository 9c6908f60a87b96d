#include "core/archive/rarlib/BufferedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "core/archive/ArchiveFile.h"

namespace kest::archive {

namespace {

constexpr size_t kWindow = size_t{64} * 1024;

}  // namespace

BufferedFile::~BufferedFile() {
    if (m_fd >= 0) close(m_fd);
}

bool BufferedFile::Open(const std::string& path, FileWindow window) {
    m_fd = OpenRegularFile(path, m_size);
    m_base = window.offset;
    m_size = window.SizeIn(m_size);
    return m_fd >= 0;
}

std::span<const uint8_t> BufferedFile::Read(uint64_t offset, size_t count) {
    if (offset > m_size || count > m_size - offset) return {};
    bool inWindow = offset >= m_bufferStart && offset - m_bufferStart + count <= m_bufferLength;
    if (!inWindow && !Fill(offset, count)) return {};
    return std::span<const uint8_t>(m_buffer).subspan(offset - m_bufferStart, count);
}

bool BufferedFile::Fill(uint64_t offset, size_t count) {
    // The caller has checked that offset + count lies inside the file, so
    // the buffer never grows beyond the file's size.
    size_t length =
        static_cast<size_t>(std::min<uint64_t>(std::max(count, kWindow), m_size - offset));
    m_buffer.resize(length);
    m_bufferLength = 0;
    size_t done = 0;
    while (done < length) {
        ssize_t got = pread(m_fd, m_buffer.data() + done, length - done,
                            static_cast<off_t>(m_base + offset + done));
        if (got <= 0) return false;
        done += static_cast<size_t>(got);
    }
    m_bufferStart = offset;
    m_bufferLength = length;
    return true;
}

std::optional<uint64_t> BufferedFile::Find(std::span<const uint8_t> needle, uint64_t from,
                                           uint64_t limit) {
    limit = std::min(limit, m_size);
    for (uint64_t start = from; start < limit; start += kWindow) {
        // Each window overlaps the next by the needle's length less one.
        size_t length =
            static_cast<size_t>(std::min<uint64_t>(kWindow + needle.size() - 1, m_size - start));
        auto window = Read(start, length);
        if (window.size() < needle.size()) return std::nullopt;
        auto hit = std::search(window.begin(), window.end(), needle.begin(), needle.end());
        if (hit != window.end()) {
            uint64_t at = start + static_cast<uint64_t>(hit - window.begin());
            return at < limit ? std::optional<uint64_t>(at) : std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace kest::archive
