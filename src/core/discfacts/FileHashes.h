#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kest::engine {
class Database;
}

namespace kest::discfacts {

// A file's content hash: 32 hexadecimal digits of its 128-bit XXH3.
struct FileHash {
    int64_t fileId = 0;
    std::string xxh3;
};

// Adds (or replaces) the hashes of a disc's files as one unit.
void StoreFileHashes(engine::Database& db, int64_t kestId, const std::vector<FileHash>& hashes);
// The hash of one file; "" when it has none.
std::string FileHashOf(engine::Database& db, int64_t fileId);

}  // namespace kest::discfacts
