#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/explore/FolderNames.h"

namespace kest::explore {

// One folder of a tree: its own files and bytes, and everything below it.
struct FolderNode {
    std::string name;
    int32_t parent = -1;
    int32_t row = 0;                // among its parent's children
    std::vector<int32_t> children;  // in the catalog's text order once finished
    int64_t files = 0, bytes = 0;   // its own files
    int64_t filesBelow = 0, bytesBelow = 0, foldersBelow = 0;  // its own files included
};

// Folders made from paths, each named once under its parent (names compared
// as bytes): a disc's folders or an archive's.
class FolderTree {
  public:
    static constexpr int32_t kRoot = 0;

    FolderTree();
    // The folder at the path, made with the folders above it when missing.
    int32_t Add(const FolderPath& path);
    void Count(int32_t folder, int64_t files, int64_t bytes);
    // Sorts the children and sums the facts below every folder; call once,
    // after the last Add.
    void Finish();
    // A tree read a level at a time instead: a child made after its
    // siblings, and the facts below a folder as they were worked out before.
    int32_t AddChild(int32_t parent, const std::string& name) { return Made(parent, name); }
    void SetFacts(int32_t folder, int64_t filesBelow, int64_t bytesBelow, int64_t foldersBelow);

    std::optional<int32_t> Child(int32_t folder, const std::string& name) const;
    const FolderNode& Node(int32_t folder) const { return m_nodes[static_cast<size_t>(folder)]; }
    size_t Size() const { return m_nodes.size(); }
    FolderPath PathOf(int32_t folder) const;

  private:
    static std::string Key(int32_t parent, const std::string& name);
    int32_t Made(int32_t parent, const std::string& name);

    std::vector<FolderNode> m_nodes;
    std::unordered_map<std::string, int32_t> m_byName;  // parent and name -> folder
    FolderPath m_lastPath;                              // the path last added
    std::vector<int32_t> m_lastChain;                   // and its folders
};

}  // namespace kest::explore
