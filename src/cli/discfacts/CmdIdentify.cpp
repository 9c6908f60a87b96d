// kest-cli identify ROOT: whether the volume at ROOT is catalogued, and as
// which disc(s).
#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/CliContext.h"
#include "cli/catalog/CliSession.h"
#include "cli/scan/GivenVolume.h"
#include "core/discfacts/Recognition.h"

namespace kest::cli {
namespace {

struct IdentifyArguments {
    std::string root;
    VolumeOverrides volume;
};

int RunIdentify(CliContext& context, const IdentifyArguments& args) {
    CliSession session(context);
    if (!session.OpenCatalog()) return 1;
    std::string root = GivenRoot(args.root);
    std::unique_ptr<platform::Volumes> system = platform::MakeSystemVolumes();
    GivenVolume volumes(*system, root);
    volumes.given = args.volume;
    platform::VolumeInfo info = volumes.GetVolumeInfo(root);
    discfacts::Recognition found = discfacts::Recognize(
        session.current.Db(), info.ok ? info.label : "", info.ok ? info.serial : "");
    std::cout << found.Message() << std::endl;
    return found.Known() ? 0 : 1;
}

CommandRun SetupIdentify(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<IdentifyArguments>();
    CLI::App* sub =
        app.add_subcommand("identify", "Tell whether the disc at ROOT is in the catalog");
    sub->add_option("ROOT", args->root, "Mount point or folder of the disc")
        ->required()
        ->check(CLI::ExistingDirectory);
    AddVolumeOptions(*sub, args->volume);
    return [&context, args] { return RunIdentify(context, *args); };
}

const CommandRegistrar kIdentify("identify", &SetupIdentify);

}  // namespace
}  // namespace kest::cli
