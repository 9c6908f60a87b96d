#include "ExploreDisc.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "BenchTiming.h"
#include "core/engine/FolderFacts.h"

namespace kest::bench {

ExploreShape ExploreShapeFrom(int argc, char** argv) {
    ExploreShape shape;
    for (int i = 1; i + 1 < argc; ++i) {
        int64_t* target = !std::strcmp(argv[i], "--files")     ? &shape.files
                          : !std::strcmp(argv[i], "--folders") ? &shape.folders
                          : !std::strcmp(argv[i], "--entries") ? &shape.entries
                          : !std::strcmp(argv[i], "--big")     ? &shape.big
                                                               : nullptr;
        if (target) *target = std::stoll(argv[++i]);
    }
    return shape;
}

ExploreDisc MakeExploreDisc(const std::filesystem::path& home, const ExploreShape& shape,
                            std::mt19937_64& random) {
    ExploreDisc disc;
    disc.catalog = (home / "explore.kst").string();
    disc.bigDir = home / "big";
    std::filesystem::remove(disc.catalog);
    std::filesystem::remove_all(disc.bigDir);
    std::filesystem::create_directories(disc.bigDir);
    for (int64_t i = 0; i < shape.big; ++i)
        std::ofstream(disc.bigDir / ("file" + std::to_string(i)));

    // Folders: each under an earlier one, at most 12 deep; the big folder is one of them.
    auto& dirs = disc.dirs;
    dirs = {"big/", "top/"};
    std::vector<int> depth = {1, 1};
    while (static_cast<int64_t>(dirs.size()) < shape.folders) {
        size_t parent = random() % dirs.size();
        if (depth[parent] >= 12 || parent == 0) continue;
        dirs.push_back(dirs[parent] + "d" + std::to_string(dirs.size()) + "/");
        depth.push_back(depth[parent] + 1);
    }
    const std::string create =
        std::string(KEST_CLI_PATH) + " create " + Quote(disc.catalog) + " >/dev/null 2>&1";
    if (std::system(create.c_str()) != 0) throw std::runtime_error("kest-cli create failed");
    disc.db = engine::Database::Open(disc.catalog, "");
    engine::Database& db = *disc.db;
    engine::DropFolderFacts(db.Handle());
    db.Execute("INSERT INTO tblDiscs (DiscSer, DiscLbl, DiscDesc) VALUES ('1', 'BENCH', 'x')");
    db.Begin();
    auto file = db.Prepare(
        "INSERT INTO tblFiles (KestId, FileDir, FileName, FileAtt, FileSize, FileDate) VALUES "
        "(1, ?, ?, 'A', ?, '2001-01-01 00:00:00')");
    auto entry = db.Prepare(
        "INSERT INTO tblSubFiles (KestId, FileId, SubFileDir, SubFileName, SubFileSize) VALUES "
        "(1, ?, ?, ?, 10)");
    const int64_t perFolder = std::max<int64_t>(1, (shape.files - shape.big) / shape.folders);
    int64_t& written = disc.files;
    for (size_t d = 0; d < dirs.size() && written < shape.files; ++d) {
        const int64_t count = d == 0 ? shape.big : perFolder;
        for (int64_t i = 0; i < count && written < shape.files; ++i, ++written) {
            file.Bind(1, dirs[d]);
            const bool archive = d > 0 && disc.entries < shape.entries && i == 0;
            file.Bind(2, (d == 0 ? "file" + std::to_string(i) : "f" + std::to_string(written)) +
                             (archive ? ".zip" : ""));
            file.Bind(3, written);
            file.Run();
            if (!archive) continue;
            const int64_t id = db.LastInsertId();
            for (int e = 0; e < 100; ++e) {
                entry.Bind(1, id);
                entry.Bind(2, e < 50 ? std::string("<root>") : "in/" + std::to_string(e % 5) + "/");
                entry.Bind(3, "e" + std::to_string(e));
                entry.Run();
            }
            disc.entries += 100;
        }
    }
    db.Commit();
    return disc;
}

}  // namespace kest::bench
