#include "core/scan/ScanLog.h"

#include <cerrno>

#include "core/common/FileSystemError.h"

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
    std::fwrite(line.data(), 1, line.size(), m_file);
    std::fputc('\n', m_file);
}

void ScanLog::Flush() {
    if (m_file) std::fflush(m_file);
}

void ScanLog::Close() {
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
}

}  // namespace kest::scan
