// Builds a catalog of two discs of 200,000 files each (every 50th file an
// archive with two entries) and prints how long "kest-cli delete-disc" takes
// to delete the first disc, and its ratio to the three bare DELETE statements
// run by the sqlite3 shell. Every run starts from a fresh copy of the catalog;
// the best of five runs counts for each.
#include <cstdio>
#include <filesystem>
#include <string>

#include "BenchCatalog.h"
#include "BenchTiming.h"

namespace {

constexpr int64_t kFilesPerDisc = 200000;

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    fs::path home = kest::bench::BenchHome(argc, argv, "kest-delete-bench");
    fs::path original = home / "original.kst";
    fs::path catalog = home / "kest001.kst";
    if (!fs::exists(original)) {
        std::printf("building %lld files in %s\n", static_cast<long long>(2 * kFilesPerDisc),
                    original.c_str());
        kest::bench::BuildCatalog(original.string(), {2 * kFilesPerDisc, 2, 2});
    }
    const std::string prepare = "cp '" + original.string() + "' '" + catalog.string() + "' && sync";
    const std::string ours = std::string(KEST_CLI_PATH) + " --home '" + home.string() +
                             "' --catalog '" + catalog.string() +
                             "' --answer yes delete-disc 1 >/dev/null 2>&1";
    const std::string native = "sqlite3 '" + catalog.string() +
                               "' 'DELETE FROM tblSubFiles WHERE KestID = 1; "
                               "DELETE FROM tblFiles WHERE KestID = 1; "
                               "DELETE FROM tblDiscs WHERE KestID = 1;' >/dev/null";
    auto [took, base] = kest::bench::BestOfBoth(ours, native, 5, prepare);
    double ratio = took / base;
    std::printf("delete a disc of %lld files: kest-cli %.3f s  sqlite3 %.3f s  ratio %.2f\n",
                static_cast<long long>(kFilesPerDisc), took, base, ratio);
    // For reference: the shell's statements in one transaction, as ours run.
    const std::string unit = "sqlite3 '" + catalog.string() +
                             "' 'BEGIN; DELETE FROM tblSubFiles WHERE KestID = 1; "
                             "DELETE FROM tblFiles WHERE KestID = 1; "
                             "DELETE FROM tblDiscs WHERE KestID = 1; COMMIT;' >/dev/null";
    auto [again, inUnit] = kest::bench::BestOfBoth(ours, unit, 5, prepare);
    std::printf("against one sqlite3 transaction: kest-cli %.3f s  sqlite3 %.3f s  ratio %.2f\n",
                again, inUnit, again / inUnit);
    std::printf("goal ratio <= 1.2: %s\n", ratio <= 1.2 ? "met" : "not met");
    return 0;
}
