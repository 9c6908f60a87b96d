// Builds a catalog of 1,000,000 files on 200 discs and prints how long the
// main window takes from its construction to being shown and painted with the
// disc list (offscreen), with and without the used-space column, against the
// same disc list statement in SQLite's own dialect run by the sqlite3 shell.
// The best of five runs counts for each.
#include <unistd.h>
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "gui/app/MainWindow.h"

namespace {

constexpr int kRuns = 5;

// The bench runs unattended: any prompt is a fault of the set-up, told and refused.
class UnattendedPrompter : public kest::Prompter {
  public:
    kest::Answer Message(const kest::MessageBoxRequest& box) override {
        std::fprintf(stderr, "unexpected message: %s: %s\n", box.title.c_str(), box.text.c_str());
        return kest::Answer::No;
    }
    std::optional<std::string> Input(const std::string& title, const std::string&,
                                     const std::string&) override {
        std::fprintf(stderr, "unexpected input box: %s\n", title.c_str());
        return std::nullopt;
    }
    std::optional<std::string> Password() override { return std::nullopt; }
    std::optional<std::string> OpenFile(const kest::FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFile(const kest::FileDialogRequest&) override {
        return std::nullopt;
    }
};

bool Run(const std::string& command) {
    if (std::system(command.c_str()) == 0) return true;
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    return false;
}

// The catalog is made by the program itself, then filled by one statement.
bool BuildCatalog(const std::string& path) {
    return Run(std::string(KEST_CLI_PATH) + " create '" + path + "' >/dev/null 2>&1") &&
           Run("sqlite3 '" + path +
               "' \"INSERT INTO tblDiscs (DiscSer, DiscFSys, DiscLbl, DiscDesc, DiscNumF) "
               "WITH RECURSIVE d(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM d WHERE i < 199) "
               "SELECT 'ABCD-0000', 'CDFS', 'DISC_' || i, 'bench', 5000 FROM d; "
               "INSERT INTO tblFiles (KestId, FileDir, FileName, FileAtt, FileSize, FileDate) "
               "WITH RECURSIVE f(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM f WHERE i < 999999) "
               "SELECT i / 5000 + 1, 'dir' || (i % 997) || '/', 'file' || i || '.dat', 'A', "
               "(i * 7919) % 100000000, '2001-02-03 12:00:00' FROM f;\"");
}

double BestOf(const std::function<double()>& once) {
    double best = 1e9;
    for (int i = 0; i < kRuns; ++i) best = std::min(best, once());
    return best;
}

double WindowStartup(const std::filesystem::path& home) {
    using Clock = std::chrono::steady_clock;
    UnattendedPrompter prompter;
    auto volumes = kest::platform::MakeSystemVolumes();
    auto start = Clock::now();
    kest::gui::MainWindow window(kest::AppPaths(home), prompter, *volumes);
    window.Start();
    QApplication::processEvents();
    window.grab();  // the first full paint
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (window.Discs().table.RowCount() != 200) std::fprintf(stderr, "disc list not filled\n");
    window.Exit();
    return seconds;
}

double ShellSeconds(const std::string& command) {
    auto start = std::chrono::steady_clock::now();
    Run(command);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("kest-startup-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(home);
    std::string catalog = (home / "kest001.kst").string();
    std::printf("building 1000000 files in %s\n", catalog.c_str());
    if (!BuildCatalog(catalog)) return 1;

    struct Case {
        const char* name;
        const char* settings;
        const char* statement;
    };
    const Case cases[] = {
        {"plain", "[Discs_Options]\nShowUsedSpace=False\n",
         "SELECT KestId, DiscSer, DiscFSys, DiscLbl, DiscDesc, DiscNumF FROM tblDiscs"},
        {"used space", "[Discs_Options]\nShowUsedSpace=True\n",
         "SELECT d.KestId, DiscSer, DiscFSys, DiscLbl, DiscDesc, DiscNumF, "
         "printf('%.4f', SUM(FileSize) / 1048576.0) FROM tblDiscs d INNER JOIN tblFiles f ON "
         "d.KestId = f.KestId GROUP BY d.KestId, DiscSer, DiscFSys, DiscLbl, DiscDesc, DiscNumF"},
    };
    bool underASecond = true;
    for (const Case& c : cases) {
        std::ofstream(home / "Kest.ini") << c.settings;
        double ours = BestOf([&] { return WindowStartup(home); });
        double base = BestOf([&] {
            return ShellSeconds("sqlite3 '" + catalog + "' \"" + c.statement + "\" >/dev/null");
        });
        std::printf("%-10s window start-up %.3f s  sqlite3 disc list %.3f s  ratio %.2f\n", c.name,
                    ours, base, ours / base);
        underASecond = underASecond && ours < 1.0;
    }
    std::printf("goal under a second: %s\n", underASecond ? "met" : "not met");
    std::filesystem::remove_all(home);
    return 0;
}
