#include "core/common/KeptOriginal.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/common/FileSystemError.h"
#include "core/common/ReplacementFile.h"

namespace kest {
namespace {

std::string KeptName(const std::string& path, int number) {
    return path + ".damaged" + (number == 1 ? "" : "." + std::to_string(number));
}

// A copy at name, only when nothing (not even a link) is there.
bool CopyTo(const std::string& path, const std::string& name) {
    struct stat st {};
    if (lstat(name.c_str(), &st) == 0) return false;
    ReplacementFile copy(name);
    copy.CopyFrom(path);
    return copy.PlaceIfAbsent();
}

}  // namespace

std::string KeepOriginal(const std::string& path) {
    for (int number = 1;; ++number) {
        std::string name = KeptName(path, number);
        // A new name never replaces an existing one, nor follows a link.
        if (link(path.c_str(), name.c_str()) == 0) return name;
        if (errno == EEXIST) continue;
        if (errno != EPERM && errno != EMLINK && errno != ENOTSUP && errno != EOPNOTSUPP)
            throw FileSystemError(errno);
        if (CopyTo(path, name)) return name;
    }
}

}  // namespace kest
