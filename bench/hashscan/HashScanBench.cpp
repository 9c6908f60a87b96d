// Times "kest-cli scan --hash" of a tree of MB megabytes (default 2048, in
// files of 1 to 8 MB) against "xxhsum -H2" over the same files, both reading
// from the page cache when the tree fits in memory (reading dominates on a
// disc; here both hash). Goal: at most 1.15 times xxhsum. Best of five runs,
// in turns. Usage: hashscan_bench [HOME] [MB].
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "BenchTiming.h"

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    using kest::bench::Quote;
    fs::path base = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "kest-hash-bench";
    const long megabytes = argc > 2 ? std::atol(argv[2]) : 2048;
    fs::path tree = base / ("tree" + std::to_string(megabytes));
    fs::path home = base / "home";
    fs::create_directories(home);
    if (!fs::exists(tree / "done")) {
        fs::create_directories(tree);
        std::string block(1 << 20, '\0');
        long written = 0;
        for (int file = 0; written < megabytes; ++file) {
            long size = 1 + file % 8;
            std::ofstream out(tree / ("file" + std::to_string(file) + ".bin"), std::ios::binary);
            for (long mb = 0; mb < size && written < megabytes; ++mb, ++written) {
                for (size_t i = 0; i < block.size(); i += 64)
                    block[i] = static_cast<char>(i + static_cast<size_t>(mb + file));
                out.write(block.data(), static_cast<std::streamsize>(block.size()));
            }
        }
        std::ofstream(tree / "done") << "";
    }
    std::ofstream(home / "Kest.ini") << "[Drives]\nShow_Non-Optical_Warning=False\n"
                                        "[Scan_Options]\nEst_B4_Scan=False\n"
                                        "[Sounds]\nPlay=False\n";
    const std::string catalog = (home / "hash.kst").string();
    const std::string cli = std::string(KEST_CLI_PATH) + " --home " + Quote(home.string());
    const std::string prepare =
        "rm -f " + Quote(catalog) + " && " + cli + " create " + Quote(catalog) + " >/dev/null 2>&1";
    const std::string ours = cli + " --catalog " + Quote(catalog) + " --input bench scan --hash " +
                             Quote(tree.string()) + " >/dev/null 2>&1";
    const std::string native =
        "cd " + Quote(tree.string()) + " && xxhsum -H2 *.bin >/dev/null 2>&1";
    auto [took, base2] = kest::bench::BestOfBoth(ours, native, 5, prepare);
    std::printf(
        "hash %ld MB: kest-cli scan --hash %.3f s  xxhsum -H2 %.3f s  ratio %.2f (goal 1.15)\n",
        megabytes, took, base2, took / base2);
    return 0;
}
