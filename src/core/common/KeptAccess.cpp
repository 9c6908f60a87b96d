#include "core/common/KeptAccess.h"

#include <sys/stat.h>
#include <sys/types.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

namespace kest {
namespace {

// The attributes worth carrying over: the access list (its mask is the
// group bits of the mode, so it follows the mode) and the user's own, but
// not what Kest noted about the old file itself.
bool Carried(std::string_view name) {
    return (name.starts_with("user.") && !name.starts_with("user.kest.")) ||
           name == "system.posix_acl_access";
}

std::vector<char> AttributeNames(const char* path) {
    std::vector<char> names;
    for (;;) {
        ssize_t size = llistxattr(path, nullptr, 0);
        if (size <= 0) return {};
        names.resize(static_cast<size_t>(size));
        size = llistxattr(path, names.data(), names.size());
        if (size >= 0) {
            names.resize(static_cast<size_t>(size));
            return names;
        }
        if (errno != ERANGE) return {};  // grew in between: ask again
    }
}

void KeepAttributes(const char* from, int to) {
    std::vector<char> names = AttributeNames(from);
    std::vector<char> value;
    for (size_t at = 0; at < names.size();) {
        std::string name(names.data() + at);
        at += name.size() + 1;
        if (!Carried(name)) continue;
        ssize_t size = lgetxattr(from, name.c_str(), nullptr, 0);
        if (size < 0) continue;
        value.resize(static_cast<size_t>(size));
        size = lgetxattr(from, name.c_str(), value.data(), value.size());
        // A file system without the attribute's kind, or a refusal, leaves it out.
        if (size >= 0)
            (void)fsetxattr(to, name.c_str(), value.data(), static_cast<size_t>(size), 0);
    }
}

}  // namespace

void KeepAccess(const std::string& from, int to) {
    struct stat st {};
    if (lstat(from.c_str(), &st) != 0) return;
    // Owner first: a change of owner clears the set-id bits the mode sets.
    if (fchown(to, st.st_uid, st.st_gid) != 0) (void)fchown(to, static_cast<uid_t>(-1), st.st_gid);
    (void)fchmod(to, st.st_mode & 07777);
    KeepAttributes(from.c_str(), to);
}

}  // namespace kest
