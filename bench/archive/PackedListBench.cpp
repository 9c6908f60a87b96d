// Lists a .7z and a .tar.xz of N files (100,000 unless given: packed_list_bench N)
// with `kest-cli list-archive` and with `bsdtar -tvf` and 7-Zip on the same
// files, and prints the ratios (below 1: Kest is faster). Each command runs
// as a process, its listing to /dev/null; the best of five runs, in turns.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "BenchTiming.h"
#include "BenchTree.h"

namespace {

namespace fs = std::filesystem;
using kest::bench::Quote;

// sevenZip is 7-Zip's command that lists the same entries: `7z l` alone
// lists a .tar.xz as the one .tar inside it, without reading it.
void Compare(const std::string& archive, const std::string& sevenZip) {
    const std::string ours =
        Quote(KEST_CLI_PATH) + " list-archive " + Quote(archive) + " >/dev/null";
    auto [kestBsd, bsdtar] =
        kest::bench::BestOfBoth(ours, "bsdtar -tvf " + Quote(archive) + " >/dev/null 2>&1");
    auto [kest7z, sevenZipTime] = kest::bench::BestOfBoth(ours, sevenZip + " >/dev/null 2>&1");
    const double kest = std::min(kestBsd, kest7z);
    std::printf("%s: kest-cli %.0f ms, bsdtar -tvf %.0f ms, %s %.0f ms\n",
                fs::path(archive).filename().c_str(), kest * 1000, bsdtar * 1000,
                sevenZip.substr(0, sevenZip.find(" '")).c_str(), sevenZipTime * 1000);
    std::printf("  ratio kest / bsdtar -tvf: %.2f (goal <= 1.1)\n", kest / bsdtar);
    std::printf("  ratio kest / 7z: %.2f (goal <= 1.0)\n", kest / sevenZipTime);
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 100'000;
    if (!kest::bench::RunShell(
            "command -v bsdtar >/dev/null && command -v 7z >/dev/null && command -v xz "
            ">/dev/null")) {
        std::printf("bsdtar, 7z or xz is missing: no baseline\n");
        return 1;
    }
    const fs::path work = fs::temp_directory_path() / "kest-bench-packed";
    fs::remove_all(work);
    kest::bench::MakeSmallFiles(work / "tree", count);
    const std::string tree = Quote((work / "tree").string());
    const std::string sevenZip = (work / "files.7z").string();
    const std::string tarXz = (work / "files.tar.xz").string();
    if (!kest::bench::RunShell("cd " + tree + " && 7z a -bd " + Quote(sevenZip) +
                               " . >/dev/null") ||
        !kest::bench::RunShell("tar -C " + tree + " -cJf " + Quote(tarXz) + " .")) {
        std::printf("making the archives failed\n");
        return 1;
    }
    std::printf("%d files\n", count);
    Compare(sevenZip, "7z l " + Quote(sevenZip));
    Compare(tarXz, "xz -dc " + Quote(tarXz) + " | 7z l -si -ttar");
    fs::remove_all(work);
    return 0;
}
