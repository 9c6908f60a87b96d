#include "core/scan/DirectoryEntry.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace kest::scan {

bool IsDirectoryEntry(DIR* dir, const dirent* entry) {
    if (entry->d_type != DT_UNKNOWN) return entry->d_type == DT_DIR;
    struct stat st {};
    return fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace kest::scan
