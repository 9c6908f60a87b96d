#include "core/scan/ScanLog.h"

#include <cerrno>

#include "core/common/FileSystemError.h"
#include "core/text/ControlChars.h"

namespace kest::scan {

ScanLog::~ScanLog() {
    Close();
}

void ScanLog::Open(const std::string& path) {
    Close();
    m_file = std::fopen(path.c_str(), "w");
    if (!m_file) throw FileSystemError(errno);
    std::setvbuf(m_file, nullptr, _IOFBF, 1 << 16);
}

void ScanLog::WriteLine(std::string_view line) {
    if (!m_file) return;
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
    m_buffer += '\n';
    std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file);
}

void ScanLog::WriteRecord(std::string_view line) {
    if (!m_file) return;
    m_buffer.assign(line);
    text::MaskControls(m_buffer);
    m_buffer += '\n';
    std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file);
}

void ScanLog::Flush() {
    if (m_file) std::fflush(m_file);
}

void ScanLog::Close() {
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
}

}  // namespace kest::scan
