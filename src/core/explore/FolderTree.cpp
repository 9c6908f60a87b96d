#include "core/explore/FolderTree.h"

#include <algorithm>

#include "core/text/TextOrder.h"

namespace kest::explore {

FolderTree::FolderTree() : m_nodes(1) {}

std::string FolderTree::Key(int32_t parent, const std::string& name) {
    std::string key(reinterpret_cast<const char*>(&parent), sizeof parent);
    return key + name;
}

int32_t FolderTree::Add(const FolderPath& path) {
    // Folders come sorted by their text, so a path mostly repeats the last
    // one's beginning: its folders are taken from there without a lookup.
    size_t same = 0;
    while (same < path.size() && same < m_lastPath.size() && path[same] == m_lastPath[same]) ++same;
    m_lastPath.resize(same);
    m_lastChain.resize(same);
    int32_t folder = same > 0 ? m_lastChain.back() : kRoot;
    for (size_t i = same; i < path.size(); ++i) {
        folder = Made(folder, path[i]);
        m_lastPath.push_back(path[i]);
        m_lastChain.push_back(folder);
    }
    return folder;
}

int32_t FolderTree::Made(int32_t parent, const std::string& name) {
    auto [it, added] =
        m_byName.try_emplace(Key(parent, name), static_cast<int32_t>(m_nodes.size()));
    if (added) {
        FolderNode node;
        node.name = name;
        node.parent = parent;
        auto& siblings = m_nodes[static_cast<size_t>(parent)].children;
        node.row = static_cast<int32_t>(siblings.size());
        siblings.push_back(it->second);
        m_nodes.push_back(std::move(node));
    }
    return it->second;
}

void FolderTree::SetFacts(int32_t folder, int64_t filesBelow, int64_t bytesBelow,
                          int64_t foldersBelow) {
    FolderNode& node = m_nodes[static_cast<size_t>(folder)];
    node.filesBelow = filesBelow;
    node.bytesBelow = bytesBelow;
    node.foldersBelow = foldersBelow;
}

void FolderTree::Count(int32_t folder, int64_t files, int64_t bytes) {
    FolderNode& node = m_nodes[static_cast<size_t>(folder)];
    node.files += files;
    node.bytes += bytes;
}

void FolderTree::Finish() {
    // Children are made after their parents: summing from the last folder
    // back reaches every folder after all of its children.
    for (auto& node : m_nodes) {
        node.filesBelow = node.files;
        node.bytesBelow = node.bytes;
        node.foldersBelow = 0;
    }
    for (size_t i = m_nodes.size(); i-- > 1;) {
        const FolderNode& node = m_nodes[i];
        FolderNode& parent = m_nodes[static_cast<size_t>(node.parent)];
        parent.filesBelow += node.filesBelow;
        parent.bytesBelow += node.bytesBelow;
        parent.foldersBelow += node.foldersBelow + 1;
    }
    for (auto& node : m_nodes) {
        std::sort(node.children.begin(), node.children.end(), [&](int32_t a, int32_t b) {
            const std::string& x = m_nodes[static_cast<size_t>(a)].name;
            const std::string& y = m_nodes[static_cast<size_t>(b)].name;
            int order = text::CompareText(x, y);
            return order != 0 ? order < 0 : x < y;
        });
        for (size_t row = 0; row < node.children.size(); ++row)
            m_nodes[static_cast<size_t>(node.children[row])].row = static_cast<int32_t>(row);
    }
}

std::optional<int32_t> FolderTree::Child(int32_t folder, const std::string& name) const {
    auto it = m_byName.find(Key(folder, name));
    if (it == m_byName.end()) return std::nullopt;
    return it->second;
}

FolderPath FolderTree::PathOf(int32_t folder) const {
    FolderPath path;
    for (; folder != kRoot; folder = Node(folder).parent) path.push_back(Node(folder).name);
    std::reverse(path.begin(), path.end());
    return path;
}

}  // namespace kest::explore
