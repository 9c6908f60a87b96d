#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "core/image/DiscImage.h"

// Opens fuzzer bytes as a disc image (UDF, else ISO 9660) and reads every
// folder of it; a damaged image may raise ImageError, nothing else.
namespace {

// Deeper than any real disc: a walk that gets here follows a loop the reader
// should have refused.
constexpr int kMaxDepth = 1000;

void Walk(kest::image::DiscImage& disc, const kest::image::ImageEntry& folder, int depth) {
    if (depth > kMaxDepth) std::abort();
    for (const kest::image::ImageEntry& entry : disc.ReadDirectory(folder)) {
        // Touch every name byte and extent so the sanitizer sees any bad one.
        volatile std::size_t sum = entry.size;
        for (char c : entry.name) sum = sum + static_cast<unsigned char>(c);
        for (const auto& extent : entry.extents) sum = sum + extent.offset + extent.length;
        if (entry.isDirectory) Walk(disc, entry, depth + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/kest-fuzz-" + std::to_string(getpid()) + ".img";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    try {
        if (auto disc = kest::image::OpenDiscImage(path)) {
            volatile std::size_t length = disc->Label().size() + disc->FileSystem().size();
            (void)length;
            Walk(*disc, disc->Root(), 0);
        }
    } catch (const kest::image::ImageError&) {
    }
    return 0;
}
