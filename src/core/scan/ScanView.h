#pragma once

#include <string>

#include "core/scan/Progress.h"

namespace kest::scan {

// What the progress panel shows during a scan.
enum class ProgressPanel {
    Hidden,
    Animation,         // no estimate: "Disc scan in progress..." and the moving image
    TotalBar,          // the total bar alone
    TotalAndSubfiles,  // the total bar and the subfile bar
};

// The status bar's panels a scan writes to.
enum class StatusPanel {
    Scan = 1,     // what the scan is doing, then its summary
    SubFile = 2,  // the archive whose entries are being listed
};

// The window a scan reports to. Each call is a point where the window may
// repaint; Pump() also lets the Cancel button run. While the walk runs,
// Pump() and the progress and status calls must not use the catalog: its
// connection belongs to the file-row writer then.
class ScanView {
  public:
    virtual ~ScanView() = default;
    // Disables (true) or enables every control that could start catalog work.
    virtual void LockControls(bool locked) = 0;
    virtual void SetBusyPointer(bool busy) = 0;
    virtual void ShowCancel(bool visible) = 0;
    virtual void ShowProgressPanel(ProgressPanel panel) = 0;
    // "Total File Progress:" or "<Estimating...>".
    virtual void SetTotalCaption(const std::string& caption) = 0;
    virtual void ShowTotalProgress(const ProgressBar& bar) = 0;
    virtual void ShowSubProgress(const ProgressBar& bar) = 0;
    virtual void SetStatus(StatusPanel panel, const std::string& text) = 0;
    virtual void Pump() = 0;
    // The disc list and the results grid after the catalog changed.
    virtual void ReloadDiscList() = 0;
    virtual void ResetResults() = 0;
};

}  // namespace kest::scan
