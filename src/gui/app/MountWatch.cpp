#include "gui/app/MountWatch.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace kest::gui {

MountWatch::MountWatch(QObject* parent, const char* mountTable) : QObject(parent) {
    m_fd = ::open(mountTable, O_RDONLY | O_CLOEXEC);
    // Without the table the drive box is filled at start only.
    if (m_fd < 0) return;
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Exception, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        // The mark stays until the table is read again from its start.
        char buffer[4096];
        ::lseek(m_fd, 0, SEEK_SET);
        while (::read(m_fd, buffer, sizeof buffer) > 0) {
        }
        emit Changed();
    });
}

MountWatch::~MountWatch() {
    delete m_notifier;
    if (m_fd >= 0) ::close(m_fd);
}

}  // namespace kest::gui
