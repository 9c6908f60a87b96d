// explore_bench [FOLDER] [--files N] [--folders N] [--entries N] [--big N]: a
// generated disc of N files in N folders (depth up to 12) with archive
// entries, plus one folder of --big files that also exists on disk.
// Prints: the tree's load, opening folders at the core (worst and median),
// the folder facts' size against the catalog and their build per row against
// a scan's time per file, and kest-cli ls of the big folder against ls -l.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "BenchCatalog.h"
#include "BenchTiming.h"
#include "core/engine/Database.h"
#include "core/engine/FolderFacts.h"
#include "core/explore/DiscTree.h"
#include "core/explore/FileReader.h"

namespace {

using Clock = std::chrono::steady_clock;
double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Shape {
    int64_t files = 1000000, folders = 50000, entries = 20000, big = 20000;
};

int64_t PageBytes(kest::engine::Database& db) {
    auto count = db.Query("PRAGMA page_count").rows[0][0];
    auto size = db.Query("PRAGMA page_size").rows[0][0];
    return std::get<int64_t>(count) * std::get<int64_t>(size);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kest;
    Shape shape;
    for (int i = 1; i + 1 < argc; ++i) {
        int64_t* target = !std::strcmp(argv[i], "--files")     ? &shape.files
                          : !std::strcmp(argv[i], "--folders") ? &shape.folders
                          : !std::strcmp(argv[i], "--entries") ? &shape.entries
                          : !std::strcmp(argv[i], "--big")     ? &shape.big
                                                               : nullptr;
        if (target) *target = std::stoll(argv[++i]);
    }
    const auto home = bench::BenchHome(argc > 1 && argv[1][0] != '-' ? 2 : 1, argv, "explore");
    const std::string catalog = (home / "explore.kst").string();
    const auto bigDir = home / "big";
    std::filesystem::remove(catalog);
    std::filesystem::remove_all(bigDir);
    std::filesystem::create_directories(bigDir);
    for (int64_t i = 0; i < shape.big; ++i) std::ofstream(bigDir / ("file" + std::to_string(i)));

    // Folders: each under an earlier one, at most 12 deep; the big folder is one of them.
    std::mt19937_64 random(27);
    std::vector<std::string> dirs = {"big/", "top/"};
    std::vector<int> depth = {1, 1};
    while (static_cast<int64_t>(dirs.size()) < shape.folders) {
        size_t parent = random() % dirs.size();
        if (depth[parent] >= 12 || parent == 0) continue;
        dirs.push_back(dirs[parent] + "d" + std::to_string(dirs.size()) + "/");
        depth.push_back(depth[parent] + 1);
    }
    {
        std::string create =
            std::string(KEST_CLI_PATH) + " create " + bench::Quote(catalog) + " >/dev/null 2>&1";
        if (std::system(create.c_str()) != 0) return 1;
    }
    auto db = engine::Database::Open(catalog, "");
    engine::DropFolderFacts(db->Handle());
    db->Execute("INSERT INTO tblDiscs (DiscSer, DiscLbl, DiscDesc) VALUES ('1', 'BENCH', 'x')");
    db->Begin();
    int64_t written = 0, archives = 0;
    {
        auto file = db->Prepare(
            "INSERT INTO tblFiles (KestId, FileDir, FileName, FileAtt, FileSize, FileDate) VALUES "
            "(1, ?, ?, 'A', ?, '2001-01-01 00:00:00')");
        auto entry = db->Prepare(
            "INSERT INTO tblSubFiles (KestId, FileId, SubFileDir, SubFileName, SubFileSize) VALUES "
            "(1, ?, ?, ?, 10)");
        const int64_t perFolder = std::max<int64_t>(1, (shape.files - shape.big) / shape.folders);
        for (size_t d = 0; d < dirs.size() && written < shape.files; ++d) {
            const int64_t count = d == 0 ? shape.big : perFolder;
            for (int64_t i = 0; i < count && written < shape.files; ++i, ++written) {
                file.Bind(1, dirs[d]);
                const bool archive = d > 0 && archives * 100 < shape.entries && i == 0;
                file.Bind(2, (d == 0 ? "file" + std::to_string(i) : "f" + std::to_string(written)) +
                                 (archive ? ".zip" : ""));
                file.Bind(3, written);
                file.Run();
                if (!archive) continue;
                const int64_t id = db->LastInsertId();
                for (int e = 0; e < 100; ++e) {
                    entry.Bind(1, id);
                    entry.Bind(
                        2, e < 50 ? std::string("<root>") : "in/" + std::to_string(e % 5) + "/");
                    entry.Bind(3, "e" + std::to_string(e));
                    entry.Run();
                }
                ++archives;
            }
        }
    }
    db->Commit();
    db->Execute("PRAGMA wal_checkpoint(TRUNCATE)");
    const int64_t before = PageBytes(*db);
    auto start = Clock::now();
    engine::BuildFolderFacts(db->Handle());
    const double build = Since(start);
    db->Execute("PRAGMA wal_checkpoint(TRUNCATE)");
    const int64_t after = PageBytes(*db);

    start = Clock::now();
    auto tree = explore::DiscTree::Load(*db, 1);
    const double load = Since(start);
    std::vector<double> opens;
    double biggest = 0;
    for (int i = 0; i < 200; ++i) {
        const size_t d = i == 0 ? 0 : random() % dirs.size();
        start = Clock::now();
        auto place = tree->Find(*db, explore::FileDirNames(dirs[d]));
        auto folders = tree->Subfolders(*place);
        std::vector<explore::FileItem> files;
        auto reader = tree->Files(*db, *place, {});
        reader->Next(files, 500);  // a first screenful many times over
        (i == 0 ? biggest : opens.emplace_back()) = Since(start) * 1000;
    }
    std::sort(opens.begin(), opens.end());
    db.reset();

    // A scan's time per file, from kest-cli scan of the big folder.
    const std::string scanHome = (home / "scanhome").string();
    std::filesystem::remove_all(scanHome);
    const std::string cli = std::string(KEST_CLI_PATH) + " --home " + bench::Quote(scanHome);
    std::system(
        (cli + " create " + bench::Quote(scanHome + "/kest001.kst") + " >/dev/null 2>&1").c_str());
    const double scan = bench::Seconds(cli + " --answer Yes --input bench scan " +
                                       bench::Quote(bigDir.string()) + " >/dev/null 2>&1");

    const std::string ls = std::string(KEST_CLI_PATH) + " --catalog " + bench::Quote(catalog) +
                           " ls -l 1 big >/dev/null";
    bench::Seconds(ls);  // the first open builds the search index
    auto [ours, native] =
        bench::BestOfBoth(ls, "ls -l " + bench::Quote(bigDir.string()) + " >/dev/null");

    std::printf("disc: %lld files in %zu folders (depth <= 12), %lld archive entries\n",
                static_cast<long long>(written), dirs.size(),
                static_cast<long long>(archives * 100));
    std::printf("tree load: %.1f ms\n", load * 1000);
    std::printf(
        "open a folder (subfolders and first 500 files), 199 random: median %.2f ms, worst %.2f ms "
        "(goal <= 20)\n",
        opens[opens.size() / 2], opens.back());
    std::printf("open the big folder (%lld files, first 500): %.2f ms\n",
                static_cast<long long>(shape.big), biggest);
    std::printf("folder facts size: %.2f MB / catalog %.2f MB = %.3f (goal <= 0.10)\n",
                static_cast<double>(after - before) / 1048576.0,
                static_cast<double>(before) / 1048576.0,
                static_cast<double>(after - before) / static_cast<double>(before));
    std::printf(
        "folder facts build: %.3f s = %.2f us a row; scan %.2f us a file (%lld files) = %.3f (goal "
        "<= 0.10)\n",
        build, build * 1e6 / static_cast<double>(written),
        scan * 1e6 / static_cast<double>(shape.big), static_cast<long long>(shape.big),
        (build / static_cast<double>(written)) / (scan / static_cast<double>(shape.big)));
    std::printf("kest-cli ls -l of %lld files / ls -l: %.1f ms / %.1f ms = %.2f (goal <= 2)\n",
                static_cast<long long>(shape.big), ours * 1000, native * 1000, ours / native);
    return 0;
}
