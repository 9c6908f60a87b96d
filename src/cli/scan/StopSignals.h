#pragma once

#include <csignal>

namespace kest::cli {

// Ctrl-C (SIGINT) and SIGTERM during a scan act as its Cancel button: the
// scan stops at its next check, commits and reports the abort. The handlers
// are one-shot, so a second signal ends the process at once. The previous
// handlers come back with the object.
class StopSignals {
  public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Whether a stop signal has arrived.
    static bool Received();

  private:
    struct sigaction m_oldInt {};
    struct sigaction m_oldTerm {};
};

}  // namespace kest::cli
