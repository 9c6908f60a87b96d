#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kest::engine {
class Database;
}

namespace kest::discfacts {

// Which files count as copies of each other: the same name (without regard
// to ASCII case, as the catalog's name column compares) and size, and
// optionally the same date; files whose content hash is known are copies
// when their hashes are equal, whatever their names. discs: only these
// discs' files take part (all discs when not given).
struct CopyRule {
    bool sameDate = false;
    bool byHash = true;
    std::optional<std::set<int64_t>> discs;
};

// One file of the catalog as the lists show it.
struct CatalogFile {
    int64_t fileId = 0;
    int64_t kestId = 0;
    std::string folder;  // FileDir, "<root>" for the root
    std::string name;
    int64_t size = 0;
    std::string date;  // as stored, "YYYY-MM-DD HH:MM:SS"
};

// Files that are copies of each other, in the order of their discs and
// folders. waste: the space the extra copies take.
struct DuplicateGroup {
    std::string name;  // the first copy's
    int64_t size = 0;
    std::string hash;  // the content hash when the group was found by it
    std::vector<CatalogFile> copies;
    int64_t Waste() const { return size * static_cast<int64_t>(copies.size() - 1); }
};

// Every group of two or more copies, largest waste first (then by name and
// size).
std::vector<DuplicateGroup> FindDuplicates(engine::Database& db, const CopyRule& rule);

// The files (by the same rule) that exist on exactly one of the chosen
// discs: what losing that disc would lose. Several copies on that one disc
// are all listed. In the order of disc, folder and name.
std::vector<CatalogFile> FilesOnOneDisc(engine::Database& db, const CopyRule& rule);

}  // namespace kest::discfacts
