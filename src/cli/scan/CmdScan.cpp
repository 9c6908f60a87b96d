// kest-cli scan ROOT: scans a folder (a mount point or any folder) into the
// catalog as one disc, with the settings of the program folder; kest-cli scan
// --image FILE scans the disc an ISO 9660 or UDF image holds, without
// mounting it.
#include <unistd.h>
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>

#include "cli/CliContext.h"
#include "cli/catalog/CliSession.h"
#include "cli/scan/CliScanView.h"
#include "cli/scan/GivenVolume.h"
#include "cli/scan/StopSignals.h"
#include "core/scan/ScanDriver.h"
#include "core/scan/ScanSettings.h"
#include "platform/Sound.h"

namespace kest::cli {

namespace {

struct ScanArguments {
    std::string root;
    std::string image;
    std::string driveType;
    VolumeOverrides volume;
    int64_t cancelAfter = 0;
    bool hash = false;
};

int RunScan(CliContext& context, const ScanArguments& args) {
    CliSession session(context);
    if (!session.OpenCatalog()) return 1;

    if (args.root.empty() == args.image.empty()) {
        throw CLI::ValidationError("ROOT", "give either a folder to scan or --image FILE");
    }
    std::string root = args.image.empty() ? GivenRoot(args.root) : std::string();
    std::unique_ptr<platform::Volumes> system = platform::MakeSystemVolumes();
    GivenVolume volumes(*system, root);
    if (!args.driveType.empty()) {
        volumes.type = ParseDriveType(args.driveType);
        if (!volumes.type) throw CLI::ValidationError("--drive-type", "unknown: " + args.driveType);
    }
    volumes.given = args.volume;
    scan::ScanOptions options = scan::ScanOptionsFromSettings(session.settings);
    options.hashContents = options.hashContents || args.hash;

    std::unique_ptr<platform::Sound> sound = platform::MakeSystemSound();
    CliScanView view(std::cerr, isatty(STDERR_FILENO) != 0);
    scan::ScanDriver driver({session.current.path, session.current.Db(), volumes, *sound,
                             context.prompter, view, options,
                             session.paths.ScanLogPath().string()});
    StopSignals stopSignals;
    // Cancel is pressed once for --cancel-after; a stop signal holds.
    bool pressed = false;
    view.onPump = [&] {
        bool counted = args.cancelAfter > 0 && driver.State().fileCounter >= args.cancelAfter;
        if ((counted && !pressed) || StopSignals::Received()) driver.CancelScan();
        pressed = pressed || counted;
    };
    bool ok = args.image.empty()
                  ? driver.StartScan(root)
                  : driver.StartImageScan(
                        std::filesystem::absolute(args.image).lexically_normal().string());
    std::cout << view.Status() << std::endl;
    return ok ? 0 : 1;
}

CommandRun SetupScan(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<ScanArguments>();
    CLI::App* sub =
        app.add_subcommand("scan", "Scan a folder, mounted disc or disc image into the catalog");
    CLI::Option* root = sub->add_option("ROOT", args->root, "Mount point or folder to scan")
                            ->check(CLI::ExistingDirectory);
    sub->add_option("--image", args->image,
                    "Scan the disc in this ISO 9660 or UDF image, read without mounting it")
        ->check(CLI::ExistingFile)
        ->excludes(root);
    sub->add_option("--drive-type", args->driveType,
                    "Drive type to assume: removable, fixed, network or optical");
    AddVolumeOptions(*sub, args->volume);
    sub->add_flag("--hash", args->hash,
                  "Also read every file for its 128-bit XXH3 content hash (slower)");
    sub->add_option("--cancel-after", args->cancelAfter,
                    "Press Cancel after this many stored files (for tests)");
    return [&context, args] { return RunScan(context, *args); };
}

const CommandRegistrar kScan("scan", &SetupScan);

}  // namespace

}  // namespace kest::cli
