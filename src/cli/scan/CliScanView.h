#pragma once

#include <chrono>
#include <functional>
#include <iosfwd>
#include <string>

#include "core/common/CoarseClock.h"
#include "core/scan/ScanView.h"

namespace kest::cli {

// The scan's window on standard error: a progress bar redrawn in place on a
// terminal, plain status lines otherwise, both at most ten times a second.
class CliScanView : public scan::ScanView {
  public:
    CliScanView(std::ostream& out, bool terminal) : m_out(out), m_terminal(terminal) {}

    // Runs at every pump: where the desktop would let Cancel act.
    std::function<void()> onPump;
    // The last text of status panel 1.
    const std::string& Status() const { return m_status; }

    void LockControls(bool) override {}
    void SetBusyPointer(bool) override {}
    void ShowCancel(bool) override {}
    void ShowProgressPanel(scan::ProgressPanel panel) override;
    void SetTotalCaption(const std::string& caption) override;
    void ShowTotalProgress(const scan::ProgressBar& bar) override;
    void ShowSubProgress(const scan::ProgressBar&) override {}
    void SetStatus(scan::StatusPanel panel, const std::string& text) override;
    void Pump() override;
    void ReloadDiscList() override {}
    void ResetResults() override {}

  private:
    void Render(bool force);

    std::ostream& m_out;
    bool m_terminal;
    bool m_barShown = false;
    bool m_drawn = false;
    scan::ProgressBar m_bar;
    std::string m_caption;
    std::string m_status;
    std::string m_written;
    CoarseClock::time_point m_lastRender{};
};

}  // namespace kest::cli
