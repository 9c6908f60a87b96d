#include "cli/scan/CliScanView.h"

#include <ostream>

namespace kest::cli {

namespace {

constexpr std::chrono::milliseconds kRenderEvery{100};
constexpr int kBarCells = 30;
constexpr size_t kStatusWidth = 60;

}  // namespace

void CliScanView::ShowProgressPanel(scan::ProgressPanel panel) {
    bool shown =
        panel == scan::ProgressPanel::TotalBar || panel == scan::ProgressPanel::TotalAndSubfiles;
    if (panel == scan::ProgressPanel::Hidden && m_terminal && m_drawn) {
        m_out << '\n';
        m_drawn = false;
    }
    m_barShown = shown;
}

void CliScanView::SetTotalCaption(const std::string& caption) {
    m_caption = caption;
    Render(true);
}

void CliScanView::ShowTotalProgress(const scan::ProgressBar& bar) {
    m_bar = bar;
    Render(false);
}

void CliScanView::SetStatus(scan::StatusPanel panel, const std::string& text) {
    if (panel != scan::StatusPanel::Scan) return;
    m_status = text;
    Render(false);
}

void CliScanView::Pump() {
    if (onPump) onPump();
}

void CliScanView::Render(bool force) {
    auto now = CoarseClock::now();
    if (!force && now - m_lastRender < kRenderEvery) return;
    m_lastRender = now;
    if (!m_terminal) {
        if (m_status.empty()) return;
        std::string line = m_barShown ? m_bar.label + " " + m_status : m_status;
        if (line == m_written) return;
        m_out << line << '\n';
        m_written = line;
        return;
    }
    std::string line;
    if (m_barShown) {
        int filled = static_cast<int>(m_bar.width / scan::kFullBarWidth * kBarCells);
        line = m_caption + " [" + std::string(static_cast<size_t>(filled), '#') +
               std::string(static_cast<size_t>(kBarCells - filled), '.') + "] " + m_bar.label + " ";
    }
    line += m_status.size() > kStatusWidth ? m_status.substr(0, kStatusWidth) : m_status;
    m_out << "\r\033[K" << line << std::flush;
    m_drawn = true;
}

}  // namespace kest::cli
