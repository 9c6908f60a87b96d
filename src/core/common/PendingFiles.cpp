#include "core/common/PendingFiles.h"

#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>

namespace kest {
namespace {

// Lock-free slots, so a handler that interrupts a registration still reads
// each one whole. A program holds a few replacement files at most.
constexpr int kSlots = 32;
std::array<std::atomic<const char*>, kSlots> g_pending{};
static_assert(std::atomic<const char*>::is_always_lock_free);

void OnFatalSignal(int signal) {
    RemovePendingFiles();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

PendingFile::PendingFile(const std::string& path) {
    for (int slot = 0; slot < kSlots; ++slot) {
        const char* empty = nullptr;
        if (g_pending[size_t(slot)].compare_exchange_strong(empty, path.c_str())) {
            m_slot = slot;
            return;
        }
    }
}

void PendingFile::Done() {
    if (m_slot < 0) return;
    g_pending[size_t(m_slot)].store(nullptr);
    m_slot = -1;
}

void RemovePendingFiles() noexcept {
    for (auto& slot : g_pending)
        if (const char* path = slot.load()) unlink(path);
}

void RemovePendingFilesWhenKilled() {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction old {};
        if (sigaction(signal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = &OnFatalSignal;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
}

}  // namespace kest
