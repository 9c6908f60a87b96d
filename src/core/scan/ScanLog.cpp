#include "core/scan/ScanLog.h"

#include <unistd.h>

#include <cerrno>

#include "core/common/FileSystemError.h"
#include "core/common/ReplacementFile.h"
#include "core/text/ControlChars.h"

namespace kest::scan {

ScanLog::~ScanLog() {
    Close();
}

void ScanLog::Open(const std::string& path) {
    Close();
    m_position = 0;
    m_failure = 0;
    m_fd = OpenLogForWriting(path);
    m_file = fdopen(m_fd, "w");
    if (!m_file) {
        int error = errno;
        close(m_fd);
        m_fd = -1;
        throw FileSystemError(error);
    }
    std::setvbuf(m_file, nullptr, _IOFBF, 1 << 16);
}

void ScanLog::WriteLine(std::string_view line) {
    if (!m_file) return;
    if (!HasControls(line)) return WritePlain(line);
    m_buffer.clear();
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == '\r' || c == '\n') {
            m_buffer += '\n';
            if (c == '\r' && i + 1 < line.size() && line[i + 1] == '\n') ++i;
        } else {
            m_buffer += text::IsControl(c) ? '?' : c;
        }
    }
    WritePlain(m_buffer);
}

void ScanLog::WriteRecord(std::string_view line) {
    if (!m_file) return;
    if (!HasControls(line)) return WritePlain(line);
    m_buffer.assign(line);
    text::MaskControls(m_buffer);
    WritePlain(m_buffer);
}

bool ScanLog::HasControls(std::string_view line) {
    for (char c : line)
        if (text::IsControl(c)) return true;
    return false;
}

void ScanLog::WritePlain(std::string_view line) {
    // Only the scan's own thread writes the log: the stream's lock, taken
    // twice a line, would cost more than the copy.
    size_t written = fwrite_unlocked(line.data(), 1, line.size(), m_file);
    m_position += written;
    if (fputc_unlocked('\n', m_file) == '\n') {
        ++m_position;
    } else {
        NoteFailure();
    }
    if (written < line.size()) NoteFailure();
}

void ScanLog::NoteFailure() {
    if (m_failure == 0) m_failure = errno != 0 ? errno : EIO;
}

void ScanLog::Flush() {
    if (m_file && std::fflush(m_file) != 0) NoteFailure();
}

void ScanLog::Sync() const {
    // Syncs what the kernel holds; the buffer is the writing thread's.
    if (m_fd >= 0) (void)fdatasync(m_fd);
}

std::string ScanLog::LineAt(uint64_t position) {
    std::string line;
    if (!m_file) return line;
    std::fflush(m_file);
    char chunk[512];
    for (;;) {
        ssize_t got =
            pread(fileno(m_file), chunk, sizeof chunk, static_cast<off_t>(position + line.size()));
        if (got <= 0) return line;
        std::string_view bytes(chunk, static_cast<size_t>(got));
        size_t end = bytes.find('\n');
        line.append(bytes.substr(0, end));
        if (end != std::string_view::npos) return line;
    }
}

void ScanLog::TruncateTo(uint64_t position) {
    if (!m_file || position >= m_position) return;
    std::fflush(m_file);
    if (ftruncate(fileno(m_file), static_cast<off_t>(position)) != 0) return;
    std::fseek(m_file, static_cast<long>(position), SEEK_SET);
    m_position = position;
}

void ScanLog::Close() {
    if (m_file && std::fclose(m_file) != 0) NoteFailure();
    m_file = nullptr;
    m_fd = -1;
}

}  // namespace kest::scan
