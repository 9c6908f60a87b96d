#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/engine/Database.h"

namespace kest::test {

// A disc's folders worked out straight from its rows, char by char, to
// compare the tree service with.
struct ReferenceFolder {
    int64_t files = 0, bytes = 0, folders = 0;  // below, its own files included
    std::set<std::string> subfolders;
    std::set<int64_t> fileIds;  // its own
};
using ReferenceTree = std::map<std::vector<std::string>, ReferenceFolder>;

// The names of a stored folder text: "<root>" is the root, empty names are
// dropped, a leading separator is a folder "/"; archives also split on "\".
std::vector<std::string> ReferenceNames(const std::string& dir, bool archive);

ReferenceTree DiscReference(engine::Database& db, int64_t kestId);
ReferenceTree ArchiveReference(engine::Database& db, int64_t fileId);

}  // namespace kest::test
