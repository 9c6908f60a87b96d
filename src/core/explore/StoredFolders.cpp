#include "core/explore/StoredFolders.h"

#include <sqlite3.h>

#include <algorithm>
#include <deque>

#include "core/common/KestError.h"
#include "core/engine/AsOneUnit.h"
#include "core/engine/Database.h"
#include "core/engine/FolderFacts.h"

namespace kest::explore {

std::vector<StoredFolder> StoredChildren(engine::Database& db, int32_t kestId, int64_t parent) {
    auto select =
        db.Prepare(std::string("SELECT id, name, files, bytes, folders, dir, lo, hi "
                               "FROM ") +
                   engine::kFolderNodesTable + " WHERE kest = ? AND parent = ? ORDER BY id, run");
    select.Bind(1, int64_t{kestId});
    select.Bind(2, parent);
    std::vector<StoredFolder> folders;
    while (select.Step()) {
        if (folders.empty() || folders.back().id != select.Int(0))
            folders.push_back(
                {select.Int(0), select.Text(1), select.Int(2), select.Int(3), select.Int(4), {}});
        if (!select.IsNull(5))
            folders.back().runs.push_back({select.Text(5), select.Int(6), select.Int(7)});
    }
    return folders;
}

bool StoreFolders(engine::Database& db, int32_t kestId, const FolderTree& folders,
                  const std::vector<std::vector<FolderRun>>& runs) {
    if (sqlite3_db_readonly(db.Handle(), "main") == 1) return false;
    try {
        engine::AsOneUnit(db.Handle(), "kest_store_folders", [&] {
            auto insert = db.Prepare(std::string("INSERT INTO ") + engine::kFolderNodesTable +
                                     " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
            insert.Bind(1, int64_t{kestId});
            auto store = [&](int32_t folder, int64_t parent, int64_t id) {
                const FolderNode& node = folders.Node(folder);
                insert.Bind(2, parent);
                insert.Bind(3, id);
                insert.BindView(5, node.name);
                insert.Bind(6, node.filesBelow);
                insert.Bind(7, node.bytesBelow);
                insert.Bind(8, node.foldersBelow);
                const auto& own = runs[static_cast<size_t>(folder)];
                for (size_t run = 0; run < std::max<size_t>(own.size(), 1); ++run) {
                    insert.Bind(4, static_cast<int64_t>(run));
                    if (own.empty()) {
                        for (int p = 9; p <= 11; ++p) insert.BindNull(p);
                    } else {
                        insert.BindView(9, own[run].dir);
                        insert.Bind(10, own[run].lo);
                        insert.Bind(11, own[run].hi);
                    }
                    insert.Run();
                }
            };
            // Level by level: a folder's children get consecutive ids in
            // their shown order.
            store(FolderTree::kRoot, -1, 0);
            int64_t next = 1;
            std::deque<std::pair<int32_t, int64_t>> waiting = {{FolderTree::kRoot, 0}};
            while (!waiting.empty()) {
                const auto [folder, id] = waiting.front();
                waiting.pop_front();
                for (int32_t child : folders.Node(folder).children) {
                    store(child, id, next);
                    waiting.emplace_back(child, next++);
                }
            }
        });
    } catch (const KestError&) {
        return false;
    }
    return true;
}

}  // namespace kest::explore
