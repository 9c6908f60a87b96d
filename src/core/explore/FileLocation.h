#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/explore/FolderNames.h"

namespace kest::engine {
class Database;
}

namespace kest::explore {

// Where a catalogued file stands in its disc's tree.
struct FileLocation {
    int32_t kestId = 0;
    FolderPath folder;
    std::string name;
    int64_t fileId = 0;
};

// The file row's place; none when the catalog holds no such row.
std::optional<FileLocation> LocateFile(engine::Database& db, int64_t fileId);

}  // namespace kest::explore
