#include "core/image/DiscImage.h"

namespace kest::image {

std::unique_ptr<DiscImage> OpenIsoImage(const std::string& /*path*/) {
    return nullptr;
}

}  // namespace kest::image
