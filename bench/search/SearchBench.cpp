// Builds a catalog of 1,000,000 files and prints how long "kest-cli search"
// takes for a rare, a medium and a common pattern, and its ratio to the
// equivalent native statement (LIKE with %, same joins and order) run by the
// sqlite3 shell on the same file. The best of five runs counts for each.
#include <cstdio>
#include <filesystem>
#include <string>

#include "BenchCatalog.h"
#include "BenchTiming.h"

namespace {

constexpr int64_t kFiles = 1000000;

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    fs::path home = kest::bench::BenchHome(argc, argv, "kest-search-bench");
    fs::path catalog = home / "kest001.kst";
    if (!fs::exists(catalog)) {
        std::printf("building %lld files in %s\n", static_cast<long long>(kFiles), catalog.c_str());
        kest::bench::BuildCatalog(catalog.string(), {kFiles, 200, 0});
    }
    const std::string cli = std::string(KEST_CLI_PATH) + " --home '" + home.string() + "'";
    struct Pattern {
        const char* name;
        const char* text;
    };
    const Pattern patterns[] = {{"rare", "file123456."}, {"medium", ".zip"}, {"common", "file"}};
    bool ok = true;
    for (const auto& p : patterns) {
        std::string search = cli + " search '" + p.text + "' >/dev/null 2>&1";
        std::string native =
            "sqlite3 '" + catalog.string() +
            "' \"SELECT tblFiles.KestId, tblFiles.FileId, tblFiles.FileDir, tblFiles.FileName, "
            "printf('%.4f', tblFiles.FileSize/1048576.0) FROM tblDiscs INNER JOIN tblFiles ON "
            "tblDiscs.KestId = tblFiles.KestId WHERE tblFiles.FileName LIKE '%" +
            p.text +
            "%' ORDER BY tblFiles.KestId, tblFiles.FileDir, tblFiles.FileName;\" >/dev/null";
        auto [ours, base] = kest::bench::BestOfBoth(search, native);
        double ratio = ours / base;
        ok = ok && ratio <= 1.3;
        std::printf("%-7s kest-cli search %.3f s  sqlite3 %.3f s  ratio %.2f\n", p.name, ours, base,
                    ratio);
    }
    std::printf("goal ratio <= 1.3: %s\n", ok ? "met" : "not met");
    return 0;
}
