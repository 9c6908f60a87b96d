#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/explore/FolderTree.h"
#include "core/explore/TreeItems.h"

namespace kest::engine {
class Database;
}

namespace kest::explore {

class FileReader;
struct ArchiveContents;

// A catalogued disc as a folder tree: its folders with the files, bytes and
// folders below each, each folder's files read from the catalog when listed,
// and an archive file opened as a folder of its entries. The folders come
// from the engine-internal stored folders a level at a time (opening the
// root reads the root's children, whatever the disc's size); a disc not
// explored since its last change has them worked out from the folder facts
// (one row per stored folder text, not the disc's file rows) and stored.
class DiscTree {
  public:
    // The disc's tree; none when the catalog holds no disc of that id.
    static std::optional<DiscTree> Load(engine::Database& db, int32_t kestId);

    const DiscInfo& Disc() const { return m_disc; }
    const FolderTree& Folders() const { return m_folders; }

    // Where a path leads: a folder of the disc, an archive file of a folder
    // (its entries at the top) or a folder inside one, the subfolders of the
    // folders on the way read. None when no folder or archive has that path.
    std::optional<Place> Find(engine::Database& db, const FolderPath& path);
    // Reads a folder's subfolders into Folders() unless they are there.
    void ReadSubfolders(engine::Database& db, int32_t folder);

    // The place's subfolders in the catalog's text order, with their facts.
    std::vector<FolderItem> Subfolders(const Place& place) const;
    // The place's files, read as they are asked for (a folder of 100,000
    // files is not read whole to show its first screen), in the order given,
    // from the skip-th on (a window that let go of its reader goes on).
    std::unique_ptr<FileReader> Files(engine::Database& db, const Place& place, FileOrder order,
                                      int64_t skip = 0);
    // The facts of the place itself: the disc's folder, or the archive's.
    FolderItem Facts(const Place& place) const;

    // Whether the disc is still in the catalog (it may be deleted while shown).
    bool DiscExists(engine::Database& db) const;

  private:
    DiscTree() = default;
    void LoadFromFacts(engine::Database& db);
    std::shared_ptr<const ArchiveContents> Archive(engine::Database& db, int64_t fileId);
    std::optional<int64_t> ArchiveIn(engine::Database& db, int32_t folder, const std::string& name);

    DiscInfo m_disc;
    FolderTree m_folders;
    std::vector<std::vector<FolderRun>> m_runs;  // by folder
    std::vector<int64_t> m_unread;  // by folder: its stored id while its subfolders are unread
    std::map<int64_t, std::shared_ptr<const ArchiveContents>> m_archives;
};

// Works out and stores a disc's folders unless they are stored (or the
// facts are incomplete), so that its first exploring reads them; a scan
// calls it at its end.
void StoreDiscFolders(engine::Database& db, int32_t kestId);
// The same for every disc that lacks them (a catalog from before them, a
// disc whose files were changed by other means), at a catalog's open;
// progress gets (folder texts done, to do) after each disc.
void StoreMissingFolders(engine::Database& db,
                         const std::function<void(int64_t done, int64_t total)>& progress);

}  // namespace kest::explore
