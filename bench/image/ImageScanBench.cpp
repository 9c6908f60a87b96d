// Scans an ISO 9660 image of N files (100,000 unless given: image_scan_bench N),
// made by xorriso with Rock Ridge and Joliet from a generated tree, with
// `kest-cli scan --image` (no estimate, search index kept) and lists it with
// `bsdtar -tvf`, and prints the ratio (goal: at most 1.5). The best of five
// runs each, in turns; a fresh catalog before every run, untimed.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "BenchTiming.h"
#include "BenchTree.h"

namespace fs = std::filesystem;
using kest::bench::Quote;

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 100'000;
    if (!kest::bench::RunShell("command -v bsdtar >/dev/null && command -v xorriso >/dev/null")) {
        std::printf("bsdtar or xorriso is missing: no baseline\n");
        return 1;
    }
    const fs::path work = fs::temp_directory_path() / "kest-bench-image";
    fs::remove_all(work);
    kest::bench::MakeSmallFiles(work / "tree", count);
    const std::string image = Quote((work / "files.iso").string());
    if (!kest::bench::RunShell("xorriso -as mkisofs -quiet -R -J -o " + image + " " +
                               Quote((work / "tree").string()) + " 2>/dev/null")) {
        std::printf("making the image failed\n");
        return 1;
    }
    fs::remove_all(work / "tree");
    const fs::path home = work / "home";
    fs::create_directories(home);
    std::ofstream(home / "Kest.ini") << "[Scan_Options]\nEst_B4_Scan=False\n[Sounds]\nPlay=False\n";
    const std::string cli = Quote(KEST_CLI_PATH) + " --home " + Quote(home.string());
    const std::string catalog = Quote((home / "bench.kst").string());
    const std::string fresh =
        "rm -f " + catalog + " && " + cli + " create " + catalog + " >/dev/null 2>&1";
    const std::string scan =
        cli + " --catalog " + catalog + " --input bench scan --image " + image + " >/dev/null 2>&1";
    auto [kest, bsdtar] =
        kest::bench::BestOfBoth(scan, "bsdtar -tvf " + image + " >/dev/null 2>&1", 5, fresh);
    std::printf("%d files\nkest-cli scan --image: %.0f ms\nbsdtar -tvf: %.0f ms\n", count,
                kest * 1000, bsdtar * 1000);
    std::printf("ratio kest / bsdtar -tvf: %.2f (goal <= 1.5)\n", kest / bsdtar);
    fs::remove_all(work);
    return 0;
}
