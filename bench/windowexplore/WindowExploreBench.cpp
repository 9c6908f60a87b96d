// windowexplore_bench [FOLDER] [--files N] [--folders N] [--entries N]
// [--big N] [--samples N]: bench/explore's generated disc (1,000,000 files in
// 50,000 folders by default) opened in the Explore window, offscreen.
// Times the disc list's "Explore Disc..." until the window is painted with
// the root's subfolders in its tree and the root's first page in its list
// (goal: 0.3 s), both with the disc's folders not stored (worked out, then
// stored: a catalog that cannot be written works them out every time) and
// stored (best of three each), and --samples
// random folders expanded in the tree by the Right key until painted (goal:
// 50 ms, median and worst). Each against the core's own open of the same
// place in the same run: DiscTree::Load, the root's subfolders and first 500
// files; the folder's subfolders read for an expansion.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QTableView>
#include <QTreeView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "BenchCatalog.h"
#include "BenchTiming.h"
#include "DefaultPrompter.h"
#include "ExploreDisc.h"
#include "core/engine/FolderFacts.h"
#include "core/explore/DiscTree.h"
#include "core/explore/FileReader.h"
#include "gui/app/MainWindow.h"
#include "gui/explore/frmExplore.h"
#include "gui/grids/ListGrid.h"
#include "support/platform/FakeVolumes.h"

namespace {

using namespace kest;
using Clock = std::chrono::steady_clock;
constexpr int kRuns = 3;

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void Forget(engine::Database& db) {
    db.Execute(std::string("DELETE FROM ") + engine::kFolderNodesTable);
}

// The core's open of the root: the tree, the root's subfolders and first page.
double CoreRoot(engine::Database& db) {
    const auto start = Clock::now();
    auto tree = explore::DiscTree::Load(db, 1);
    auto place = tree->Find(db, {});
    auto folders = tree->Subfolders(*place);
    std::vector<explore::FileItem> files;
    tree->Files(db, *place, {})->Next(files, 500);
    return Since(start);
}

// The disc list's command, until the window is painted with the root in
// both of its views; the window is left open.
double WindowRoot(gui::MainWindow& main, gui::frmExplore*& explore) {
    auto* discs = main.findChild<gui::ListGrid*>("fgdDiscs");
    discs->setCurrentIndex(discs->model()->index(0, 0));
    const auto start = Clock::now();
    main.findChild<QAction*>("mnuExplore")->trigger();
    explore = main.findChild<gui::frmExplore*>();
    explore->repaint();
    QApplication::processEvents();
    const double seconds = Since(start);
    auto* tree = explore->findChild<QTreeView*>("tvwFolders");
    if (tree->model()->rowCount(tree->model()->index(0, 0)) == 0 ||
        explore->List()->model()->rowCount() == 0)
        std::fprintf(stderr, "the window shows no root\n");
    return seconds;
}

void Close(gui::frmExplore* explore) {
    explore->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

struct Spread {
    double median = 0, worst = 0;
};
Spread SpreadOf(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

void Line(const char* what, double ms, double baseline, double goal) {
    std::printf("%-58s %8.2f ms, core %7.2f ms, ratio %6.1f; goal <= %g ms: %s\n", what, ms,
                baseline, ms / baseline, goal, ms <= goal ? "met" : "not met");
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bench::ExploreShape shape = bench::ExploreShapeFrom(argc, argv);
    int samples = 50;
    for (int i = 1; i + 1 < argc; ++i)
        if (!std::strcmp(argv[i], "--samples")) samples = std::stoi(argv[i + 1]);
    const auto home =
        bench::BenchHome(argc > 1 && argv[1][0] != '-' ? 2 : 1, argv, "kest-windowexplore-bench");
    std::mt19937_64 random(27);
    std::vector<std::string> parents;
    int64_t files = 0;
    {
        bench::ExploreDisc disc = bench::MakeExploreDisc(home, shape, random);
        engine::BuildFolderFacts(disc.db->Handle());
        files = disc.files;
        // The folders that have subfolders, to expand.
        std::set<std::string> above;
        for (const auto& dir : disc.dirs) {
            const size_t cut = dir.rfind('/', dir.size() - 2);
            if (cut != std::string::npos) above.insert(dir.substr(0, cut + 1));
        }
        parents.assign(above.begin(), above.end());
        std::printf("disc: %lld files in %zu folders (depth <= 12), %lld archive entries\n",
                    static_cast<long long>(disc.files), disc.dirs.size(),
                    static_cast<long long>(disc.entries));
    }

    bench::DefaultPrompter prompter;
    test::FakeVolumes volumes;
    gui::MainWindow main(AppPaths(home), prompter, volumes);
    main.resize(1000, 700);
    main.Start((home / "explore.kst").string());
    main.show();
    QApplication::processEvents();
    engine::Database& db = main.Session().current.Db();

    // The window and the core take turns, the stored folders forgotten before
    // each first open.
    double coreFirst = 1e9, coreLater = 1e9, windowFirst = 1e9, windowLater = 1e9;
    gui::frmExplore* explore = nullptr;
    for (int run = 0; run < kRuns; ++run) {
        Forget(db);
        coreFirst = std::min(coreFirst, CoreRoot(db));
        coreLater = std::min(coreLater, CoreRoot(db));
        Forget(db);
        windowFirst = std::min(windowFirst, WindowRoot(main, explore));
        Close(explore);
        windowLater = std::min(windowLater, WindowRoot(main, explore));
        if (run + 1 < kRuns) Close(explore);
    }

    // Folders expanded in the last window's tree: the window goes to the
    // folder (its tree shows it, collapsed) and the Right key expands it.
    // The core reads the same folder's subfolders in a tree of its own that
    // has read the levels above it.
    auto* tree = explore->findChild<QTreeView*>("tvwFolders");
    auto core = explore::DiscTree::Load(db, 1);
    std::vector<double> expands, reads;
    for (int i = 0; i < samples && !parents.empty(); ++i) {
        const explore::FolderPath path = explore::FileDirNames(parents[random() % parents.size()]);
        explore->Go(path);
        if (tree->isExpanded(tree->currentIndex())) continue;  // already seen
        explore->repaint();                                    // the window done with going there
        QApplication::processEvents();
        explore::FolderPath above = path;
        above.pop_back();
        auto place = core->Find(db, above);
        const auto read = Clock::now();
        place = core->Find(db, path);
        core->Subfolders(*place);
        reads.push_back(Since(read) * 1000);
        tree->setFocus();
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        const auto start = Clock::now();
        QApplication::sendEvent(tree, &right);
        explore->repaint();
        QApplication::processEvents();
        expands.push_back(Since(start) * 1000);
        if (!tree->isExpanded(tree->currentIndex()))
            std::fprintf(stderr, "%s did not expand\n", explore::FolderPathText(path).c_str());
    }
    Close(explore);

    std::printf("(%lld files; times best of %d; %zu folders expanded)\n",
                static_cast<long long>(files), kRuns, expands.size());
    Line("command to root shown, folders not stored", windowFirst * 1000, coreFirst * 1000, 300);
    Line("command to root shown, folders stored", windowLater * 1000, coreLater * 1000, 300);
    if (!expands.empty()) {
        const Spread window = SpreadOf(expands), baseline = SpreadOf(reads);
        Line("folder expanded in the tree, median", window.median, baseline.median, 50);
        Line("folder expanded in the tree, worst", window.worst, baseline.worst, 50);
    }
    main.Exit();
    return 0;
}
