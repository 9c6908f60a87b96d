#include "core/scan/ImageSource.h"

#include <fcntl.h>
#include <unistd.h>

#include "core/common/Errors.h"
#include "core/scan/ContentHashes.h"

namespace kest::scan {

namespace {

// Deeper than any path a mounted disc could give: a deeper tree is damage.
constexpr int kMaxDepth = 1024;

}  // namespace

ImageSource::ImageSource(image::DiscImage& image, std::string imagePath, Prompter& prompter,
                         ScanView& view)
    : m_image(image), m_imagePath(std::move(imagePath)), m_facts(prompter, &view) {
    m_directories.push_back({m_image.Root(), 0});
}

std::vector<image::ImageEntry> ImageSource::Read(const Directory& directory) {
    if (directory.depth > kMaxDepth) {
        throw err::PathFileAccess("the disc image's folders are nested too deeply");
    }
    try {
        return m_image.ReadDirectory(directory.entry);
    } catch (const image::ImageError& e) {
        throw err::PathFileAccess(std::string("the disc image is damaged: ") + e.what());
    }
}

bool ImageSource::List(const std::string& /*path*/, uint64_t handle,
                       std::vector<WalkEntry>& entries, std::string& /*reason*/) {
    m_listing.clear();
    int depth = m_directories.at(handle).depth;
    for (image::ImageEntry& found : Read(m_directories[handle])) {
        WalkEntry entry{found.name, found.isDirectory, 0};
        if (found.isDirectory) {
            entry.handle = m_directories.size();
            m_directories.push_back({std::move(found), depth + 1});
        } else {
            entry.handle = m_listing.size();
            m_listing.push_back(std::move(found));
        }
        entries.push_back(std::move(entry));
    }
    return true;
}

void ImageSource::ReadFacts(const std::string& /*fullPath*/, const WalkEntry& walked,
                            std::string_view relativePath, FileFacts& facts) {
    const image::ImageEntry& entry = m_listing.at(walked.handle);
    // As the mounted disc shows it: read-only from the mode, hidden from the
    // disc's own flag or a name starting with ".".
    uint32_t bits = 0;
    if (entry.readOnly) bits |= platform::kAttrReadOnly;
    if (entry.hidden || entry.name.starts_with('.')) bits |= platform::kAttrHidden;
    m_facts.Fill(static_cast<time_t>(entry.modified), static_cast<int64_t>(entry.size), bits,
                 relativePath, facts);
}

ImageSource::~ImageSource() {
    if (m_fd >= 0) close(m_fd);
}

void ImageSource::Hash(ContentHashes& hashes, const WalkEntry& walked, std::string_view storedDir,
                       std::string_view storedName, ScanLog& log) {
    if (m_fd < 0) m_fd = open(m_imagePath.c_str(), O_RDONLY | O_CLOEXEC);
    const image::ImageEntry& entry = m_listing.at(walked.handle);
    uint64_t stored = 0;
    for (const image::Extent& extent : entry.extents) stored += extent.length;
    // Data that is not plain bytes of the image (a link's target) is not hashed.
    if (stored != entry.size) return;
    hashes.Add(m_fd, entry.extents, storedDir, storedName, log);
}

std::optional<ArchiveBytes> ImageSource::BytesOf(const std::string& /*fullPath*/,
                                                 const WalkEntry& walked, std::string& reason) {
    const image::ImageEntry& entry = m_listing.at(walked.handle);
    archive::FileWindow window{0, 0};
    for (const image::Extent& extent : entry.extents) {
        if (window.length == 0) {
            window = {extent.offset, extent.length};
        } else if (extent.offset == window.offset + window.length) {
            window.length += extent.length;
        } else {
            reason = "its data lies in pieces in the image";
            return std::nullopt;
        }
    }
    if (window.length != entry.size) {
        reason = "its data is not stored as plain bytes of the image";
        return std::nullopt;
    }
    return ArchiveBytes{m_imagePath, window};
}

int64_t ImageSource::CountFiles(const std::string& /*root*/) {
    int64_t count = 0;
    std::vector<Directory> pending{{m_image.Root(), 0}};
    while (!pending.empty()) {
        Directory directory = std::move(pending.back());
        pending.pop_back();
        for (image::ImageEntry& entry : Read(directory)) {
            if (entry.isDirectory) {
                pending.push_back({std::move(entry), directory.depth + 1});
            } else {
                ++count;
            }
        }
    }
    return count;
}

}  // namespace kest::scan
