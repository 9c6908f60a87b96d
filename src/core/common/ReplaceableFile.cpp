#include "core/common/ReplaceableFile.h"

#include <filesystem>

#include "core/common/Errors.h"
#include "core/common/ReplacementFile.h"

namespace kest {

void CheckReplaceable(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    auto type = fs::symlink_status(path, ec).type();
    if (type == fs::file_type::not_found || type == fs::file_type::regular) return;
    if (type == fs::file_type::symlink &&
        fs::symlink_status(WriteTarget(path), ec).type() == fs::file_type::regular) {
        return;
    }
    throw err::PathFileAccess();
}

}  // namespace kest
