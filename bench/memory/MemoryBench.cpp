// Builds a catalog of 1,000,000 files (--files N for another size) and prints
// the peak memory of whole kest-cli processes against the number of rows they
// print: the search and the disc contents without a sort stream their rows, so
// their peak must not grow with the result (goal: 64 MB whatever its size);
// with a sort every row is held, at no more than 100 bytes a row beyond its
// text (the window's grid holds the same list, read in place).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchCatalog.h"
#include "core/engine/Database.h"

namespace {

namespace fs = std::filesystem;

struct Run {
    double peakMb = 0;
    size_t rows = 0;   // lines printed less the header
    size_t bytes = 0;  // bytes printed
};

// A process forked from this one counts this one's resident memory in its own
// peak (the kernel keeps the peak across exec), so kest-cli is started by a
// fresh copy of this program, small, that writes kest-cli's peak to fd 3.
constexpr const char* kLaunch = "--launch";

int Launch(char** argv) {
    pid_t pid = fork();
    if (pid == 0) {
        close(3);
        execv(argv[0], argv);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    dprintf(3, "%ld\n", usage.ru_maxrss);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

// Runs kest-cli with its output read here (counted, not kept) and gives its
// peak resident memory.
Run RunCli(const fs::path& home, const std::vector<std::string>& words) {
    std::vector<std::string> argv = {"/proc/self/exe", kLaunch, KEST_CLI_PATH, "--home",
                                     home.string()};
    argv.insert(argv.end(), words.begin(), words.end());
    int out[2], peak[2];
    if (pipe(out) != 0 || pipe(peak) != 0) std::abort();
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        dup2(peak[1], 3);
        for (int fd : {out[0], out[1], peak[0], peak[1]})
            if (fd != 3) close(fd);
        std::freopen("/dev/null", "w", stderr);
        std::vector<char*> args;
        for (auto& word : argv) args.push_back(word.data());
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(out[1]);
    close(peak[1]);
    Run run;
    char buffer[1 << 16];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) {
        run.bytes += static_cast<size_t>(n);
        for (ssize_t i = 0; i < n; ++i) run.rows += buffer[i] == '\n';
    }
    close(out[0]);
    ssize_t got = read(peak[0], buffer, sizeof buffer - 1);
    close(peak[0]);
    buffer[got > 0 ? got : 0] = 0;
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "kest-cli %s failed\n", words.front().c_str());
    run.rows = run.rows > 0 ? run.rows - 1 : 0;
    run.peakMb = std::atof(buffer) / 1024.0;  // ru_maxrss is in KiB
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], kLaunch) == 0) return Launch(argv + 2);
    auto [files, home, catalog] = kest::bench::SizedBenchCatalog(argc, argv, "kest-memory-bench");
    if (!kest::engine::Database::Open(catalog.string(), "")->SearchIndexComplete())
        kest::engine::Database::Open(catalog.string(), "")->BuildSearchIndex();

    // A tenth of the catalog (the first 20 discs) and all of it, streamed.
    const std::string tenth = std::to_string(20);
    Run baseline = RunCli(home, {"search", "file123456."});
    Run searchTenth = RunCli(home, {"search", "*", "--disc-from", "1", "--disc-to", tenth});
    Run searchAll = RunCli(home, {"search", "*"});
    Run contentsAll = RunCli(home, {"contents"});
    Run sorted = RunCli(home, {"search", "*", "--sort", "1"});
    std::printf("files: %lld\n", static_cast<long long>(files));
    std::printf("search, one row: peak %.1f MB\n", baseline.peakMb);
    bool ok = true;
    for (const auto& [name, run] :
         {std::pair{"search, a tenth", searchTenth}, std::pair{"search, every row", searchAll},
          std::pair{"contents, every row", contentsAll}}) {
        ok = ok && run.peakMb <= 64;
        std::printf("%-20s %zu rows: peak %.1f MB (goal <= 64 MB)\n", name, run.rows, run.peakMb);
    }
    std::printf("streamed peak, every row against a tenth: ratio %.2f\n",
                searchAll.peakMb / searchTenth.peakMb);
    // Beyond the text: the sorted run's growth over the one-row run, less the
    // printed text (cells, tabs and line ends), per row.
    double perRow =
        ((sorted.peakMb - baseline.peakMb) * 1024 * 1024 - static_cast<double>(sorted.bytes)) /
        static_cast<double>(sorted.rows);
    ok = ok && perRow <= 100;
    std::printf(
        "search --sort, %zu rows: peak %.1f MB, %.0f bytes a row beyond the text "
        "(goal <= 100)\n",
        sorted.rows, sorted.peakMb, perRow);
    std::printf("%s\n", ok ? "goals met" : "goals NOT met");
    return 0;
}
