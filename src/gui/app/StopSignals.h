#pragma once

#include <QObject>
#include <array>
#include <csignal>

class QSocketNotifier;

namespace kest::gui {

// Turns SIGTERM (the desktop session ending), SIGHUP and SIGINT into the
// Qt signal Received, delivered by the event loop: a signal handler may do
// no more than write a byte, so the window's closing runs outside it. The
// handlers in place before are put back when the object goes.
class StopSignals : public QObject {
    Q_OBJECT
  public:
    explicit StopSignals(QObject* parent);
    ~StopSignals() override;

  signals:
    void Received();

  private:
    QSocketNotifier* m_notifier = nullptr;
    std::array<struct sigaction, 3> m_previous{};
};

}  // namespace kest::gui
