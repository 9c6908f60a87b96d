#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "gui/discfacts/DesktopNotifier.h"
#include "platform/Volumes.h"

namespace kest::engine {
class Database;
}

namespace kest::gui {

// What recognition asks of the window.
struct RecognitionHooks {
    std::function<engine::Database*()> catalog;  // null without a catalog or during a scan
    std::function<void(const QString&)> status;  // the status bar
    std::function<void(int64_t kestId)> showDisc;
    std::function<void(const std::string& root)> chooseDrive;
    std::function<bool()> scanUnknown;  // the option to scan an unknown disc at once
    std::function<void()> scan;         // the scan of the chosen drive
};

// When a volume is mounted while the window is open, tells whether the
// catalog knows it: in the status bar and as a desktop notification, with
// "Show" (the disc in the disc list) or "Scan & Save" (the drive chosen in
// the drive box; scanned at once when the option says so).
class MountRecognition : public QObject {
    Q_OBJECT
  public:
    MountRecognition(QObject* parent, const platform::Volumes& volumes,
                     std::unique_ptr<DesktopNotifier> notifier, RecognitionHooks hooks);

    // The mount table changed: the roots that came are looked up.
    void OnMountsChanged();

  private:
    std::set<std::string> MountedRoots() const;
    void Recognize(const std::string& root);

    const platform::Volumes& m_volumes;
    std::unique_ptr<DesktopNotifier> m_notifier;
    RecognitionHooks m_hooks;
    std::set<std::string> m_mounted;
};

}  // namespace kest::gui
