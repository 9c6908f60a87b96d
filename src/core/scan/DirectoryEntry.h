#pragma once

#include <dirent.h>

namespace kest::scan {

// Whether a listed entry is a directory itself; a symbolic link never is.
// Asks the file system only when the listing does not say.
bool IsDirectoryEntry(DIR* dir, const dirent* entry);

}  // namespace kest::scan
