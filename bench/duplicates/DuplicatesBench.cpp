// Builds a catalog of FILES files (default 1,000,000) on 10 discs whose names
// repeat every 45% of the files (a seventh of the copies a byte larger), and
// prints the time of "kest-cli duplicates" against the sqlite3 shell's
// "GROUP BY FileName, FileSize HAVING COUNT(*) > 1" over it (goals: at most
// 2 s, and at most 1.2 times the shell), then "kest-cli single-copy" (goal:
// at most 1 s). Best of five runs, in turns. Usage: duplicates_bench [HOME]
// [FILES].
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "BenchCatalog.h"
#include "BenchTiming.h"

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    using kest::bench::Quote;
    fs::path home = kest::bench::BenchHome(argc, argv, "kest-duplicates-bench");
    const int64_t files = argc > 2 ? std::atoll(argv[2]) : 1000000;
    fs::path catalog = home / ("dups" + std::to_string(files) + ".kst");
    if (!fs::exists(catalog)) {
        std::printf("building %lld files in %s\n", static_cast<long long>(files), catalog.c_str());
        kest::bench::BuildCatalog(catalog.string(), {files, 10, 0, files * 45 / 100});
    }
    const std::string cli = std::string(KEST_CLI_PATH) + " --home " + Quote(home.string()) +
                            " --catalog " + Quote(catalog.string()) + " ";
    const std::string native =
        "sqlite3 " + Quote(catalog.string()) +
        " 'SELECT FileName, FileSize, COUNT(*) FROM tblFiles GROUP BY FileName, FileSize "
        "HAVING COUNT(*) > 1' >/dev/null";
    auto [ours, shell] = kest::bench::BestOfBoth(cli + "duplicates >/dev/null 2>&1", native);
    std::printf("duplicates of %lld files: kest-cli %.3f s  sqlite3 %.3f s  ratio %.2f\n",
                static_cast<long long>(files), ours, shell, ours / shell);
    auto [single, again] = kest::bench::BestOfBoth(cli + "single-copy >/dev/null 2>&1", native);
    std::printf("single-copy over 10 discs: kest-cli %.3f s  (sqlite3 GROUP BY %.3f s)\n", single,
                again);
    std::printf("goals: duplicates <= 2 s %s, <= 1.2x %s; single-copy <= 1 s %s\n",
                ours <= 2 ? "met" : "not met", ours / shell <= 1.2 ? "met" : "not met",
                single <= 1 ? "met" : "not met");
    return 0;
}
