#include "core/discfacts/FileHashes.h"

#include "core/engine/AsOneUnit.h"
#include "core/engine/Database.h"
#include "core/engine/DiscFactsTables.h"

namespace kest::discfacts {

void StoreFileHashes(engine::Database& db, int64_t kestId, const std::vector<FileHash>& hashes) {
    if (hashes.empty()) return;
    engine::CreateDiscFactsTables(db);
    engine::AsOneUnit(db.Handle(), "kest_file_hashes", [&] {
        auto insert = db.Prepare(
            "INSERT OR REPLACE INTO _kest_file_hashes (FileId, KestId, xxh3) VALUES (?, ?, ?)");
        for (const FileHash& hash : hashes) {
            insert.Reset();
            insert.Bind(1, hash.fileId);
            insert.Bind(2, kestId);
            insert.Bind(3, hash.xxh3);
            insert.Run();
        }
    });
}

std::string FileHashOf(engine::Database& db, int64_t fileId) {
    if (!engine::HasDiscFactsTables(db)) return {};
    auto row = db.Prepare("SELECT xxh3 FROM _kest_file_hashes WHERE FileId = ?");
    row.Bind(1, fileId);
    return row.Step() ? row.Text(0) : std::string();
}

}  // namespace kest::discfacts
