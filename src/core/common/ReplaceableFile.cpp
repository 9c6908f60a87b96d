#include "core/common/ReplaceableFile.h"

#include <filesystem>

#include "core/common/Errors.h"

namespace kest {

void CheckReplaceable(const std::string& path) {
    std::error_code ec;
    auto type = std::filesystem::symlink_status(path, ec).type();
    if (type == std::filesystem::file_type::not_found ||
        type == std::filesystem::file_type::regular) {
        return;
    }
    throw err::PathFileAccess();
}

}  // namespace kest
