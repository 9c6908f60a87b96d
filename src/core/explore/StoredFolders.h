#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/explore/FolderTree.h"
#include "core/explore/TreeItems.h"

namespace kest::engine {
class Database;
}

namespace kest::explore {

// A folder as the catalog stores it for the disc tree (the folder facts'
// engine-internal nodes table): what a window shows of it without reading
// anything below it.
struct StoredFolder {
    int64_t id = 0;
    std::string name;
    int64_t files = 0, bytes = 0, folders = 0;  // below it, its own included
    std::vector<FolderRun> runs;
};

// The root of a disc as stored (parent -1), or a stored folder's children in
// their shown order; none when the disc's folders are not stored (never
// explored since its last change).
std::vector<StoredFolder> StoredChildren(engine::Database& db, int32_t kestId, int64_t parent);

// Stores a disc's finished tree and each folder's runs (by folder), ids
// given level by level so that siblings follow their shown order. False
// (nothing stored) when the catalog cannot be written now: a read-only file,
// a full disk.
bool StoreFolders(engine::Database& db, int32_t kestId, const FolderTree& folders,
                  const std::vector<std::vector<FolderRun>>& runs);

}  // namespace kest::explore
