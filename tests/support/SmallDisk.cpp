#include "support/SmallDisk.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace kest::test {

SmallDisk::SmallDisk(const std::string& size) {
    m_mounted = mount("tmpfs", m_dir.Path().c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
}

SmallDisk::~SmallDisk() {
    if (m_mounted) umount2(m_dir.Path().c_str(), MNT_DETACH);
}

void SmallDisk::Fill() const {
    int fd = open(File("filler").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return;
    static const char block[4096] = {};
    while (write(fd, block, sizeof block) > 0) {
    }
    // The last partial block, byte by byte.
    while (write(fd, block, 1) > 0) {
    }
    close(fd);
}

}  // namespace kest::test
