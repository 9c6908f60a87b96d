#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kest::image {

// An image file open for reading at any offset.
class ImageFile {
  public:
    // Raises ImageError when the file cannot be opened.
    explicit ImageFile(const std::string& path);
    ~ImageFile();
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    std::uint64_t Size() const { return m_size; }
    // Fills buffer from offset; false when the file ends first or cannot be read.
    bool TryRead(std::uint64_t offset, std::span<std::uint8_t> buffer) const;
    // The same, raising ImageError saying what was being read.
    void Read(std::uint64_t offset, std::span<std::uint8_t> buffer, const char* what) const;

  private:
    int m_fd = -1;
    std::uint64_t m_size = 0;
};

}  // namespace kest::image
