#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/image/DiscImage.h"
#include "support/TempDir.h"

namespace kest::test {

// Every entry below the root by its path ("sub/name"), read folder by folder.
std::map<std::string, image::ImageEntry> WalkImage(image::DiscImage& disc);

// The bytes of a file entry's extents, in order.
std::string ExtentBytes(const std::string& imagePath, const image::ImageEntry& entry);

// A UDF bridge image made by genisoimage from dir/tree (options added), as
// dir/image; false when genisoimage is missing or fails.
bool MakeBridgeImage(const TempDir& dir, const std::string& options = "");

// An image file held in memory to damage and write back.
struct ImageBytes {
    explicit ImageBytes(std::string path);
    void Save() const;
    // The offset of the file identifier naming an 8-bit name.
    std::size_t FindIdentifier(const std::string& name) const;
    // The offset of the file entry a file identifier points to (partition 0).
    std::size_t EntryOf(std::size_t identifier) const;
    std::uint32_t Le32(std::size_t at) const;
    void PutLe16(std::size_t at, std::uint16_t value);
    void PutLe32(std::size_t at, std::uint32_t value);
    void PutLe64(std::size_t at, std::uint64_t value);
    // Recomputes the checksum of the descriptor tag at `at`.
    void FixTag(std::size_t at);

    std::string path;
    std::vector<std::uint8_t> bytes;
    std::uint32_t partitionStart = 0;  // in 2048-byte blocks
};

}  // namespace kest::test
