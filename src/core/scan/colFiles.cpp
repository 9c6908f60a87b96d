#include "core/scan/colFiles.h"

#include "core/scan/DirectoryEntry.h"

#include <dirent.h>

#include <vector>

namespace kest::scan {

int64_t colFiles::FindFiles(const std::string& directory, bool recurse) {
    std::string path = directory;
    if (path.empty() || path.back() != '/') path += '/';
    std::vector<std::string> subdirectories;
    if (DIR* dir = opendir(path.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string_view name = entry->d_name;
            if (name == "." || name == "..") continue;
            bool isDirectory = IsDirectoryEntry(dir, entry);
            if (!isDirectory) {
                ++m_count;
            } else if (recurse) {
                subdirectories.push_back(path + entry->d_name + "/");
            }
        }
        closedir(dir);
    }
    for (const std::string& subdirectory : subdirectories) FindFiles(subdirectory, true);
    return m_count;
}

}  // namespace kest::scan
