// Times how soon the desktop window tells that a mounted disc is catalogued:
// an ext4 image with a known serial is mounted through a loop device (the
// mount(2) call is inside the timing) while the window (offscreen, real
// volumes, the mount watch of /proc/self/mounts) holds a catalog of
// 1,000,000 files ("--files N"); the time runs until the notification. Five
// mounts; the median and worst against the goal of one second. Needs root
// (loop devices, mount); says so and does nothing otherwise.
#include <sys/mount.h>
#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchCatalog.h"
#include "BenchTiming.h"
#include "DefaultPrompter.h"
#include "core/engine/Database.h"
#include "gui/app/MainWindow.h"
#include "gui/discfacts/DesktopNotifier.h"
#include "platform/linux/LinuxVolumes.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
constexpr int kRuns = 5;
constexpr double kGoalSeconds = 1.0;

// Stops the event loop at the first notification and notes when it came.
class TimingNotifier : public kest::gui::DesktopNotifier {
  public:
    void Notify(const QString&, const QString& text, const QString&,
                std::function<void()>) override {
        when = Clock::now();
        message = text;
        if (loop) loop->quit();
    }
    Clock::time_point when;
    QString message;
    QEventLoop* loop = nullptr;
};

std::string Output(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
        pclose(pipe);
    }
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (geteuid() != 0 || std::system("command -v mkfs.ext4 losetup >/dev/null") != 0) {
        std::printf("skipped: loop mounts need root, mkfs.ext4 and losetup\n");
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kest::bench::SizedCatalog sized =
        kest::bench::SizedBenchCatalog(argc, argv, "kest-recognition");
    // Disc 12 becomes the one whose image is mounted.
    kest::engine::Database::Open(sized.catalog.string(), "")
        ->Execute(
            "UPDATE tblDiscs SET DiscSer = '4B35-0012', DiscLbl = 'PHOTOS' WHERE KestId = 12");
    std::ofstream(sized.home / "Kest.ini")
        << "[Drives]\nOnly_Optical=False\nShow_Non-Optical_Warning=False\n[Sounds]\nPlay=False\n";

    const fs::path image = sized.home / "photos.img", mountPoint = sized.home / "mnt";
    fs::remove(image);
    fs::create_directories(mountPoint);
    const std::string format =
        "truncate -s 4M " + kest::bench::Quote(image.string()) +
        " && mkfs.ext4 -q -L PHOTOS -U 4b350012-0000-4000-8000-000000000000 " +
        kest::bench::Quote(image.string());
    if (std::system(format.c_str()) != 0) {
        std::printf("skipped: mkfs.ext4 failed\n");
        return 0;
    }
    const std::string device = Output("losetup -f --show " + kest::bench::Quote(image.string()));
    if (device.empty()) {
        std::printf("skipped: no loop device could be set up\n");
        return 0;
    }

    TimingNotifier notifier;
    kest::gui::UseDesktopNotifier(&notifier);
    kest::platform::os::LinuxVolumes volumes;
    kest::bench::DefaultPrompter prompter;
    std::vector<double> delays;
    {
        kest::gui::MainWindow window(kest::AppPaths(sized.home), prompter, volumes);
        window.Start(sized.catalog.string());
        window.show();
        QApplication::processEvents();
        for (int run = 0; run < kRuns; ++run) {
            QEventLoop loop;
            notifier.loop = &loop;
            notifier.message.clear();
            Clock::time_point start;
            QTimer::singleShot(0, [&] {
                start = Clock::now();
                if (mount(device.c_str(), mountPoint.c_str(), "ext4", MS_RDONLY, nullptr) != 0) {
                    std::perror("mount");
                    loop.quit();
                }
            });
            QTimer::singleShot(10000, &loop, &QEventLoop::quit);
            loop.exec();
            if (notifier.message.isEmpty()) {
                std::printf("no notification within 10 s (run %d)\n", run + 1);
                umount(mountPoint.c_str());
                break;
            }
            delays.push_back(std::chrono::duration<double>(notifier.when - start).count());
            umount(mountPoint.c_str());
            // The window sees the volume go before the next mount.
            QEventLoop settle;
            QTimer::singleShot(200, &settle, &QEventLoop::quit);
            settle.exec();
        }
        std::printf("notification: %s\n", notifier.message.toStdString().c_str());
    }
    kest::gui::UseDesktopNotifier(nullptr);
    std::system(("losetup -d " + device).c_str());
    if (delays.empty()) return 1;
    std::sort(delays.begin(), delays.end());
    const double median = delays[delays.size() / 2], worst = delays.back();
    std::printf("files: %lld\nmount to notification: median %.1f ms, worst %.1f ms\n",
                static_cast<long long>(sized.files), median * 1000, worst * 1000);
    std::printf("ratio to the goal (1 s): %.3f; goal %s\n", worst / kGoalSeconds,
                worst <= kGoalSeconds ? "met" : "not met");
    return 0;
}
