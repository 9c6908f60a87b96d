// kest-cli open [--folder | --explore] [--drive ROOT] [--dry-run] FILEID and
// kest-cli view-log: the file functions and the troubleshooting log.
#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/CliContext.h"
#include "cli/catalog/CliSession.h"
#include "core/filefunc/FileFunction.h"
#include "core/shell/ShellRun.h"

namespace kest::cli {
namespace {

// Prints what the desktop would be asked to do instead of asking it.
class DryRunShell : public platform::Shell {
  public:
    platform::ShellStatus Execute(const std::string& path, platform::ShellVerb verb,
                                  const std::string& item) override {
        switch (verb) {
            case platform::ShellVerb::None:
                std::cout << "open\t" << path;
                break;
            case platform::ShellVerb::Open:
                std::cout << "open-folder\t" << path;
                break;
            case platform::ShellVerb::Explore:
                std::cout << "explore\t" << path << "\t" << item;
                break;
        }
        std::cout << std::endl;
        return platform::ShellStatus::Started;
    }
    bool OpenWith(const std::string&) override { return false; }
};

std::unique_ptr<platform::Shell> ShellFor(bool dryRun) {
    if (dryRun) return std::make_unique<DryRunShell>();
    return platform::MakeDesktopShell();
}

struct OpenArguments {
    std::string fileId;
    bool folder = false;
    bool explore = false;
    std::string drive;
    bool dryRun = false;
};

int RunOpen(CliContext& context, const OpenArguments& args) {
    CliSession session(context);
    if (!session.OpenCatalog()) return 1;
    int function = args.explore  ? filefunc::kExploreFolder
                   : args.folder ? filefunc::kOpenFolder
                                 : filefunc::kOpenFile;
    auto target = filefunc::LookUpFileTarget(session.current.Db(), "", args.fileId, function,
                                             context.prompter);
    if (!target) return 1;
    auto volumes = platform::MakeSystemVolumes();
    auto shell = ShellFor(args.dryRun);
    filefunc::DriveSettings drives{session.settings.UseDefaultDrive, session.settings.DefaultDrive};
    auto dialog = filefunc::LoadFileFuncDialog(std::move(*target), function, *volumes, *shell,
                                               drives, context.prompter);
    if (!dialog) return 1;
    if (!args.drive.empty()) dialog->UseRoot(AbsolutePath(args.drive));
    std::cerr << dialog->Caption() << ": " << dialog->Target() << std::endl;
    return dialog->Ok(context.prompter) ? 0 : 1;
}

CommandRun SetupOpen(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<OpenArguments>();
    CLI::App* sub = app.add_subcommand("open", "Open a catalogued file or its folder");
    sub->add_option("FILEID", args->fileId, "The file's FileId")->required();
    auto* folder = sub->add_flag("--folder", args->folder, "Open the file's folder");
    sub->add_flag("--explore", args->explore, "Show the file in its folder")->excludes(folder);
    sub->add_option("--drive", args->drive, "The mount point that holds the disc");
    sub->add_flag("--dry-run", args->dryRun, "Print the path and action instead");
    return [&context, args] { return RunOpen(context, *args); };
}

CommandRun SetupViewLog(CLI::App& app, CliContext& context) {
    auto dryRun = std::make_shared<bool>(false);
    CLI::App* sub = app.add_subcommand("view-log", "Open the troubleshooting log of the last scan");
    sub->add_flag("--dry-run", *dryRun, "Print the path and action instead");
    return [&context, dryRun] {
        CliSession session(context);
        auto shell = ShellFor(*dryRun);
        return shell::ViewLog(*shell, context.prompter, session.ProgramFolder()) ==
                       shell::kShellSuccess
                   ? 0
                   : 1;
    };
}

const CommandRegistrar kOpen("open", &SetupOpen);
const CommandRegistrar kViewLog("view-log", &SetupViewLog);

}  // namespace
}  // namespace kest::cli
