// Builds a catalog of 1,000,000 files with a tenth of them deleted again and
// prints how long "kest-cli compact" takes on it (the repair check, the
// compacted copy, its flush and the rename, the reopen) against the sqlite3
// shell's "VACUUM INTO" of the same file. Each run starts from the same
// uncompacted file; the best of five runs counts for each side.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "BenchCatalog.h"
#include "BenchTiming.h"
#include "core/engine/Database.h"

namespace {

namespace fs = std::filesystem;
constexpr int64_t kFiles = 1000000;

void Restore(const fs::path& pristine, const fs::path& target) {
    fs::copy_file(pristine, target, fs::copy_options::overwrite_existing);
}

}  // namespace

int main(int argc, char** argv) {
    fs::path home = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "kest-compact-bench";
    fs::create_directories(home);
    fs::path pristine = home / "pristine.kst";
    if (!fs::exists(pristine)) {
        std::printf("building %lld files in %s\n", static_cast<long long>(kFiles),
                    pristine.c_str());
        kest::bench::BuildCatalog(pristine.string(), {kFiles, 200, 0});
        // Deleted rows leave free pages for the compaction to give back.
        kest::engine::Database::Open(pristine.string(), "")
            ->Execute("DELETE * FROM tblFiles WHERE FileId % 10 = 0");
    }
    fs::path catalog = home / "kest001.kst";
    fs::path native = home / "native.kst";
    fs::path vacuumed = home / "vacuumed.kst";
    const std::string compact =
        std::string(KEST_CLI_PATH) + " --home '" + home.string() + "' compact >/dev/null 2>&1";
    const std::string vacuum =
        "sqlite3 '" + native.string() + "' \"VACUUM INTO '" + vacuumed.string() + "'\" >/dev/null";
    constexpr int kRuns = 5;
    double ours = 1e9, base = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        Restore(pristine, catalog);
        ours = std::min(ours, kest::bench::Seconds(compact));
        Restore(pristine, native);
        fs::remove(vacuumed);
        base = std::min(base, kest::bench::Seconds(vacuum));
    }
    double ratio = ours / base;
    std::printf("kest-cli compact %.3f s  sqlite3 VACUUM INTO %.3f s  ratio %.2f\n", ours, base,
                ratio);
    std::printf("size before %.1f MB, after %.1f MB\n",
                static_cast<double>(fs::file_size(pristine)) / 1048576.0,
                static_cast<double>(fs::file_size(catalog)) / 1048576.0);
    std::printf("goal ratio <= 1.2: %s\n", ratio <= 1.2 ? "met" : "not met");
    return 0;
}
