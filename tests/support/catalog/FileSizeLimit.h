#pragma once

#include <sys/resource.h>

#include <csignal>
#include <cstdint>

namespace kest::test {

// While it lives, writes past `bytes` in any file fail as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(uint64_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    struct rlimit m_saved {};
    void (*m_handler)(int) = nullptr;
};

}  // namespace kest::test
