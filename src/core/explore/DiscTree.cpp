#include "core/explore/DiscTree.h"

#include "core/engine/Database.h"
#include "core/engine/FolderFacts.h"
#include "core/explore/ArchiveContents.h"
#include "core/explore/FileReader.h"
#include "core/explore/StoredFolders.h"

namespace kest::explore {
namespace {

// The stored folder texts of a disc with their facts: from the folder facts,
// or (when they cannot be read: a read-only catalog whose facts were never
// built) from its rows.
engine::Statement FolderFactRows(engine::Database& db, int32_t kestId) {
    auto select =
        engine::FolderFactsUsable(db.Handle())
            ? db.Prepare(std::string("SELECT dir, files, bytes, lo, hi FROM ") +
                         engine::kFolderFactsTable + " WHERE kest = ? AND files > 0")
            : db.Prepare(
                  "SELECT FileDir, count(*), sum(CAST(ifnull(FileSize, 0) AS INTEGER)), "
                  "min(FileId), max(FileId) FROM tblFiles WHERE KestId = ? AND FileDir IS NOT "
                  "NULL GROUP BY FileDir COLLATE BINARY");
    select.Bind(1, int64_t{kestId});
    return select;
}

const char* OrderField(FileColumn column) {
    switch (column) {
        case FileColumn::Size:
            return "FileSize";
        case FileColumn::Date:
            return "FileDate";
        case FileColumn::Attributes:
            return "FileAtt";
        case FileColumn::Description:
            return "FileDesc";
        default:
            return "FileName";
    }
}

// The rows of a folder: within each stored text of the folder, by counter (a
// scan wrote the folder's files as one run). KestId is no index key here
// (+): the counter range is the narrower way in. Binds the disc as the first
// parameter and each text after it; gives the next parameter's number.
std::string RunsCondition(const std::vector<FolderRun>& runs) {
    std::string sql = "+KestId = ? AND (";
    for (size_t i = 0; i < runs.size(); ++i)
        sql += std::string(i ? " OR " : "") + "(FileId BETWEEN " + std::to_string(runs[i].lo) +
               " AND " + std::to_string(runs[i].hi) + " AND FileDir = ? COLLATE BINARY)";
    return sql + ")";
}

int BindRuns(engine::Statement& select, int32_t kestId, const std::vector<FolderRun>& runs) {
    select.Bind(1, int64_t{kestId});
    int p = 2;
    for (const auto& run : runs) select.BindView(p++, run.dir);
    return p;
}

}  // namespace

std::optional<DiscTree> DiscTree::Load(engine::Database& db, int32_t kestId) {
    auto disc = db.Prepare(
        "SELECT DiscSer, DiscFSys, DiscLbl, DiscDesc, DiscNumF FROM tblDiscs WHERE KestId = ?");
    disc.Bind(1, int64_t{kestId});
    if (!disc.Step()) return std::nullopt;
    DiscTree tree;
    tree.m_disc = {kestId, disc.Text(0), disc.Text(1), disc.Text(2), disc.Text(3), disc.Int(4)};
    const bool stored = engine::FolderFactsUsable(db.Handle());
    auto root = stored ? StoredChildren(db, kestId, -1) : std::vector<StoredFolder>();
    if (root.empty()) {
        tree.LoadFromFacts(db);
        if (stored) StoreFolders(db, kestId, tree.m_folders, tree.m_runs);
        return tree;
    }
    tree.m_folders.SetFacts(FolderTree::kRoot, root[0].files, root[0].bytes, root[0].folders);
    tree.m_runs = {std::move(root[0].runs)};
    tree.m_unread = {root[0].folders > 0 ? root[0].id : -1};
    return tree;
}

void DiscTree::LoadFromFacts(engine::Database& db) {
    auto folders = FolderFactRows(db, m_disc.kestId);
    while (folders.Step()) {
        std::string dir = folders.Text(0);
        int32_t folder = m_folders.Add(FileDirNames(dir));
        m_folders.Count(folder, folders.Int(1), folders.Int(2));
        if (m_runs.size() <= static_cast<size_t>(folder))
            m_runs.resize(static_cast<size_t>(folder) + 1);
        m_runs[static_cast<size_t>(folder)].push_back(
            {std::move(dir), folders.Int(3), folders.Int(4)});
    }
    m_folders.Finish();
    m_runs.resize(m_folders.Size());
    m_unread.assign(m_folders.Size(), -1);
}

void DiscTree::ReadSubfolders(engine::Database& db, int32_t folder) {
    const int64_t id = m_unread[static_cast<size_t>(folder)];
    if (id < 0) return;
    for (auto& child : StoredChildren(db, m_disc.kestId, id)) {
        const auto made = static_cast<size_t>(m_folders.AddChild(folder, child.name));
        m_folders.SetFacts(static_cast<int32_t>(made), child.files, child.bytes, child.folders);
        m_runs.resize(m_folders.Size());
        m_unread.resize(m_folders.Size(), -1);
        m_runs[made] = std::move(child.runs);
        m_unread[made] = child.folders > 0 ? child.id : -1;
    }
    m_unread[static_cast<size_t>(folder)] = -1;
}

void StoreDiscFolders(engine::Database& db, int32_t kestId) {
    if (engine::FolderFactsUsable(db.Handle())) DiscTree::Load(db, kestId);
}

void StoreMissingFolders(engine::Database& db,
                         const std::function<void(int64_t done, int64_t total)>& progress) {
    if (!engine::FolderFactsUsable(db.Handle())) return;
    const std::string facts = engine::kFolderFactsTable;
    auto select = db.Prepare("SELECT KestId, (SELECT count(*) FROM " + facts +
                             " WHERE kest = KestId) FROM tblDiscs WHERE NOT EXISTS (SELECT 1 "
                             "FROM " +
                             std::string(engine::kFolderNodesTable) +
                             " WHERE kest = KestId AND parent = -1)");
    std::vector<std::pair<int32_t, int64_t>> discs;
    int64_t total = 0, done = 0;
    while (select.Step()) {
        discs.emplace_back(static_cast<int32_t>(select.Int(0)), select.Int(1));
        total += select.Int(1);
    }
    for (const auto& [kestId, texts] : discs) {
        DiscTree::Load(db, kestId);
        // Not stored (a full disk): the rest waits for another open.
        if (StoredChildren(db, kestId, -1).empty()) return;
        done += texts;
        if (progress) progress(done, total);
    }
}

bool DiscTree::DiscExists(engine::Database& db) const {
    auto disc = db.Prepare("SELECT KestId FROM tblDiscs WHERE KestId = ?");
    disc.Bind(1, int64_t{m_disc.kestId});
    return disc.Step();
}

std::optional<Place> DiscTree::Find(engine::Database& db, const FolderPath& path) {
    Place place;
    place.path = path;
    size_t i = 0;
    for (; i < path.size(); ++i) {
        ReadSubfolders(db, place.folder);
        auto child = m_folders.Child(place.folder, path[i]);
        if (!child) break;
        place.folder = *child;
    }
    if (i == path.size()) {
        ReadSubfolders(db, place.folder);
        return place;
    }
    auto archive = ArchiveIn(db, place.folder, path[i]);
    if (!archive) return std::nullopt;
    place.archive = *archive;
    place.archiveName = path[i];
    const auto contents = Archive(db, *archive);
    for (++i; i < path.size(); ++i) {
        auto child = contents->folders.Child(place.archiveFolder, path[i]);
        if (!child) return std::nullopt;
        place.archiveFolder = *child;
    }
    return place;
}

std::vector<FolderItem> DiscTree::Subfolders(const Place& place) const {
    const FolderTree& folders = place.archive ? m_archives.at(*place.archive)->folders : m_folders;
    const int32_t at = place.archive ? place.archiveFolder : place.folder;
    std::vector<FolderItem> items;
    for (int32_t child : folders.Node(at).children) {
        const FolderNode& node = folders.Node(child);
        items.push_back({node.name, node.filesBelow, node.bytesBelow, node.foldersBelow});
    }
    return items;
}

FolderItem DiscTree::Facts(const Place& place) const {
    const FolderTree& folders = place.archive ? m_archives.at(*place.archive)->folders : m_folders;
    const FolderNode& node = folders.Node(place.archive ? place.archiveFolder : place.folder);
    std::string name = place.path.empty() ? std::string() : place.path.back();
    return {name, node.filesBelow, node.bytesBelow, node.foldersBelow};
}

std::unique_ptr<FileReader> DiscTree::Files(engine::Database& db, const Place& place,
                                            FileOrder order, int64_t skip) {
    if (place.archive) {
        const auto contents = Archive(db, *place.archive);
        std::vector<FileItem> entries;
        for (size_t i : contents->entriesOf[static_cast<size_t>(place.archiveFolder)])
            entries.push_back(contents->entries[i]);
        return ListReader(std::move(entries), order, skip);
    }
    const auto& runs = m_runs[static_cast<size_t>(place.folder)];
    if (runs.empty()) return ListReader({}, order, 0);
    auto select = db.Prepare(
        "SELECT FileId, FileDir, FileName, FileAtt, FileSize, FileDate, FileDesc, EXISTS (SELECT "
        "1 FROM tblSubFiles WHERE tblSubFiles.FileId = tblFiles.FileId) FROM tblFiles WHERE " +
        RunsCondition(runs) + " ORDER BY " + OrderField(order.column) +
        (order.descending ? " DESC" : "") + ", FileId LIMIT -1 OFFSET " + std::to_string(skip));
    BindRuns(select, m_disc.kestId, runs);
    return StatementReader(std::move(select));
}

std::optional<int64_t> DiscTree::ArchiveIn(engine::Database& db, int32_t folder,
                                           const std::string& name) {
    const auto& runs = m_runs[static_cast<size_t>(folder)];
    if (runs.empty()) return std::nullopt;
    auto select = db.Prepare("SELECT FileId FROM tblFiles WHERE " + RunsCondition(runs) +
                             " AND FileName = ? COLLATE BINARY AND EXISTS (SELECT 1 FROM "
                             "tblSubFiles WHERE tblSubFiles.FileId = tblFiles.FileId) ORDER BY "
                             "FileId LIMIT 1");
    select.BindView(BindRuns(select, m_disc.kestId, runs), name);
    if (!select.Step()) return std::nullopt;
    return select.Int(0);
}

std::shared_ptr<const ArchiveContents> DiscTree::Archive(engine::Database& db, int64_t fileId) {
    auto& cached = m_archives[fileId];
    if (!cached)
        cached = std::make_shared<const ArchiveContents>(LoadArchive(db, m_disc.kestId, fileId));
    return cached;
}

}  // namespace kest::explore
