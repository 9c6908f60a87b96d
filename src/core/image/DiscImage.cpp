#include "core/image/DiscImage.h"

namespace kest::image {

std::unique_ptr<DiscImage> OpenDiscImage(const std::string& path) {
    if (auto udf = OpenUdfImage(path)) {
        return udf;
    }
    return OpenIsoImage(path);
}

}  // namespace kest::image
