#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

#include "core/common/CoarseClock.h"
#include "core/scan/ScanView.h"
#include "gui/scan/ScanControls.h"
#include "gui/widgets/BusyPointer.h"

namespace kest::gui {

// The scan's window: the progress panel, its bars or animation, the status
// panels and Cancel. Pump() repaints and lets Cancel run at most every
// pumpEvery, so a fast walk is not slowed by the window; the lock keeps
// every control that could reach the catalog disabled meanwhile.
class QtScanView : public QObject, public scan::ScanView {
    Q_OBJECT
  public:
    QtScanView(const ScanControls& controls, QObject* parent);

    // The main window's disc list reload and results reset.
    std::function<void()> onReloadDiscList;
    std::function<void()> onResetResults;
    // The least time between two repaints of the pump.
    std::chrono::milliseconds pumpEvery{50};
    // Whether the controls are locked for a scan.
    bool Locked() const { return m_locked; }

    void LockControls(bool locked) override;
    void SetBusyPointer(bool busy) override;
    void ShowCancel(bool visible) override;
    void ShowProgressPanel(scan::ProgressPanel panel) override;
    void SetTotalCaption(const std::string& caption) override;
    void ShowTotalProgress(const scan::ProgressBar& bar) override;
    void ShowSubProgress(const scan::ProgressBar& bar) override;
    void SetStatus(scan::StatusPanel panel, const std::string& text) override;
    void Pump() override;
    void ReloadDiscList() override;
    void ResetResults() override;

  private:
    void ShowBar(int fill, const scan::ProgressBar& bar);
    void MoveAnimation();
    void LockEntries(QMenu* menu);

    const ScanControls& c;
    int m_animation = scan::kAnimationStart;
    BusyPointer m_busy;
    bool m_locked = false;
    // The menus' entries as they were before the lock, restored after it.
    std::vector<std::pair<QPointer<QAction>, bool>> m_lockedActions;
    CoarseClock::time_point m_lastPump{};
};

}  // namespace kest::gui
