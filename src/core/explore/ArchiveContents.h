#pragma once

#include <cstdint>
#include <vector>

#include "core/explore/FolderTree.h"
#include "core/explore/TreeItems.h"

namespace kest::engine {
class Database;
}

namespace kest::explore {

// An archive file's entries as folders (from each entry's SubFileDir, taken
// as it is: an absolute or ".." path is shown, never resolved) and files.
struct ArchiveContents {
    FolderTree folders;
    std::vector<FileItem> entries;
    std::vector<std::vector<size_t>> entriesOf;  // by folder, into entries
};

// The entries of the file row fileId of disc kestId.
ArchiveContents LoadArchive(engine::Database& db, int32_t kestId, int64_t fileId);

}  // namespace kest::explore
