#include "cli/scan/StopSignals.h"

namespace kest::cli {

namespace {

volatile std::sig_atomic_t g_received = 0;

void OnStopSignal(int) {
    g_received = 1;
}

}  // namespace

StopSignals::StopSignals() {
    g_received = 0;
    struct sigaction action {};
    action.sa_handler = &OnStopSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND is the int field's top bit, written as an unsigned constant.
    action.sa_flags = static_cast<int>(SA_RESETHAND | SA_RESTART);
    sigaction(SIGINT, &action, &m_oldInt);
    sigaction(SIGTERM, &action, &m_oldTerm);
}

StopSignals::~StopSignals() {
    sigaction(SIGINT, &m_oldInt, nullptr);
    sigaction(SIGTERM, &m_oldTerm, nullptr);
}

bool StopSignals::Received() {
    return g_received != 0;
}

}  // namespace kest::cli
