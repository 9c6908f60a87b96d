#include "gui/scan/WindowScan.h"

#include "core/app/CloseDuringScan.h"
#include "core/app/Session.h"
#include "core/scan/ScanDriver.h"
#include "core/scan/ScanSettings.h"
#include "gui/scan/QtSound.h"
#include "gui/widgets/EnterKey.h"

namespace kest::gui {

WindowScan::WindowScan(app::Session& session, const platform::Volumes& volumes,
                       const ScanControls& controls, QObject* parent)
    : QObject(parent),
      m_session(session),
      m_volumes(volumes),
      c(controls),
      m_view(c, this),
      m_sound(std::make_unique<QtSound>()) {
    connect(c.progress.cmdCancel, &QPushButton::clicked, this, &WindowScan::Cancel);
    // Enter in the drive box scans as the button does.
    OnEnter(c.icbDrives, [this] { Start(); });
}

WindowScan::~WindowScan() = default;

void WindowScan::SetSound(std::unique_ptr<platform::Sound> sound) {
    m_sound = std::move(sound);
}

bool WindowScan::Start() {
    // The pump lets events through: a second click must not start a scan
    // inside the running one.
    if (m_driver || !m_session.current.HasDatabase()) return false;
    // The drive box's item carries its root; a typed text is taken as it is.
    QVariant root = c.icbDrives->currentData();
    return Scan(root.isValid() && c.icbDrives->currentIndex() >= 0
                    ? root.toString().toStdString()
                    : c.icbDrives->currentText().toStdString());
}

bool WindowScan::ScanFolder() {
    if (m_driver || !m_session.current.HasDatabase()) return false;
    FileDialogRequest request;
    request.title = "Scan Folder";
    request.folder = true;
    auto folder = m_session.prompter.OpenFile(request);
    return folder && Scan([&](scan::ScanDriver& driver) { return driver.StartScan(*folder); });
}

bool WindowScan::ScanImage() {
    if (m_driver || !m_session.current.HasDatabase()) return false;
    FileDialogRequest request;
    request.title = "Scan Disc Image";
    request.filter = "Disc Images (*.iso;*.udf;*.img)|*.iso;*.udf;*.img|All Files (*.*)|*.*";
    request.flags = kFileMustExistFlag;
    auto image = m_session.prompter.OpenFile(request);
    return image && Scan([&](scan::ScanDriver& driver) { return driver.StartImageScan(*image); });
}

bool WindowScan::Scan(const std::string& drive) {
    return Scan([&](scan::ScanDriver& driver) { return driver.StartScan(drive); });
}

bool WindowScan::Scan(const std::function<bool(scan::ScanDriver&)>& start) {
    scan::ScanDriver driver({m_session.current.path, m_session.current.Db(), m_volumes, *m_sound,
                             m_session.prompter, m_view,
                             scan::ScanOptionsFromSettings(m_session.settings),
                             m_session.paths.ScanLogPath().string()});
    m_driver = &driver;
    bool ok = start(driver);
    m_driver = nullptr;
    emit Finished();
    if (m_closeWhenStopped) {
        m_closeWhenStopped = false;
        emit CloseReady();
    }
    return ok;
}

void WindowScan::Cancel() {
    if (m_driver) m_driver->CancelScan();
}

void WindowScan::CancelForClose(bool ask) {
    if (!m_driver) return;
    if (m_closeWhenStopped || !ask || app::CancelScanToExit(m_session.prompter)) {
        m_closeWhenStopped = true;
        Cancel();
    }
}

}  // namespace kest::gui
