#include "gui/app/StopSignals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace kest::gui {
namespace {

constexpr std::array<int, 3> kStopSignals{SIGTERM, SIGHUP, SIGINT};
// The pair's write end is used by the handler, the read end by the notifier.
int g_pipe[2] = {-1, -1};

void OnStopSignal(int) {
    const char byte = 1;
    // Nothing can be done about a full pipe: a stop is already waiting then.
    [[maybe_unused]] ssize_t written = write(g_pipe[1], &byte, 1);
}

}  // namespace

StopSignals::StopSignals(QObject* parent) : QObject(parent) {
    if (g_pipe[0] < 0 &&
        socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (read(g_pipe[0], bytes, sizeof bytes) > 0) {
        }
        emit Received();
    });
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < kStopSignals.size(); ++i)
        sigaction(kStopSignals[i], &action, &m_previous[i]);
}

StopSignals::~StopSignals() {
    if (!m_notifier) return;
    for (size_t i = 0; i < kStopSignals.size(); ++i)
        sigaction(kStopSignals[i], &m_previous[i], nullptr);
}

}  // namespace kest::gui
