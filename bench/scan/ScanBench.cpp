// Times `kest-cli scan` (no estimate, search index kept) over a tree of
// 200,000 files against `find ROOT -printf '%P %s %T@ %m\n'` on the same warm
// tree and prints the ratio (goal: at most 1.2). The best of five runs counts
// for each; the runs take turns, so that a busy moment of a shared machine
// does not fall on one side only. The processor time (user and system, all
// threads) is printed too: on a machine other work keeps busy, it is the
// steadier figure. Last, the processor time of indexing the scanned rows for
// search (the index is dropped from a copy and built again) tells the index's
// share.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/resource.h>

#include "BenchTiming.h"
#include "core/engine/Database.h"
#include "core/engine/SearchIndex.h"

namespace {

namespace fs = std::filesystem;
using kest::bench::Quote;

constexpr int kFolders = 200;
constexpr int kFilesPerFolder = 1000;
constexpr int kRuns = 5;

void MakeTree(const fs::path& root) {
    if (fs::exists(root / "done")) return;
    for (int folder = 0; folder < kFolders; ++folder) {
        fs::path dir =
            root / ("folder" + std::to_string(folder / 20)) / ("sub" + std::to_string(folder));
        fs::create_directories(dir);
        for (int file = 0; file < kFilesPerFolder; ++file) {
            std::ofstream(dir / ("file" + std::to_string(file) + ".txt")) << file;
        }
    }
    std::ofstream(root / "done") << "";
}

struct Took {
    double wall = 1e9, cpu = 1e9;
    void KeepBest(const Took& run) {
        wall = std::min(wall, run.wall);
        cpu = std::min(cpu, run.cpu);
    }
};

double Cpu(int who) {
    rusage usage{};
    getrusage(who, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

Took Time(const std::string& command) {
    double cpuBefore = Cpu(RUSAGE_CHILDREN);
    auto start = std::chrono::steady_clock::now();
    int status = std::system(command.c_str());
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (status != 0) {
        std::fprintf(stderr, "failed (%d): %s\n", status, command.c_str());
        std::exit(1);
    }
    return {took.count(), Cpu(RUSAGE_CHILDREN) - cpuBefore};
}

}  // namespace

int main() {
    fs::path base = fs::temp_directory_path() / "kest-scan-bench";
    fs::path tree = base / "tree";
    fs::path home = base / "home";
    MakeTree(tree);
    fs::create_directories(home);
    std::ofstream(home / "Kest.ini") << "[Drives]\nShow_Non-Optical_Warning=False\n"
                                        "[Scan_Options]\nEst_B4_Scan=False\n"
                                        "[Sounds]\nPlay=False\n";
    std::string cli = std::string(KEST_CLI_PATH) + " --home " + Quote(home.string());
    std::string catalog = (home / "bench.kst").string();

    std::string find = "find " + Quote(tree.string()) + " -printf '%P %s %T@ %m\\n' > /dev/null";
    Time(find);  // warm the tree
    Took bare, scan;
    for (int run = 0; run < kRuns; ++run) {
        bare.KeepBest(Time(find));
        fs::remove(catalog);
        Time(cli + " create " + Quote(catalog) + " > /dev/null 2>&1");
        scan.KeepBest(Time(cli + " --catalog " + Quote(catalog) + " --input bench scan " +
                           Quote(tree.string()) + " > /dev/null 2>&1"));
    }
    std::printf(
        "files: %d\nfind: %.3f s (processor %.3f s)\nkest-cli scan: %.3f s (processor %.3f s)\n"
        "ratio: %.2f (processor %.2f; goal 1.2)\n",
        kFolders * kFilesPerFolder, bare.wall, bare.cpu, scan.wall, scan.cpu, scan.wall / bare.wall,
        scan.cpu / bare.cpu);

    std::string copy = (home / "unindexed.kst").string();
    double index = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        fs::copy_file(catalog, copy, fs::copy_options::overwrite_existing);
        auto db = kest::engine::Database::Open(copy, "");
        kest::engine::DropSearchIndex(db->Handle());
        double before = Cpu(RUSAGE_SELF);
        db->BuildSearchIndex();
        index = std::min(index, Cpu(RUSAGE_SELF) - before);
    }
    fs::remove(copy);
    std::printf(
        "search index of the scanned rows: processor %.3f s (%.0f%% of the scan's); "
        "without it the processor ratio would be %.2f\n",
        index, 100 * index / scan.cpu, (scan.cpu - index) / bare.cpu);
    return 0;
}
