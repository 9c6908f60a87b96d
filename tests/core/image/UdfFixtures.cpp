#include "core/image/UdfFixtures.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>

#include "support/ToolRun.h"

namespace kest::test {

constexpr std::size_t kBlock = 2048;

std::map<std::string, image::ImageEntry> WalkImage(image::DiscImage& disc) {
    std::map<std::string, image::ImageEntry> all;
    std::function<void(const image::ImageEntry&, const std::string&, int)> walk =
        [&](const image::ImageEntry& folder, const std::string& prefix, int depth) {
            if (depth > 64) throw std::runtime_error("the walk went 64 folders deep");
            for (const image::ImageEntry& entry : disc.ReadDirectory(folder)) {
                all[prefix + entry.name] = entry;
                if (entry.isDirectory) walk(entry, prefix + entry.name + "/", depth + 1);
            }
        };
    walk(disc.Root(), "", 0);
    return all;
}

std::string ExtentBytes(const std::string& imagePath, const image::ImageEntry& entry) {
    std::ifstream in(imagePath, std::ios::binary);
    std::string out;
    for (const image::Extent& extent : entry.extents) {
        std::string part(extent.length, '\0');
        in.seekg(static_cast<std::streamoff>(extent.offset));
        in.read(part.data(), static_cast<std::streamsize>(part.size()));
        out += part;
    }
    return out;
}

bool MakeBridgeImage(const TempDir& dir, const std::string& options) {
    return ToolsInstalled("genisoimage") &&
           RunIn(dir, "genisoimage -quiet -udf -J -R " + options + " -o image tree");
}

ImageBytes::ImageBytes(std::string imagePath) : path(std::move(imagePath)) {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    for (std::size_t at = 16 * kBlock; at + kBlock <= bytes.size() && at < 512 * kBlock;
         at += kBlock) {
        if (bytes[at] == 5 && bytes[at + 1] == 0) {  // the partition descriptor
            partitionStart = Le32(at + 188);
            break;
        }
    }
}

void ImageBytes::Save() const {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::size_t ImageBytes::FindIdentifier(const std::string& name) const {
    std::string stored = '\x08' + name;
    auto found = std::search(bytes.begin(), bytes.end(), stored.begin(), stored.end());
    if (found == bytes.end()) throw std::runtime_error("no identifier " + name);
    return static_cast<std::size_t>(found - bytes.begin()) - 38;
}

std::size_t ImageBytes::EntryOf(std::size_t identifier) const {
    return (partitionStart + Le32(identifier + 24)) * kBlock;
}

std::uint32_t ImageBytes::Le32(std::size_t at) const {
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 |
           std::uint32_t{bytes[at + 2]} << 16 | std::uint32_t{bytes[at + 3]} << 24;
}

void ImageBytes::PutLe16(std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void ImageBytes::PutLe32(std::size_t at, std::uint32_t value) {
    PutLe16(at, static_cast<std::uint16_t>(value));
    PutLe16(at + 2, static_cast<std::uint16_t>(value >> 16));
}

void ImageBytes::PutLe64(std::size_t at, std::uint64_t value) {
    PutLe32(at, static_cast<std::uint32_t>(value));
    PutLe32(at + 4, static_cast<std::uint32_t>(value >> 32));
}

void ImageBytes::FixTag(std::size_t at) {
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < 16; ++i) {
        if (i != 4) sum = static_cast<std::uint8_t>(sum + bytes[at + i]);
    }
    bytes[at + 4] = sum;
}

}  // namespace kest::test
