#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "gui/scan/QtScanView.h"

namespace kest::app {
class Session;
}
namespace kest::platform {
class Sound;
class Volumes;
}  // namespace kest::platform
namespace kest::scan {
class ScanDriver;
}

namespace kest::gui {

// The scan button of the Discs view: runs the scan driver on the drive the
// drive box names, with the window as its view and Cancel bound to it.
class WindowScan : public QObject {
    Q_OBJECT
  public:
    WindowScan(app::Session& session, const platform::Volumes& volumes,
               const ScanControls& controls, QObject* parent);
    ~WindowScan() override;

    QtScanView& View() { return m_view; }
    bool Running() const { return m_driver != nullptr; }
    // The end-of-scan sound (Qt Multimedia's unless replaced).
    void SetSound(std::unique_ptr<platform::Sound> sound);
    // Scans the drive named by the drive box; true unless an error stopped it.
    bool Start();
    // File > Scan Folder...: scans a folder the user chooses, registered as
    // the volume it lies on would be.
    bool ScanFolder();
    // File > Scan Disc Image...: scans the disc an ISO 9660 or UDF image
    // the user chooses holds, read in place.
    bool ScanImage();
    void Cancel();
    // The window is closed while a scan runs: asks whether to cancel the scan
    // and exit (not when ask is false, nor a second time); on Yes the scan is
    // cancelled and CloseReady comes once it has stopped.
    void CancelForClose(bool ask);

  signals:
    // A scan started by Start has ended (done, cancelled or stopped by an error).
    void Finished();
    // A scan cancelled by CancelForClose has stopped: the window may close.
    void CloseReady();

  private:
    bool Scan(const std::string& drive);
    // Runs one scan through `start`, the window's driver meanwhile.
    bool Scan(const std::function<bool(scan::ScanDriver&)>& start);

    app::Session& m_session;
    const platform::Volumes& m_volumes;
    ScanControls c;
    QtScanView m_view;
    std::unique_ptr<platform::Sound> m_sound;
    scan::ScanDriver* m_driver = nullptr;
    bool m_closeWhenStopped = false;
};

}  // namespace kest::gui
