#include "core/scan/FolderSource.h"

#include <cerrno>

#include "core/common/FileSystemError.h"
#include "core/scan/ContentHashes.h"
#include "core/scan/DirectoryEntry.h"
#include "core/scan/colFiles.h"

namespace kest::scan {

namespace {

// A directory that cannot be listed because it is closed to us or has gone
// contributes nothing; anything else (a failing disc) stops the walk.
bool SkippableListingError(int error) {
    return error == EACCES || error == EPERM || error == ENOENT || error == ENOTDIR;
}

}  // namespace

bool FolderSource::List(const std::string& path, uint64_t /*handle*/,
                        std::vector<WalkEntry>& entries, std::string& reason) {
    Close();
    m_dir = opendir(path.c_str());
    if (!m_dir) {
        int error = errno;
        if (!SkippableListingError(error)) throw FileSystemError(error);
        reason = FileSystemError(error).Description();
        return false;
    }
    errno = 0;
    while (dirent* found = readdir(m_dir)) {
        std::string name = found->d_name;
        if (name == "." || name == "..") continue;
        entries.push_back({std::move(name), IsDirectoryEntry(m_dir, found), 0});
    }
    if (errno != 0) throw FileSystemError(errno);
    return true;
}

void FolderSource::Close() {
    if (m_dir) closedir(m_dir);
    m_dir = nullptr;
}

void FolderSource::ReadFacts(const std::string& fullPath, const WalkEntry& entry,
                             std::string_view relativePath, FileFacts& facts) {
    m_facts.Read(dirfd(m_dir), fullPath, entry.name.c_str(), relativePath, facts);
}

void FolderSource::Hash(ContentHashes& hashes, const WalkEntry& entry, std::string_view storedDir,
                        std::string_view storedName, ScanLog& log) {
    hashes.Add(dirfd(m_dir), entry.name.c_str(), storedDir, storedName, log);
}

std::optional<ArchiveBytes> FolderSource::BytesOf(const std::string& fullPath,
                                                  const WalkEntry& /*entry*/,
                                                  std::string& /*reason*/) {
    return ArchiveBytes{fullPath, {}};
}

int64_t FolderSource::CountFiles(const std::string& root) {
    colFiles files;
    return files.FindFiles(root, true);
}

}  // namespace kest::scan
