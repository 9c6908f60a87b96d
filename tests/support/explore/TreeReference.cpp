#include "support/explore/TreeReference.h"

namespace kest::test {
namespace {

void AddRow(ReferenceTree& tree, const std::vector<std::string>& names, int64_t id, int64_t size) {
    std::vector<std::string> path;
    for (size_t depth = 0; depth <= names.size(); ++depth) {
        ReferenceFolder& folder = tree[path];
        folder.files += 1;
        folder.bytes += size;
        if (depth == names.size()) {
            folder.fileIds.insert(id);
            break;
        }
        folder.subfolders.insert(names[depth]);
        path.push_back(names[depth]);
    }
}

void CountFolders(ReferenceTree& tree) {
    for (auto& [path, folder] : tree) {
        folder.folders = 0;
        for (const auto& [other, unused] : tree)
            if (other.size() > path.size() && std::equal(path.begin(), path.end(), other.begin()))
                ++folder.folders;
    }
}

ReferenceTree FromRows(const engine::Rows& rows, bool archive) {
    ReferenceTree tree;
    tree[{}];
    for (const auto& row : rows.rows)
        AddRow(tree, ReferenceNames(std::get<std::string>(row[1]), archive),
               std::get<int64_t>(row[0]), engine::IsNull(row[2]) ? 0 : std::get<int64_t>(row[2]));
    CountFolders(tree);
    return tree;
}

}  // namespace

std::vector<std::string> ReferenceNames(const std::string& dir, bool archive) {
    std::vector<std::string> names;
    if (dir == "<root>") return names;
    std::string name;
    for (size_t i = 0; i < dir.size(); ++i) {
        const bool separator = dir[i] == '/' || (archive && dir[i] == '\\');
        if (!separator) {
            name += dir[i];
            continue;
        }
        if (i == 0) names.push_back("/");
        if (!name.empty()) names.push_back(name);
        name.clear();
    }
    if (!name.empty()) names.push_back(name);
    return names;
}

ReferenceTree DiscReference(engine::Database& db, int64_t kestId) {
    return FromRows(db.Query("SELECT FileId, FileDir, FileSize FROM tblFiles WHERE KestId = " +
                             std::to_string(kestId)),
                    false);
}

ReferenceTree ArchiveReference(engine::Database& db, int64_t fileId) {
    return FromRows(db.Query("SELECT SubFileId, SubFileDir, SubFileSize FROM tblSubFiles WHERE "
                             "FileId = " +
                             std::to_string(fileId)),
                    true);
}

}  // namespace kest::test
