#include "core/image/ImageFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/common/ReadAt.h"
#include "core/image/DiscImage.h"

namespace kest::image {

ImageFile::ImageFile(const std::string& path) {
    m_fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (m_fd < 0 || fstat(m_fd, &info) != 0) {
        int error = errno;
        if (m_fd >= 0) close(m_fd);
        throw ImageError("Cannot read the image " + path + ": " + std::strerror(error));
    }
    m_size = static_cast<std::uint64_t>(info.st_size);
}

ImageFile::~ImageFile() {
    close(m_fd);
}

bool ImageFile::TryRead(std::uint64_t offset, std::span<std::uint8_t> buffer) const {
    if (offset > m_size || buffer.size() > m_size - offset) return false;
    return ReadAt(m_fd, buffer.data(), buffer.size(), offset) ==
           static_cast<ssize_t>(buffer.size());
}

void ImageFile::Read(std::uint64_t offset, std::span<std::uint8_t> buffer, const char* what) const {
    if (!TryRead(offset, buffer)) {
        throw ImageError(std::string("The image ends before ") + what + " (byte " +
                         std::to_string(offset) + ")");
    }
}

}  // namespace kest::image
