#pragma once

#include <QObject>

class QSocketNotifier;

namespace kest::gui {

// Tells when file systems are mounted or unmounted: the kernel marks the
// mount table (/proc/self/mounts) with a priority event at every change.
class MountWatch : public QObject {
    Q_OBJECT
  public:
    explicit MountWatch(QObject* parent, const char* mountTable = "/proc/self/mounts");
    ~MountWatch() override;

  signals:
    void Changed();

  private:
    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace kest::gui
