// Lists a ZIP of 100,000 entries through cArchive and through `unzip -Z1` on
// the same file, and prints the ratio of the two times (below 1: we are
// faster). The best of several runs counts for each.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/archive/cArchive.h"
#include "support/archive/ZipBuilder.h"

namespace {

constexpr int kEntries = 100'000;
constexpr int kRuns = 5;

class SilentPrompter : public kest::Prompter {
  public:
    kest::Answer Message(const kest::MessageBoxRequest&) override { return kest::Answer::Cancel; }
    std::optional<std::string> Input(const std::string&, const std::string&,
                                     const std::string&) override {
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

class NoScan : public kest::archive::ArchiveHost {
  public:
    bool CancelRequested() const override { return false; }
    void WriteLog(const std::string&) override {}
};

template <class Work>
double BestSeconds(Work&& work) {
    double best = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        auto start = std::chrono::steady_clock::now();
        work();
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

}  // namespace

int main() {
    namespace fs = std::filesystem;
    fs::path path = fs::temp_directory_path() / "kest-bench-100k.zip";
    kest::test::ZipLayout layout;
    layout.zip64 = true;  // more entries than the 16-bit count holds
    for (int i = 0; i < kEntries; ++i) {
        layout.entries.push_back(
            {.name = "folder" + std::to_string(i / 1000) + "/file" + std::to_string(i) + ".txt",
             .dosDate = 0x5264});
    }
    std::ofstream(path, std::ios::binary) << kest::test::BuildZip(layout);

    size_t listed = 0;
    double ours = BestSeconds([&] {
        SilentPrompter prompter;
        NoScan host;
        kest::archive::cArchive reader(prompter, host);
        reader.SetArchivePath(path.string());
        reader.SetArchiveType("zip");
        listed = 0;
        reader.OnFileFound([&](const kest::archive::FileFound&) { ++listed; });
        reader.GetInfo();
    });
    std::string command = "unzip -Z1 '" + path.string() + "' > /dev/null 2>&1";
    int status = 0;
    double unzip = BestSeconds([&] { status = std::system(command.c_str()); });
    fs::remove(path);

    std::printf("entries listed: %zu\n", listed);
    std::printf("cArchive: %.1f ms\n", ours * 1000);
    if (status != 0) {
        std::printf("unzip -Z1 failed (status %d): no baseline\n", status);
        return 1;
    }
    std::printf("unzip -Z1: %.1f ms\n", unzip * 1000);
    std::printf("ratio cArchive / unzip -Z1: %.2f\n", ours / unzip);
    return listed == kEntries ? 0 : 1;
}
