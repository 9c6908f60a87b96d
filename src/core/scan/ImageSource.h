#pragma once

#include <string>
#include <vector>

#include "core/image/DiscImage.h"
#include "core/scan/FileFacts.h"
#include "core/scan/WalkSource.h"

namespace kest::scan {

// The walk over a disc image, read in place: its root is the image's path
// followed by "/", and an archive on it is listed from the image's bytes.
class ImageSource : public WalkSource {
  public:
    ImageSource(image::DiscImage& image, std::string imagePath, Prompter& prompter, ScanView& view);

    bool List(const std::string& path, uint64_t handle, std::vector<WalkEntry>& entries,
              std::string& reason) override;
    ~ImageSource() override;
    ImageSource(const ImageSource&) = delete;
    ImageSource& operator=(const ImageSource&) = delete;

    void Close() override { m_listing.clear(); }
    void ReadFacts(const std::string& fullPath, const WalkEntry& entry,
                   std::string_view relativePath, FileFacts& facts) override;
    void Hash(ContentHashes& hashes, const WalkEntry& entry, std::string_view storedDir,
              std::string_view storedName, ScanLog& log) override;
    std::optional<ArchiveBytes> BytesOf(const std::string& fullPath, const WalkEntry& entry,
                                        std::string& reason) override;
    int64_t CountFiles(const std::string& root) override;

  private:
    struct Directory {
        image::ImageEntry entry;
        int depth = 0;
    };
    // The entries of a directory; the image's damage as the scan's error.
    std::vector<image::ImageEntry> Read(const Directory& directory);

    image::DiscImage& m_image;
    std::string m_imagePath;
    FileFactsReader m_facts;
    // Every directory met so far (the root first), for the handles of the
    // directory entries; the files of the open listing.
    std::vector<Directory> m_directories;
    std::vector<image::ImageEntry> m_listing;
    int m_fd = -1;  // the image, opened for the first content hash
};

}  // namespace kest::scan
