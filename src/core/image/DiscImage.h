#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace kest::image {

// A run of the image's bytes holding part of a file's data, in file order.
struct Extent {
    uint64_t offset = 0;
    uint64_t length = 0;
};

// One entry of a directory of a disc image, as the mounted disc shows it.
struct ImageEntry {
    // UTF-8: the Rock Ridge name, else the Joliet name, else the ISO 9660 name
    // without its version (";1") and a bare trailing "."; UDF's own name.
    std::string name;
    bool isDirectory = false;
    uint64_t size = 0;
    // Seconds since the epoch, UTC.
    int64_t modified = 0;
    // ISO 9660's existence bit, UDF's hidden characteristic.
    bool hidden = false;
    // The owner may not write it, as the mounted disc gives the mode: ISO
    // 9660 files without Rock Ridge are read-only, Rock Ridge gives the mode.
    bool readOnly = true;
    // Where the data lies; empty for an empty file. A file whose data is not
    // plain bytes of the image (UDF data embedded in its entry is given as the
    // entry's own bytes) still has its true `size`.
    std::vector<Extent> extents;
    // The reader's own handle for ReadDirectory (a directory's location).
    uint64_t node = 0;
};

// The image's structures are damaged or loop: the scan reports it and stops.
class ImageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class DiscImage {
  public:
    virtual ~DiscImage() = default;
    // The volume label as the mounted disc shows it, without trailing blanks.
    virtual const std::string& Label() const = 0;
    // The serial number Windows shows for the disc.
    virtual uint32_t Serial() const = 0;
    // "CDFS" or "UDF".
    virtual const std::string& FileSystem() const = 0;
    virtual ImageEntry Root() const = 0;
    // The entries of a directory in the order the image records them, without
    // "." and "..". Raises ImageError on damage.
    virtual std::vector<ImageEntry> ReadDirectory(const ImageEntry& directory) = 0;
};

// Each gives nullptr when the image holds no volume of its kind.
std::unique_ptr<DiscImage> OpenUdfImage(const std::string& path);
std::unique_ptr<DiscImage> OpenIsoImage(const std::string& path);

// The UDF volume when the image holds one (as a UDF bridge disc is mounted),
// else the ISO 9660 volume; nullptr when neither.
std::unique_ptr<DiscImage> OpenDiscImage(const std::string& path);

}  // namespace kest::image
