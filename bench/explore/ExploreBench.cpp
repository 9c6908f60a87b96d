// explore_bench [FOLDER] [--files N] [--folders N] [--entries N] [--big N]: a
// generated disc of N files in N folders (depth up to 12) with archive
// entries, plus one folder of --big files that also exists on disk.
// Prints: the tree's load (first, then from the stored folders), opening folders at the core (worst
// and median), the folder facts' size against the catalog and their build per row against a scan's
// time per file, and kest-cli ls of the big folder against ls -l.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "BenchCatalog.h"
#include "BenchTiming.h"
#include "ExploreDisc.h"
#include "core/engine/Database.h"
#include "core/engine/FolderFacts.h"
#include "core/explore/DiscTree.h"
#include "core/explore/FileReader.h"

namespace {

using Clock = std::chrono::steady_clock;
double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int64_t PageBytes(kest::engine::Database& db) {
    auto count = db.Query("PRAGMA page_count").rows[0][0];
    auto size = db.Query("PRAGMA page_size").rows[0][0];
    return std::get<int64_t>(count) * std::get<int64_t>(size);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kest;
    const bench::ExploreShape shape = bench::ExploreShapeFrom(argc, argv);
    const auto home = bench::BenchHome(argc > 1 && argv[1][0] != '-' ? 2 : 1, argv, "explore");
    std::mt19937_64 random(27);
    bench::ExploreDisc disc = bench::MakeExploreDisc(home, shape, random);
    auto& db = disc.db;
    const auto& dirs = disc.dirs;
    const auto& bigDir = disc.bigDir;
    const int64_t written = disc.files;
    db->Execute("PRAGMA wal_checkpoint(TRUNCATE)");
    const int64_t before = PageBytes(*db);
    auto start = Clock::now();
    engine::BuildFolderFacts(db->Handle());
    const double build = Since(start);
    // The first load works the folders out and stores them, the next ones
    // read the stored root.
    start = Clock::now();
    explore::DiscTree::Load(*db, 1);
    const double firstLoad = Since(start);
    db->Execute("PRAGMA wal_checkpoint(TRUNCATE)");
    const int64_t after = PageBytes(*db);
    start = Clock::now();
    auto tree = explore::DiscTree::Load(*db, 1);
    const double load = Since(start);
    // What a read of the facts by folder-text range would cost the root
    // instead: the root's range is every folder of the disc, summed by its
    // first name.
    start = Clock::now();
    {
        auto select = db->Prepare(std::string("SELECT dir, files, bytes FROM ") +
                                  engine::kFolderFactsTable + " WHERE kest = 1 AND files > 0");
        std::map<std::string, std::pair<int64_t, int64_t>, std::less<>> top;
        std::string scratch;
        while (select.Step()) {
            const std::string_view dir = select.TextView(0, scratch);
            auto& sums = top[std::string(dir.substr(0, dir.find('/')))];
            sums.first += select.Int(1);
            sums.second += select.Int(2);
        }
    }
    const double rangeRoot = Since(start);
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

    const std::string ls = std::string(KEST_CLI_PATH) + " --catalog " + bench::Quote(disc.catalog) +
                           " ls -l 1 big >/dev/null";
    bench::Seconds(ls);  // the first open builds the search index
    auto [ours, native] =
        bench::BestOfBoth(ls, "ls -l " + bench::Quote(bigDir.string()) + " >/dev/null");

    std::printf("disc: %lld files in %zu folders (depth <= 12), %lld archive entries\n",
                static_cast<long long>(written), dirs.size(), static_cast<long long>(disc.entries));
    std::printf(
        "tree load: first after a change (folders worked out and stored) %.1f ms, then %.2f ms\n",
        firstLoad * 1000, load * 1000);
    std::printf("the root by a range read of the facts instead (every folder): %.1f ms\n",
                rangeRoot * 1000);
    std::printf(
        "open a folder (subfolders and first 500 files), 199 random: median %.2f ms, worst %.2f ms "
        "(goal <= 20)\n",
        opens[opens.size() / 2], opens.back());
    std::printf("open the big folder (%lld files, first 500): %.2f ms\n",
                static_cast<long long>(shape.big), biggest);
    std::printf(
        "folder facts and stored folders size: %.2f MB / catalog %.2f MB = %.3f (goal <= 0.10)\n",
        static_cast<double>(after - before) / 1048576.0, static_cast<double>(before) / 1048576.0,
        static_cast<double>(after - before) / static_cast<double>(before));
    // A scan builds the facts of its rows and stores the disc's folders.
    const double facts = build + firstLoad;
    std::printf(
        "folder facts build %.3f s + folders stored %.3f s = %.2f us a row; scan %.2f us a file "
        "(%lld files) = %.3f (goal <= 0.10)\n",
        build, firstLoad, facts * 1e6 / static_cast<double>(written),
        scan * 1e6 / static_cast<double>(shape.big), static_cast<long long>(shape.big),
        (facts / static_cast<double>(written)) / (scan / static_cast<double>(shape.big)));
    std::printf("kest-cli ls -l of %lld files / ls -l: %.1f ms / %.1f ms = %.2f (goal <= 2)\n",
                static_cast<long long>(shape.big), ours * 1000, native * 1000, ours / native);
    return 0;
}
