#include "core/image/DiscImage.h"

namespace kest::image {

std::unique_ptr<DiscImage> OpenDiscImage(const std::string& path) {
    // A bridge disc whose UDF side is damaged is still read through its ISO
    // 9660 side, as a system that cannot mount the one mounts the other.
    try {
        if (auto udf = OpenUdfImage(path)) return udf;
    } catch (const ImageError&) {
        if (auto iso = OpenIsoImage(path)) return iso;
        throw;
    }
    return OpenIsoImage(path);
}

}  // namespace kest::image
