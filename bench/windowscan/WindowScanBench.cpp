// Times a scan started by the window's Scan & Save button (offscreen, the
// window shown) against `kest-cli scan` of the same warm tree of 50,000 files
// and prints the ratio (goal: at most 1.1). Best of five for each side, the
// runs taking turns so a busy moment of a shared machine falls on both.
#include <QApplication>
#include <QComboBox>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "BenchTiming.h"
#include "DefaultPrompter.h"
#include "gui/app/MainWindow.h"
#include "gui/scan/WindowScan.h"
#include "support/platform/FakeVolumes.h"

namespace {

namespace fs = std::filesystem;
using kest::bench::Quote;
using Clock = std::chrono::steady_clock;

constexpr int kFolders = 50;
constexpr int kFilesPerFolder = 1000;
constexpr int kRuns = 5;

void MakeTree(const fs::path& root) {
    if (fs::exists(root / "done")) return;
    for (int folder = 0; folder < kFolders; ++folder) {
        fs::path dir = root / ("folder" + std::to_string(folder));
        fs::create_directories(dir);
        for (int file = 0; file < kFilesPerFolder; ++file)
            std::ofstream(dir / ("file" + std::to_string(file) + ".txt")) << file;
    }
    std::ofstream(root / "done") << "";
}

void Run(const std::string& command) {
    if (int status = std::system(command.c_str()); status != 0) {
        std::fprintf(stderr, "failed (%d): %s\n", status, command.c_str());
        std::exit(1);
    }
}

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    fs::path base = fs::temp_directory_path() / "kest-windowscan-bench";
    fs::path tree = base / "tree", home = base / "home";
    MakeTree(tree);
    fs::create_directories(home);
    std::ofstream(home / "Kest.ini") << "[Drives]\nOnly_Optical=False\n"
                                        "Show_Non-Optical_Warning=False\n"
                                        "[Scan_Options]\nEst_B4_Scan=False\n"
                                        "[Sounds]\nPlay=False\n";
    std::string cli = std::string(KEST_CLI_PATH) + " --home " + Quote(home.string());
    std::string catalog = (home / "bench.kst").string();
    auto fresh = [&] {
        fs::remove(catalog);
        Run(cli + " create " + Quote(catalog) + " > /dev/null 2>&1");
    };
    kest::test::FakeVolumes volumes;
    volumes.Add({tree.string(), kest::platform::DriveType::Fixed, "BENCH"});
    kest::bench::DefaultPrompter prompter;

    Run("find " + Quote(tree.string()) + " > /dev/null");  // warm the tree
    double command = 1e9, window = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        fresh();
        auto start = Clock::now();
        Run(cli + " --catalog " + Quote(catalog) + " --input bench scan " + Quote(tree.string()) +
            " > /dev/null 2>&1");
        command = std::min(command, Seconds(start));

        fresh();
        kest::gui::MainWindow main(kest::AppPaths(home), prompter, volumes);
        main.Start(catalog);
        main.Controls().icbDrives->setCurrentIndex(0);
        QApplication::processEvents();
        start = Clock::now();
        bool ok = main.Parts().scan->Start();
        window = std::min(window, Seconds(start));
        if (!ok) {
            std::fprintf(stderr, "the window's scan failed\n");
            return 1;
        }
    }
    std::printf("files: %d\nkest-cli scan: %.3f s\nwindow scan: %.3f s\nratio: %.2f\n",
                kFolders * kFilesPerFolder, command, window, window / command);
    return 0;
}
